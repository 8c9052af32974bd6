// Mouse, rubber band and keys of the thumbnail control.
#include "ui/thumbnails/ThumbnailView.h"

#include <algorithm>
#include <windowsx.h>

namespace {

POINT PointOf(LPARAM lParam) {
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return point;
}

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

const int kEdgeZone = 2;

}  // namespace

LRESULT CThumbnailView::OnLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    ::SetFocus(m_hWnd);
    const POINT point = PointOf(lParam);
    const int hit = HitTest(point);
    const bool ctrl = (wParam & MK_CONTROL) != 0, shift = (wParam & MK_SHIFT) != 0;
    if (listener_) listener_->OnLeftButton(hit, true, static_cast<UINT>(wParam), point);
    if (!ctrl && !shift) DeselectAll();
    if (hit >= 0) {
        if (shift) {
            SelectRange(hit);
        } else {
            SetSelected(hit, ctrl ? !items_[hit]->selected : true);
            anchor_ = hit;
        }
        MoveFocus(hit);
    }
    BeginBand(point, hit);
    return 0;
}

LRESULT CThumbnailView::OnLButtonUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    const POINT point = PointOf(lParam);
    if (listener_) listener_->OnLeftButton(HitTest(point), false, static_cast<UINT>(wParam), point);
    return 0;
}

LRESULT CThumbnailView::OnLButtonDblClk(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    ::SetFocus(m_hWnd);
    const POINT point = PointOf(lParam);
    if (listener_) listener_->OnItemDoubleClick(HitTest(point), static_cast<UINT>(wParam), point);
    return 0;
}

LRESULT CThumbnailView::OnRButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    ::SetFocus(m_hWnd);
    const POINT point = PointOf(lParam);
    const int hit = HitTest(point);
    if (!(wParam & (MK_CONTROL | MK_SHIFT))) {
        if (hit >= 0 && items_[hit]->selected) {
            anchor_ = hit;
        } else {
            DeselectAll();
            if (hit >= 0) {
                SetSelected(hit, true);
                anchor_ = hit;
            }
        }
    }
    if (listener_) listener_->OnContextMenu(hit, true, static_cast<UINT>(wParam), point);
    return 0;
}

LRESULT CThumbnailView::OnRButtonUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    const POINT point = PointOf(lParam);
    if (listener_) listener_->OnContextMenu(HitTest(point), false, static_cast<UINT>(wParam), point);
    return 0;
}

LRESULT CThumbnailView::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (dragging_) {
        bandShift_ = (wParam & MK_SHIFT) != 0;
        TrackRubberBand(PointOf(lParam), false);
    }
    return 0;
}

LRESULT CThumbnailView::OnCaptureChanged(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (reinterpret_cast<HWND>(lParam) != m_hWnd) EndBand();
    return 0;
}

LRESULT CThumbnailView::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam == kLoadTimer) {
        OnLoadTimer();
    } else if (wParam == kScrollBarTimer) {
        ::KillTimer(m_hWnd, kScrollBarTimer);
        verticalBarLate_ = false;
        UpdateScrollBar(SB_VERT, grid_.contentHeight, clientHeight_, scroll_.y);
    } else if (wParam == kBandTimer) {
        if (dragging_)
            TrackRubberBand(bandPoint_, true);
        else
            ::KillTimer(m_hWnd, kBandTimer);
    } else {
        handled = FALSE;
    }
    return 0;
}

// ---- rubber band ----

void CThumbnailView::BeginBand(POINT client, int startItem) {
    bandStart_ = {client.x + scroll_.x, client.y + scroll_.y};
    bandCorner_ = bandStart_;
    bandPoint_ = client;
    bandSet_.clear();
    bandStarter_ = startItem;
    if (startItem >= 0) bandSet_.insert(startItem);
    dragging_ = true;
    ::SetCapture(m_hWnd);
}

