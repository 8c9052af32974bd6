#pragma once
// The one way a pane reaches the main frame that holds it: the frame's accessors and services
// behind an interface the frame implements and hands to every pane as it is built (before the
// pane's window is created). Panes never look the frame up elsewhere.
#include <windows.h>
#include <string>
#include "core/ILongOperationProgress.h"
#include "framework/IPopupMenuHost.h"

class DownloadManager;
class IDownloadViews;
class IPictureContainer;
class ISelectImagesDialog;
class ProgramSettings;
class TaskOptions;

// Progress: the status bar's bar for long operations (ILongOperationProgress). Pane context
// menus whose choice goes back to the pane's own window: IPopupMenuHost (the monitor views).
class IFrameHost : public ILongOperationProgress, public IPopupMenuHost {
public:
    // The frame's own window (owner of prompts and shell operations).
    virtual HWND GetFrameWindow() const = 0;
    // Menu and toolbar states of the frame's update-UI table; `now` updates them at once.
    virtual void EnableCommand(UINT id, bool enabled, bool now) = 0;
    virtual void CheckCommand(UINT id, bool checked, bool now) = 0;
    // A pop-up menu tracked through the frame's command bar, so its items show their pictures.
    virtual BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude = nullptr) = 0;
    // Set while a tree label is edited: the frame's key filter then leaves every key to the edit.
    virtual void SetLabelEditing(bool editing) = 0;
    // The status bar's queue pane (the pending starts), `starting` while a task starts.
    virtual void UpdateQueuePane(bool starting) = 0;
    // The task the status pane and the monitor's title name is gone: both go back to naming none.
    virtual void ForgetStatusTask() = 0;
    // The task was given another name: the status pane, the monitor's title and the tray's tip
    // that name it name it anew.
    virtual void TaskRenamed(TaskOptions* task, const std::string& oldName) = 0;
    // The program's settings (the viewer's effects, printer and folders among them).
    virtual ProgramSettings* GetSettings() = 0;
    virtual DownloadManager* GetDownloadManager() = 0;
    // The views the download manager tells (tree, pictures, monitors).
    virtual IDownloadViews& GetDownloadViews() = 0;
    virtual IPictureContainer* GetImagesContainer() = 0;
    virtual ISelectImagesDialog* GetSelectImagesDlg() = 0;

protected:
    ~IFrameHost() override = default;
};
