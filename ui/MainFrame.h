#pragma once
// The program's one top-level window, class "Brackenfly_MainFrame" (the browser plug-in finds the
// running program by that name): command bar and toolbar in a rebar, a four-pane status bar with
// a progress bar for long operations, the tray icon, and a client area split into the "Tasks"
// pane, the picture container and the monitor pane. Commands go in turn to the picture container,
// the tasks tree, the monitor views and then the frame itself. The panes and dialogs are reached
// through the interfaces of ui/frame/, so tests can build the frame around their own.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

#include "core/DownloadManager.h"
#include "core/DownloadViews.h"
#include "core/ProgramInstance.h"
#include "core/ILongOperationProgress.h"
#include "framework/FrameWindow.h"
#include "framework/IPopupMenuHost.h"
#include "framework/ImageList.h"
#include "framework/MessageLoop.h"
#include "framework/MultiPaneStatusBar.h"
#include "framework/ProgressBarCtrl.h"
#include "framework/ReBarCtrl.h"
#include "framework/SplitterWindow.h"
#include "framework/ToolBarCtrl.h"
#include "framework/TrayIcon.h"
#include "framework/UpdateUI.h"
#include "ui/frame/FramePieces.h"
#include "ui/frame/IFrameHost.h"
#include "ui/frame/MyCommandBarCtrl.h"
#include "ui/frame/MyPaneContainer.h"

class Application;
class TaskOptions;

// IDownloadViews names one of its views "MainFrame", which no member of a class of that name may
// be called: this base answers it for the frame.
class FrameDownloadViews : public IDownloadViews {
public:
    IMainFrameView* MainFrame() override { return FrameView(); }
protected:
    virtual IMainFrameView* FrameView() = 0;
    ~FrameDownloadViews() = default;
};

class MainFrame : public CFrameWindowImplBase,
                  public CUpdateUI,
                  public CMessageFilter,
                  public CIdleHandler,
                  public FrameDownloadViews,
                  public IMainFrameView,
                  public IFrameHost {
public:
    static const UINT WM_TRAY_NOTIFY = WM_USER + 100;
    static const UINT WM_AFTER_CREATE = WM_APP + 1;
    static const UINT kTrayIconId = 1;
    static const UINT kFirstLanguageCommand = 32830;
    static const int kQueuePane = 2;
    static const int kTaskPane = 3;

    explicit MainFrame(Application* app);
    // Every piece given (tests build the frame around their own).
    MainFrame(Application* app, FramePieces pieces);
    // Destroys the window while the frame's handlers still exist, so WM_DESTROY still saves.
    ~MainFrame() override;

    WindowClassInfo GetWindowClassInfo() const override;
    // Creates the window with no parent, default position and size, and the frame's own styles.
    HWND CreateFrame();
    // The window that receives the "New Task" command posted at start-up (the tasks tree's side).
    HWND GetNewTaskReceiver() const;

    // The frame's members; each stays owned by the frame.
    ITasksPane* GetTasksTree() { return pieces_.tasks.get(); }
    IPictureContainer* GetImagesContainer() override { return pieces_.pictures.get(); }
    IMonitorViews* GetViewHost() { return pieces_.monitor.get(); }
    ISelectImagesDialog* GetSelectImagesDlg() override { return pieces_.dialogs->GetSelectImagesDialog(); }
    DownloadManager* GetDownloadManager() override { return &downloadManager_; }
    ProgramSettings* GetSettings() override;
    CMyCommandBarCtrl& GetCommandBar() { return commandBar_; }
    bool IsInTray() const { return inTray_; }

    // Set by the tasks tree while a tree label is being edited: the key filter then leaves every
    // key to the edit box.
    void SetLabelEditing(bool editing) override { labelEditing_ = editing; }
    bool IsLabelEditing() const { return labelEditing_; }

    // Language menu: the last command id given to a language (kFirstLanguageCommand is "English").
    UINT GetLastLanguageCommand() const;
    void FillLanguageMenu(HMENU menu);

    // Status panes and notices of the download manager.
    void UpdateQueuePane(bool starting) override;
    void UpdateTaskPane(bool started, TaskOptions* task);
    // The task pane after a run: completed (with or without error), paused or stopped.
    void ShowRunEndPane(TaskOptions* task, RunEnd end, bool withError);
    // The task pane: icon, and the text textId with the task's name.
    void ShowTaskPane(TaskOptions* task, HICON icon, unsigned textId);
    // The task the status pane and the monitor's title name is gone: both go back to naming none.
    void ForgetStatusTask() override;
    void TaskRenamed(TaskOptions* task, const std::string& oldName) override;
    // A pane's context menu, tracked by the command bar; the choice goes to the pane's window.
    void TrackPanePopupMenu(HMENU popup, POINT screen, HWND target) override;
    void OnTaskStarted(TaskOptions* task) override;
    void OnTaskCompleted(TaskOptions* task, RunEnd end, const std::string& resultText) override;
    void OnTaskRefused(TaskOptions* task, const std::string& reason) override;

    // Long operations: a progress bar over status pane 1.
    void BeginLongOperation(int range, const std::string& text);
    void StepLongOperation();
    void EndLongOperation();
    void BeginProgress(int range, const char* text) override { BeginLongOperation(range, text ? text : ""); }
    void StepProgress() override { StepLongOperation(); }
    void EndProgress() override { EndLongOperation(); }

    // IFrameHost: what the panes reach the frame for.
    HWND GetFrameWindow() const override { return m_hWnd; }
    void EnableCommand(UINT id, bool enabled, bool now) override { UIEnable(id, enabled, now); }
    void CheckCommand(UINT id, bool checked, bool now) override { UISetCheck(id, checked, now); }
    BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude = nullptr) override {
        return commandBar_.TrackPopupMenu(popup, flags, x, y, exclude);
    }
    IDownloadViews& GetDownloadViews() override { return *this; }

    // Tray mode (ID_TRAY_TOGGLE and a double-click on the icon).
    void ToggleTray();
    void RefreshTrayTip();

    // IDownloadViews
    ITasksTreeView* TasksTree() override { return pieces_.tasks->GetDownloadView(); }
    IDownloadGraphView* DownloadGraph() override { return pieces_.monitor->GetGraphView(); }
    IMessagesView* MessagesViewer() override { return pieces_.monitor->GetMessagesView(); }
    IErrorsView* ErrorsViewer() override { return pieces_.monitor->GetErrorsView(); }
    IImagesView* ImagesContainer() override { return pieces_.pictures->GetDownloadView(); }
    IDownloadStatView* DownloadStatDlg() override { return pieces_.monitor->GetStatView(); }
    void SetStatusLine(const std::string& text) override;
    std::string GetStatusLine() override { return monitorPane_.GetTitle(); }

    // The message loop's key filter and idle step.
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle() override;
    // Applies the update table's pending states to the toolbar and the menu.
    void ShowCommandStates();

    BEGIN_MSG_MAP(MainFrame)
        MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnColorChange)
        MESSAGE_HANDLER(WM_THEMECHANGED, OnColorChange)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_MENUSELECT, OnMenuSelectForBar)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        NOTIFY_CODE_HANDLER(TBN_DROPDOWN, OnToolBarDropDown)
        MESSAGE_HANDLER(WM_TRAY_NOTIFY, OnTrayNotify)
        MESSAGE_HANDLER(TaskbarCreatedMessage(), OnTaskbarCreated)
        MESSAGE_HANDLER(WM_AFTER_CREATE, OnAfterCreate)
        MESSAGE_HANDLER(WM_PROGRAM_REQUEST, OnProgramRequest)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        CHAIN_MSG_MAP(CFrameWindowImplBase)
    END_MSG_MAP()

