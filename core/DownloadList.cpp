#include "core/DownloadList.h"

#include "core/LocalText.h"
#include "core/TextFormat.h"
#include "framework/AppModule.h"
#include "resources/engine_ids.h"

namespace {

const int kColumnWidths[5] = {300, 75, 75, 100, 80};
const unsigned kColumnTitles[5] = {IDS_COLUMN_ADDRESS, IDS_COLUMN_TOTAL_SIZE, IDS_COLUMN_LOADED_SIZE,
                                   IDS_COLUMN_PROGRESS, IDS_COLUMN_STATUS};

std::string NumberOrEmpty(int32_t value) { return value > 0 ? FormatText("%d", value) : std::string(); }

}  // namespace

DownloadList::~DownloadList() {
    // Row records belong to the list; the window may already be gone with its parent.
    if (list_ && IsWindow(list_)) RemoveAll();
}

bool DownloadList::Create(HWND parent) {
    ControlArgs args;
    args.parent = parent;
    args.style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT;
    args.exStyle = WS_EX_CLIENTEDGE;
    if (!list_.Create(args)) return false;
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT |
                     LVS_EX_LABELTIP);
    for (int i = 0; i < 5; ++i) {
        std::string title = LocalText(kColumnTitles[i]);
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof(column));
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumnWidths[i];
        column.pszText = &title[0];
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    return true;
}

DownloadList::Batch::Batch(DownloadList& list) : list_(list) {
    if (list_.openBatches_++ == 0 && list_.list_ && !list_.redrawHeld_) {
        SendMessageA(list_.list_, WM_SETREDRAW, FALSE, 0);
        list_.redrawHeld_ = true;
    }
}

DownloadList::Batch::~Batch() {
    if (--list_.openBatches_ == 0 && GetTickCount() - list_.lastDrawn_ >= kRedrawPeriodMs) list_.FlushRedraw();
}

void DownloadList::FlushRedraw() {
    if (!redrawHeld_ || openBatches_ > 0) return;
    redrawHeld_ = false;
    lastDrawn_ = GetTickCount();
    if (list_ && IsWindow(list_)) {
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, FALSE);
        // Drawn now, while drawing is on: the next batch turns it off again, and a crawl's
        // records come in before any paint, which would then find nothing to draw with.
        UpdateWindow(list_);
    }
}

