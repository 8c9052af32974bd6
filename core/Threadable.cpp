#include "core/Threadable.h"

#include <process.h>

Threadable::Threadable() : running_(0), thread_(nullptr) {
    InitializeCriticalSection(&lock_);
}

Threadable::~Threadable() {
    Wait();
    DeleteCriticalSection(&lock_);
}

int Threadable::Start() {
    Wait();
    EnterCriticalSection(&lock_);
    running_ = 1;
    LeaveCriticalSection(&lock_);
    uintptr_t handle = _beginthreadex(nullptr, 0, ThreadProc, this, 0, nullptr);
    if (handle == 0) {
        int error = static_cast<int>(GetLastError());
        if (error == 0)
            error = ERROR_NOT_ENOUGH_MEMORY;
        EnterCriticalSection(&lock_);
        running_ = 0;
        LeaveCriticalSection(&lock_);
        return error;
    }
    thread_ = reinterpret_cast<HANDLE>(handle);
    return 0;
}

unsigned __stdcall Threadable::ThreadProc(void* param) {
    Threadable* self = static_cast<Threadable*>(param);
    unsigned code = self->Run();
    EnterCriticalSection(&self->lock_);
    self->running_ = 0;
    LeaveCriticalSection(&self->lock_);
    self->OnEnded();
    return code;
}

void Threadable::Wait() {
    if (!thread_)
        return;
    for (;;) {
        DWORD rc = MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE);
        if (rc != WAIT_OBJECT_0 + 1)
            break;  // the thread ended, or the wait failed
        // Handles the messages other threads sent us; leaves the posted ones queued.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
}

bool Threadable::IsRunning() {
    EnterCriticalSection(&lock_);
    bool running = running_ != 0;
    LeaveCriticalSection(&lock_);
    return running;
}

void Threadable::WaitForAll(Threadable* const* threads, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (threads[i])
            threads[i]->Wait();
}
