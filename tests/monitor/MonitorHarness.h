#pragma once
// A stand-in for the main frame: a top-level window holding the view host with the download
// manager's list and the messages, errors and statistics views, wired to the manager the way
// the frame wires them, so a real task run reaches every monitor.
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

#include "core/DownloadManager.h"
#include "core/DownloadViews.h"
#include "core/ProgramSettings.h"
#include "framework/IPopupMenuHost.h"
#include "tests/support/MessagePump.h"
#include "ui/monitor/DownloadTotals.h"
#include "ui/monitor/ErrorsViewer.h"
#include "ui/monitor/MessagesViewer.h"
#include "ui/monitor/StatViewer.h"
#include "ui/monitor/ViewHost.h"

namespace testsupport {

// Stands in for the frame's menu tracking: hands each context menu to `track` (none: nothing
// is shown).
struct ScriptedMenuHost : IPopupMenuHost {
    std::function<void(HMENU popup, POINT screen, HWND target)> track;
    void TrackPanePopupMenu(HMENU popup, POINT screen, HWND target) override {
        if (track) track(popup, screen, target);
    }
};

class MonitorHarness : public IDownloadViews, public ITasksTreeView, public IMainFrameView, public IImagesView {
public:
    explicit MonitorHarness(const std::string& programFolder);
    ~MonitorHarness();

    bool Create();
    HWND Frame() const { return frame_; }
    // Offers a command to the views in the frame's order (errors, statistics, messages).
    bool RouteCommand(UINT id);
    // Pumps messages until the manager is idle again, at most limit ms.
    bool RunUntilIdle(DWORD limit = 30000);

    ProgramSettings settings;
    ViewHost host;
    DownloadManager manager;
    DownloadManagerTotals totals;
    ::MessagesViewer messages;
    ::ErrorsViewer errors;
    StatViewer stats;
    ScriptedMenuHost menus;  // the messages and errors views show their menus here
    std::string statusLine;
    int imagesAdded = 0;

    // IDownloadViews
    ITasksTreeView* TasksTree() override { return this; }
    IMainFrameView* MainFrame() override { return this; }
    IDownloadGraphView* DownloadGraph() override { return &stats.Graph(); }
    IMessagesView* MessagesViewer() override { return &messages; }
    IErrorsView* ErrorsViewer() override { return &errors; }
    IImagesView* ImagesContainer() override { return this; }
    IDownloadStatView* DownloadStatDlg() override { return &stats.StatPanel(); }
    void SetStatusLine(const std::string& text) override { statusLine = text; }
    std::string GetStatusLine() override { return statusLine; }
    // The frame's and the tree's notices are not what these tests look at.
    void OnTaskStarted(TaskOptions*, int) override {}
    void OnTaskFinished(TaskOptions*, bool) override {}
    void RefreshTaskItem(TaskOptions*) override {}
    HWND GetTasksTreeWindow() override { return nullptr; }
    void OnTaskStarted(TaskOptions*) override {}
    void OnTaskCompleted(TaskOptions*, RunEnd, const std::string&) override {}
    void OnTaskRefused(TaskOptions*, const std::string&) override {}
    void OnImagesAdded(TaskOptions*, int, int count, bool) override { imagesAdded += count; }
    void OnImageRemoved(TaskOptions*, int) override {}
    void OnImagesCleared(TaskOptions*) override {}

private:
    HWND frame_ = nullptr;
};

// Sends a left click (down and up) to a window at a client point.
void ClickAt(HWND window, int x, int y);
// Clicks the tab's middle in the view host's tab control.
void ClickTab(ViewHost& host, int tab);
// Clicks the middle of a list row's first cell.
void ClickRow(HWND list, int row);
// The text of a dialog control.
std::string ControlText(HWND dialog, int id);

}  // namespace testsupport
