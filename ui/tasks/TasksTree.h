#pragma once
// The "Tasks" pane: a tree of user-made folders holding every task of the program. It owns the
// task objects (loaded from "Tasks\" at creation, written back at destruction with the tree file
// "Tasks\Tree.config"), shows each task's state as its icon, carries out the task commands and
// keeps the list of tasks waiting for their turn to run (the download manager runs one at a time).
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/DownloadViews.h"
#include "framework/ImageList.h"
#include "framework/TreeViewCtrl.h"
#include "framework/WindowImpl.h"
#include "ui/frame/ITasksPane.h"
#include "ui/tasks/HeldTaskPlaces.h"
#include "ui/tasks/ITaskDialogs.h"
#include "ui/tasks/PendingStarts.h"
#include "ui/tasks/TreeFile.h"

class Application;
class DownloadManager;
class IFrameHost;
class TaskOptions;

class TasksTree : public CWindowImplBase, public ITasksPane, public ITasksTreeView {
public:
    static const UINT WM_START_NEXT_PENDING = WM_APP + 2;
    static const UINT kTreeControlId = 1;
    // Icon states of a task (a URL-template task shows them 5 images further on).
    enum IconState { kFolderClosed = 0, kFolderOpen = 1, kIdle = 2, kRunning = 3, kWaiting = 4, kPaused = 5,
                     kFinished = 6 };

    explicit TasksTree(Application* app);
    ~TasksTree() override;
    DECLARE_WND_CLASS("Brackenfly_TasksTree")

    // The task dialogs (the task option dialogs unless others are given).
    void SetTaskDialogs(std::unique_ptr<ITaskDialogs> dialogs) { dialogs_ = std::move(dialogs); }
    // The login step before a task that collects cookies is queued (the web-form login browser
    // unless another is given); false leaves the task unqueued.
    void SetLoginStep(std::function<bool(HWND, TaskOptions&)> login) { login_ = std::move(login); }

    // ITasksPane
    void AttachFrame(IFrameHost* frame) override { frame_ = frame; }
    HWND CreatePane(HWND parent) override;
    HWND GetWindow() const override { return m_hWnd; }
    bool HandleCommand(WORD id, WORD notifyCode, HWND control) override;
    int GetPendingCount() const override { return pending_.Count(); }
    bool HasFocus() const override;
    void DeleteSelected() override;
    TaskOptions* GetSelectedTask() const override;
    HWND GetNewTaskReceiver() const override { return m_hWnd; }
    void SaveAll() override;
    ITasksTreeView* GetDownloadView() override { return this; }

    // ITasksTreeView (the download manager's notices)
    void OnTaskStarted(TaskOptions* task, int waiting) override;
    void OnTaskFinished(TaskOptions* task, bool stopped) override;
    void RefreshTaskItem(TaskOptions* task) override;
    HWND GetTasksTreeWindow() override { return m_hWnd; }

    // Queues the selected task (mode 0 start or resume, 1 restart, 2 reload the pictures).
    bool StartTask(int mode);
    void UpdateCommandStates();
    // Copies item and its subtree under newParent (a task's item moves to the copy). False when
    // newParent is item itself or lies below it.
    bool CopySubtree(HTREEITEM item, HTREEITEM newParent);

    CTreeViewCtrl& Tree() { return tree_; }
    const std::vector<TaskOptions*>& Tasks() const { return tasks_; }
    const PendingStarts& Pending() const { return pending_; }
    HTREEITEM ItemOf(const TaskOptions* task) const;
    TaskOptions* TaskOf(HTREEITEM item) const;
    bool IsDragging() const { return dragging_; }

    BEGIN_MSG_MAP(TasksTree)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        MESSAGE_HANDLER(WM_CANCELMODE, OnCancelMode)
        MESSAGE_HANDLER(WM_START_NEXT_PENDING, OnStartNextPending)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnContextMenu(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancelMode(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnStartNextPending(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);

    // Loading and saving (TasksTree.cpp).
    // Creates the tree control and loads every task and the tree file; false without the control.
    bool LoadAll();
    void LoadTaskFiles(const char* pattern, const std::function<TaskOptions*()>& make);
    void PlaceLevel(const std::vector<TreeFileNode>& nodes, HTREEITEM parent);
    void CollectLevel(HTREEITEM parent, std::vector<TreeFileNode>& nodes);
    void FreeTasks();
    HTREEITEM InsertTaskItem(TaskOptions* task, HTREEITEM parent, int state);
    HTREEITEM InsertFolderItem(const std::string& label, HTREEITEM parent, int image, int selectedImage);
    void SetTaskIcon(TaskOptions* task, int state);
    std::string TaskItemText(TaskOptions* task) const;
    void WarnLoadFailure(const std::string& text);

    // The tree's notices and editing (TasksTreeEdit.cpp).
    void OnSelectionChanged();
    // Hands the task to the picture container (null: no task shown).
    void ShowPictures(TaskOptions* task);
    LRESULT OnBeginLabelEdit(NMTVDISPINFOA* info);
    LRESULT OnEndLabelEdit(NMTVDISPINFOA* info);
    void BeginDrag(HTREEITEM item);
    // Ends a drag; with drop, the item at dropPoint (tree client coordinates) takes the dragged one.
    void EndDrag(bool drop, const POINT* dropPoint = nullptr);
    bool IsBelow(HTREEITEM item, HTREEITEM ancestor) const;
    void DeleteItem(HTREEITEM item);
    void DeleteTask(TaskOptions* task);
    void ShowTitle(TaskOptions* task);
    // The task's name changed from oldName: the tree, the window's title and the frame's panes
    // show the new one.
    void ShowNewName(TaskOptions* task, const std::string& oldName);
    void NewFolder();
    HTREEITEM NewItemParent() const;

    // Task commands (TaskCommands.cpp).
    void OnRestartOrReload(int mode);
    void OnPause(bool finishFirst);
    void OnPauseAll();
    void OnNewTask(bool templated);
    void OnTaskOptions();
    void OnOpenStartUrl();
    void OnBrowseTaskFolder();
    void OnClearTaskFolder();
    void OnLocateImages();
    void MakeIdle(TaskOptions* task);
    bool IsPendingOrRunning(const TaskOptions* task) const;
    DownloadManager* Manager() const;
    TaskOptions* RunningTask() const;
    HWND FrameWindow() const;
    void RefreshQueuePane();

    Application* app_;
    IFrameHost* frame_ = nullptr;
    std::unique_ptr<ITaskDialogs> dialogs_;
    std::function<bool(HWND, TaskOptions&)> login_;
    CTreeViewCtrl tree_;
    ImageList images_;
    HTREEITEM root_ = nullptr;
    std::vector<TaskOptions*> tasks_;
    std::map<const TaskOptions*, HTREEITEM> items_;
    PendingStarts pending_;
    bool dragging_ = false;
    HTREEITEM dragItem_ = nullptr;
    ImageList dragImage_;
    bool saved_ = false;
    bool loaded_ = false;           // every task and the tree file were read: the tree may be saved
    bool treeFileWritable_ = true;  // false when the tree file at start was out of reach
    HeldTaskPlaces held_;           // tasks of the tree file left out of this run
    bool labelEditOpen_ = false;    // a label edit began and its end was not handled yet
};
