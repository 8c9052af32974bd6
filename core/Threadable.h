#pragma once
// Work on a thread of its own, with a running flag under a lock. Derived classes give the body in
// Run. Each start runs on a pooled thread: an idle one when there is one, else a new one.
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "core/WorkerThreadPool.h"

class Threadable {
public:
    Threadable();
    // Waits for the thread; a derived class must wait in its own destructor already, before
    // its members go away.
    virtual ~Threadable();
    Threadable(const Threadable&) = delete;
    Threadable& operator=(const Threadable&) = delete;

    // 0 on success, else the platform's error code. Waits for the work of an earlier start first.
    int Start();
    // Waits until the work has ended (OnEnded included). While waiting, only messages sent to
    // the calling thread from other threads are handled: posted messages (commands, timers,
    // worker records) stay queued, so the wait can never re-enter the caller.
    void Wait();
    bool IsRunning();
    // The work of the last start is over, OnEnded included (true when never started).
    bool HasEnded();

    // Waits for every thread of the list as Wait does.
    static void WaitForAll(Threadable* const* threads, size_t count);

protected:
    virtual unsigned Run() = 0;
    // Called on the thread once the running flag has cleared, as its last act. The object
    // stays alive until it returns: Wait and the destructor wait for it.
    virtual void OnEnded() {}

    CRITICAL_SECTION lock_;

private:
    friend class WorkerThreadPool;
    // On the pool thread: Run, clear the running flag, OnEnded.
    void RunOnPool();

    uint8_t running_;
    // The pool thread of the last start and the ticket that marks its end; null once waited for.
    WorkerThreadPool::Slot* slot_;
    uint64_t ticket_;
};
