#include "ui/pictures/ImagesListView.h"

#include <shellapi.h>
#include <cctype>
#include <cmath>
#include <cstdio>
#include "core/ImageRecord.h"
#include "core/IndicesAfterRemoval.h"
#include "core/TaskOptions.h"
#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "resources/pictures_ids.h"
#include "core/LocalText.h"
#include "ui/pictures/ImagesContainer.h"
#include "ui/pictures/SelectionChanges.h"

namespace {
const DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const COLORREF kUnviewedBackground = RGB(255, 255, 210);
const int kNameColumnWidth = 100;
const int kSizeColumnWidth = 55;
const int kSplitterPosition = 200;
}  // namespace

int32_t PictureKilobytes(int32_t bytes) {
    if (bytes == 0) return 0;
    const int32_t k = static_cast<int32_t>(std::floor(bytes * 0.001));
    return k < 1 ? 1 : k;
}

int FitNameColumn(int nameWidth, int sizeWidth, int paneWidth) {
    const int excess = nameWidth + sizeWidth + 22 - paneWidth;
    return nameWidth - excess > 10 ? nameWidth - excess : -1;
}

ImagesListView::ImagesListView() { viewer_.SetListener(this); }

ImagesListView::~ImagesListView() = default;

LRESULT ImagesListView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    splitter_.CreateSplitter(m_hWnd, client);
    // The list keeps its share as the window grows; the bar is dragged as an outline, so the list
    // and the picture are not laid out again at every mouse move.
    splitter_.SetProportional(true);
    splitter_.SetFullDrag(false);
    ControlArgs args;
    args.parent = splitter_.m_hWnd;
    args.style = kChildStyle | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA;
    args.exStyle = WS_EX_CLIENTEDGE;
    list_.Create(args);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT |
                                                 LVS_EX_LABELTIP);
    const std::string nameText = LocalText(IDS_PICTURE_NAME_COLUMN);
    const std::string sizeText = LocalText(IDS_PICTURE_SIZE_COLUMN);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kNameColumnWidth;
    column.pszText = const_cast<char*>(nameText.c_str());
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = kSizeColumnWidth;
    column.pszText = const_cast<char*>(sizeText.c_str());
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    SHFILEINFOA info = {};
    images_ = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images_) ListView_SetImageList(list_, images_, LVSIL_SMALL);
    viewer_.Create(splitter_.m_hWnd, nullptr, "", kChildStyle, WS_EX_CLIENTEDGE);
    splitter_.SetSplitterPanes(list_, viewer_.m_hWnd);
    PostMessage(WM_AFTER_CREATE, 0, 0);
    return 0;
}

LRESULT ImagesListView::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    ::KillTimer(m_hWnd, kNewRowsTimer);
    newRowsTimer_ = false;
    images_ = nullptr;
    return 0;
}

LRESULT ImagesListView::OnAfterCreate(UINT, WPARAM, LPARAM, BOOL&) {
    positionPending_ = true;
    inLayout_ = false;
    ApplyPendingPosition();
    return 0;
}

void ImagesListView::ApplyPendingPosition() {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (!positionPending_ || client.right < 2 * kSplitterPosition) return;
    positionPending_ = false;
    splitter_.SetSplitterPos(kSplitterPosition, true);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

LRESULT ImagesListView::OnSplitterLayout(UINT msg, WPARAM, LPARAM, BOOL&) {
    if (!splitter_.m_hWnd || !list_) return 0;
    if (msg == WM_SPLITTER_LAYOUT && inLayout_) return 0;
    inLayout_ = true;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::MoveWindow(splitter_.m_hWnd, 0, 0, client.right, client.bottom, TRUE);
    int paneWidth = client.right;
    if (splitter_.GetSinglePaneMode() == kSplitPaneNone && splitter_.GetSplitterPos() >= 0)
        paneWidth = splitter_.GetSplitterPos();
    const int name = ListView_GetColumnWidth(list_, 0);
    const int size = ListView_GetColumnWidth(list_, 1);
    const int fitted = FitNameColumn(name, size, paneWidth);
    if (fitted > 0 && fitted != name) ListView_SetColumnWidth(list_, 0, fitted);
    inLayout_ = false;
    ApplyPendingPosition();
    return 0;
}

int ImagesListView::RecordCount() const {
    TaskOptions* task = container_ ? container_->GetTask() : nullptr;
    return task ? task->DownloadedImages.GetCount() : 0;
}

const ImageRecord* ImagesListView::RecordAt(int index) const {
    TaskOptions* task = container_ ? container_->GetTask() : nullptr;
    if (!task || index < 0 || index >= task->DownloadedImages.GetCount()) return nullptr;
    return &task->DownloadedImages.GetAt(index);
}

ImageRecord* ImagesListView::MutableRecordAt(int index) { return const_cast<ImageRecord*>(RecordAt(index)); }

LRESULT ImagesListView::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || header->hwndFrom != list_) {
        handled = FALSE;
        return 0;
    }
    switch (header->code) {
    case LVN_GETDISPINFOA:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return 0;
    case LVN_COLUMNCLICK:
        if (container_) container_->SortImages(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem == 0 ? 0 : 1);
        UpdateCommandStates();
        return 0;
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<NMLISTVIEW*>(lParam));
        return 0;
    case NM_CUSTOMDRAW:
        return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    case NM_RCLICK:
        if (GetFocusedIndex() >= 0 && container_) container_->ShowPictureMenu();
        return 0;
    case NM_DBLCLK:
        if (GetFocusedIndex() >= 0) viewer_.ToggleFullScreen();
        return 0;
    case LVN_KEYDOWN:
        // Ctrl+A selects every row, as in the thumbnails (the list control has no such key).
        if (reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000)) SelectAll();
        return 0;
    default:
        handled = FALSE;
        return 0;
    }
}