int DownloadList::RowCount() const {
    return list_ ? static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

DownloadListRow* DownloadList::Record(int row) const {
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<DownloadListRow*>(item.lParam);
}

const DownloadListRow* DownloadList::RowRecord(int row) const { return Record(row); }

int DownloadList::FindRow(int32_t workerNumber) const {
    for (int row = 0, n = RowCount(); row < n; ++row) {
        DownloadListRow* r = Record(row);
        if (r && r->workerNumber == workerNumber) return row;
    }
    return -1;
}

std::string DownloadList::CellText(int row, int column) const {
    char buffer[2100] = {0};
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void DownloadList::SetCell(int row, int column, const std::string& text) {
    std::string copy = text;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = &copy[0];
    SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void DownloadList::SetChecked(int row, bool checked) {
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void DownloadList::Redraw(int row) { SendMessageA(list_, LVM_REDRAWITEMS, row, row); }

void DownloadList::AddRow(int32_t workerNumber, const std::string& url, bool isImage) {
    if (!list_) return;
    int row = -1;
    DownloadListRow* record = nullptr;
    for (int i = 0, n = RowCount(); i < n && !record; ++i) {
        DownloadListRow* r = Record(i);
        if (r && !r->inUse) {
            row = i;
            record = r;
        }
    }
    if (record) {
        SetCell(row, 0, url);
    } else {
        record = new DownloadListRow;
        std::string text = url;
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = RowCount();
        item.pszText = &text[0];
        item.lParam = reinterpret_cast<LPARAM>(record);
        row = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0) {
            delete record;
            return;
        }
    }
    SetChecked(row, true);
    record->inUse = 1;
    record->isImage = isImage ? 1 : 0;
    record->totalSize = 0;
    record->bytesReceived = 0;
    record->workerNumber = workerNumber;
    SetCell(row, 1, "");
    SetCell(row, 2, "");
    SetCell(row, 4, LocalText(IDS_ROW_CONNECTING));
    Redraw(row);
}

void DownloadList::UpdateProgress(int32_t workerNumber, int32_t totalSize, int32_t chunk) {
    int row = FindRow(workerNumber);
    if (row < 0) return;
    DownloadListRow* r = Record(row);
    r->totalSize = totalSize;
    int64_t received = int64_t(r->bytesReceived) + (chunk > 0 ? chunk : 0);
    r->bytesReceived = received > 0x7fffffff ? 0x7fffffff : static_cast<int32_t>(received);
    // A zero leaves its cell as it was.
    if (r->totalSize > 0) SetCell(row, 1, NumberOrEmpty(r->totalSize));
    if (r->bytesReceived > 0) SetCell(row, 2, NumberOrEmpty(r->bytesReceived));
    SetCell(row, 4, LocalText(r->isImage ? IDS_ROW_DOWNLOADING : IDS_ROW_CHECKING));
    Redraw(row);
}

int32_t DownloadList::BytesReceived(int32_t workerNumber) const {
    int row = FindRow(workerNumber);
    const DownloadListRow* r = row < 0 ? nullptr : Record(row);
    return r ? r->bytesReceived : -1;
}

void DownloadList::FinishRow(int32_t workerNumber, bool completed, bool final) {
    int row = FindRow(workerNumber);
    if (row < 0) return;
    DownloadListRow* r = Record(row);
    if (final) {
        r->totalSize = 0;
        r->bytesReceived = 0;
    } else {
        r->bytesReceived = r->totalSize;
    }
    SetCell(row, 2, NumberOrEmpty(r->totalSize));
    if (final) {
        SetCell(row, 0, "");
        SetChecked(row, false);
    }
    if (completed && !final) {
        SetCell(row, 4, LocalText(r->isImage ? IDS_ROW_SAVING : IDS_ROW_PARSING));
    } else {
        r->inUse = 0;
        SetCell(row, 4, "");
    }
    if (final) {
        SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        delete r;
        return;
    }
    Redraw(row);
}

std::vector<int32_t> DownloadList::UntickedWorkers() const {
    std::vector<int32_t> numbers;
    for (int row = 0, n = RowCount(); row < n; ++row) {
        UINT state = static_cast<UINT>(SendMessageA(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                                    LVIS_STATEIMAGEMASK));
        DownloadListRow* r = Record(row);
        if (r && r->inUse && (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(1))
            numbers.push_back(r->workerNumber);
    }
    return numbers;
}

void DownloadList::RemoveAll() {
    if (!list_) return;
    for (int row = RowCount() - 1; row >= 0; --row) {
        DownloadListRow* r = Record(row);
        SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        delete r;
    }
    FlushRedraw();
}

void DownloadList::Layout(int width, int height) {
    if (!list_) return;
    MoveWindow(list_, 0, 0, width, height, TRUE);
    int total = 22;
    for (int i = 0; i < 5; ++i)
        total += static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
    if (total > width) {
        int first = static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, 0, 0));
        int narrowed = first - (total - width);
        if (narrowed > 10) SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, narrowed);
    }
}

LRESULT DownloadList::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        // Once per paint: whether selected rows show highlighted.
        listFocused_ = GetFocus() == list_;
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        // The focus frame the list draws with the address cell, over the whole row as it would
        // (only when the cell was ours: the frame is drawn inverting).
        if (!checkBoxes_ || !listFocused_ || !(draw->nmcd.uItemState & CDIS_FOCUS)) return CDRF_DODEFAULT;
        RECT row = {LVIR_BOUNDS, 0, 0, 0}, label = {LVIR_LABEL, 0, 0, 0};
        if (SendMessageA(list_, LVM_GETITEMRECT, draw->nmcd.dwItemSpec, reinterpret_cast<LPARAM>(&row)) &&
            SendMessageA(list_, LVM_GETITEMRECT, draw->nmcd.dwItemSpec, reinterpret_cast<LPARAM>(&label))) {
            row.left = label.left;
            DrawFocusRect(draw->nmcd.hdc, &row);
        }
        return CDRF_DODEFAULT;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        if (draw->iSubItem == 0) return DrawAddressCell(draw);
        if (draw->iSubItem != 3) return CDRF_DODEFAULT;
        const DownloadListRow* r = reinterpret_cast<const DownloadListRow*>(draw->nmcd.lItemlParam);
        if (!r || r->totalSize <= 0 || r->bytesReceived <= 0) return CDRF_DODEFAULT;
        RECT cell;
        ZeroMemory(&cell, sizeof(cell));
        cell.top = 3;   // LVIR_BOUNDS of the sub-item
        cell.left = LVIR_BOUNDS;
        SendMessageA(list_, LVM_GETSUBITEMRECT, draw->nmcd.dwItemSpec, reinterpret_cast<LPARAM>(&cell));
        int64_t filled = int64_t(cell.right - cell.left) * r->bytesReceived / r->totalSize;
        if (filled > cell.right - cell.left) filled = cell.right - cell.left;
        RECT bar = cell;
        bar.right = cell.left + static_cast<LONG>(filled);
        FillRect(draw->nmcd.hdc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool DownloadList::MakeCheckBoxCopies(HDC like) {
    if (checkBoxes_) return true;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(list_, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    int width = 0, height = 0;
    if (!images || !ImageList_GetIconSize(images, &width, &height) || ImageList_GetImageCount(images) < 2 ||
        width <= 0 || height <= 0 || width > 64 || height > 64)
        return false;
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(like, 2 * width, height));
    std::unique_ptr<MemoryDc> copies(new MemoryDc(like, bitmap.Get()));
    if (!bitmap || !copies->Ok()) return false;
    const RECT all = {0, 0, 2 * width, height};
    FillRect(copies->Get(), &all, GetSysColorBrush(COLOR_WINDOW));
    ImageList_Draw(images, 0, copies->Get(), 0, 0, ILD_NORMAL);
    ImageList_Draw(images, 1, copies->Get(), width, 0, ILD_NORMAL);
    checkBoxesBitmap_.Reset(bitmap.Release());
    checkBoxes_ = std::move(copies);
    checkBoxSize_ = {width, height};
    return true;
}

LRESULT DownloadList::DrawAddressCell(NMLVCUSTOMDRAW* draw) {
    HDC dc = draw->nmcd.hdc;
    const int row = static_cast<int>(draw->nmcd.dwItemSpec);
    if (!MakeCheckBoxCopies(dc)) return CDRF_DODEFAULT;
    RECT icon = {LVIR_ICON, 0, 0, 0}, label = {LVIR_LABEL, 0, 0, 0};
    if (!SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&icon)) ||
        !SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label)))
        return CDRF_DODEFAULT;
    const UINT state = static_cast<UINT>(SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    const int picture = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? 1 : 0;
    BitBlt(dc, icon.left - checkBoxSize_.cx, icon.top, checkBoxSize_.cx, checkBoxSize_.cy, checkBoxes_->Get(),
           picture * checkBoxSize_.cx, 0, SRCCOPY);

    const bool highlighted = listFocused_ && (draw->nmcd.uItemState & CDIS_SELECTED);
    FillRect(dc, &label, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    char text[2100] = {0};
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    // Where the list itself puts the text within the label.
    RECT room = label;
    room.left += 5;
    room.right -= 2;
    room.top -= 1;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, text, -1, &room, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    return CDRF_SKIPDEFAULT;
}
