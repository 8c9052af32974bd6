#include "ui/MainFrame.h"
#include "core/Application.h"
#include "core/InternationalSupport.h"
#include "core/ProgramSettings.h"
#include "framework/AppModule.h"
#include "framework/ToolBarResource.h"
#include "framework/WindowProcGuard.h"
#include "framework/ImageListStrip.h"
#include "resources/command_ids.h"
#include "resources/app_ids.h"
#include "resources/frame_ids.h"
#include "resources/plugin_handover.h"
#include "resources/viewer_ids.h"
#include "ui/frame/FrameAddresses.h"
#include "core/LocalText.h"

namespace {
const int kProgressPaneWidth = 130;
const int kQueuePaneWidth = 30;
const int kTaskPaneWidth = 200;
const int kTasksPaneWidth = 170;
const int kPicturesPaneHeight = 280;

HICON LoadSmallIcon(UINT id) {
    return static_cast<HICON>(::LoadImageA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_SHARED));
}

ProgramSettings* SettingsOf(Application* app) { return app ? app->GetSettings() : nullptr; }
}  // namespace

MainFrame::MainFrame(Application* app) : MainFrame(app, CreateFramePieces(app)) {}

MainFrame::MainFrame(Application* app, FramePieces pieces)
    : app_(app), pieces_(std::move(pieces)), downloadManager_(SettingsOf(app), this) {
    pieces_.tasks->AttachFrame(this);
    pieces_.pictures->AttachFrame(this);
    const TrayCapabilities capabilities = DetectTrayCapabilities();
    const bool longRecord = capabilities.balloonCapable && !capabilities.oldSystem;
    tray_.Init(capabilities, LoadSmallIcon(longRecord ? IDR_MAINFRAME : IDI_TRAY_SMALL), kTrayIconId,
               WM_TRAY_NOTIFY);
}

MainFrame::~MainFrame() {
    if (IsWindow()) DestroyWindow();
    if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
}

ProgramSettings* MainFrame::GetSettings() { return SettingsOf(app_); }

WindowClassInfo MainFrame::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = handover::kMainFrameClass;
    info.backgroundColor = COLOR_3DFACE;
    info.iconId = IDR_MAINFRAME;
    return info;
}

HWND MainFrame::CreateFrame() {
    return Create(nullptr, nullptr, kProgramName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  WS_EX_APPWINDOW);
}

HWND MainFrame::GetNewTaskReceiver() const {
    HWND receiver = pieces_.tasks ? pieces_.tasks->GetNewTaskReceiver() : nullptr;
    return receiver ? receiver : m_hWnd;
}

UINT MainFrame::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void MainFrame::SetStatusLine(const std::string& text) { monitorPane_.SetTitle(text); }

LRESULT MainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    ::SetWindowTextA(m_hWnd, kProgramName);
    // The browser button waits for this program's word that it read a page (ReadClipboardText).
    ::SetPropA(m_hWnd, handover::kHandoverReadProperty, reinterpret_cast<HANDLE>(1));
    tray_.SetWindow(m_hWnd);
    SetOutOfMemoryMessage(LocalText(IDS_OUT_OF_MEMORY), LocalText(IDS_CAPTION_ERROR));
    accelerators_ = ::LoadAcceleratorsA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));

    if (!reBar_.Create(m_hWnd, ID_VIEW_TOOLBAR)) return -1;
    barHost_ = reBar_.m_hWnd;
    if (!CreateCommandBar()) return -1;
    CreateToolBar();
    reBar_.AddBand(commandBar_.m_hWnd, false);
    reBar_.AddBand(toolBar_, true);
    if (!CreateStatusBar()) return -1;
    AddUpdateEntries();

    if (CMessageLoop* loop = g_Module.GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
        registeredWithLoop_ = true;
    }
    if (!CreatePanes()) return -1;
    UpdateLayout();
    // The panes set their commands' states while they were made; show them now, since the
    // first idle pass may come only after a modal dialog (the start-up tip, "-c"'s New Task).
    ShowCommandStates();
    PostMessage(WM_AFTER_CREATE);
    return 0;
}

