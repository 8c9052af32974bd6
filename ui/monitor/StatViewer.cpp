#include "ui/monitor/StatViewer.h"


StatViewLayout LayoutStatView(int width, int height) {
    StatViewLayout layout;
    const int panelLeft = width < StatViewer::kPanelWidth ? 0 : width - StatViewer::kPanelWidth;
    layout.graph = {0, 0, panelLeft, height};
    layout.panel = {panelLeft, 0, panelLeft + StatViewer::kPanelWidth, height};
    return layout;
}

StatViewer::StatViewer(const IDownloadTotals* totals) : graph_(totals), panel_(totals, &graph_.Samples()) {
    graph_.SetSpeedDisplay(&panel_);
}

StatViewer::~StatViewer() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    edge_.Close();
}

HWND StatViewer::CreateView(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
}

LRESULT StatViewer::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (!graph_.CreateGraph(m_hWnd)) return -1;
    if (!panel_.Create(m_hWnd)) return -1;
    panel_.ShowWindow(SW_SHOW);
    edge_.Open(m_hWnd);
    return 0;
}

LRESULT StatViewer::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    edge_.Close();
    handled = FALSE;
    return 0;
}

LRESULT StatViewer::OnThemeChanged(UINT, WPARAM, LPARAM, BOOL&) {
    edge_.Open(m_hWnd);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return 0;
}

LRESULT StatViewer::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const StatViewLayout layout = LayoutStatView(LOWORD(lParam), HIWORD(lParam));
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(graph_, nullptr, layout.graph.left, layout.graph.top, layout.graph.right - layout.graph.left,
                   layout.graph.bottom - layout.graph.top, flags);
    ::SetWindowPos(panel_, nullptr, layout.panel.left, layout.panel.top, layout.panel.right - layout.panel.left,
                   layout.panel.bottom - layout.panel.top, flags);
    return 0;
}

