#include "ui/monitor/ErrorsViewer.h"

#include "core/DownloadManager.h"
#include "resources/app_ids.h"
#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "ui/monitor/MonitorTime.h"

namespace {
const MonitorList::Column kColumns[] = {{IDS_COLUMN_TIME, 100}, {IDS_CAPTION_ERROR, 160}, {IDS_COLUMN_URL, 300}};
}

ErrorsViewer::ErrorsViewer(DownloadManager* manager)
    : MonitorListView(kColumns, 3, IDR_ERRORS_MENU), manager_(manager) {}

void ErrorsViewer::AddError(const std::string& error, const std::string& url) {
    if (!urls_.insert(url).second) return;
    Entry entry;
    entry.time = MonitorTimeNow();
    entry.error = error;
    entry.url = url;
    entries_.push_back(entry);
    if (!list_.m_hWnd) return;
    const int before = list_.RowCount();
    const int selected = list_.SelectedRow();
    const int count = static_cast<int>(entries_.size());
    list_.SetRowCount(count);
    // The selection follows new errors while it sits on the first or the last row; a row in
    // the middle is one the user picked: leave it there.
    if (before == 0) list_.SelectRow(0);
    else if ((selected == 0 && count > 1) || selected == count - 2) list_.SelectRow(count - 1);
}

void ErrorsViewer::Clear() {
    entries_.clear();
    urls_.clear();
    if (list_.m_hWnd) list_.SetRowCount(0);
}

std::string ErrorsViewer::GetSelectedUrl() {
    const int row = list_.m_hWnd ? list_.SelectedRow() : -1;
    if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return std::string();
    return entries_[static_cast<size_t>(row)].url;
}

std::vector<std::string> ErrorsViewer::GetUrls() {
    std::vector<std::string> urls;
    urls.reserve(entries_.size());
    for (const Entry& e : entries_) urls.push_back(e.url);
    return urls;
}

bool ErrorsViewer::OnCommand(UINT id) {
    if (id == ID_ERRORS_RELOAD_ALL) ReloadAll();
    else if (id == ID_ERRORS_RELOAD_THIS) ReloadThis();
    else return false;
    return true;
}

void ErrorsViewer::ReloadAll() {
    if (entries_.empty() || !manager_ || !manager_->GetTask()) return;
    manager_->Start(nullptr, DownloadManager::kRetryAllErrors);
}

void ErrorsViewer::ReloadThis() {
    if (GetSelectedUrl().empty() || !manager_ || !manager_->GetTask()) return;
    manager_->Start(nullptr, DownloadManager::kRetrySelectedError);
}

bool ErrorsViewer::CellOf(int row, int column, std::string& text, int& image) const {
    if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return false;
    const Entry& entry = entries_[static_cast<size_t>(row)];
    text = column == 0 ? entry.time : column == 1 ? entry.error : entry.url;
    image = MonitorList::kErrorRowImage;
    return true;
}

void ErrorsViewer::PrepareMenu(HMENU popup, int row) {
    if (row < 0) ::EnableMenuItem(popup, ID_ERRORS_RELOAD_THIS, MF_BYCOMMAND | MF_GRAYED);
}
