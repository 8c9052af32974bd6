#include "ui/thumbnails/ThumbnailView.h"
#include "framework/AppModule.h"
#include "framework/GdiHolders.h"

#include <algorithm>
#include <cstddef>

CThumbnailView::CThumbnailView() {
    LoadSystemThumbnailColors(look_);
    CreateDrawingObjects();
    // Gradient shadows need msimg32; without it the shadow is a plain strip.
    if (HMODULE msimg = ::LoadLibraryA("Msimg32.dll"))
        gradientFill_ = reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(::GetProcAddress(msimg, "GradientFill")));
    grid_ = ComputeThumbnailGrid(look_, lineHeight_, 0, 0, 0, 0);
}

CThumbnailView::~CThumbnailView() {
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    ClearItems();
}

WindowClassInfo CThumbnailView::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_ThumbnailView";
    info.style = CS_DBLCLKS;
    info.backgroundColor = -1;  // the paint covers everything
    return info;
}

LRESULT CThumbnailView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style | WS_HSCROLL | WS_VSCROLL);
    edge_.Open(m_hWnd);
    decoder_.SetTarget(m_hWnd, kDecodedMessage);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (tips_.Create(m_hWnd, TTS_NOPREFIX)) {
        ::SetWindowPos(tips_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 300);
    }
    return 0;
}

LRESULT CThumbnailView::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    ::KillTimer(m_hWnd, kBandTimer);
    ::KillTimer(m_hWnd, kScrollBarTimer);
    StopLoadTimer();
    // A decode still running ends on its own; its bitmap is freed with it.
    decoder_.Close();
    dragging_ = false;
    if (tips_) ::DestroyWindow(tips_);
    tips_.m_hWnd = nullptr;
    toolCount_ = 0;
    edge_.Close();
    return 0;
}

LRESULT CThumbnailView::OnThemeChanged(UINT, WPARAM, LPARAM, BOOL&) {
    edge_.Open(m_hWnd);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return 0;
}

// ---- items ----

void CThumbnailView::ClearItems() {
    for (CThumbnailItem* item : items_) delete item;
    items_.clear();
    pendingCount_ = 0;
    selectedCount_ = 0;
    scanFrom_ = 0;
}

void CThumbnailView::AppendItems(const std::vector<ThumbnailItemData>& items) {
    items_.reserve(items_.size() + items.size());
    for (const ThumbnailItemData& data : items) {
        auto* item = new CThumbnailItem(this, data);
        items_.push_back(item);
        // Every new item waits for its picture, whatever its description says.
        item->pending = true;
        ++pendingCount_;
        if (listener_) listener_->OnItemAdded(static_cast<int>(items_.size()) - 1);
    }
}