protected:
    IMainFrameView* FrameView() override { return this; }

    // Tests read the frame's own windows through this one seam (tests/support/MainFrameTestSeam.h).
    friend class MainFrameTestSeam;

private:
    static UINT TaskbarCreatedMessage();

    // Creation steps; false when a window the frame cannot work without was not made.
    bool CreateCommandBar();
    void CreateToolBar();
    bool CreateStatusBar();
    void AddUpdateEntries();
    bool CreatePanes();

    LRESULT OnColorChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMenuSelectForBar(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnToolBarDropDown(int, LPNMHDR, BOOL&);
    LRESULT OnTrayNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAfterCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnProgramRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);

    // Frame commands (MainFrameCommands.cpp).
    bool HandleFrameCommand(WORD id, HWND control);
    void ToggleTasksPane();
    void ToggleMonitorPane();
    void ToggleToolBar();
    void ToggleStatusBar();
    void DeleteInFocusedView();
    void ViewLogFile();
    void OpenHelp();
    void OpenAddress(const char* address);
    void ShowStartDropDown(const RECT& button);
    void ShowViewDropDown(const RECT& button);
    void ChooseLanguage(UINT id);
    void ShowTrayMenu();
    void RestoreFromTray();
    // Another start of the program asked for this window: out of the tray or the taskbar, in front.
    void ComeToFront();
    std::string TrayTip(TaskOptions* runningTask) const;
    void ShowRunEndBalloon(TaskOptions* task, RunEnd end, const std::string& resultText);
    TaskOptions* RunningTask();
    bool HandleKeyDown(const MSG& msg);

    Application* app_;
    FramePieces pieces_;
    // Members in construction order.
    CSplitterWindow verticalSplitter_{true};
    CSplitterWindow horizontalSplitter_{false};
    MyPaneContainer tasksPane_;
    MyPaneContainer monitorPane_;
    DownloadManager downloadManager_;
    CMyCommandBarCtrl commandBar_;
    CReBarCtrl reBar_;
    CToolBarCtrl toolBar_;
    CMultiPaneStatusBar statusPanes_;
    CProgressBarCtrl progressBar_;
    CTrayIcon tray_;
    bool inTray_ = false;
    // Set when the window starts going: requests are left for the copy that runs next.
    bool closing_ = false;
    bool labelEditing_ = false;
    std::vector<std::string> languageNames_;
    HACCEL accelerators_ = nullptr;
    ImageList toolBarImages_;
    ImageList toolBarDisabledImages_;
    HICON queueIcon_ = nullptr;
    HICON startedIcon_ = nullptr;
    HICON completedIcon_ = nullptr;
    HICON completedErrorIcon_ = nullptr;
    HICON pausedIcon_ = nullptr;
    HICON stoppedIcon_ = nullptr;
    // The task of the last run that was paused or stopped, while no run goes on: the tray's tip
    // names it ("" after a run that completed, or once the task is gone).
    std::string interruptedTask_;
    RunEnd interruptedEnd_ = RunEnd::kCompleted;
    // The task the status bar's task pane names, and the text that names it (null: none).
    TaskOptions* paneTask_ = nullptr;
    unsigned paneTextId_ = 0;
    HICON readyIcon_ = nullptr;
    bool registeredWithLoop_ = false;
};
