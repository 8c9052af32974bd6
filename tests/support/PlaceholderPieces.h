#pragma once
// Stand-ins for the frame's panes and dialogs, for tests that build the frame around one piece:
// empty panes, a monitor whose only view is the download manager's list, dialogs that do nothing.
#include <windows.h>
#include "framework/WindowImpl.h"
#include "ui/frame/FramePieces.h"

// An empty window with the window background colour.
class EmptyPaneWindow : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("Brackenfly_EmptyPane")
    HWND CreateEmpty(HWND parent);
    BEGIN_MSG_MAP(EmptyPaneWindow)
    END_MSG_MAP()
};

class PlaceholderTasksPane : public ITasksPane {
public:
    void AttachFrame(IFrameHost*) override {}
    HWND CreatePane(HWND parent) override { return window_.CreateEmpty(parent); }
    HWND GetWindow() const override { return window_.m_hWnd; }
    bool HandleCommand(WORD, WORD, HWND) override { return false; }
    int GetPendingCount() const override { return 0; }
    bool HasFocus() const override;
    void DeleteSelected() override {}
    TaskOptions* GetSelectedTask() const override { return nullptr; }
    HWND GetNewTaskReceiver() const override { return window_.m_hWnd; }
    void SaveAll() override {}
    ITasksTreeView* GetDownloadView() override { return nullptr; }

private:
    EmptyPaneWindow window_;
};

class PlaceholderPictureContainer : public IPictureContainer {
public:
    void AttachFrame(IFrameHost*) override {}
    HWND CreatePane(HWND parent) override { return window_.CreateEmpty(parent); }
    HWND GetWindow() const override { return window_.m_hWnd; }
    bool HandleCommand(WORD, WORD, HWND) override { return false; }
    bool HandleColorChange(UINT, WPARAM, LPARAM) override { return false; }
    bool HasFocus() const override { return false; }
    void FocusShownView() override {}
    void DeleteSelected() override {}
    void OnEscape() override {}
    void ShowNext() override {}
    void ShowPrevious() override {}
    void ToggleFullScreen() override {}
    bool IsListViewShown() const override { return true; }
    bool IsViewerWindowVisible() const override { return false; }
    IImagesView* GetDownloadView() override { return nullptr; }

private:
    EmptyPaneWindow window_;
};

class PlaceholderMonitorViews : public IMonitorViews {
public:
    HWND CreateViews(HWND pane, DownloadManager& manager) override;
    bool HandleCommand(WORD, WORD, HWND) override { return false; }
    IMessagesView* GetMessagesView() override { return nullptr; }
    IErrorsView* GetErrorsView() override { return nullptr; }
    IDownloadStatView* GetStatView() override { return nullptr; }
    IDownloadGraphView* GetGraphView() override { return nullptr; }
};

// Fills every piece the caller left empty with its stand-in.
void CompleteFramePieces(FramePieces& pieces);

class PlaceholderSelectImagesDialog : public ISelectImagesDialog {
public:
    INT_PTR DoModal(HWND) override { return IDCANCEL; }
};

class PlaceholderFrameDialogs : public IFrameDialogs {
public:
    void ShowOptions(HWND) override {}
    void ShowTipOfTheDay(HWND) override {}
    void ShowAbout(HWND) override {}
    ISelectImagesDialog* GetSelectImagesDialog() override { return &selectImages_; }

private:
    PlaceholderSelectImagesDialog selectImages_;
};
