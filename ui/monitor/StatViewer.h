#pragma once
// The "Statistics" tab: the speed graph, with the download statistics panel in a 170-pixel
// column on its right. Its client edge follows the visual theme of an edit box.
#include <windows.h>

#include "dialogs/monitor/DownloadStatDlg.h"
#include "framework/ThemedClientEdge.h"
#include "framework/WindowImpl.h"
#include "ui/monitor/DownloadGraph.h"

class IDownloadTotals;

struct StatViewLayout {
    RECT graph;
    RECT panel;
};
// Graph and panel for a client of this size: the panel takes the rightmost 170 pixels.
StatViewLayout LayoutStatView(int width, int height);

class StatViewer : public CWindowImplBase {
public:
    static constexpr int kPanelWidth = 170;

    DECLARE_WND_CLASS("Brackenfly_StatViewer")

    explicit StatViewer(const IDownloadTotals* totals);
    ~StatViewer() override;

    // Hidden child with a sunken client edge, as the view host shows it when selected.
    HWND CreateView(HWND parent);
    DownloadGraph& Graph() { return graph_; }
    DownloadStatDlg& StatPanel() { return panel_; }
    // The statistics view takes no commands; here for the frame's routing.
    bool OnCommand(UINT) { return false; }

    BEGIN_MSG_MAP(StatViewer)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
        MESSAGE_HANDLER(WM_THEMECHANGED, OnThemeChanged)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcPaint(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return edge_.OnNcPaint(m_hWnd, wParam, lParam); }
    LRESULT OnThemeChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    DownloadGraph graph_;
    DownloadStatDlg panel_;
    ThemedClientEdge edge_;
};
