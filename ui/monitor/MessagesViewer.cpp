#include "ui/monitor/MessagesViewer.h"

#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "ui/monitor/ContextMenu.h"
#include "ui/monitor/MonitorTime.h"
#include "ui/monitor/ViewHost.h"

namespace {
const MonitorList::Column kColumns[] = {{IDS_COLUMN_TIME, 100}, {IDS_COLUMN_MESSAGE, 300}};
}

MessagesViewer::MessagesViewer(ViewHost* host) : host_(host) {}

MessagesViewer::~MessagesViewer() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND MessagesViewer::CreateView(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

LRESULT MessagesViewer::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (!list_.Create(m_hWnd, kColumns, 2)) return -1;
    tip_.Attach(m_hWnd, list_.Handle());
    return 0;
}

LRESULT MessagesViewer::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    tip_.Detach();
    list_.Destroy();
    handled = FALSE;
    return 0;
}

LRESULT MessagesViewer::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    list_.Layout(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

void MessagesViewer::AddMessage(int type, const std::string& message, const std::string& detail) {
    Entry entry;
    entry.type = type;
    entry.time = MonitorTimeNow();
    entry.message = message;
    entry.detail = detail;
    entries_.push_back(entry);
    if (list_.Handle()) {
        list_.SetRowCount(static_cast<int>(entries_.size()));
        list_.SelectRow(0);
    }
    if (host_) host_->FlashTab(ViewHost::kMessagesTab, ViewHost::kAttentionImage);
}

void MessagesViewer::Clear() {
    entries_.clear();
    if (list_.Handle()) list_.SetRowCount(0);
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

LRESULT MessagesViewer::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom == list_.Handle() && header->code == LVN_GETDISPINFOA) {
        NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        const Entry* entry = EntryOfRow(info->item.iItem);
        if (entry)
            MonitorList::FillCell(info, info->item.iSubItem == 0 ? entry->time : entry->message,
                                  entry->type == 0 ? MonitorList::kErrorMessageImage : MonitorList::kInformationImage);
        return 0;
    }
    if (header->hwndFrom == tip_.TipWindow() && header->code == TTN_GETDISPINFOA) {
        FillTip(reinterpret_cast<NMTTDISPINFOA*>(lParam));
        return 0;
    }
    handled = FALSE;
    return 0;
}

void MessagesViewer::FillTip(NMTTDISPINFOA* info) {
    const Entry* entry = EntryOfRow(tip_.Row());
    tipText_ = entry ? entry->detail.substr(0, kMaxTipText) : std::string();
    if (entry) ::SendMessageA(tip_.TipWindow(), TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    info->lpszText = &tipText_[0];
    info->szText[0] = '\0';
    info->hinst = nullptr;
}

LRESULT MessagesViewer::OnContextMenu(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (entries_.empty()) return 0;
    POINT screen;
    const int row = list_.RowAtMenuPoint(lParam, screen);
    if (row >= 0) list_.SelectRow(row);
    ShowViewContextMenu(IDR_MESSAGES_MENU, screen, m_hWnd, nullptr);
    return 0;
}

LRESULT MessagesViewer::OnCommandMessage(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    handled = OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
    return 0;
}