void CThumbnailView::InvalidateBandOutline() {
    RECT band = {std::min(bandStart_.x, bandCorner_.x), std::min(bandStart_.y, bandCorner_.y),
                 std::max(bandStart_.x, bandCorner_.x) + 1, std::max(bandStart_.y, bandCorner_.y) + 1};
    const int w = 2;
    const RECT edges[4] = {{band.left - w, band.top - w, band.right + w, band.top + w},
                           {band.left - w, band.bottom - w, band.right + w, band.bottom + w},
                           {band.left - w, band.top - w, band.left + w, band.bottom + w},
                           {band.right - w, band.top - w, band.right + w, band.bottom + w}};
    for (const RECT& edge : edges) InvalidateContentRect(edge);
}

void CThumbnailView::TrackRubberBand(POINT client, bool fromTimer) {
    bandPoint_ = client;
    InvalidateBandOutline();
    bandCorner_.x = std::max(0, std::min(static_cast<int>(client.x + scroll_.x), grid_.contentWidth - 1));
    bandCorner_.y = std::max(0, std::min(static_cast<int>(client.y + scroll_.y), grid_.contentHeight - 1));
    InvalidateBandOutline();

    const RECT band = {std::min(bandStart_.x, bandCorner_.x), std::min(bandStart_.y, bandCorner_.y),
                       std::max(bandStart_.x, bandCorner_.x) + 1, std::max(bandStart_.y, bandCorner_.y) + 1};
    for (int i = 0; i < GetItemCount(); ++i) {
        if (i == bandStarter_) continue;
        const bool meets = ItemMeets(i, band);
        const bool member = bandSet_.count(i) != 0;
        if (meets == member) continue;
        SetSelected(i, bandShift_ ? true : !items_[i]->selected);
        if (meets)
            bandSet_.insert(i);
        else
            bandSet_.erase(i);
    }

    // Near or past an edge the view scrolls so the point comes back inside.
    int dx = 0, dy = 0;
    if (client.x < kEdgeZone) dx = client.x - kEdgeZone;
    if (client.x > clientWidth_ - 1 - kEdgeZone) dx = client.x - (clientWidth_ - 1 - kEdgeZone);
    if (client.y < kEdgeZone) dy = client.y - kEdgeZone;
    if (client.y > clientHeight_ - 1 - kEdgeZone) dy = client.y - (clientHeight_ - 1 - kEdgeZone);
    const POINT before = scroll_;
    if (dx || dy) ScrollTo(scroll_.x + dx, scroll_.y + dy, true);
    if (scroll_.x != before.x || scroll_.y != before.y) {
        // Holding the mouse at the edge keeps scrolling.
        ::SetTimer(m_hWnd, kBandTimer, fromTimer ? 10 : 200, nullptr);
    } else if (fromTimer) {
        ::KillTimer(m_hWnd, kBandTimer);
    }
}

void CThumbnailView::EndBand() {
    if (!m_hWnd) return;
    ::KillTimer(m_hWnd, kBandTimer);
    if (!dragging_) return;
    dragging_ = false;
    InvalidateBandOutline();
    bandSet_.clear();
    bandStarter_ = -1;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

// ---- keys ----

LRESULT CThumbnailView::OnKeyDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    if (items_.empty()) return 0;
    const UINT key = static_cast<UINT>(wParam);
    const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (focused_ < 0) MoveFocus(0);
        if (!ctrl && !shift) DeselectAll();
        const int to = NavigateThumbnailFocus(focused_, key, grid_.columns, grid_.visibleRows, GetItemCount());
        if (!ctrl) SetSelected(to, true);
        if (shift)
            SelectRange(to);
        else
            anchor_ = to;
        MoveFocus(to);
        EnsureVisible(to);
        break;
    }
    case 'A':
        // Only while Ctrl is held down: a toggled Ctrl state is not a held key.
        if (ctrl) SelectAll();
        break;
    default:
        break;
    }
    if (listener_) listener_->OnKey(focused_ >= 0 ? focused_ : 0, true, key, lParam);
    return 0;
}

LRESULT CThumbnailView::OnKeyUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EndBand();
    if (items_.empty()) return 0;
    if (listener_) listener_->OnKey(focused_ >= 0 ? focused_ : 0, false, static_cast<UINT>(wParam), lParam);
    return 0;
}
