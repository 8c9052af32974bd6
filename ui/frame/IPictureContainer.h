#pragma once
// What the main frame needs of the picture container (list view, thumbnail view and viewer of a
// task's pictures); ImagesContainer is the program's, made by CreateFramePieces.
#include <windows.h>

class IFrameHost;
class IImagesView;
class TaskOptions;

class IPictureContainer {
public:
    virtual ~IPictureContainer() = default;
    // The frame that holds the pane, told once as the frame is built (before CreatePane): the
    // pane's one way to the frame and the program's settings.
    virtual void AttachFrame(IFrameHost* frame) = 0;
    virtual HWND CreatePane(HWND parent) = 0;
    virtual HWND GetWindow() const = 0;
    // The tasks tree shows a task's pictures (null: none) when its selection changes, and
    // passes null before it deletes the task that is shown.
    virtual void SetTask(TaskOptions* /*task*/) {}
    // A routed WM_COMMAND (passed on to the list view, the viewer and the thumbnail view).
    virtual bool HandleCommand(WORD id, WORD notifyCode, HWND control) = 0;
    // WM_SYSCOLORCHANGE and WM_THEMECHANGED, offered to the thumbnail view first.
    virtual bool HandleColorChange(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // True when a picture view (list or thumbnails) has the keyboard focus.
    virtual bool HasFocus() const = 0;
    // Gives the focus to whichever picture view is shown.
    virtual void FocusShownView() = 0;
    // The key filter's picture keys.
    virtual void DeleteSelected() = 0;
    virtual void OnEscape() = 0;
    virtual void ShowNext() = 0;
    virtual void ShowPrevious() = 0;
    virtual void ToggleFullScreen() = 0;
    virtual bool IsListViewShown() const = 0;
    virtual bool IsViewerWindowVisible() const = 0;
    // The download manager's view of the pictures; null while there is none.
    virtual IImagesView* GetDownloadView() = 0;
};
