#include "plugin/HandoverTurn.h"
#include "resources/plugin_handover.h"

namespace plugin {

namespace {

// How often a wait looks at what it may give up for.
const DWORD kLookAgainMs = 100;
// How long a window may take to answer before it counts as one that says nothing.
const UINT kAnswerWaitMs = 5000;

// A thread in its own hand-over (its messages go round while it waits) takes no second one.
thread_local bool t_handingOver = false;

}  // namespace

HandoverTurn::HandoverTurn() {
    lock_ = CreateMutexA(nullptr, FALSE, handover::kHandoverLockName);
    // Manual reset: the word stays until the next press clears it, however late it is read.
    read_ = CreateEventA(nullptr, TRUE, FALSE, handover::kHandoverReadEventName);
}

HandoverTurn::~HandoverTurn() {
    Give();
    if (read_) CloseHandle(read_);
    if (lock_) CloseHandle(lock_);
    if (quit_) PostQuitMessage(quitCode_);
}

template <class GiveUp>
bool HandoverTurn::WaitPumping(HANDLE object, DWORD timeoutMs, GiveUp giveUp) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= timeoutMs) return false;
        const DWORD left = static_cast<DWORD>(timeoutMs - elapsed);
        const DWORD result =
            MsgWaitForMultipleObjects(1, &object, FALSE, left < kLookAgainMs ? left : kLookAgainMs, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) return true;
        if (result == WAIT_FAILED) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // The browser's loop is to see its quit once this press is done.
            if (message.message == WM_QUIT) {
                quit_ = true;
                quitCode_ = static_cast<int>(message.wParam);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (giveUp()) return false;
    }
}

bool HandoverTurn::Take() {
    if (!lock_ || !read_ || t_handingOver) return false;
    // A press made on this thread while the turn is waited for finds t_handingOver set.
    t_handingOver = true;
    // A browser that ended while it held the turn (WAIT_ABANDONED) left nothing half done that
    // matters here: the next page simply goes over.
    held_ = WaitPumping(lock_, kTurnWaitMs, [] { return false; });
    if (!held_) t_handingOver = false;
    return held_;
}

void HandoverTurn::Give() {
    if (!held_) return;
    ReleaseMutex(lock_);
    held_ = false;
    t_handingOver = false;
}

void HandoverTurn::Begin() { ResetEvent(read_); }

HandoverTurn::Read HandoverTurn::WaitForRunningProgram(HWND window) {
    bool gone = false;
    if (WaitPumping(read_, kRunningReadWaitMs, [&] { return gone = !IsWindow(window); })) return Read::kRead;
    return gone ? Read::kWindowGone : Read::kTimedOut;
}

HandoverTurn::Read HandoverTurn::WaitForStartedProgram() {
    bool older = false;
    HWND looked = nullptr;
    const bool read = WaitPumping(read_, kStartedReadWaitMs, [&] {
        HWND window = FindWindowA(handover::kMainFrameClass, nullptr);
        if (window && window != looked) {
            looked = window;
            older = !SaysWhenRead(window);
        }
        return older;
    });
    if (read) return Read::kRead;
    return older ? Read::kUnconfirmed : Read::kTimedOut;
}

bool HandoverTurn::SaysWhenRead(HWND window) {
    // A window still being created may not carry its property yet; once it answers, it does.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerWaitMs, &answer);
    return GetPropA(window, handover::kHandoverReadProperty) != nullptr;
}

}  // namespace plugin
