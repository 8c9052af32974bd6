#pragma once
// The "Errors" tab: one row per address that failed in the current run (each address once),
// from which the failed addresses run again through the download manager.
#include <windows.h>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/DownloadViews.h"
#include "framework/WindowImpl.h"
#include "ui/monitor/MonitorList.h"

class DownloadManager;

class ErrorsViewer : public CWindowImplBase, public IErrorsView {
public:
    struct Entry {
        std::string time, error, url;
    };

    DECLARE_WND_CLASS("Brackenfly_ErrorsViewer")

    // manager: runs the reloads (may be null: the reload commands do nothing).
    explicit ErrorsViewer(DownloadManager* manager);
    ~ErrorsViewer() override;

    HWND CreateView(HWND parent);

    void AddError(const std::string& error, const std::string& url) override;
    void Clear() override;
    std::string GetSelectedUrl() override;
    std::vector<std::string> GetUrls() override;

    // Commands routed by the main frame; true when taken.
    bool OnCommand(UINT id);
    void ReloadAll();
    void ReloadThis();

    size_t ErrorCount() const { return entries_.size(); }
    const Entry& EntryAt(size_t index) const { return entries_[index]; }
    MonitorList& List() { return list_; }

    BEGIN_MSG_MAP(ErrorsViewer)
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

    DownloadManager* manager_;
    MonitorList list_;
    std::vector<Entry> entries_;
    // Every URL of entries_, so a repeated failure is found without a scan.
    std::unordered_set<std::string> urls_;
};
