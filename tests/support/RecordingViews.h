#pragma once
// Download-manager views that record what a run reports: messages, errors with their addresses,
// the result text, the status line and counts of starts, ends and pictures.
#include <string>
#include <vector>

#include "core/DownloadViews.h"

namespace testsupport {

struct RecordingViews : IDownloadViews, ITasksTreeView, IMainFrameView, IMessagesView, IErrorsView, IImagesView {
    std::vector<std::string> messages, errors, errorUrls;
    std::vector<int> messageKinds;   // 1 information, 0 error
    std::string resultText, status, refusal;
    int started = 0, finished = 0, added = 0, cleared = 0;
    bool lastStopped = false;
    RunEnd lastEnd = RunEnd::kCompleted;

    ITasksTreeView* TasksTree() override { return this; }
    IMainFrameView* MainFrame() override { return this; }
    IDownloadGraphView* DownloadGraph() override { return nullptr; }
    IMessagesView* MessagesViewer() override { return this; }
    IErrorsView* ErrorsViewer() override { return this; }
    IImagesView* ImagesContainer() override { return this; }
    IDownloadStatView* DownloadStatDlg() override { return nullptr; }
    void SetStatusLine(const std::string& text) override { status = text; }
    std::string GetStatusLine() override { return status; }

    void OnTaskStarted(TaskOptions*, int) override { ++started; }
    void OnTaskFinished(TaskOptions*, bool stopped) override {
        ++finished;
        lastStopped = stopped;
    }
    void RefreshTaskItem(TaskOptions*) override {}
    HWND GetTasksTreeWindow() override { return nullptr; }
    void OnTaskStarted(TaskOptions*) override {}
    void OnTaskCompleted(TaskOptions*, RunEnd end, const std::string& result) override {
        lastEnd = end;
        resultText = result;
    }
    void OnTaskRefused(TaskOptions*, const std::string& reason) override { refusal = reason; }
    void AddMessage(int kind, const std::string& text, const std::string&) override {
        messages.push_back(text);
        messageKinds.push_back(kind);
    }
    void AddError(const std::string& reason, const std::string& url) override {
        errors.push_back(reason);
        errorUrls.push_back(url);
    }
    void Clear() override {
        errors.clear();
        errorUrls.clear();
    }
    std::string GetSelectedUrl() override { return errorUrls.empty() ? "" : errorUrls.front(); }
    std::vector<std::string> GetUrls() override { return errorUrls; }
    void OnImagesAdded(TaskOptions*, int, int count, bool) override { added += count; }
    void OnImageRemoved(TaskOptions*, int) override {}
    void OnImagesCleared(TaskOptions*) override { ++cleared; }
};

}  // namespace testsupport
