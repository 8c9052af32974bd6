#include "ui/monitor/MonitorListView.h"

#include "ui/monitor/ContextMenu.h"

MonitorListView::MonitorListView(const MonitorList::Column* columns, int columnCount, unsigned menuId)
    : columns_(columns), columnCount_(columnCount), menuId_(menuId) {}

MonitorListView::~MonitorListView() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND MonitorListView::CreateView(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

LRESULT MonitorListView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (!list_.Create(m_hWnd, columns_, columnCount_)) return -1;
    OnListCreated();
    return 0;
}

LRESULT MonitorListView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    OnListDestroying();
    list_.Destroy();
    handled = FALSE;
    return 0;
}

LRESULT MonitorListView::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    list_.Layout(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT MonitorListView::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != list_.m_hWnd || header->code != LVN_GETDISPINFOA) return OnOtherNotify(header, handled);
    NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
    std::string text;
    int image = 0;
    if (CellOf(info->item.iItem, info->item.iSubItem, text, image)) MonitorList::FillCell(info, text, image);
    return 0;
}

LRESULT MonitorListView::OnContextMenu(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (EntryCount() == 0) return 0;
    POINT screen;
    const int row = list_.RowAtMenuPoint(lParam, screen);
    if (row >= 0) list_.SelectRow(row);
    ShowViewContextMenu(menuId_, screen, m_hWnd, menuHost_, [this, row](HMENU popup) { PrepareMenu(popup, row); });
    return 0;
}

LRESULT MonitorListView::OnCommandMessage(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    handled = OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
    return 0;
}
