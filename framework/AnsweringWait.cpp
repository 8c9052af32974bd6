#include "framework/AnsweringWait.h"

#include <vector>

namespace {

DWORD WINAPI RunWork(void* work) {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

// Posted to the owner while the work runs, these would close it or start another command on a
// half-done state (a program closing windows by class, the browser button's New Task): they wait
// for the work, as the user's own input cannot reach a disabled window.
bool WaitsForTheWork(const MSG& msg, HWND owner) {
    if (msg.message != WM_CLOSE && msg.message != WM_COMMAND && msg.message != WM_SYSCOMMAND) return false;
    return owner && msg.hwnd && (msg.hwnd == owner || ::IsChild(owner, msg.hwnd));
}

bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

void RunWhileAnswering(HWND owner, const std::function<void()>& work) {
    HANDLE thread = ::CreateThread(nullptr, 0, &RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    if (!thread) {
        work();
        return;
    }
    HWND focus = ::GetFocus();
    const bool wasActive = owner && ::GetActiveWindow() == owner;
    const bool disable = owner && ::IsWindowEnabled(owner);
    if (disable) ::EnableWindow(owner, FALSE);
    bool quit = false;
    WPARAM quitCode = 0;
    std::vector<MSG> deferred;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
            } else if (WaitsForTheWork(msg, owner)) {
                deferred.push_back(msg);
            } else if (!IsUserInput(msg.message)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) break;
        if (woke != WAIT_OBJECT_0 + 1) {
            ::WaitForSingleObject(thread, INFINITE);
            break;
        }
    }
    ::CloseHandle(thread);
    if (disable) ::EnableWindow(owner, TRUE);
    // A question the work showed took the activation away while the owner could not have it.
    if (wasActive && ::GetActiveWindow() != owner) ::SetForegroundWindow(owner);
    if (focus && ::IsWindow(focus) && ::GetFocus() != focus) ::SetFocus(focus);
    for (const MSG& msg : deferred) ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
}