void ImagesListView::OnGetDispInfo(NMLVDISPINFOA* info) {
    const ImageRecord* record = RecordAt(info->item.iItem);
    if (!record) return;
    if (info->item.mask & LVIF_IMAGE) {
        const int icon = IconOf(record->localPath);
        if (icon >= 0) info->item.iImage = icon;
    }
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        std::string text;
        if (info->item.iSubItem == 0) text = record->fileName;
        else text = std::to_string(PictureKilobytes(record->fileSize)) + LocalText(IDS_KB_SUFFIX);
        lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
    }
}

int ImagesListView::IconOf(const std::string& path) {
    // The icon of the file's type, from its name alone: drawing a row never waits on the disk. The
    // shell finds it in the registry, several round trips to the Wine server for each row drawn,
    // so each type is asked for once.
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    std::string type = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(dot) : "";
    for (char& c : type) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    const auto known = iconByType_.find(type);
    if (known != iconByType_.end()) return known->second;
    SHFILEINFOA file = {};
    const int icon = ::SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &file, sizeof(file),
                                      SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES)
                         ? file.iIcon
                         : -1;
    // Only short types are kept, so hostile names cannot grow the map without end.
    if (type.size() <= 16 && iconByType_.size() < 64) iconByType_[type] = icon;
    return icon;
}

LRESULT ImagesListView::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const ImageRecord* record = RecordAt(static_cast<int>(draw->nmcd.dwItemSpec));
        if (record && record->flag == 0) draw->clrTextBk = kUnviewedBackground;
        return CDRF_NEWFONT;
    }
    return 0;
}

void ImagesListView::OnItemChanged(const NMLISTVIEW* change) {
    // A change of many rows at once (ApplySelection) updates the commands once at its end.
    if (quiet_) return;
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_FOCUSED) && !(change->uOldState & LVIS_FOCUSED) &&
        change->iItem >= 0) {
        if (ImageRecord* record = MutableRecordAt(change->iItem)) {
            viewer_.SetFile(record->localPath);
            record->flag = 1;
            ListView_RedrawItems(list_, change->iItem, change->iItem);
        }
    }
    UpdateCommandStates();
}

void ImagesListView::UpdateCommandStates() {
    if (!container_ || !visible_) return;
    const bool rows = GetRowCount() > 0;
    const bool selected = ListView_GetSelectedCount(list_) > 0;
    const bool focused = GetFocusedIndex() >= 0;
    container_->EnablePictureCommands(rows, selected, focused);
}

int ImagesListView::GetRowCount() const { return list_ ? ListView_GetItemCount(list_) : 0; }

UINT ImagesListView::GetRowState(int row) const {
    return ListView_GetItemState(list_, row, LVIS_FOCUSED | LVIS_SELECTED);
}

int ImagesListView::GetFocusedIndex() const {
    return list_ ? ListView_GetNextItem(list_, -1, LVNI_FOCUSED) : -1;
}

void ImagesListView::Show(bool show) {
    ShowNewRows();
    visible_ = show;
    if (show && container_) {
        // The thumbnails' states come over as one selection change and one focus move: what it
        // costs follows the rows that differ, not the task's length.
        const CThumbnailView& thumbnails = container_->ThumbnailView().Control();
        PictureIndexList selected;
        thumbnails.GetSelection(selected);
        ApplySelection(selected);
        const int focused = thumbnails.GetFocusedIndex();
        const int listFocused = GetFocusedIndex();
        if (focused >= 0 && focused < GetRowCount() && focused != listFocused) {
            ListView_SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
        } else if (focused < 0 && listFocused >= 0) {
            ListView_SetItemState(list_, listFocused, 0, LVIS_FOCUSED);
        }
        UpdateCommandStates();
        ::SetFocus(list_);
    }
    ShowWindow(show ? SW_SHOWNORMAL : SW_HIDE);
}

