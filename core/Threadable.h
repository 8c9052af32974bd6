#pragma once
// A thread with a running flag under a lock. Derived classes give the thread body in Run.
#include <windows.h>
#include <cstddef>
#include <cstdint>

class Threadable {
public:
    Threadable();
    // Waits for the thread; a derived class must wait in its own destructor already, before
    // its members go away.
    virtual ~Threadable();
    Threadable(const Threadable&) = delete;
    Threadable& operator=(const Threadable&) = delete;

    // 0 on success, else the platform's error code. Waits for a thread of an earlier start first.
    int Start();
    // Waits until the thread has ended, then closes its handle. While waiting, only messages
    // sent to the calling thread from other threads are handled: posted messages (commands,
    // timers, worker records) stay queued, so the wait can never re-enter the caller.
    void Wait();
    bool IsRunning();

    // Waits for every thread of the list as Wait does.
    static void WaitForAll(Threadable* const* threads, size_t count);

protected:
    virtual unsigned Run() = 0;
    // Called on the thread once the running flag has cleared, as its last act. The object
    // stays alive until it returns: Wait and the destructor wait for the thread's end.
    virtual void OnEnded() {}

    CRITICAL_SECTION lock_;

private:
    static unsigned __stdcall ThreadProc(void* param);

    uint8_t running_;
    HANDLE thread_;
};
