#pragma once
// The "Messages" tab: the time-stamped task messages (a run started, completed, completed with
// an error), newest on top, each with its details in a tip that follows the mouse. A new message
// makes the tab flash.
#include <windows.h>
#include <string>
#include <vector>

#include "core/DownloadViews.h"
#include "ui/monitor/ListViewTrackTip.h"
#include "ui/monitor/MonitorListView.h"

class ViewHost;

class MessagesViewer : public MonitorListView, public IMessagesView {
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

    void AddMessage(int type, const std::string& message, const std::string& detail) override;
    void Clear();
    bool OnCommand(UINT id) override;

    size_t MessageCount() const { return entries_.size(); }
    // Entry of a list row (row 0 is the newest).
    const Entry* EntryOfRow(int row) const;
    CListViewTrackTip& Tip() { return tip_; }
    // The text the tip shows now.
    const std::string& TipText() const { return tipText_; }

    BEGIN_MSG_MAP(MessagesViewer)
        if (tip_.HandleParentMessage(uMsg, wParam, lParam)) { lResult = 0; return TRUE; }
        CHAIN_MSG_MAP(MonitorListView)
    END_MSG_MAP()

private:
    bool CellOf(int row, int column, std::string& text, int& image) const override;
    size_t EntryCount() const override { return entries_.size(); }
    void OnListCreated() override { tip_.Attach(m_hWnd, list_.m_hWnd); }
    void OnListDestroying() override { tip_.Detach(); }
    LRESULT OnOtherNotify(NMHDR* header, BOOL& handled) override;
    void FillTip(NMTTDISPINFOA* info);

    ViewHost* host_;
    CListViewTrackTip tip_;
    std::vector<Entry> entries_;
    // The tip shows text from here: the tip control's own buffer holds only 80 characters.
    std::string tipText_;
};
