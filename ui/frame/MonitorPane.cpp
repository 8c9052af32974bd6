#include "ui/frame/MonitorPane.h"

#include "core/DownloadManager.h"
#include "ui/monitor/DownloadTotals.h"
#include "ui/monitor/ErrorsViewer.h"
#include "ui/monitor/MessagesViewer.h"
#include "ui/monitor/StatViewer.h"
#include "ui/monitor/ViewHost.h"

MonitorPane::MonitorPane() : host_(new ViewHost()) {}

// The views go before the host that holds their windows.
MonitorPane::~MonitorPane() {
    stats_.reset();
    totals_.reset();
    errors_.reset();
    messages_.reset();
}

HWND MonitorPane::CreateViews(HWND pane, DownloadManager& manager) {
    messages_.reset(new MessagesViewer(host_.get()));
    errors_.reset(new ErrorsViewer(&manager));
    totals_.reset(new DownloadManagerTotals(&manager));
    stats_.reset(new StatViewer(totals_.get()));
    messages_->SetMenuHost(menuHost_);
    errors_->SetMenuHost(menuHost_);
    HWND host = host_->CreateHost(pane);
    if (!host) return nullptr;
    HWND connections = manager.CreateManagerWindow(host);
    HWND messages = messages_->CreateView(host);
    HWND errors = errors_->CreateView(host);
    HWND statistics = stats_->CreateView(host);
    host_->AddMonitorViews(connections, messages, errors, statistics);
    return host;
}

bool MonitorPane::HandleCommand(WORD id, WORD, HWND) {
    // The errors view, the statistics view and the messages view, in this order.
    if (errors_ && errors_->OnCommand(id)) return true;
    if (stats_ && stats_->OnCommand(id)) return true;
    return messages_ && messages_->OnCommand(id);
}

IMessagesView* MonitorPane::GetMessagesView() { return messages_.get(); }
IErrorsView* MonitorPane::GetErrorsView() { return errors_.get(); }
IDownloadStatView* MonitorPane::GetStatView() { return stats_ ? &stats_->StatPanel() : nullptr; }
IDownloadGraphView* MonitorPane::GetGraphView() { return stats_ ? &stats_->Graph() : nullptr; }
