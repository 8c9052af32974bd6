#include "ui/viewer/IVWindow.h"
#include <cmath>
#include "framework/GdiHolders.h"
#include "ui/viewer/ViewerMath.h"

CIVWindow::CIVWindow() : ownHandler_(this), handler_(&ownHandler_) {
    background_.flags = 0;
    picture_.flags = 0;
}

CIVWindow::~CIVWindow() {
    if (IsWindow()) DestroyWindow();
}

WindowClassInfo CIVWindow::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_IVWindow";
    info.backgroundColor = -1;  // everything is painted from the back buffer
    return info;
}

void CIVWindow::SetHandler(CIVWindowHandler* handler) { handler_ = handler ? handler : &ownHandler_; }

void CIVWindow::SetCursors(HCURSOR rubberBand, HCURSOR idle, HCURSOR dragging) {
    rubberCursor_ = rubberBand;
    idleCursor_ = idle;
    dragCursor_ = dragging;
}

void CIVWindow::SetOffset(int x, int y) {
    offsetX_ = x;
    offsetY_ = y;
    ScrollBy();
}

int CIVWindow::PictureX() const {
    return ScaledLength(picture_.GetSize().cx, zoom_) < viewSize_.cx ? kPlaceByFlags : offsetX_;
}

int CIVWindow::PictureY() const {
    return ScaledLength(picture_.GetSize().cy, zoom_) < viewSize_.cy ? kPlaceByFlags : offsetY_;
}

RECT CIVWindow::GetPicturePlacement() const {
    RECT area = {0, 0, viewSize_.cx, viewSize_.cy};
    return picture_.GetPlacement(area, zoom_, PictureX(), PictureY());
}

bool CIVWindow::IsLargerThanWindow() const {
    const SIZE size = picture_.GetSize();
    return picture_.HasBitmap() &&
           (ScaledLength(size.cx, zoom_) > viewSize_.cx || ScaledLength(size.cy, zoom_) > viewSize_.cy);
}

bool CIVWindow::ScrollBy(int dx, int dy) {
    const SIZE size = picture_.GetSize();
    const int x = ClampOffset(offsetX_ + dx, viewSize_.cx, size.cx, zoom_);
    const int y = ClampOffset(offsetY_ + dy, viewSize_.cy, size.cy, zoom_);
    const bool changed = x != offsetX_ || y != offsetY_;
    offsetX_ = x;
    offsetY_ = y;
    return changed;
}

bool CIVWindow::SetZoom(float code) {
    const SIZE size = picture_.GetSize();
    bool changed = false;
    const float zoom = ComputeZoom(code, zoom_, viewSize_.cx, viewSize_.cy, size.cx, size.cy, changed);
    if (!changed) return false;
    const RECT place = GetPicturePlacement();
    const int baseX = offsetX_ < 0 ? offsetX_ : place.left;
    const int baseY = offsetY_ < 0 ? offsetY_ : place.top;
    offsetX_ = OffsetKeepingCentre(baseX, viewSize_.cx, zoom_, zoom);
    offsetY_ = OffsetKeepingCentre(baseY, viewSize_.cy, zoom_, zoom);
    zoom_ = zoom;
    ScrollBy();
    return true;
}

bool CIVWindow::ZoomToRect(int left, int top, int right, int bottom) {
    bool changed = false;
    const float zoom = ZoomForRect(left, top, right, bottom, viewSize_.cx, viewSize_.cy, zoom_, changed);
    if (!changed) return false;
    const RECT place = GetPicturePlacement();
    const int baseX = offsetX_ < 0 ? offsetX_ : place.left;
    const int baseY = offsetY_ < 0 ? offsetY_ : place.top;
    offsetX_ = static_cast<int>(std::floor((baseX - left) / zoom_ * zoom));
    offsetY_ = static_cast<int>(std::floor((baseY - top) / zoom_ * zoom));
    zoom_ = zoom;
    ScrollBy();
    return true;
}

