#include "framework/SplitterWindow.h"
#include "framework/GdiHolders.h"

CSplitterWindow::CSplitterWindow(bool vertical) : vertical_(vertical) {
    BOOL full = TRUE;
    if (::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0)) fullDrag_ = full != FALSE;
}

HWND CSplitterWindow::CreateSplitter(HWND parent, const RECT& rect) {
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

SplitterGeometry CSplitterWindow::Geometry() const {
    return SplitterGeometry{rect_, position_, kBarWidth, vertical_, singlePane_};
}

void CSplitterWindow::SetSplitterPanes(HWND left, HWND right, bool update) {
    panes_[0] = left;
    panes_[1] = right;
    if (update) UpdateSplitterLayout();
}

void CSplitterWindow::SetSplitterPos(int position, bool update) {
    if (position < 0) {
        // No position given: the middle.
        const SplitterGeometry g = Geometry();
        position = ((vertical_ ? g.rect.right - g.rect.left : g.rect.bottom - g.rect.top) - kBarWidth) / 2;
    }
    position_ = ClampSplitterPosition(Geometry(), position, kMinPane);
    proportion_ = SplitterProportion(Geometry());
    if (update) UpdateSplitterLayout();
}

void CSplitterWindow::SetProportional(bool proportional) {
    proportional_ = proportional;
    proportion_ = SplitterProportion(Geometry());
}

void CSplitterWindow::KeepProportion() {
    if (position_ < 0) return;
    // The share is taken once there is room, and then only changes when the bar is placed again,
    // so shrinking to the minimum and growing back returns to the same place.
    if (proportion_ < 0) {
        proportion_ = SplitterProportion(Geometry());
        return;
    }
    position_ = ClampSplitterPosition(Geometry(), SplitterPositionFromProportion(Geometry(), proportion_), kMinPane);
}

void CSplitterWindow::SetSinglePaneMode(int pane) {
    if (pane != kSplitPaneLeft && pane != kSplitPaneRight) pane = kSplitPaneNone;
    singlePane_ = pane;
    for (int i = 0; i < 2; ++i) {
        if (!panes_[i]) continue;
        const bool shown = pane == kSplitPaneNone || pane == i;
        ::ShowWindow(panes_[i], shown ? SW_SHOWNA : SW_HIDE);
    }
    UpdateSplitterLayout();
}

void CSplitterWindow::SetSplitterRect(const RECT* rect, bool update) {
    if (rect) rect_ = *rect;
    else if (m_hWnd) ::GetClientRect(m_hWnd, &rect_);
    if (proportional_) KeepProportion();
    if (update) UpdateSplitterLayout();
}

void CSplitterWindow::LayOutPane(int pane, const RECT& paneRect) {
    if (panes_[pane]) {
        if (m_hWnd) ::SendMessageA(::GetParent(m_hWnd), WM_SPLITTER_LAYOUT, 0, 0);
        ::SetWindowPos(panes_[pane], nullptr, paneRect.left, paneRect.top, paneRect.right - paneRect.left,
                       paneRect.bottom - paneRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (m_hWnd) {
        ::InvalidateRect(m_hWnd, &paneRect, TRUE);
    }
}

void CSplitterWindow::UpdateSplitterLayout() {
    // The parent may change the splitter while handling the notice: run the layout again once,
    // after this one, instead of inside it.
    if (inLayout_) {
        layoutAgain_ = true;
        return;
    }
    inLayout_ = true;
    do {
        layoutAgain_ = false;
        if (singlePane_ == kSplitPaneNone) {
            if (position_ < 0) break;
            const RECT bar = SplitterBarRect(Geometry());
            if (m_hWnd) ::InvalidateRect(m_hWnd, &bar, TRUE);
            for (int pane = 0; pane < 2; ++pane) LayOutPane(pane, SplitterPaneRect(Geometry(), pane));
        } else {
            LayOutPane(singlePane_, rect_);
        }
    } while (layoutAgain_);
    inLayout_ = false;
}

LRESULT CSplitterWindow::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    SetSplitterRect();
    return 0;
}

LRESULT CSplitterWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDc paint(m_hWnd);
    HDC dc = paint.Get();
    const RECT bar = SplitterBarRect(Geometry());
    if (bar.right > bar.left && bar.bottom > bar.top) ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_3DFACE));
    // Where a pane has no window, the area stays plain.
    for (int pane = 0; pane < 2; ++pane) {
        if (panes_[pane]) continue;
        const RECT r = SplitterPaneRect(Geometry(), pane);
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    }
    return 0;
}

