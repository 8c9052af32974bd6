#include "ui/viewer/IVWindowHandler.h"
#include "ui/viewer/IVWindow.h"
#include "ui/viewer/ViewerMath.h"

bool IsAltDown() { return ::GetKeyState(VK_MENU) < 0; }

namespace {
bool IsKeyDown(int key) { return ::GetKeyState(key) < 0; }

bool IsArrow(WPARAM key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }
}  // namespace

HCURSOR CIVWindowHandler::ChooseCursor() const {
    const bool alt = IsAltDown();
    if (window_->IsLargerThanWindow() && !alt) {
        if (!(features & IVH_DRAG)) return nullptr;
        if (mouseState_ == IVM_IDLE) return window_->GetIdleCursor();
        return mouseState_ == IVM_DRAGGING ? window_->GetDraggingCursor() : window_->GetRubberBandCursor();
    }
    if (!(features & IVH_RUBBER_BAND_ZOOM)) return nullptr;
    if (mouseState_ == IVM_RUBBER_BAND || (mouseState_ == IVM_IDLE && alt)) return window_->GetRubberBandCursor();
    return nullptr;
}

BOOL CIVWindowHandler::OnMouse(UINT msg, int x, int y, WPARAM wParam) {
    if (msg != WM_MOUSEMOVE && msg != WM_SETCURSOR) ::SetFocus(window_->m_hWnd);
    switch (msg) {
    case WM_SETCURSOR: {
        HCURSOR chosen = ChooseCursor();
        ::SetCursor(chosen ? chosen : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        if (!window_->GetPicture().HasBitmap()) break;
        if (window_->IsLargerThanWindow() && !IsAltDown()) {
            if (features & IVH_DRAG) {
                Drag(x, y);
                return TRUE;
            }
        } else if (features & IVH_RUBBER_BAND_ZOOM) {
            RubberBand(x, y);
            return TRUE;
        }
        break;
    case WM_LBUTTONUP:
        if (::GetCapture() == window_->m_hWnd) {
            mouseState_ = IVM_IDLE;
            ::ReleaseCapture();
            return TRUE;
        }
        break;
    case WM_MOUSEWHEEL:
        return OnWheel(wParam);
    default:
        break;
    }
    window_->UpdateCursor();
    return FALSE;
}

BOOL CIVWindowHandler::OnWheel(WPARAM wParam) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if ((features & IVH_ALT_WHEEL_SCROLL) && IsAltDown()) {
        const int amount = WheelScrollPixels(delta);
        int dx = 0, dy = 0;
        if (GET_KEYSTATE_WPARAM(wParam) & MK_RBUTTON)
            dx = amount;
        else
            dy = amount;
        ApplyScrollModifiers(dx, dy, window_->GetZoom(), IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT));
        if (window_->ScrollBy(dx, dy))
            window_->Redraw();
        else
            window_->UpdateCursor();
        return TRUE;
    }
    if (features & IVH_WHEEL_ZOOM) {
        const int steps = WheelZoomSteps(delta);
        bool changed = false;
        for (int i = 0; i < steps; ++i) changed |= window_->SetZoom(ZOOM_OUT);
        for (int i = 0; i < -steps; ++i) changed |= window_->SetZoom(ZOOM_IN);
        if (changed) window_->Redraw();
        return TRUE;
    }
    window_->UpdateCursor();
    return FALSE;
}

BOOL CIVWindowHandler::OnKey(UINT msg, WPARAM key, LPARAM) {
    if (msg == WM_KEYDOWN && (features & IVH_KEYPAD_ZOOM)) {
        float code = 0;
        if (key == VK_ADD) code = ZOOM_IN;
        if (key == VK_SUBTRACT) code = ZOOM_OUT;
        if (key == VK_MULTIPLY) code = ZOOM_FIT;
        if (key == VK_DIVIDE) code = ZOOM_ACTUAL;
        if (code != 0) {
            if (window_->SetZoom(code)) window_->Redraw();
            return TRUE;
        }
    }
    if ((features & IVH_ARROW_SCROLL) && IsArrow(key)) {
        if (msg == WM_KEYDOWN) return OnArrowDown(key);
        if (msg == WM_KEYUP || msg == WM_SYSKEYUP) return OnArrowUp(key);
    }
    window_->UpdateCursor();
    return FALSE;
}

BOOL CIVWindowHandler::OnArrowDown(WPARAM key) {
    const int step = ArrowScrollStep(window_->GetZoom());
    if (key == VK_LEFT) stepX_ = step;
    if (key == VK_RIGHT) stepX_ = -step;
    if (key == VK_UP) stepY_ = step;
    if (key == VK_DOWN) stepY_ = -step;
    if (!scrollTimer_) scrollTimer_ = ::SetTimer(window_->m_hWnd, kScrollTimerId, 1, nullptr) != 0;
    return TRUE;
}

BOOL CIVWindowHandler::OnArrowUp(WPARAM key) {
    const int step = ArrowScrollStep(window_->GetZoom());
    if (key == VK_LEFT || key == VK_RIGHT)
        stepX_ = IsKeyDown(VK_RIGHT) ? -step : IsKeyDown(VK_LEFT) ? step : 0;
    else
        stepY_ = IsKeyDown(VK_DOWN) ? -step : IsKeyDown(VK_UP) ? step : 0;
    if (stepX_ == 0 && stepY_ == 0) {
        StopScrolling();
        window_->Redraw();
    }
    return TRUE;
}

void CIVWindowHandler::StopScrolling() {
    if (scrollTimer_) ::KillTimer(window_->m_hWnd, kScrollTimerId);
    scrollTimer_ = false;
}

BOOL CIVWindowHandler::OnTimer(UINT_PTR id) {
    if (id != kScrollTimerId) return FALSE;
    int dx = stepX_, dy = stepY_;
    ApplyScrollModifiers(dx, dy, window_->GetZoom(), IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT));
    if (window_->ScrollBy(dx, dy)) window_->Redraw();
    return TRUE;
}
