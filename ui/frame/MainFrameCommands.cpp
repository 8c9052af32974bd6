// The main frame's command routing and its own commands.
#include <windows.h>
#include "core/AppDirectory.h"
#include "core/TaskOptions.h"
#include "dialogs/common/HelpTopic.h"
#include "dialogs/options/LogFileActions.h"
#include "framework/AppModule.h"
#include "framework/UserPrompts.h"
#include "resources/command_ids.h"
#include "resources/frame_ids.h"
#include "ui/MainFrame.h"
#include "ui/frame/FrameAddresses.h"
#include "core/LocalText.h"
#include "core/TranslatedMenu.h"

LRESULT MainFrame::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    const WORD id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (pieces_.pictures->HandleCommand(id, code, control)) return 0;
    if (pieces_.tasks->HandleCommand(id, code, control)) return 0;
    if (pieces_.monitor->HandleCommand(id, code, control)) return 0;
    if (HandleFrameCommand(id, control)) return 0;
    handled = FALSE;
    return 0;
}

bool MainFrame::HandleFrameCommand(WORD id, HWND control) {
    if (id >= kFirstLanguageCommand && id <= GetLastLanguageCommand()) {
        ChooseLanguage(id);
        return true;
    }
    switch (id) {
    case ID_VIEW_TASKS: ToggleTasksPane(); return true;
    case ID_VIEW_MONITOR: ToggleMonitorPane(); return true;
    case ID_PANE_CLOSE:
        if (control == tasksPane_.m_hWnd) ToggleTasksPane();
        else if (control == monitorPane_.m_hWnd) ToggleMonitorPane();
        return true;
    case ID_VIEW_TOOLBAR: ToggleToolBar(); return true;
    case ID_VIEW_STATUS_BAR: ToggleStatusBar(); return true;
    case ID_TOOLS_VIEW_LOG: ViewLogFile(); return true;
    case ID_HELP_CONTENTS: OpenHelp(); return true;
    case ID_HELP_ONLINE: OpenAddress(kProductPageAddress); return true;
    case ID_HELP_SUPPORT: OpenAddress(kSupportPageAddress); return true;
    case ID_HELP_EMAIL: OpenAddress(kSupportMailAddress); return true;
    case ID_TOOLS_OPTIONS: pieces_.dialogs->ShowOptions(m_hWnd); return true;
    case ID_HELP_TIP_OF_THE_DAY: pieces_.dialogs->ShowTipOfTheDay(::GetActiveWindow()); return true;
    case ID_APP_ABOUT: pieces_.dialogs->ShowAbout(::GetActiveWindow()); return true;
    case ID_EDIT_DELETE_FOCUSED: DeleteInFocusedView(); return true;
    case ID_APP_EXIT: PostMessage(WM_CLOSE); return true;
    case ID_TRAY_TOGGLE: ToggleTray(); return true;
    default: return false;
    }
}

void MainFrame::ToggleTasksPane() {
    const bool show = !::IsWindowVisible(tasksPane_.m_hWnd);
    ::ShowWindow(tasksPane_.m_hWnd, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    UISetCheck(ID_VIEW_TASKS, show);
    verticalSplitter_.SetSinglePaneMode(show ? kSplitPaneNone : kSplitPaneRight);
    UpdateLayout();
}

void MainFrame::ToggleMonitorPane() {
    const bool show = !::IsWindowVisible(monitorPane_.m_hWnd);
    ::ShowWindow(monitorPane_.m_hWnd, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    UISetCheck(ID_VIEW_MONITOR, show);
    horizontalSplitter_.SetSinglePaneMode(show ? kSplitPaneNone : kSplitPaneLeft);
    UpdateLayout();
}

void MainFrame::ToggleToolBar() {
    const int band = reBar_.FindBand(toolBar_);
    if (band < 0) return;
    const bool show = !reBar_.IsBandVisible(band);
    reBar_.ShowBand(band, show);
    UISetCheck(ID_VIEW_TOOLBAR, show);
    UpdateLayout();
}

void MainFrame::ToggleStatusBar() {
    const bool show = !::IsWindowVisible(statusPanes_.m_hWnd);
    ::ShowWindow(statusPanes_.m_hWnd, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    UISetCheck(ID_VIEW_STATUS_BAR, show);
    UpdateLayout();
}

void MainFrame::DeleteInFocusedView() {
    if (pieces_.tasks->HasFocus()) pieces_.tasks->DeleteSelected();
    else if (pieces_.pictures->HasFocus()) pieces_.pictures->DeleteSelected();
}

void MainFrame::ViewLogFile() { ::ViewLogFile(m_hWnd, GetAppDirectory()); }

void MainFrame::OpenHelp() { OpenHelpTopic(m_hWnd, std::string()); }

void MainFrame::OpenAddress(const char* address) {
    UserPrompts().ShellExecute(m_hWnd, "open", address, "", "", SW_SHOWNORMAL);
}

LRESULT MainFrame::OnToolBarDropDown(int, LPNMHDR header, BOOL& handled) {
    if (header->hwndFrom != toolBar_) {
        handled = FALSE;
        return 0;
    }
    const auto* dropDown = reinterpret_cast<const NMTOOLBARA*>(header);
    RECT button = dropDown->rcButton;
    ::MapWindowPoints(toolBar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    if (dropDown->iItem == ID_TASK_START) ShowStartDropDown(button);
    else if (dropDown->iItem == ID_VIEW_CHANGE) ShowViewDropDown(button);
    return TBDDRET_DEFAULT;
}

TaskOptions* MainFrame::RunningTask() {
    return downloadManager_.IsIdle() ? nullptr : downloadManager_.GetTask();
}

void MainFrame::ShowStartDropDown(const RECT& button) {
    TaskOptions* task = pieces_.tasks->GetSelectedTask();
    if (!task) return;
    const bool running = task == RunningTask();
    const bool noPictures = task->DownloadedImages.GetCount() == 0;
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    ::AppendMenuA(menu, MF_STRING | (running ? MF_GRAYED : 0), ID_TASK_START, LocalText(IDS_DROPDOWN_START).c_str());
    ::AppendMenuA(menu, MF_STRING | (running ? MF_GRAYED : 0), ID_TASK_RESTART,
                  LocalText(IDS_DROPDOWN_RESTART).c_str());
    ::AppendMenuA(menu, MF_STRING | (running || noPictures ? MF_GRAYED : 0), ID_TASK_RELOAD_IMAGES,
                  LocalText(IDS_DROPDOWN_RELOAD).c_str());
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, button.left, button.bottom, 0, m_hWnd,
                     nullptr);
    ::DestroyMenu(menu);
}

void MainFrame::ShowViewDropDown(const RECT& button) {
    TranslatedMenu menu(IDR_MENU_VIEW_CHANGE);
    if (HMENU popup = menu.Popup())
        commandBar_.TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, button.left, button.bottom,
                                   &button);
}

void MainFrame::TrackPanePopupMenu(HMENU popup, POINT screen, HWND target) {
    const UINT command = static_cast<UINT>(
        commandBar_.TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y));
    if (command && ::IsWindow(target)) ::PostMessageA(target, WM_COMMAND, command, 0);
}
