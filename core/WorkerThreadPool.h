#pragma once
// Threads kept for reuse. Making a thread costs far more than handing work to one that waits
// (on some platforms a dozen system round trips), and a crawl hands out a download every
// millisecond. A thread left idle for a while ends by itself.
#include <windows.h>
#include <cstdint>
#include <vector>

class Threadable;

class WorkerThreadPool {
public:
    // How long an idle thread waits for work before it ends.
    static const DWORD kIdleMilliseconds = 30000;

    // One pool thread. Never freed while the process lives: a finished job may ask about it at
    // any later time, and a slot whose thread ended is reused by the next new thread.
    struct Slot {
        CONDITION_VARIABLE wake;
        Threadable* job = nullptr;
        uint64_t ticket = 0;     // the job's ticket while it runs
        uint64_t finished = 0;   // the ticket of the last job that ended here (only grows)
        LONG waiters = 0;        // threads blocked in WaitEnded on this slot
        HANDLE ended = nullptr;  // made for the first waiter; set while a waited-for job ends
        bool hasThread = false;
        // Lent to the work of the slot's thread (see ThreadEvents); made on first use.
        HANDLE stopEvent = nullptr;
        HANDLE networkEvent = nullptr;
    };

    static WorkerThreadPool& Instance();

    // Runs job->RunOnPool() on an idle thread, or on a new one. 0 on success with the slot and
    // ticket that tell its end, else the platform's error code.
    int Run(Threadable* job, Slot*& slot, uint64_t& ticket);
    bool HasEnded(Slot* slot, uint64_t ticket);
    // Blocks until the job has ended. Meanwhile only messages sent to the calling thread from
    // other threads are handled; posted ones stay queued, so the wait never re-enters the caller.
    void WaitEnded(Slot* slot, uint64_t ticket);

    // Idle threads now (for tests).
    size_t IdleCount();

    // Two manual-reset events that belong to the calling pool thread and are never closed (a
    // slot outlives its thread and passes them on to the next one). A socket borrows them rather
    // than making and closing a pair for every connection, each a system round trip. They may
    // be found set by an earlier borrower: users treat a wake as a hint and check their own
    // state. False on a thread outside the pool, or when they cannot be made.
    static bool ThreadEvents(HANDLE& stopEvent, HANDLE& networkEvent);

private:
    WorkerThreadPool();
    static unsigned __stdcall ThreadMain(void* param);
    void Serve(Slot* slot);

    CRITICAL_SECTION lock_;
    std::vector<Slot*> idle_;     // waiting for work, most recently used last
    std::vector<Slot*> spare_;    // slots whose thread ended
    uint64_t nextTicket_ = 0;
};