bool MainFrame::CreateCommandBar() {
    HINSTANCE resources = g_Module.GetModuleInstance();
    if (!commandBar_.Create(reBar_.m_hWnd, m_hWnd)) return false;
    HMENU menu = ::LoadMenuA(resources, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (menu) {
        g_InternationalSupport.TranslateMenu(IDR_MAINFRAME, menu);
        FillLanguageMenu(menu);
        commandBar_.AttachMenu(menu);
    }
    ToolBarLayout layout;
    if (LoadToolBarLayout(resources, IDR_TOOLBAR_MENU_IMAGES, layout))
        commandBar_.AddImages(IDB_MENU_IMAGES, layout.buttonWidth, layout.buttonHeight, layout.commands);
    if (LoadToolBarLayout(resources, IDR_VIEWER_TOOLBAR, layout))
        commandBar_.AddImages(IDB_MENU_VIEWER_IMAGES, layout.buttonWidth, layout.buttonHeight,
                              layout.commands);
    ::SetMenu(m_hWnd, nullptr);
    return true;
}

void MainFrame::CreateToolBar() {
    HINSTANCE resources = g_Module.GetModuleInstance();
    ToolBarLayout layout;
    if (!LoadToolBarLayout(resources, IDR_MAINFRAME, layout)) return;
    toolBarImages_ = LoadImageListStrip(IDB_TOOLBAR, layout.buttonWidth, layout.buttonHeight, kImageMaskColor);
    toolBarDisabledImages_ =
        LoadImageListStrip(IDB_TOOLBAR_DISABLED, layout.buttonWidth, layout.buttonHeight, kImageMaskColor);
    ToolBarArgs bar;
    bar.parent = reBar_.m_hWnd;
    bar.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    bar.commands.assign(layout.commands.begin(), layout.commands.end());
    bar.owner = m_hWnd;
    bar.images = toolBarImages_.Get();
    bar.disabledImages = toolBarDisabledImages_.Get();
    bar.bitmapSize = {layout.buttonWidth, layout.buttonHeight};
    bar.extendedStyle = TBSTYLE_EX_DRAWDDARROWS;
    bar.autoSize = true;
    toolBar_.Create(bar);
    SetToolBarButtonDropDown(toolBar_, ID_TASK_START);
    SetToolBarButtonDropDown(toolBar_, ID_VIEW_CHANGE);
}

bool MainFrame::CreateStatusBar() {
    if (!statusPanes_.Create(m_hWnd, LocalText(IDS_STATUS_READY), ID_VIEW_STATUS_BAR)) return false;
    statusPanes_.SetPanes({kProgressPaneWidth, kQueuePaneWidth, kTaskPaneWidth});
    statusPanes_.SetPaneText(0, LocalText(IDS_STATUS_READY));
    readyIcon_ = LoadSmallIcon(IDR_MAINFRAME);
    queueIcon_ = LoadSmallIcon(IDI_QUEUE);
    startedIcon_ = LoadSmallIcon(IDI_TASK_STARTED);
    completedIcon_ = LoadSmallIcon(IDI_TASK_COMPLETED);
    completedErrorIcon_ = LoadSmallIcon(IDI_TASK_COMPLETED_ERROR);
    pausedIcon_ = LoadSmallIcon(IDI_TASK_PAUSED);
    stoppedIcon_ = LoadSmallIcon(IDI_TASK_STOPPED);
    statusPanes_.SetPaneIcon(0, readyIcon_);
    statusBar_ = statusPanes_.m_hWnd;
    return progressBar_.Create(statusPanes_.m_hWnd, "LongOpProgressBar", false) != nullptr;
}

void MainFrame::AddUpdateEntries() {
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TASKS, ID_VIEW_MONITOR}) UIAddEntry(id, kMenu);
    for (UINT id : {ID_TASK_START, ID_TASK_RESTART, ID_TASK_RELOAD_IMAGES, ID_TASK_PAUSE, ID_TASK_FINISH_AND_PAUSE,
                    ID_TASK_PAUSE_ALL, ID_TASK_DELETE, ID_TASK_OPTIONS})
        UIAddEntry(id, kMenuAndToolBar);
    for (UINT id : {ID_TASK_RENAME, ID_TASK_LOCATE_IMAGES, ID_TASK_BROWSE_FOLDER, ID_TASK_OPEN_START_URL,
                    ID_TASK_CLEAR_FOLDER})
        UIAddEntry(id, kMenu);
    for (UINT id : {ID_IMAGES_SELECT_BY, ID_IMAGES_SHOW_LAST, ID_IMAGES_INVERT_SELECTION, ID_IMAGES_COPY_TO,
                    ID_IMAGES_DELETE, ID_IMAGES_FULLSCREEN, ID_IMAGES_SLIDE_SHOW})
        UIAddEntry(id, kMenuAndToolBar);
    for (UINT id : {ID_VIEW_LIST, ID_VIEW_THUMBNAILS}) UIAddEntry(id, kMenu);

    UIAddToolBar(toolBar_);
    UISetMenu(commandBar_.GetMenu());
    UISetCheck(ID_VIEW_LIST, true);
    UISetCheck(ID_VIEW_THUMBNAILS, false);
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TASKS, ID_VIEW_MONITOR}) UISetCheck(id, true);
}

