#include "core/Threadable.h"

Threadable::Threadable() : running_(0), slot_(nullptr), ticket_(0) {
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
    WorkerThreadPool::Slot* slot = nullptr;
    uint64_t ticket = 0;
    int error = WorkerThreadPool::Instance().Run(this, slot, ticket);
    if (error != 0) {
        EnterCriticalSection(&lock_);
        running_ = 0;
        LeaveCriticalSection(&lock_);
        return error;
    }
    slot_ = slot;
    ticket_ = ticket;
    return 0;
}

void Threadable::RunOnPool() {
    Run();
    EnterCriticalSection(&lock_);
    running_ = 0;
    LeaveCriticalSection(&lock_);
    OnEnded();
}

void Threadable::Wait() {
    if (!slot_)
        return;
    WorkerThreadPool::Instance().WaitEnded(slot_, ticket_);
    slot_ = nullptr;
}

bool Threadable::HasEnded() {
    return !slot_ || WorkerThreadPool::Instance().HasEnded(slot_, ticket_);
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