void ImagesListView::LoadTask() {
    unshownRows_ = 0;  // the records' count is set below
    ShowNewRows();
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    viewer_.SetFile("");
    // Owner-data rows: the count is all the list keeps.
    if (container_ && container_->GetTask()) ListView_SetItemCountEx(list_, RecordCount(), LVSICF_NOINVALIDATEALL);
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
    UpdateCommandStates();
}

void ImagesListView::Clear() {
    unshownRows_ = 0;
    ShowNewRows();
    ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    viewer_.SetFile("");
    ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
    UpdateCommandStates();
}

void ImagesListView::AppendRows(int count) {
    // The list's count change redraws its scroll bar, 5 to 50 ms under Wine whatever it adds:
    // rows that would land out of sight join at most once a second; when the end of the list
    // shows (or the list is hidden, which costs nothing to draw) they join at once.
    unshownRows_ += count;
    if (visible_ && !LastRowInView() && !newRowsTimer_)
        newRowsTimer_ = ::SetTimer(m_hWnd, kNewRowsTimer, kNewRowsDelayMs, nullptr) != 0;
    if (!newRowsTimer_) ShowNewRows();
    UpdateCommandStates();
}

bool ImagesListView::LastRowInView() const {
    const int rows = ListView_GetItemCount(list_);
    return ListView_GetTopIndex(list_) + ListView_GetCountPerPage(list_) >= rows;
}

void ImagesListView::ShowNewRows() {
    if (newRowsTimer_) ::KillTimer(m_hWnd, kNewRowsTimer);
    newRowsTimer_ = false;
    if (unshownRows_ <= 0) return;
    ListView_SetItemCountEx(list_, GetRowCount() + unshownRows_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    unshownRows_ = 0;
}

LRESULT ImagesListView::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kNewRowsTimer) {
        handled = FALSE;
        return 0;
    }
    ShowNewRows();
    UpdateCommandStates();
    return 0;
}

void ImagesListView::ShowFocusedInViewer() {
    const ImageRecord* record = RecordAt(GetFocusedIndex());
    viewer_.SetFile(record ? record->localPath : "");
}

void ImagesListView::RemoveRow(int index) {
    ShowNewRows();
    if (index < 0 || index >= GetRowCount()) return;
    ListView_DeleteItem(list_, index);
    // Owner-data rows keep no data of their own to follow the focused picture by: the viewer
    // lets go of the picture.
    viewer_.SetFile("");
    UpdateCommandStates();
}

void ImagesListView::RemoveIndices(const PictureIndexList& indices) {
    ShowNewRows();
    if (indices.empty()) return;
    // Owner-data rows are only a count: one count change and the kept rows' states marked again,
    // instead of a delete per row (each a round trip to the server under Wine, with the list's
    // selection ranges shifted every time).
    const int rows = GetRowCount();
    const std::vector<int32_t> newIndex = IndicesAfterRemoval(static_cast<size_t>(rows), indices);
    int kept = 0;
    for (int32_t index : newIndex)
        if (index >= 0) ++kept;
    if (kept == rows) return;
    PictureIndexList selected;
    GetSelected(selected);
    PictureIndexList wanted;
    for (int32_t row : selected)
        if (row >= 0 && row < rows && newIndex[static_cast<size_t>(row)] >= 0) wanted.push_back(newIndex[static_cast<size_t>(row)]);
    // A removed focused row hands the focus to the row that takes its place (the last, at the end).
    const int focused = GetFocusedIndex();
    int focus = -1;
    if (focused >= 0 && focused < rows) {
        focus = newIndex[static_cast<size_t>(focused)];
        for (int row = focused; focus < 0 && row < rows; ++row) focus = newIndex[static_cast<size_t>(row)];
        if (focus < 0) focus = kept - 1;
    }
    ListView_SetItemCountEx(list_, kept, LVSICF_NOSCROLL);
    ApplySelection(wanted);
    if (focus >= 0) {
        quiet_ = true;
        ListView_SetItemState(list_, focus, LVIS_FOCUSED, LVIS_FOCUSED);
        ListView_SetSelectionMark(list_, focus);
        quiet_ = false;
    }
    ShowFocusedInViewer();
    ::InvalidateRect(list_, nullptr, TRUE);
    UpdateCommandStates();
}

