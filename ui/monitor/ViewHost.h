#pragma once
// The tabbed container of the monitor pane: one tab per view, only the selected tab's view
// shown. A tab can flash for a moment to draw attention (the messages view does so for each new
// message); a tab that flashed while not selected keeps its attention picture until selected.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

#include "framework/ImageList.h"
#include "framework/TabCtrl.h"
#include "framework/WindowImpl.h"

class ViewHost : public CWindowImplBase {
public:
    static constexpr UINT kFlashTimer = 1;
    static constexpr UINT kFlashPeriod = 200;
    static constexpr int kFlashTicks = 6;
    static constexpr int kAttentionImage = 4;
    // Tab positions of the monitor pane's views.
    enum Tab { kConnectionsTab = 0, kMessagesTab = 1, kErrorsTab = 2, kStatisticsTab = 3 };

    DECLARE_WND_CLASS("Brackenfly_ViewHost")

    ViewHost() = default;
    ~ViewHost() override;

    HWND CreateHost(HWND parent);
    // Appends a tab showing `name` for `view` (which the host does not own), selects tab 0.
    int AddView(const std::string& name, HWND view);
    // The monitor pane's four tabs in their order, with their localized names.
    void AddMonitorViews(HWND connections, HWND messages, HWND errors, HWND statistics);

    void FlashTab(int tab, int image);
    void StopFlash();
    void ShowSelectedView();
    void Layout();

    HWND TabControl() const { return tabs_; }
    int ViewCount() const { return static_cast<int>(views_.size()); }
    HWND View(int tab) const;
    int SelectedTab() const;
    int TabImage(int tab) const;
    int FlashedTab() const { return flashedTab_; }

    BEGIN_MSG_MAP(ViewHost)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    void SetTabImage(int tab, int image);

    CTabCtrl tabs_;
    ImageList images_;  // the tab control does not own its image list
    std::vector<HWND> views_;
    int flashTicks_ = 0;
    int flashedTab_ = -1;
    int flashImage_ = kAttentionImage;
};
