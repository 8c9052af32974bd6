// The message loop with real posted messages: filters, idle handlers, the WM_QUIT result and the
// module's per-thread registration.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"

namespace {

const UINT kPing = WM_APP + 1;
const UINT kStop = WM_APP + 2;

class Receiver : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("Bkf_LoopReceiver")
    std::vector<WPARAM> pings;
    BEGIN_MSG_MAP(Receiver)
        MESSAGE_HANDLER(kPing, OnPing)
        MESSAGE_HANDLER(kStop, OnStop)
    END_MSG_MAP()
private:
    LRESULT OnPing(UINT, WPARAM wParam, LPARAM, BOOL&) {
        pings.push_back(wParam);
        return 0;
    }
    LRESULT OnStop(UINT, WPARAM wParam, LPARAM, BOOL&) {
        ::PostQuitMessage(static_cast<int>(wParam));
        return 0;
    }
};

class Filter : public CMessageFilter {
public:
    Filter(std::vector<int>& log, int name, WPARAM swallow) : log_(log), name_(name), swallow_(swallow) {}
    CMessageLoop* removeSelfFrom = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != kPing) return FALSE;
        log_.push_back(name_);
        if (removeSelfFrom) removeSelfFrom->RemoveMessageFilter(this);
        return msg->wParam == swallow_;
    }
private:
    std::vector<int>& log_;
    int name_;
    WPARAM swallow_;
};

class Idle : public CIdleHandler {
public:
    int calls = 0;
    BOOL OnIdle() override {
        ++calls;
        return FALSE;
    }
};

class LoopTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(receiver_.Create(nullptr, nullptr, "receiver", WS_OVERLAPPEDWINDOW)); }
    Receiver receiver_;
    CMessageLoop loop_;
};

TEST_F(LoopTest, RunReturnsTheQuitCode) {
    receiver_.PostMessage(kPing, 1);
    receiver_.PostMessage(kStop, 7);
    EXPECT_EQ(7, loop_.Run());
    ASSERT_EQ(1u, receiver_.pings.size());
}

TEST_F(LoopTest, LatestFilterAskedFirstAndSwallowing) {
    std::vector<int> log;
    Filter first(log, 1, 10), second(log, 2, 20);
    EXPECT_TRUE(loop_.AddMessageFilter(&first));
    EXPECT_TRUE(loop_.AddMessageFilter(&second));
    EXPECT_FALSE(loop_.AddMessageFilter(&second));
    receiver_.PostMessage(kPing, 20);  // swallowed by the second, the first never sees it
    receiver_.PostMessage(kPing, 10);  // both see it, the first swallows it
    receiver_.PostMessage(kPing, 30);  // nobody swallows it: dispatched
    receiver_.PostMessage(kStop, 0);
    loop_.Run();
    EXPECT_EQ((std::vector<int>{2, 2, 1, 2, 1}), log);
    EXPECT_EQ((std::vector<WPARAM>{30}), receiver_.pings);
}

TEST_F(LoopTest, FilterMayRemoveItselfWhileRunning) {
    std::vector<int> log;
    Filter once(log, 1, 99), stays(log, 2, 99);
    loop_.AddMessageFilter(&stays);
    loop_.AddMessageFilter(&once);
    once.removeSelfFrom = &loop_;
    receiver_.PostMessage(kPing, 1);
    receiver_.PostMessage(kPing, 2);
    receiver_.PostMessage(kStop, 0);
    loop_.Run();
    EXPECT_EQ((std::vector<int>{1, 2, 2}), log);
    EXPECT_FALSE(loop_.RemoveMessageFilter(&once));
    EXPECT_TRUE(loop_.RemoveMessageFilter(&stays));
}

TEST_F(LoopTest, IdleHandlersRunOnceEachTimeTheQueueEmpties) {
    Idle idle, removed;
    loop_.AddIdleHandler(&idle);
    loop_.AddIdleHandler(&removed);
    EXPECT_TRUE(loop_.RemoveIdleHandler(&removed));
    // A timer ends the run later, so the loop really waits in between.
    struct Stopper {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            ::PostQuitMessage(3);
        }
    };
    receiver_.PostMessage(kPing, 1);
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &Stopper::Fire);
    ASSERT_NE(0u, timer);
    EXPECT_EQ(3, loop_.Run());
    // After the ping the queue runs dry: idle handlers run, then the loop sleeps instead of
    // spinning until the timer fires.
    EXPECT_GE(idle.calls, 1);
    EXPECT_LE(idle.calls, 3);
    EXPECT_EQ(0, removed.calls);
}

TEST(AppModule, OneMessageLoopPerThread) {
    CAppModule module;
    CMessageLoop first, second;
    EXPECT_EQ(nullptr, module.GetMessageLoop());
    EXPECT_TRUE(module.AddMessageLoop(&first));
    EXPECT_FALSE(module.AddMessageLoop(&second));
    EXPECT_EQ(&first, module.GetMessageLoop());
    EXPECT_EQ(nullptr, module.GetMessageLoop(::GetCurrentThreadId() + 1));
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_FALSE(module.RemoveMessageLoop());
    EXPECT_EQ(::GetModuleHandleA(nullptr), module.GetModuleInstance());
}

}  // namespace
