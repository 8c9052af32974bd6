#pragma once
// A thread that runs one job at a time for a window, so work that can take seconds (decoding a
// picture) never stops it. A newer job supersedes one that waits, and the result of a job that
// was superseded while running is dropped when it ends. The finished job waits here and the
// window is told by a posted message that carries nothing to free: a message lost with a
// destroyed window leaks nothing. Close lets a running job end on its own; the thread then frees
// what it shared with this object, which may be long gone.
#include <windows.h>
#include <memory>

class BackgroundJob {
public:
    virtual ~BackgroundJob() = default;
    // Runs on the thread; must not touch any window.
    virtual void Run() = 0;
    // The owner's number for the request; it compares it with its own on the result.
    unsigned generation = 0;
};

class OneJobThread {
public:
    OneJobThread() = default;
    ~OneJobThread();
    OneJobThread(const OneJobThread&) = delete;
    OneJobThread& operator=(const OneJobThread&) = delete;

    // The window told by `message` when a finished job waits. Call before the first Start.
    void SetTarget(HWND window, UINT message);
    // Queues job in place of one not yet started; false (job dropped) when no thread could run.
    bool Start(std::unique_ptr<BackgroundJob> job);
    // The finished job, or null.
    std::unique_ptr<BackgroundJob> TakeResult();
    // True while a job waits, runs, or waits to be taken.
    bool IsBusy();
    // Forgets the target, the waiting job and any result (each freed here or on the thread).
    void Close();

private:
    struct Shared;
    static DWORD WINAPI ThreadMain(void* parameter);
    static void Release(Shared* shared);
    Shared* shared_ = nullptr;
};
