#include "ui/monitor/MonitorList.h"

#include <cstring>

#include "core/DownloadManagerTexts.h"
#include "framework/AppModule.h"
#include "framework/ImageListStrip.h"
#include "resources/monitor_ids.h"

MonitorList::~MonitorList() { Destroy(); }

bool MonitorList::Create(HWND parent, const Column* columns, int count) {
    // Shared image lists: the list must not destroy ours (Destroy does).
    ControlArgs args;
    args.parent = parent;
    args.style = WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                 LVS_SHAREIMAGELISTS | LVS_NOCOLUMNHEADER;
    args.exStyle = WS_EX_CLIENTEDGE;
    if (!CListViewCtrl::Create(args)) return false;
    ::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    images_ = LoadImageListStrip(IDB_MONITOR_LIST, 16, 16);
    ::SendMessageA(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.Get()));
    for (int i = 0; i < count; ++i) {
        std::string title = EngineText(columns[i].titleId);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = &title[0];
        ::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    return true;
}

void MonitorList::Destroy() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    images_.Reset();
}

void MonitorList::SetRowCount(int count) {
    ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

int MonitorList::RowCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

int MonitorList::SelectedRow() const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool MonitorList::SelectRow(int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!::SendMessageA(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)))
        return false;
    ::SendMessageA(m_hWnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    return true;
}

int MonitorList::RowAt(POINT client) const {
    LVHITTESTINFO hit = {};
    hit.pt = client;
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

int MonitorList::RowAtMenuPoint(LPARAM lParam, POINT& screen) const {
    screen.x = static_cast<short>(LOWORD(lParam));
    screen.y = static_cast<short>(HIWORD(lParam));
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: the menu opens at the selected row, or at the list's corner.
        const int selected = SelectedRow();
        RECT place = {};
        if (selected < 0 || !::SendMessageA(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(selected),
                                            reinterpret_cast<LPARAM>(&place)))
            place.left = place.bottom = 0;
        POINT corner = {place.left + 16, place.bottom};
        ::ClientToScreen(m_hWnd, &corner);
        screen = corner;
        return selected;
    }
    POINT client = screen;
    ::ScreenToClient(m_hWnd, &client);
    return RowAt(client);
}

std::string MonitorList::CellText(int row, int column) const {
    char buffer[1100] = {0};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int MonitorList::RowImage(int row) const {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    ::SendMessageA(m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void MonitorList::Layout(int width, int height) {
    if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MonitorList::FillCell(NMLVDISPINFOA* info, const std::string& text, int image) {
    LVITEMA& item = info->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const size_t room = static_cast<size_t>(item.cchTextMax) - 1;
        const size_t count = text.size() < room ? text.size() : room;
        std::memcpy(item.pszText, text.data(), count);
        item.pszText[count] = '\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = image;
}