bool CIVWindow::ApplyAutoZoom(bool render) {
    bool changed = false;
    if (picture_.flags & IVF_FILL) {
        SetZoom(ZOOM_FILL);
        changed = true;
    } else {
        if (picture_.flags & IVF_SHRINK_TO_FIT) changed = SetZoom(ZOOM_SHRINK_ONLY);
        if (!changed && (picture_.flags & IVF_ENLARGE_TO_FIT)) changed = SetZoom(ZOOM_ENLARGE_ONLY);
    }
    if (changed) ScrollBy();
    if (render) Render();
    return changed;
}

void CIVWindow::RenderTo(HDC dc, int width, int height) {
    const RECT area = {0, 0, width, height};
    const int x = ScaledLength(picture_.GetSize().cx, zoom_) < width ? kPlaceByFlags : offsetX_;
    const int y = ScaledLength(picture_.GetSize().cy, zoom_) < height ? kPlaceByFlags : offsetY_;
    // A picture that does not cover the whole area needs the background under it.
    if (!picture_.HasBitmap() || x == kPlaceByFlags || y == kPlaceByFlags || picture_.opacity < 255)
        background_.Draw(dc, area, 1.0f, kPlaceByFlags, kPlaceByFlags);
    picture_.Draw(dc, area, zoom_, x, y);
}

void CIVWindow::Render() {
    if (!backBuffer_) return;
    WindowDc screen(m_hWnd);
    MemoryDc memory(screen.Get(), backBuffer_.Get());
    RenderTo(memory.Get(), viewSize_.cx, viewSize_.cy);
}

namespace {
void CopyBitmapTo(HDC target, HBITMAP bitmap, SIZE size) {
    MemoryDc memory(target, bitmap);
    ::BitBlt(target, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
}
}  // namespace

void CIVWindow::ShowBitmap(HBITMAP bitmap) {
    if (!bitmap || !IsWindow()) return;
    WindowDc screen(m_hWnd);
    CopyBitmapTo(screen.Get(), bitmap, viewSize_);
}

void CIVWindow::Redraw() {
    Render();
    ShowBitmap(backBuffer_.Get());
    UpdateCursor();
}

void CIVWindow::UpdateCursor() {
    POINT cursor;
    if (!IsWindow() || !::GetCursorPos(&cursor) || ::WindowFromPoint(cursor) != m_hWnd) return;
    HCURSOR chosen = handler_->ChooseCursor();
    ::SetCursor(chosen ? chosen : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

void CIVWindow::MakeBackBuffer(int width, int height) {
    backBuffer_.Reset();  // gone before its successor is made, so the two never coexist
    viewSize_.cx = width;
    viewSize_.cy = height;
    WindowDc screen(m_hWnd);
    backBuffer_.Reset(::CreateCompatibleBitmap(screen.Get(), width, height));
}

LRESULT CIVWindow::OnMouseMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (msg == WM_SETCURSOR) {
        // Only the client area's cursor is ours; borders keep the system's.
        handled = LOWORD(lParam) == HTCLIENT && handler_->OnMouse(msg, 0, 0, wParam);
        return handled;
    }
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    handled = handler_->OnMouse(msg, x, y, wParam);
    return 0;
}

LRESULT CIVWindow::OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = handler_->OnKey(msg, wParam, lParam);
    return 0;
}

LRESULT CIVWindow::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    handled = handler_->OnTimer(wParam);
    return 0;
}

LRESULT CIVWindow::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CIVWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDc dc(m_hWnd);
    if (backBuffer_) CopyBitmapTo(dc.Get(), backBuffer_.Get(), viewSize_);
    return 0;
}

LRESULT CIVWindow::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    MakeBackBuffer(client.right + 1, client.bottom + 1);
    ScrollBy();  // a bigger window may leave an old offset out of range
    ApplyAutoZoom(true);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}
