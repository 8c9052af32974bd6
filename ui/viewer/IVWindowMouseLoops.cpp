// The viewer window's two mouse loops: dragging a large picture and the zoom rectangle. Each
// holds the mouse capture and reads the window's mouse messages itself until the button is let
// go; any other message is dispatched as usual.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "framework/GdiHolders.h"
#include "ui/viewer/IVWindow.h"
#include "ui/viewer/IVWindowHandler.h"

namespace {

enum class LoopEnd { ButtonUp, Cancelled };

// Calls onMove(x, y) for each pointer move until the left button goes up. A right button, a
// quit message or losing the capture (another window took it) cancels.
template <class OnMove>
LoopEnd RunCaptureLoop(HWND window, OnMove onMove) {
    ::SetCapture(window);
    for (;;) {
        if (::GetCapture() != window) return LoopEnd::Cancelled;
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Woken by input, or at the latest to look at the capture again.
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return LoopEnd::Cancelled;
        }
        if (msg.hwnd == window && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            if (msg.message == WM_MOUSEMOVE)
                onMove(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            else if (msg.message == WM_LBUTTONUP)
                return LoopEnd::ButtonUp;
            else if (msg.message == WM_RBUTTONDOWN || msg.message == WM_RBUTTONUP)
                return LoopEnd::Cancelled;
            continue;
        }
        ::DispatchMessageA(&msg);
    }
}

void ReleaseIfHeld(HWND window) {
    if (::GetCapture() == window) ::ReleaseCapture();
}

RECT FocusRectOf(POINT a, POINT b) {
    RECT r = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    return r;
}

void ToggleFocusRect(HWND window, const RECT& rect) {
    WindowDc dc(window);
    ::DrawFocusRect(dc.Get(), &rect);
}

}  // namespace

void CIVWindowHandler::Drag(int x, int y) {
    const RECT place = window_->GetPicturePlacement();
    const POINT press = {x, y};
    if (!::PtInRect(&place, press)) return;
    HWND hwnd = window_->m_hWnd;
    mouseState_ = IVM_DRAGGING;
    window_->UpdateCursor();
    const POINT saved = window_->GetOffset();
    const int threshold = static_cast<int>(std::ceil(window_->GetZoom()));
    POINT reference = press;

    const LoopEnd end = RunCaptureLoop(hwnd, [&](int mx, int my) {
        int dx = 0, dy = 0;
        if (std::abs(mx - reference.x) > threshold) {
            dx = mx - reference.x;
            reference.x = mx;
        }
        if (std::abs(my - reference.y) > threshold) {
            dy = my - reference.y;
            reference.y = my;
        }
        if ((dx || dy) && window_->ScrollBy(dx, dy)) window_->Redraw();
    });

    mouseState_ = IVM_IDLE;
    window_->UpdateCursor();
    ReleaseIfHeld(hwnd);
    if (end == LoopEnd::Cancelled) window_->SetOffset(saved.x, saved.y);
    window_->Redraw();
}

void CIVWindowHandler::RubberBand(int x, int y) {
    const RECT place = window_->GetPicturePlacement();
    const POINT start = {x, y};
    if (!::PtInRect(&place, start)) return;
    HWND hwnd = window_->m_hWnd;
    mouseState_ = IVM_RUBBER_BAND;
    POINT current = start;
    RECT shown = FocusRectOf(start, current);
    ToggleFocusRect(hwnd, shown);

    const LoopEnd end = RunCaptureLoop(hwnd, [&](int mx, int my) {
        current.x = std::max<LONG>(place.left, std::min<LONG>(place.right - 1, mx));
        current.y = std::max<LONG>(place.top, std::min<LONG>(place.bottom - 1, my));
        ToggleFocusRect(hwnd, shown);
        shown = FocusRectOf(start, current);
        ToggleFocusRect(hwnd, shown);
    });

    mouseState_ = IVM_IDLE;
    ReleaseIfHeld(hwnd);
    ToggleFocusRect(hwnd, shown);
    if (end == LoopEnd::ButtonUp &&
        window_->ZoomToRect(shown.left, shown.top, shown.right - 1, shown.bottom - 1))
        window_->Redraw();
}