void CThumbnailView::SetItems(const std::vector<ThumbnailItemData>& items, bool start) {
    StopLoadTimer();
    addedAt_ = 0;
    EndBand();
    ClearItems();
    bandSet_.clear();
    loadNext_ = anchor_ = focused_ = -1;
    loadingEnabled_ = false;
    RebuildTools();
    AppendItems(items);
    Layout();
    if (start) StartLoading();
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CThumbnailView::AddItems(const std::vector<ThumbnailItemData>& items, bool start) {
    if (items.empty()) return;
    StopLoadTimer();
    addedAt_ = ::GetTickCount();
    if (addedAt_ == 0) addedAt_ = 1;
    AppendItems(items);
    adding_ = true;
    Layout();
    adding_ = false;
    if (start)
        StartLoading();
    else
        loadingEnabled_ = false;  // adding while hidden waits for the next show
    // The layout has marked what shows of the new items; the rest of the view stays as drawn.
}

void CThumbnailView::RemoveItems(const PictureIndexList& indices) {
    if (indices.empty()) return;
    StopLoadTimer();
    EndBand();
    const int count = GetItemCount();
    std::vector<bool> removed(static_cast<size_t>(count), false);
    for (int32_t index : indices)
        if (index >= 0 && index < count) removed[static_cast<size_t>(index)] = true;
    CThumbnailItem* keptLoadNext = loadNext_ >= 0 && loadNext_ < count ? items_[loadNext_] : nullptr;
    CThumbnailItem* keptAnchor = anchor_ >= 0 && anchor_ < count ? items_[anchor_] : nullptr;
    CThumbnailItem* keptFocus = focused_ >= 0 && focused_ < count ? items_[focused_] : nullptr;
    loadNext_ = anchor_ = focused_ = -1;

    std::vector<CThumbnailItem*> kept;
    kept.reserve(items_.size());
    for (int i = 0; i < count; ++i) {
        CThumbnailItem* item = items_[i];
        if (!removed[static_cast<size_t>(i)]) {
            if (item == keptLoadNext) loadNext_ = static_cast<int>(kept.size());
            if (item == keptAnchor) anchor_ = static_cast<int>(kept.size());
            if (item == keptFocus) focused_ = static_cast<int>(kept.size());
            kept.push_back(item);
            continue;
        }
        if (item->pending) --pendingCount_;
        if (item->selected) --selectedCount_;
        if (listener_) listener_->OnItemRemoved(i);
        delete item;
    }
    items_.swap(kept);
    scanFrom_ = 0;
    bandSet_.clear();
    Layout();
    if (pendingCount_ > 0 && loadingEnabled_) StartLoadTimer();
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CThumbnailView::RemoveItem(int index) { RemoveItems(PictureIndexList(1, index)); }

void CThumbnailView::ReturnItemsDrawnFrom(HBITMAP bitmap) {
    if (!bitmap) return;
    for (int i = 0; i < GetItemCount(); ++i) {
        CThumbnailItem* item = items_[i];
        if (item->pending || item->Data().bitmap != bitmap) continue;
        item->ReturnToPlaceholder();
        item->onlyWhenVisible = true;
        ++pendingCount_;
        InvalidateItem(i);
    }
    if (pendingCount_ > 0 && loadingEnabled_) StartLoadTimer();
}

// ---- layout and scrolling ----

void CThumbnailView::MeasureCaptions(int first, int last, HDC dc) {
    first = std::max(first, 0);
    last = std::min(last, GetItemCount() - 1);
    int unmeasured = first;
    while (unmeasured <= last && items_[unmeasured]->Measured()) ++unmeasured;
    if (unmeasured > last) return;
    auto measure = [&](HDC with) {
        for (int i = unmeasured; i <= last; ++i)
            if (!items_[i]->Measured()) items_[i]->BuildCaptions(with, look_, lineHeight_);
    };
    if (dc) return measure(dc);
    // One device context for them all: under Wine each GetDC is a round trip to the server.
    WindowDc own(m_hWnd);
    SelectedObject font(own.Get(), font_.Get());
    measure(own.Get());
}

void CThumbnailView::Layout() {
    if (!m_hWnd) return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // The back buffer follows the window's size; new items alone keep it.
    const bool resized = client.right != clientWidth_ || client.bottom != clientHeight_ || !backBuffer_;
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
    if (resized) backBuffer_.Reset();
    if (resized && clientWidth_ > 0 && clientHeight_ > 0) {
        backBuffer_.Reset(::CreateCompatibleBitmap(WindowDc(m_hWnd).Get(), clientWidth_, clientHeight_));
    }
    const int count = GetItemCount();
    ThumbnailGrid grid = ComputeThumbnailGrid(look_, lineHeight_, clientWidth_, clientHeight_, count, 0);
    // Room for the wrapped caption of a focused item of the last row.
    MeasureCaptions((grid.rows - 1) * grid.columns, count - 1, nullptr);
    int extra = 0;
    for (int i = (grid.rows - 1) * grid.columns; i < count; ++i)
        extra = std::max(extra, static_cast<int>(items_[i]->WrappedSize().cy) - lineHeight_);
    if (extra > 0) grid = ComputeThumbnailGrid(look_, lineHeight_, clientWidth_, clientHeight_, count, extra);
    grid_ = grid;
    for (int i = 0; i < count; ++i) {
        const RECT cell = ThumbnailCellRect(grid_, look_, i);
        if (::EqualRect(&cell, &items_[i]->cell)) continue;
        InvalidateItem(i);
        items_[i]->cell = cell;
        InvalidateItem(i);
    }
    ScrollTo(scroll_.x, scroll_.y, true);
}

void CThumbnailView::ScrollTo(int x, int y, bool hint) {
    if (!m_hWnd) return;
    if (pendingCount_ > 0 && hint) {
        int first = 0, last = -1;
        ThumbnailRowSpan(grid_, look_, GetItemCount(), y, y + clientHeight_, first, last);
        loadNext_ = -1;
        for (int i = first; i <= last; ++i)
            if (items_[i]->pending) {
                loadNext_ = i;
                break;
            }
    }
    x = std::max(0, std::min(x, grid_.contentWidth - clientWidth_));
    y = std::max(0, std::min(y, grid_.contentHeight - clientHeight_));
    if (x != scroll_.x || y != scroll_.y) {
        const int dx = scroll_.x - x, dy = scroll_.y - y;
        scroll_.x = x;
        scroll_.y = y;
        ::ScrollWindowEx(m_hWnd, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    }
    UpdateScrollBar(SB_HORZ, grid_.contentWidth, clientWidth_, scroll_.x);
    UpdateScrollBar(SB_VERT, grid_.contentHeight, clientHeight_, scroll_.y);
    RebuildTools();
    // What has just come into view may wait for its picture.
    if (pendingCount_ > 0 && loadingEnabled_) StartLoadTimer();
}

void CThumbnailView::UpdateScrollBar(int bar, int contentSize, int clientSize, int position) {
    // Setting a scroll bar redraws it at once: only when something changed.
    ScrollBarState& last = bar == SB_VERT ? verticalBar_ : horizontalBar_;
    const ScrollBarState now = {contentSize, clientSize, position};
    if (last.contentSize == now.contentSize && last.clientSize == now.clientSize && last.position == now.position)
        return;
    // Items added below the view only lengthen the bar: redrawing a scroll bar costs 5 to 50 ms
    // under Wine, so a crawl's growth shows at most once a second.
    const DWORD time = ::GetTickCount();
    if (bar == SB_VERT && adding_ && last.clientSize == clientSize && last.position == position &&
        contentSize > last.contentSize && time - verticalBarSetAt_ < kBarGrowthPeriodMs) {
        if (!verticalBarLate_) verticalBarLate_ = ::SetTimer(m_hWnd, kScrollBarTimer, kBarGrowthPeriodMs, nullptr) != 0;
        if (verticalBarLate_) return;
    }
    if (bar == SB_VERT) {
        verticalBarSetAt_ = time;
        if (verticalBarLate_) ::KillTimer(m_hWnd, kScrollBarTimer);
        verticalBarLate_ = false;
    }
    last = now;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    // The vertical bar stays (disabled when all fits), so the columns do not change as rows come
    // and go; a horizontal bar only appears when the window is narrower than a cell.
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (bar == SB_VERT ? SIF_DISABLENOSCROLL : 0);
    info.nMax = contentSize - 1;
    info.nPage = static_cast<UINT>(std::max(0, clientSize));
    info.nPos = position;
    ::SetScrollInfo(m_hWnd, bar, &info, TRUE);
}

void CThumbnailView::RebuildTools() {
    if (!tips_) return;
    int first = 0, last = -1;
    ThumbnailRowSpan(grid_, look_, GetItemCount(), scroll_.y, scroll_.y + clientHeight_, first, last);
    // Items added out of sight leave the tools as they are: re-adding them costs a message each.
    const ToolSpan span = {first, last, scroll_.x, scroll_.y, clientWidth_, clientHeight_, grid_.columns, focused_};
    if (toolCount_ > 0 && span == toolSpan_) return;
    toolSpan_ = span;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    for (int id = 1; id <= toolCount_; ++id) {
        tool.uId = static_cast<UINT_PTR>(id);
        ::SendMessageA(tips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    toolCount_ = 0;
    const RECT view = {scroll_.x, scroll_.y, scroll_.x + clientWidth_, scroll_.y + clientHeight_};
    for (int i = first; i <= last; ++i) {
        if (!ItemMeets(i, view)) continue;
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = static_cast<UINT_PTR>(++toolCount_);
        tool.rect = ToClient(items_[i]->cell);
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        tool.lParam = static_cast<LPARAM>(i);
        ::SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

LRESULT CThumbnailView::OnGetDispInfo(int, LPNMHDR header, BOOL& handled) {
    if (header->hwndFrom != tips_) {
        handled = FALSE;
        return 0;
    }
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    ::SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 300);
    info->lpszText = info->szText;
    info->szText[0] = 0;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uId = header->idFrom;
    if (::SendMessageA(tips_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) {
        const int index = static_cast<int>(tool.lParam);
        if (index >= 0 && index < GetItemCount())
            lstrcpynA(info->szText, items_[index]->Data().tip.c_str(), 80);
    }
    return 0;
}

RECT CThumbnailView::ToClient(const RECT& content) const {
    RECT r = content;
    ::OffsetRect(&r, -scroll_.x, -scroll_.y);
    return r;
}

RECT CThumbnailView::ItemCaptionArea(int index) const {
    return items_[index]->CaptionArea(HasFocusedCaption(index), lineHeight_);
}

bool CThumbnailView::ItemMeets(int index, const RECT& content) const {
    RECT meet;
    const RECT caption = ItemCaptionArea(index);
    return ::IntersectRect(&meet, &items_[index]->cell, &content) || ::IntersectRect(&meet, &caption, &content);
}

void CThumbnailView::InvalidateContentRect(const RECT& content) {
    if (!m_hWnd) return;
    // Out of sight there is nothing to redraw; each call is a round trip to the server.
    const RECT client = {0, 0, clientWidth_, clientHeight_};
    RECT r = ToClient(content);
    if (!::IntersectRect(&r, &r, &client)) return;
    ::InvalidateRect(m_hWnd, &r, FALSE);
}

void CThumbnailView::InvalidateItem(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    InvalidateContentRect(items_[index]->cell);
    // The wrapped caption may reach past the cell: cover both caption forms.
    InvalidateContentRect(items_[index]->CaptionArea(true, lineHeight_));
    InvalidateContentRect(items_[index]->CaptionArea(false, lineHeight_));
}

void CThumbnailView::EnsureVisible(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    const POINT to = ScrollToShowCell(items_[index]->cell, scroll_, clientWidth_, clientHeight_);
    if (to.x != scroll_.x || to.y != scroll_.y) ScrollTo(to.x, to.y, true);
}

LRESULT CThumbnailView::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    EndBand();
    Layout();
    return 0;
}

LRESULT CThumbnailView::OnScroll(UINT msg, WPARAM wParam, LPARAM, BOOL&) {
    EndBand();
    const bool vertical = msg == WM_VSCROLL;
    const int step = vertical ? grid_.cellHeight + look_.verticalSpacing : grid_.cellWidth + look_.horizontalSpacing;
    const int line = step / 2;
    // Whole steps: an odd step halved and doubled would lose a pixel per row.
    const int page = step * (vertical ? grid_.visibleRows : grid_.columns);
    const int now = vertical ? scroll_.y : scroll_.x;
    const int largest = vertical ? grid_.contentHeight - clientHeight_ : grid_.contentWidth - clientWidth_;
    int to = now;
    bool hint = true;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: to = now - line; break;
    case SB_LINEDOWN: to = now + line; break;
    case SB_PAGEUP: to = now - page; break;
    case SB_PAGEDOWN: to = now + page; break;
    case SB_THUMBTRACK:
        hint = false;
        // fall through
    case SB_THUMBPOSITION: {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(m_hWnd, vertical ? SB_VERT : SB_HORZ, &info);
        to = info.nTrackPos;
        break;
    }
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = largest; break;
    default: return 0;
    }
    if (vertical)
        ScrollTo(scroll_.x, to, hint);
    else
        ScrollTo(to, scroll_.y, hint);
    return 0;
}

LRESULT CThumbnailView::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
    EndBand();
    const int steps = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
    ScrollTo(scroll_.x, scroll_.y - steps * (grid_.cellHeight / 2), true);
    return 0;
}

// ---- state ----

RECT CThumbnailView::GetItemCell(int index) const {
    if (index < 0 || index >= GetItemCount()) return RECT{0, 0, 0, 0};
    return items_[index]->cell;
}

const ThumbnailItemData* CThumbnailView::GetItemData(int index) const {
    if (index < 0 || index >= GetItemCount()) return nullptr;
    return &items_[index]->Data();
}

bool CThumbnailView::IsItemPending(int index) const {
    return index >= 0 && index < GetItemCount() && items_[index]->pending;
}

UINT CThumbnailView::StateOf(int index) const {
    if (index < 0 || index >= GetItemCount()) return 0;
    return (items_[index]->selected ? kThumbnailSelected : 0u) | (index == focused_ ? kThumbnailFocused : 0u);
}

UINT CThumbnailView::GetItemState(int index) const { return StateOf(index); }

void CThumbnailView::SetItemState(int index, UINT state) {
    if (index < 0 || index >= GetItemCount()) return;
    SetSelected(index, (state & kThumbnailSelected) != 0);
    if (state & kThumbnailFocused) MoveFocus(index);
}

void CThumbnailView::SetSelected(int index, bool selected) {
    if (index < 0 || index >= GetItemCount() || items_[index]->selected == selected) return;
    const UINT before = StateOf(index);
    items_[index]->selected = selected;
    selectedCount_ += selected ? 1 : -1;
    InvalidateItem(index);
    if (listener_) listener_->OnItemStateChanged(index, before, StateOf(index));
}

// Whole-selection changes are told once: a word per item to the owner would make them cost as
// much as the task is long.
template <typename Wanted> void CThumbnailView::ReplaceSelection(Wanted wanted) {
    bool changed = false;
    for (int i = 0; i < GetItemCount(); ++i) {
        const bool selected = wanted(i);
        if (items_[i]->selected == selected) continue;
        items_[i]->selected = selected;
        selectedCount_ += selected ? 1 : -1;
        InvalidateItem(i);
        changed = true;
    }
    if (changed && listener_) listener_->OnSelectionChanged();
}

void CThumbnailView::SetSelection(const PictureIndexList& selected) {
    std::vector<bool> wanted(items_.size(), false);
    for (int32_t index : selected)
        if (index >= 0 && index < GetItemCount()) wanted[static_cast<size_t>(index)] = true;
    ReplaceSelection([&wanted](int i) { return static_cast<bool>(wanted[static_cast<size_t>(i)]); });
}

void CThumbnailView::SelectAll() {
    ReplaceSelection([](int) { return true; });
}

void CThumbnailView::InvertSelection() {
    ReplaceSelection([this](int i) { return !items_[i]->selected; });
}

void CThumbnailView::GetSelection(PictureIndexList& selected) const {
    selected.clear();
    selected.reserve(static_cast<size_t>(selectedCount_));
    for (int i = 0; i < GetItemCount() && static_cast<int>(selected.size()) < selectedCount_; ++i)
        if (items_[i]->selected) selected.push_back(i);
}

void CThumbnailView::DeselectAll() {
    if (selectedCount_ > 0) ReplaceSelection([](int) { return false; });
}

void CThumbnailView::SelectRange(int to) {
    if (anchor_ < 0) anchor_ = 0;
    const int low = std::min(anchor_, to), high = std::max(anchor_, to);
    ReplaceSelection([low, high](int i) { return i >= low && i <= high; });
}

void CThumbnailView::MoveFocus(int index) {
    if (index == focused_ || index < 0 || index >= GetItemCount()) return;
    const int old = focused_;
    if (old >= 0) {
        const UINT before = StateOf(old);
        focused_ = -1;
        InvalidateItem(old);
        if (listener_) listener_->OnItemStateChanged(old, before, StateOf(old));
    }
    const UINT before = StateOf(index);
    focused_ = index;
    // Its wrapped caption may reach past its cell: measured now, so all of it is redrawn.
    MeasureCaptions(index, index, nullptr);
    InvalidateItem(index);
    if (listener_) listener_->OnItemStateChanged(index, before, StateOf(index));
}

LRESULT CThumbnailView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    EndBand();
    hasFocus_ = true;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CThumbnailView::OnKillFocus(UINT, WPARAM, LPARAM, BOOL&) {
    EndBand();
    hasFocus_ = false;
    const POINT origin = {0, 0};
    if (listener_) listener_->OnLeftButton(HitTest(origin), false, 0, origin);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

void CThumbnailView::SetSpacing(int horizontal, int vertical) {
    look_.horizontalSpacing = std::max(0, horizontal);
    look_.verticalSpacing = std::max(0, vertical);
    if (m_hWnd) Layout();
}

LRESULT CThumbnailView::OnSysColorChange(UINT, WPARAM, LPARAM, BOOL&) {
    EndBand();
    if (look_.systemColors) LoadSystemThumbnailColors(look_);
    CreateDrawingObjects();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

int CThumbnailView::HitTest(POINT client) const {
    const POINT at = {client.x + scroll_.x, client.y + scroll_.y};
    int first = 0, last = -1;
    // Wrapped captions reach into the next row: look one row higher as well.
    ThumbnailRowSpan(grid_, look_, GetItemCount(), at.y - grid_.cellHeight - look_.verticalSpacing, at.y + 1, first,
                     last);
    auto hits = [&](int i) {
        const RECT frame = items_[i]->FrameArea(look_, lineHeight_);
        const RECT caption = ItemCaptionArea(i);
        return ::PtInRect(&frame, at) || ::PtInRect(&caption, at);
    };
    // Only the focused item's caption reaches further: it comes first when it lies before.
    if (focused_ >= 0 && focused_ < first && hits(focused_)) return focused_;
    for (int i = first; i <= last; ++i)
        if (hits(i)) return i;
    return -1;
}
