#pragma once
// The "Messages" tab: the time-stamped task messages (a run started, completed, completed with
// an error), newest on top, each with its details in a tip that follows the mouse. A new message
// makes the tab flash.
#include <windows.h>
#include <string>
#include <vector>

#include "core/DownloadViews.h"
#include "framework/WindowImpl.h"
#include "ui/monitor/ListViewTrackTip.h"
#include "ui/monitor/MonitorList.h"

class ViewHost;

class MessagesViewer : public CWindowImplBase, public IMessagesView {
public:
    struct Entry {
        int type = 1;   // 1: a start or a normal completion; 0: a completion with an error
        std::string time, message, detail;
    };
    static constexpr size_t kMaxTipText = 1023;
    static constexpr int kTipWidth = 300;

    DECLARE_WND_CLASS("Brackenfly_MessagesViewer")

    // host: the view host whose messages tab flashes for a new message (may be null).
    explicit MessagesViewer(ViewHost* host);
    ~MessagesViewer() override;

    HWND CreateView(HWND parent);

    void AddMessage(int type, const std::string& message, const std::string& detail) override;
    void Clear();
    // Commands routed by the main frame; true when taken.
    bool OnCommand(UINT id);

    size_t MessageCount() const { return entries_.size(); }
    // Entry of a list row (row 0 is the newest).
    const Entry* EntryOfRow(int row) const;
    MonitorList& List() { return list_; }
    CListViewTrackTip& Tip() { return tip_; }
    // The text the tip shows now.
    const std::string& TipText() const { return tipText_; }

    BEGIN_MSG_MAP(MessagesViewer)
        if (tip_.HandleParentMessage(uMsg, wParam, lParam)) { lResult = 0; return TRUE; }
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_NOTIFYFORMAT, OnNotifyFormat)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_COMMAND, OnCommandMessage)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotifyFormat(UINT, WPARAM, LPARAM, BOOL&) { return NFR_ANSI; }
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnContextMenu(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandMessage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    void FillTip(NMTTDISPINFOA* info);

    ViewHost* host_;
    MonitorList list_;
    CListViewTrackTip tip_;
    std::vector<Entry> entries_;
    // The tip shows text from here: the tip control's own buffer holds only 80 characters.
    std::string tipText_;
};
