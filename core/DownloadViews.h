#pragma once
// What the download manager tells the views of the main window. The main frame implements
// IDownloadViews and hands out each view; a view that does not exist (yet) is null and is skipped.
#include <windows.h>
#include <string>
#include <vector>

class TaskOptions;

// How a run ended: it ran out of work, the user paused it (Pause, Pause All, Finish Downloading
// And Pause, closing the program), or it was stopped (repeated network failures, its task deleted).
enum class RunEnd { kCompleted, kPaused, kStopped };

class ITasksTreeView {
public:
    virtual void OnTaskStarted(TaskOptions* task, int reason) = 0;
    virtual void OnTaskFinished(TaskOptions* task, bool stopped) = 0;
    virtual void RefreshTaskItem(TaskOptions* task) = 0;
    // The window that receives WM_APP+2 to start the next pending task (null: none).
    virtual HWND GetTasksTreeWindow() = 0;
protected:
    ~ITasksTreeView() = default;
};

class IMainFrameView {
public:
    virtual void OnTaskStarted(TaskOptions* task) = 0;
    // resultText: the run's result sentence, empty unless something went wrong.
    virtual void OnTaskCompleted(TaskOptions* task, RunEnd end, const std::string& resultText) = 0;
    // The run was refused before it began (its pictures could not be saved, its resume file is
    // out of reach): reason is the sentence that says why.
    virtual void OnTaskRefused(TaskOptions* task, const std::string& reason) = 0;
protected:
    ~IMainFrameView() = default;
};

class IDownloadGraphView {
public:
    virtual void Start() = 0;
    virtual void Stop() = 0;
protected:
    ~IDownloadGraphView() = default;
};

class IMessagesView {
public:
    // kind 1: information, 0: error.
    virtual void AddMessage(int kind, const std::string& text, const std::string& detail) = 0;
protected:
    ~IMessagesView() = default;
};

class IErrorsView {
public:
    virtual void AddError(const std::string& reason, const std::string& url) = 0;
    virtual void Clear() = 0;
    virtual std::string GetSelectedUrl() = 0;
    virtual std::vector<std::string> GetUrls() = 0;
protected:
    ~IErrorsView() = default;
};

class IImagesView {
public:
    // Records first .. first+count-1 were appended together; show (count may be 0) asks for the
    // newest record to be shown.
    virtual void OnImagesAdded(TaskOptions* task, int first, int count, bool show) = 0;
    virtual void OnImageRemoved(TaskOptions* task, int index) = 0;
    virtual void OnImagesCleared(TaskOptions* task) = 0;
protected:
    ~IImagesView() = default;
};

class IDownloadStatView {
public:
    virtual void UpdateCounters() = 0;
protected:
    ~IDownloadStatView() = default;
};

class IDownloadViews {
public:
    virtual ITasksTreeView* TasksTree() = 0;
    virtual IMainFrameView* MainFrame() = 0;
    virtual IDownloadGraphView* DownloadGraph() = 0;
    virtual IMessagesView* MessagesViewer() = 0;
    virtual IErrorsView* ErrorsViewer() = 0;
    virtual IImagesView* ImagesContainer() = 0;
    virtual IDownloadStatView* DownloadStatDlg() = 0;
    // The monitor pane's title, which serves as the download manager's status line.
    virtual void SetStatusLine(const std::string& text) = 0;
    virtual std::string GetStatusLine() = 0;
protected:
    ~IDownloadViews() = default;
};