bool CSplitterWindow::IsOverBar(POINT point) const {
    const RECT bar = SplitterBarRect(Geometry());
    return ::PtInRect(&bar, point) != FALSE;
}

LRESULT CSplitterWindow::OnSetCursor(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    POINT point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_hWnd, &point);
    if (reinterpret_cast<HWND>(wParam) != m_hWnd || !IsOverBar(point)) {
        handled = FALSE;
        return 0;
    }
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(vertical_ ? IDC_SIZEWE : IDC_SIZENS)));
    return TRUE;
}

LRESULT CSplitterWindow::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!IsOverBar(point)) return 0;
    dragging_ = true;
    dragOffset_ = (vertical_ ? point.x - rect_.left : point.y - rect_.top) - position_;
    ::SetCapture(m_hWnd);
    // The keys come here while the bar is dragged, so Escape can cancel it.
    focusBeforeDrag_ = ::SetFocus(m_hWnd);
    if (!fullDrag_) {
        ghostPosition_ = position_;
        InvertGhostBar(ghostPosition_);
    }
    return 0;
}

int CSplitterWindow::DraggedPosition(LPARAM lParam) const {
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int wanted = (vertical_ ? point.x - rect_.left : point.y - rect_.top) - dragOffset_;
    return ClampSplitterPosition(Geometry(), wanted, kMinPane);
}

LRESULT CSplitterWindow::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!dragging_) return 0;
    const int wanted = DraggedPosition(lParam);
    if (!fullDrag_) {
        if (wanted != ghostPosition_) {
            InvertGhostBar(ghostPosition_);
            ghostPosition_ = wanted;
            InvertGhostBar(ghostPosition_);
        }
        return 0;
    }
    if (wanted != position_) {
        SetSplitterPos(wanted);
        ::UpdateWindow(m_hWnd);
    }
    return 0;
}

LRESULT CSplitterWindow::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!dragging_) return 0;
    const int dropped = DraggedPosition(lParam);
    EndDrag();
    if (!fullDrag_ && dropped != position_) SetSplitterPos(dropped);
    return 0;
}

LRESULT CSplitterWindow::OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&) {
    // Losing the mouse to someone else cancels a ghost drag: the panes stay where they were.
    if (dragging_) EndDrag();
    return 0;
}

void CSplitterWindow::EndDrag() {
    // Cleared first: releasing the capture comes back here as a lost capture.
    dragging_ = false;
    if (ghostPosition_ >= 0) InvertGhostBar(ghostPosition_);
    ghostPosition_ = -1;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    HWND focus = focusBeforeDrag_;
    focusBeforeDrag_ = nullptr;
    if (focus && ::IsWindow(focus) && ::GetFocus() == m_hWnd) ::SetFocus(focus);
}

void CSplitterWindow::InvertGhostBar(int position) {
    // Inverting the same place a second time erases the outline.
    static const WORD kHalftone[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    if (position < 0 || !m_hWnd) return;
    SplitterGeometry geometry = Geometry();
    geometry.position = position;
    const RECT bar = SplitterBarRect(geometry);
    // Over the panes too: a cache DC without the children clipped away.
    WindowDc over(m_hWnd, ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
    HDC dc = over.Get();
    if (!dc) return;
    GdiObject<HBITMAP> pattern(::CreateBitmap(8, 8, 1, 1, kHalftone));
    GdiObject<HBRUSH> brush(pattern ? ::CreatePatternBrush(pattern.Get()) : nullptr);
    if (brush) {
        SelectedObject selected(dc, brush.Get());
        ::PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
    }
}

LRESULT CSplitterWindow::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // Escape leaves the panes where they were.
    if (dragging_ && wParam == VK_ESCAPE) EndDrag();
    return 0;
}

LRESULT CSplitterWindow::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    if (dragging_) return 0;
    const int pane = singlePane_ == kSplitPaneRight ? 1 : 0;
    if (panes_[pane]) ::SetFocus(panes_[pane]);
    return 0;
}

LRESULT CSplitterWindow::ForwardToParent(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    return ::SendMessageA(::GetParent(m_hWnd), msg, wParam, lParam);
}
