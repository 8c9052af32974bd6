// Pool threads behind every worker, and the mailbox that carries worker records to the manager.
#include <gtest/gtest.h>
#include <windows.h>

#include <process.h>

#include <atomic>
#include <memory>
#include <vector>

#include "core/DownloadDataMessage.h"
#include "core/RecordMailbox.h"
#include "core/Threadable.h"
#include "core/WorkerThreadPool.h"

namespace {

// Notes the thread it ran on; waits for the gate when there is one.
class Job : public Threadable {
public:
    explicit Job(HANDLE gate = nullptr, HWND sendTo = nullptr) : gate_(gate), sendTo_(sendTo) {}
    ~Job() override { Wait(); }
    DWORD threadId = 0;
    std::atomic<bool> ended{false};
    static std::atomic<int> running;
    static std::atomic<int> mostAtOnce;

protected:
    unsigned Run() override {
        threadId = GetCurrentThreadId();
        int now = ++running;
        int seen = mostAtOnce;
        while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
        }
        if (gate_) WaitForSingleObject(gate_, 10000);
        // A message sent to the waiting thread: the wait must handle it or both would hang.
        if (sendTo_) SendMessageTimeoutA(sendTo_, WM_USER + 7, 0, 0, SMTO_NORMAL, 10000, nullptr);
        --running;
        return 0;
    }
    void OnEnded() override { ended = true; }

private:
    HANDLE gate_;
    HWND sendTo_;
};
std::atomic<int> Job::running{0};
std::atomic<int> Job::mostAtOnce{0};

int g_sentHandled = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 7) {
        ++g_sentHandled;
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(const char* className, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowA(className, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(WorkerPool, ThreadsAreReusedAndNewOnesMadeOnlyWhenAllAreBusy) {
    // One after another: the second start runs on the thread the first one left idle.
    Job first;
    ASSERT_EQ(0, first.Start());
    first.Wait();
    EXPECT_TRUE(first.ended);
    EXPECT_FALSE(first.IsRunning());
    Job second;
    ASSERT_EQ(0, second.Start());
    second.Wait();
    EXPECT_EQ(first.threadId, second.threadId);
    EXPECT_GE(WorkerThreadPool::Instance().IdleCount(), 1u);

    // Side by side: eight jobs held at a gate all run at once, each on a thread of its own.
    HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<std::unique_ptr<Job>> jobs;
    for (int i = 0; i < 8; ++i) {
        jobs.emplace_back(new Job(gate));
        ASSERT_EQ(0, jobs.back()->Start());
    }
    for (int i = 0; i < 200 && Job::running < 8; ++i) Sleep(10);
    EXPECT_EQ(8, Job::running.load());
    SetEvent(gate);
    std::vector<Threadable*> all;
    for (auto& j : jobs) all.push_back(j.get());
    Threadable::WaitForAll(all.data(), all.size());
    for (auto& j : jobs) EXPECT_TRUE(j->ended);
    EXPECT_EQ(8, Job::mostAtOnce.load());
    EXPECT_GE(WorkerThreadPool::Instance().IdleCount(), 8u);
    CloseHandle(gate);

    // A job object started again runs again, after its earlier run.
    ASSERT_EQ(0, second.Start());
    second.Wait();
    EXPECT_EQ(0, Job::running.load());
}

TEST(WorkerPool, WaitingHandlesMessagesSentFromTheJob) {
    HWND window = MakeWindow("BkfPoolSentTo", CountingProc);
    ASSERT_TRUE(window);
    g_sentHandled = 0;
    Job job(nullptr, window);
    ASSERT_EQ(0, job.Start());
    job.Wait();   // would hang until the send timed out if the wait handled no sent messages
    EXPECT_TRUE(job.ended);
    EXPECT_EQ(1, g_sentHandled);
    DestroyWindow(window);
}

namespace {

int g_notices = 0;
LRESULT CALLBACK NoticeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DOWNLOAD_DATA) {
        EXPECT_EQ(0, lParam);   // a notice, never a record of its own
        ++g_notices;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void PumpAll() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

struct Flood {
    RecordMailbox* box;
    int first, count;
};

unsigned __stdcall DeliverFlood(void* param) {
    Flood* f = static_cast<Flood*>(param);
    for (int i = 0; i < f->count; ++i) {
        DownloadDataMessage* m = new DownloadDataMessage();
        m->workerNumber = f->first + i;
        f->box->Deliver(m);
    }
    return 0;
}

}  // namespace

TEST(RecordMailbox, AFloodOfRecordsCostsOneNoticeAndArrivesInOrder) {
    HWND window = MakeWindow("BkfMailboxNotices", NoticeProc);
    ASSERT_TRUE(window);
    g_notices = 0;
    {
        RecordMailbox box;
        box.SetWindow(window);
        Flood flood{&box, 1000, 300};
        HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, DeliverFlood, &flood, 0, nullptr));
        ASSERT_TRUE(thread);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        PumpAll();
        EXPECT_EQ(1, g_notices);

        std::vector<DownloadDataMessage*> records;
        box.TakeAll(records);
        ASSERT_EQ(300u, records.size());
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(static_cast<int32_t>(1000 + i), records[i]->workerNumber);
            delete records[i];
        }
        box.TakeAll(records);
        EXPECT_TRUE(records.empty());

        // Once taken, the next record brings a notice of its own.
        box.Deliver(new DownloadDataMessage());
        PumpAll();
        EXPECT_EQ(2, g_notices);
        // Left in the box: freed with it.
        box.Deliver(new DownloadDataMessage());
    }
    DestroyWindow(window);
}