bool MainFrame::CreatePanes() {
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    if (!verticalSplitter_.CreateSplitter(m_hWnd, rect)) return false;
    client_ = verticalSplitter_.m_hWnd;
    if (!horizontalSplitter_.CreateSplitter(verticalSplitter_.m_hWnd, rect)) return false;

    if (!tasksPane_.CreatePane(verticalSplitter_.m_hWnd, LocalText(IDS_PANE_TASKS), ID_PANE_CLOSE)) return false;
    HWND tasks = pieces_.tasks->CreatePane(tasksPane_.m_hWnd);
    if (!tasks) return false;
    tasksPane_.SetClient(tasks);

    HWND pictures = pieces_.pictures->CreatePane(horizontalSplitter_.m_hWnd);
    if (!pictures) return false;

    if (!monitorPane_.CreatePane(horizontalSplitter_.m_hWnd, LocalText(IDS_PANE_MONITOR_IDLE), ID_PANE_CLOSE))
        return false;
    pieces_.monitor->SetMenuHost(this);
    HWND monitor = pieces_.monitor->CreateViews(monitorPane_.m_hWnd, downloadManager_);
    if (!monitor) return false;
    monitorPane_.SetClient(monitor);

    verticalSplitter_.SetSplitterPanes(tasksPane_.m_hWnd, horizontalSplitter_.m_hWnd);
    horizontalSplitter_.SetSplitterPanes(pictures, monitorPane_.m_hWnd);
    // The tasks tree keeps its width as the window grows; the pictures and the monitor share the
    // height in proportion.
    verticalSplitter_.SetProportional(false);
    return true;
}

LRESULT MainFrame::OnAfterCreate(UINT, WPARAM, LPARAM, BOOL&) {
    verticalSplitter_.SetSplitterPos(kTasksPaneWidth);
    horizontalSplitter_.SetSplitterPos(kPicturesPaneHeight);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    ProgramSettings* settings = SettingsOf(app_);
    if (settings && settings->ShowTip) {
        ShowCommandStates();
        pieces_.dialogs->ShowTipOfTheDay(::GetActiveWindow());
    }
    return 0;
}

LRESULT MainFrame::OnProgramRequest(UINT, WPARAM, LPARAM, BOOL&) {
    ProgramInstance* instance = app_ ? app_->GetProgramInstance() : nullptr;
    if (closing_ || !instance) return 0;
    const LONG requests = instance->TakePending();
    if (requests & ProgramInstance::kShowRequest) ComeToFront();
    if (requests & ProgramInstance::kNewTaskRequest)
        ::PostMessageA(GetNewTaskReceiver(), WM_COMMAND, handover::kNewTaskCommand, 0);
    return 0;
}

LRESULT MainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    closing_ = true;
    ::RemovePropA(m_hWnd, handover::kHandoverReadProperty);
    if (ProgramInstance* instance = app_ ? app_->GetProgramInstance() : nullptr) instance->Withdraw();
    if (registeredWithLoop_) {
        if (CMessageLoop* loop = g_Module.GetMessageLoop()) {
            loop->RemoveMessageFilter(this);
            loop->RemoveIdleHandler(this);
        }
        registeredWithLoop_ = false;
    }
    if (tray_.Record().hWnd && tray_.Record().uID && inTray_) {
        tray_.Remove();
        inTray_ = false;
    }
    if (app_) app_->SaveSettings();
    ::PostQuitMessage(0);
    handled = FALSE;
    return 0;
}

LRESULT MainFrame::OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // The session ends without WM_DESTROY: save here what the window's destruction saves.
    if (!wParam) return 0;
    if (inTray_) {
        tray_.Remove();
        inTray_ = false;
    }
    pieces_.tasks->SaveAll();
    if (app_) app_->SaveSettings();
    return 0;
}

LRESULT MainFrame::OnColorChange(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!pieces_.pictures->HandleColorChange(msg, wParam, lParam)) handled = FALSE;
    return 0;
}

LRESULT MainFrame::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    pieces_.pictures->FocusShownView();
    return 0;
}

LRESULT MainFrame::OnMenuSelectForBar(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    commandBar_.OnMenuSelect(wParam, lParam);
    handled = FALSE;
    return 0;
}

LRESULT MainFrame::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (!commandBar_.OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) handled = FALSE;
    return TRUE;
}

LRESULT MainFrame::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (!commandBar_.OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) handled = FALSE;
    return TRUE;
}

BOOL MainFrame::OnIdle() {
    ShowCommandStates();
    return FALSE;
}

void MainFrame::ShowCommandStates() {
    UIUpdateToolBar();
    UIUpdateMenuBar();
}
