#include "ui/monitor/StatViewer.h"

#include <vssym32.h>

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
    CloseTheme();
}

HWND StatViewer::CreateView(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
}

LRESULT StatViewer::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (!graph_.CreateGraph(m_hWnd)) return -1;
    if (!panel_.Create(m_hWnd)) return -1;
    panel_.ShowWindow(SW_SHOW);
    theme_ = ::OpenThemeData(m_hWnd, L"Edit");
    return 0;
}

LRESULT StatViewer::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    CloseTheme();
    handled = FALSE;
    return 0;
}

void StatViewer::CloseTheme() {
    if (theme_) ::CloseThemeData(theme_);
    theme_ = nullptr;
}

LRESULT StatViewer::OnThemeChanged(UINT, WPARAM, LPARAM, BOOL&) {
    CloseTheme();
    theme_ = ::OpenThemeData(m_hWnd, L"Edit");
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

LRESULT StatViewer::OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    // The default draws the classic sunken edge; with a theme the edit box's border goes over it.
    const LRESULT result = DefWindowProc(msg, wParam, lParam);
    if (!theme_) return result;
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -window.left, -window.top);
    ::OffsetRect(&window, -window.left, -window.top);
    HDC dc = ::GetWindowDC(m_hWnd);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    ::DrawThemeBackground(theme_, dc, EP_EDITTEXT, ETS_NORMAL, &window, nullptr);
    ::ReleaseDC(m_hWnd, dc);
    return result;
}