void ImagesListView::ApplySelection(const PictureIndexList& wanted) {
    PictureIndexList current;
    GetSelected(current);
    const SelectionChanges plan = PlanSelectionChanges(GetRowCount(), current, wanted);
    if (plan.Messages() == 0) return;
    // Every row changed asks the list to repaint that row, a round trip to the server under Wine
    // even out of sight (an "all rows" message does so for each row): a long change repaints
    // once at its end instead.
    const bool many = plan.start != SelectionChanges::kKeep || plan.Messages() > kRepaintPerRowUpTo;
    quiet_ = true;
    if (many) ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    if (plan.start != SelectionChanges::kKeep)
        ListView_SetItemState(list_, -1, plan.start == SelectionChanges::kSelectAll ? LVIS_SELECTED : 0, LVIS_SELECTED);
    for (int32_t row : plan.select) ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    for (int32_t row : plan.deselect) ListView_SetItemState(list_, row, 0, LVIS_SELECTED);
    if (many) {
        ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, FALSE);
    }
    quiet_ = false;
}

void ImagesListView::SelectIndices(const PictureIndexList& indices) {
    ShowNewRows();
    ApplySelection(indices);
    UpdateCommandStates();
}

void ImagesListView::SelectAll() {
    ShowNewRows();
    PictureIndexList all(static_cast<size_t>(GetRowCount()));
    for (size_t row = 0; row < all.size(); ++row) all[row] = static_cast<int32_t>(row);
    ApplySelection(all);
    UpdateCommandStates();
}

void ImagesListView::GetSelected(PictureIndexList& indices) const {
    indices.clear();
    // Every row selected (after Select All) is told by the count alone.
    const int rows = GetRowCount();
    if (rows > 0 && static_cast<int>(ListView_GetSelectedCount(list_)) == rows) {
        indices.resize(static_cast<size_t>(rows));
        for (int row = 0; row < rows; ++row) indices[static_cast<size_t>(row)] = row;
        return;
    }
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
        indices.push_back(row);
}

void ImagesListView::InvertSelection() {
    ShowNewRows();
    PictureIndexList selected;
    GetSelected(selected);
    ApplySelection(OtherRows(GetRowCount(), selected));
    UpdateCommandStates();
}

void ImagesListView::MoveFocus(int row) {
    const int focused = GetFocusedIndex();
    if (focused >= 0 && focused != row) ListView_SetItemState(list_, focused, 0, LVIS_FOCUSED);
    ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
}

void ImagesListView::FocusLastRow() {
    ShowNewRows();
    const int rows = GetRowCount();
    if (rows == 0) return;
    const int focused = GetFocusedIndex();
    if (focused >= 0) ListView_SetItemState(list_, focused, 0, LVIS_FOCUSED | LVIS_SELECTED);
    ApplySelection(PictureIndexList{rows - 1});
    ListView_SetItemState(list_, rows - 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ListView_EnsureVisible(list_, rows - 1, FALSE);
}

void ImagesListView::FullScreen() {
    if (GetFocusedIndex() >= 0) viewer_.ToggleFullScreen();
}

void ImagesListView::ApplyStates(const PictureIndexList& selected, int focused) {
    ApplySelection(selected);
    if (focused >= 0 && focused < GetRowCount()) {
        ListView_SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
        ListView_EnsureVisible(list_, focused, FALSE);
    }
    // The rows were rebuilt under the viewer: it shows the focused picture again, wherever it went.
    if (visible_) ShowFocusedInViewer();
    UpdateCommandStates();
}

void ImagesListView::ShowPrevious() {
    ShowNewRows();
    if (!visible_ && container_) return container_->ThumbnailView().ShowPrevious();
    const int focused = GetFocusedIndex();
    const int rows = GetRowCount();
    if (focused < 0 || rows == 0) return;
    MoveFocus(focused == 0 ? rows - 1 : focused - 1);
}

void ImagesListView::ShowNext() {
    ShowNewRows();
    if (!visible_ && container_) return container_->ThumbnailView().ShowNext();
    const int focused = GetFocusedIndex();
    const int rows = GetRowCount();
    if (focused < 0 || rows == 0) return;
    MoveFocus(focused + 1 >= rows ? 0 : focused + 1);
}

void ImagesListView::DeleteCurrent() {
    ShowNewRows();
    if (!visible_ && container_) return container_->ThumbnailView().DeleteCurrent();
    int focused = GetFocusedIndex();
    if (focused < 0 || !container_) return;
    container_->DeleteFocused();
    const int rows = GetRowCount();
    if (rows == 0) return;
    if (focused >= rows) focused = rows - 1;
    ListView_SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    ShowFocusedInViewer();
}

void ImagesListView::SelectShown() {
    ShowNewRows();
    if (!visible_ && container_) return container_->ThumbnailView().SelectShown();
    const int focused = GetFocusedIndex();
    if (focused < 0) return;
    ApplySelection(PictureIndexList{focused});
    ListView_EnsureVisible(list_, focused, FALSE);
    UpdateCommandStates();
    ::SetFocus(list_);
}

int ImagesListView::ToggleFullScreen() {
    if (!visible_ && container_) return container_->ThumbnailView().ToggleFullScreen();
    if (GetFocusedIndex() < 0) return -1;
    return viewer_.ToggleFullScreen();
}
