#pragma once
// What the main frame needs of the monitor pane: the view host with its four tabs ("Connections"
// = the download manager's list, messages, errors, statistics); MonitorPane is the program's,
// made by CreateFramePieces.
#include <windows.h>

class DownloadManager;
class IDownloadGraphView;
class IDownloadStatView;
class IErrorsView;
class IMessagesView;
class IPopupMenuHost;

class IMonitorViews {
public:
    virtual ~IMonitorViews() = default;
    // Creates the views inside `pane`, the download manager's window among them (through
    // DownloadManager::CreateManagerWindow), adds the tabs in their order, and returns the window
    // that becomes the pane's client.
    virtual HWND CreateViews(HWND pane, DownloadManager& manager) = 0;
    // The frame's menu tracking for the views' context menus; given before CreateViews.
    virtual void SetMenuHost(IPopupMenuHost* /*host*/) {}
    // A routed WM_COMMAND, offered to the errors view, the statistics view and the messages view
    // in this order; true when one took it.
    virtual bool HandleCommand(WORD id, WORD notifyCode, HWND control) = 0;
    // The download manager's views; null while a view does not exist.
    virtual IMessagesView* GetMessagesView() = 0;
    virtual IErrorsView* GetErrorsView() = 0;
    virtual IDownloadStatView* GetStatView() = 0;
    virtual IDownloadGraphView* GetGraphView() = 0;
};
