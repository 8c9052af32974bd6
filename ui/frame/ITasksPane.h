#pragma once
// What the main frame needs of the tasks-tree side of its "Tasks" pane; TasksTree is the
// program's, made by CreateFramePieces.
#include <windows.h>

class ITasksTreeView;
class IFrameHost;
class TaskOptions;

class ITasksPane {
public:
    virtual ~ITasksPane() = default;
    // The frame that holds the pane, told once as the frame is built (before CreatePane): the
    // pane's one way to the frame and the program's settings.
    virtual void AttachFrame(IFrameHost* frame) = 0;
    // Creates the pane's window as a child of `parent` (loading every task and the tree file).
    virtual HWND CreatePane(HWND parent) = 0;
    virtual HWND GetWindow() const = 0;
    // A routed WM_COMMAND; true when the tree took it (the routing then ends).
    virtual bool HandleCommand(WORD id, WORD notifyCode, HWND control) = 0;
    // Entries of the pending-start list.
    virtual int GetPendingCount() const = 0;
    // True when the tree (or its label edit box) has the keyboard focus.
    virtual bool HasFocus() const = 0;
    // The Delete key and ID_EDIT_DELETE_FOCUSED while the tree has the focus.
    virtual void DeleteSelected() = 0;
    // The selected task (null for a folder, the root or nothing), for the Start button's menu.
    virtual TaskOptions* GetSelectedTask() const = 0;
    // The window that takes the ID_TASK_NEW command posted at start-up with "-c".
    virtual HWND GetNewTaskReceiver() const = 0;
    // Writes the tree file and every task's picture list (the end of a session).
    virtual void SaveAll() = 0;
    // The download manager's view of the tree; null while there is none.
    virtual ITasksTreeView* GetDownloadView() = 0;
};
