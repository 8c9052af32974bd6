#include "framework/MessageLoop.h"
#include <algorithm>
#include "framework/WindowProcGuard.h"

namespace {
const UINT kSysTimer = 0x0118;  // the caret blink timer; not real work

template <class T>
bool AddOnce(std::vector<T*>& list, T* item) {
    if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <class T>
bool RemoveItem(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}
}  // namespace

bool CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return AddOnce(filters_, filter); }
bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { return RemoveItem(filters_, filter); }
bool CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return AddOnce(idleHandlers_, handler); }
bool CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { return RemoveItem(idleHandlers_, handler); }

BOOL CMessageLoop::PreTranslateMessage(MSG* msg) {
    // A filter may add or remove filters while it runs: walk a snapshot and skip removed ones.
    const std::vector<CMessageFilter*> snapshot(filters_);
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (std::find(filters_.begin(), filters_.end(), *it) == filters_.end()) continue;
        if ((*it)->PreTranslateMessage(msg)) return TRUE;
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int /*idleCount*/) {
    const std::vector<CIdleHandler*> snapshot(idleHandlers_);
    for (CIdleHandler* handler : snapshot) {
        if (std::find(idleHandlers_.begin(), idleHandlers_.end(), handler) == idleHandlers_.end()) continue;
        handler->OnIdle();
    }
    // Once per idle period: spinning here would burn the processor while nothing happens.
    return FALSE;
}

bool CMessageLoop::IsIdleMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        const bool same = msg.message == lastMouseMessage_ && msg.pt.x == lastMouse_.x &&
                          msg.pt.y == lastMouse_.y;
        lastMouseMessage_ = msg.message;
        lastMouse_ = msg.pt;
        return !same;
    }
    case WM_PAINT:
    case kSysTimer:
        return false;
    default:
        return true;
    }
}

int CMessageLoop::Run() {
    MSG msg = {};
    bool doIdle = true;
    int idleCount = 0;
    for (;;) {
        while (doIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            const int count = idleCount++;
            if (!GuardedCallback<BOOL>(nullptr, FALSE, [&] { return OnIdle(count); })) doIdle = false;
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) continue;  // only an invalid window handle; keep running
        if (!got) break;          // WM_QUIT
        // A filter that fails has taken the message: its operation was reported, not half-repeated.
        if (!GuardedCallback<BOOL>(msg.hwnd, TRUE, [&] { return PreTranslateMessage(&msg); })) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (IsIdleMessage(msg)) {
            doIdle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg.wParam);
}
