#pragma once
// The monitor pane's views as the main frame hosts them: the view host with the download
// manager's list, the messages, the errors and the statistics (graph and panel) as its tabs.
#include <memory>
#include "ui/frame/IMonitorViews.h"

class DownloadManagerTotals;
class ErrorsViewer;
class MessagesViewer;
class StatViewer;
class ViewHost;

class MonitorPane : public IMonitorViews {
public:
    MonitorPane();
    ~MonitorPane() override;

    HWND CreateViews(HWND pane, DownloadManager& manager) override;
    void SetMenuHost(IPopupMenuHost* host) override { menuHost_ = host; }
    bool HandleCommand(WORD id, WORD notifyCode, HWND control) override;
    IMessagesView* GetMessagesView() override;
    IErrorsView* GetErrorsView() override;
    IDownloadStatView* GetStatView() override;
    IDownloadGraphView* GetGraphView() override;

private:
    // Made in CreateViews: the errors view and the totals need the frame's download manager.
    std::unique_ptr<ViewHost> host_;
    std::unique_ptr<MessagesViewer> messages_;
    std::unique_ptr<ErrorsViewer> errors_;
    std::unique_ptr<DownloadManagerTotals> totals_;
    std::unique_ptr<StatViewer> stats_;
    IPopupMenuHost* menuHost_ = nullptr;
};
