#include "framework/OneJobThread.h"

// What the owner and its thread share, freed by whichever lets go last.
struct OneJobThread::Shared {
    CRITICAL_SECTION lock;
    HANDLE wake = nullptr;  // auto-reset: a job arrived or the owner closed
    LONG references = 1;
    HWND target = nullptr;
    UINT message = 0;
    bool closed = false;
    bool threadRunning = false;
    bool running = false;
    std::unique_ptr<BackgroundJob> waiting;
    std::unique_ptr<BackgroundJob> finished;
};

OneJobThread::~OneJobThread() { Close(); }

void OneJobThread::Release(Shared* shared) {
    if (::InterlockedDecrement(&shared->references) != 0) return;
    if (shared->wake) ::CloseHandle(shared->wake);
    ::DeleteCriticalSection(&shared->lock);
    delete shared;
}

void OneJobThread::SetTarget(HWND window, UINT message) {
    if (!shared_) {
        shared_ = new Shared;
        ::InitializeCriticalSection(&shared_->lock);
        shared_->wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ::EnterCriticalSection(&shared_->lock);
    shared_->target = window;
    shared_->message = message;
    ::LeaveCriticalSection(&shared_->lock);
}

bool OneJobThread::Start(std::unique_ptr<BackgroundJob> job) {
    if (!shared_ || !shared_->wake) return false;
    std::unique_ptr<BackgroundJob> older, stale;
    ::EnterCriticalSection(&shared_->lock);
    older = std::move(shared_->waiting);
    stale = std::move(shared_->finished);  // of no use once a newer job is asked for
    shared_->waiting = std::move(job);
    bool started = shared_->threadRunning;
    if (!started) {
        ::InterlockedIncrement(&shared_->references);
        HANDLE thread = ::CreateThread(nullptr, 0, &ThreadMain, shared_, 0, nullptr);
        if (thread) {
            ::CloseHandle(thread);
            shared_->threadRunning = started = true;
        } else {
            ::InterlockedDecrement(&shared_->references);
            shared_->waiting.reset();
        }
    }
    ::LeaveCriticalSection(&shared_->lock);
    ::SetEvent(shared_->wake);
    return started;
}

std::unique_ptr<BackgroundJob> OneJobThread::TakeResult() {
    std::unique_ptr<BackgroundJob> result;
    if (!shared_) return result;
    ::EnterCriticalSection(&shared_->lock);
    result = std::move(shared_->finished);
    ::LeaveCriticalSection(&shared_->lock);
    return result;
}

bool OneJobThread::IsBusy() {
    if (!shared_) return false;
    ::EnterCriticalSection(&shared_->lock);
    const bool busy = shared_->waiting || shared_->running || shared_->finished;
    ::LeaveCriticalSection(&shared_->lock);
    return busy;
}

void OneJobThread::Close() {
    if (!shared_) return;
    std::unique_ptr<BackgroundJob> waiting, finished;
    ::EnterCriticalSection(&shared_->lock);
    shared_->closed = true;
    shared_->target = nullptr;
    waiting = std::move(shared_->waiting);
    finished = std::move(shared_->finished);
    ::LeaveCriticalSection(&shared_->lock);
    ::SetEvent(shared_->wake);
    Release(shared_);
    shared_ = nullptr;
}

DWORD WINAPI OneJobThread::ThreadMain(void* parameter) {
    Shared* shared = static_cast<Shared*>(parameter);
    for (;;) {
        ::EnterCriticalSection(&shared->lock);
        if (shared->closed) break;  // leaves holding the lock
        if (!shared->waiting) {
            ::LeaveCriticalSection(&shared->lock);
            // An idle thread ends after a while; the next job starts another.
            if (::WaitForSingleObject(shared->wake, 30000) == WAIT_TIMEOUT) {
                ::EnterCriticalSection(&shared->lock);
                if (!shared->waiting || shared->closed) break;
                ::LeaveCriticalSection(&shared->lock);
            }
            continue;
        }
        std::unique_ptr<BackgroundJob> job = std::move(shared->waiting);
        shared->running = true;
        ::LeaveCriticalSection(&shared->lock);

        job->Run();

        ::EnterCriticalSection(&shared->lock);
        shared->running = false;
        HWND target = nullptr;
        UINT message = 0;
        // A newer job already waiting makes this result useless.
        if (!shared->closed && !shared->waiting) {
            shared->finished = std::move(job);
            target = shared->target;
            message = shared->message;
        }
        ::LeaveCriticalSection(&shared->lock);
        if (target) ::PostMessageA(target, message, 0, 0);
        job.reset();  // a dropped result is freed here, off the window's thread
    }
    shared->threadRunning = false;
    ::LeaveCriticalSection(&shared->lock);
    Release(shared);
    return 0;
}
