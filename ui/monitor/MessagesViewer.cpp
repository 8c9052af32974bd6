#include "ui/monitor/MessagesViewer.h"

#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "ui/monitor/MonitorTime.h"
#include "ui/monitor/ViewHost.h"

namespace {
const MonitorList::Column kColumns[] = {{IDS_COLUMN_TIME, 100}, {IDS_COLUMN_MESSAGE, 300}};
}

MessagesViewer::MessagesViewer(ViewHost* host) : MonitorListView(kColumns, 2, IDR_MESSAGES_MENU), host_(host) {}

void MessagesViewer::AddMessage(int type, const std::string& message, const std::string& detail) {
    Entry entry;
    entry.type = type;
    entry.time = MonitorTimeNow();
    entry.message = message;
    entry.detail = detail;
    entries_.push_back(entry);
    if (list_.m_hWnd) {
        list_.SetRowCount(static_cast<int>(entries_.size()));
        list_.SelectRow(0);
    }
    if (host_) host_->FlashTab(ViewHost::kMessagesTab, ViewHost::kAttentionImage);
}

void MessagesViewer::Clear() {
    entries_.clear();
    if (list_.m_hWnd) list_.SetRowCount(0);
}

bool MessagesViewer::OnCommand(UINT id) {
    if (id != ID_MESSAGES_CLEAR) return false;
    Clear();
    return true;
}

const MessagesViewer::Entry* MessagesViewer::EntryOfRow(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return nullptr;
    return &entries_[entries_.size() - 1 - static_cast<size_t>(row)];
}

bool MessagesViewer::CellOf(int row, int column, std::string& text, int& image) const {
    const Entry* entry = EntryOfRow(row);
    if (!entry) return false;
    text = column == 0 ? entry->time : entry->message;
    image = entry->type == 0 ? MonitorList::kErrorMessageImage : MonitorList::kInformationImage;
    return true;
}

LRESULT MessagesViewer::OnOtherNotify(NMHDR* header, BOOL& handled) {
    if (header->hwndFrom != tip_.m_hWnd || header->code != TTN_GETDISPINFOA) {
        handled = FALSE;
        return 0;
    }
    FillTip(reinterpret_cast<NMTTDISPINFOA*>(header));
    return 0;
}

void MessagesViewer::FillTip(NMTTDISPINFOA* info) {
    const Entry* entry = EntryOfRow(tip_.Row());
    tipText_ = entry ? entry->detail.substr(0, kMaxTipText) : std::string();
    if (entry) ::SendMessageA(tip_.m_hWnd, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    info->lpszText = &tipText_[0];
    info->szText[0] = '\0';
    info->hinst = nullptr;
}
