#include "core/WorkerThreadPool.h"

#include "core/Threadable.h"

#include <process.h>
#include <new>

namespace {

// The slot of the pool thread running the calling code; null on other threads.
thread_local WorkerThreadPool::Slot* t_slot = nullptr;

}  // namespace

WorkerThreadPool& WorkerThreadPool::Instance() {
    // Made on first use and never destroyed: pool threads may still wait on it at exit.
    static WorkerThreadPool* pool = new WorkerThreadPool();
    return *pool;
}

WorkerThreadPool::WorkerThreadPool() { InitializeCriticalSection(&lock_); }

int WorkerThreadPool::Run(Threadable* job, Slot*& slot, uint64_t& ticket) {
    EnterCriticalSection(&lock_);
    ticket = ++nextTicket_;
    if (!idle_.empty()) {
        slot = idle_.back();
        idle_.pop_back();
        slot->job = job;
        slot->ticket = ticket;
        WakeConditionVariable(&slot->wake);
        LeaveCriticalSection(&lock_);
        return 0;
    }
    Slot* s = nullptr;
    if (!spare_.empty()) {
        s = spare_.back();
        spare_.pop_back();
    } else {
        s = new (std::nothrow) Slot();
        if (!s) {
            LeaveCriticalSection(&lock_);
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        InitializeConditionVariable(&s->wake);
    }
    s->job = job;
    s->ticket = ticket;
    s->hasThread = true;
    LeaveCriticalSection(&lock_);

    uintptr_t handle = _beginthreadex(nullptr, 0, ThreadMain, s, 0, nullptr);
    if (handle == 0) {
        int error = static_cast<int>(GetLastError());
        EnterCriticalSection(&lock_);
        s->job = nullptr;
        s->hasThread = false;
        // Nobody waits for a job that never ran: its ticket counts as ended.
        if (s->finished < ticket) s->finished = ticket;
        spare_.push_back(s);
        LeaveCriticalSection(&lock_);
        return error ? error : ERROR_NOT_ENOUGH_MEMORY;
    }
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    slot = s;
    return 0;
}

unsigned __stdcall WorkerThreadPool::ThreadMain(void* param) {
    t_slot = static_cast<Slot*>(param);
    Instance().Serve(t_slot);
    return 0;
}

bool WorkerThreadPool::ThreadEvents(HANDLE& stopEvent, HANDLE& networkEvent) {
    Slot* slot = t_slot;
    if (!slot)
        return false;
    // Only the slot's own thread makes and reads them: no lock needed.
    if (!slot->stopEvent)
        slot->stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!slot->networkEvent)
        slot->networkEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!slot->stopEvent || !slot->networkEvent)
        return false;
    stopEvent = slot->stopEvent;
    networkEvent = slot->networkEvent;
    return true;
}

void WorkerThreadPool::Serve(Slot* slot) {
    EnterCriticalSection(&lock_);
    for (;;) {
        while (!slot->job) {
            if (!SleepConditionVariableCS(&slot->wake, &lock_, kIdleMilliseconds) && !slot->job &&
                GetLastError() == ERROR_TIMEOUT) {
                for (size_t i = 0; i < idle_.size(); ++i)
                    if (idle_[i] == slot) {
                        idle_.erase(idle_.begin() + static_cast<std::ptrdiff_t>(i));
                        break;
                    }
                slot->hasThread = false;
                spare_.push_back(slot);
                LeaveCriticalSection(&lock_);
                return;
            }
        }
        Threadable* job = slot->job;
        const uint64_t ticket = slot->ticket;
        LeaveCriticalSection(&lock_);
        // The job's object may be deleted as soon as its end is marked below: nothing of it is
        // touched after RunOnPool returns.
        job->RunOnPool();
        EnterCriticalSection(&lock_);
        slot->job = nullptr;
        slot->finished = ticket;
        if (slot->waiters > 0 && slot->ended) SetEvent(slot->ended);
        idle_.push_back(slot);
    }
}

bool WorkerThreadPool::HasEnded(Slot* slot, uint64_t ticket) {
    EnterCriticalSection(&lock_);
    bool ended = slot->finished >= ticket;
    LeaveCriticalSection(&lock_);
    return ended;
}

void WorkerThreadPool::WaitEnded(Slot* slot, uint64_t ticket) {
    EnterCriticalSection(&lock_);
    while (slot->finished < ticket) {
        if (!slot->ended) slot->ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE ended = slot->ended;
        if (!ended) {
            // No event to wait on: look again shortly.
            LeaveCriticalSection(&lock_);
            Sleep(1);
            EnterCriticalSection(&lock_);
            continue;
        }
        ++slot->waiters;
        LeaveCriticalSection(&lock_);
        DWORD rc = MsgWaitForMultipleObjects(1, &ended, FALSE, INFINITE, QS_SENDMESSAGE);
        if (rc == WAIT_OBJECT_0 + 1) {
            // Handles the messages other threads sent us; leaves the posted ones queued.
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (rc == WAIT_FAILED) {
            Sleep(1);
        }
        EnterCriticalSection(&lock_);
        // The last waiter leaves the event clear for the next one.
        if (--slot->waiters == 0) ResetEvent(ended);
    }
    LeaveCriticalSection(&lock_);
}

size_t WorkerThreadPool::IdleCount() {
    EnterCriticalSection(&lock_);
    size_t n = idle_.size();
    LeaveCriticalSection(&lock_);
    return n;
}
