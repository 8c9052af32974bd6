#pragma once
// The "Errors" tab: one row per address that failed in the current run (each address once),
// from which the failed addresses run again through the download manager.
#include <windows.h>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/DownloadViews.h"
#include "ui/monitor/MonitorListView.h"

class DownloadManager;

class ErrorsViewer : public MonitorListView, public IErrorsView {
public:
    struct Entry {
        std::string time, error, url;
    };

    DECLARE_WND_CLASS("Brackenfly_ErrorsViewer")

    // manager: runs the reloads (may be null: the reload commands do nothing).
    explicit ErrorsViewer(DownloadManager* manager);

    void AddError(const std::string& error, const std::string& url) override;
    void Clear() override;
    std::string GetSelectedUrl() override;
    std::vector<std::string> GetUrls() override;

    bool OnCommand(UINT id) override;
    void ReloadAll();
    void ReloadThis();

    size_t ErrorCount() const { return entries_.size(); }
    const Entry& EntryAt(size_t index) const { return entries_[index]; }

private:
    bool CellOf(int row, int column, std::string& text, int& image) const override;
    size_t EntryCount() const override { return entries_.size(); }
    void PrepareMenu(HMENU popup, int row) override;

    DownloadManager* manager_;
    std::vector<Entry> entries_;
    // Every URL of entries_, so a repeated failure is found without a scan.
    std::unordered_set<std::string> urls_;
};
