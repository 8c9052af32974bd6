// Tray mode: the icon in the notification area, its tip, menu and completion balloon.
#include "core/ProgramVersion.h"
#include "core/TaskOptions.h"
#include "core/TranslatedMenu.h"
#include "framework/AppModule.h"
#include "resources/command_ids.h"
#include "resources/frame_ids.h"
#include "ui/MainFrame.h"
#include "ui/frame/FrameAddresses.h"
#include "core/LocalText.h"
#include "core/TextFill.h"

namespace {
const UINT kBalloonTimeoutMs = 4000;
const size_t kBalloonTitleLength = 63;
const size_t kBalloonTextLength = 255;
}  // namespace

void MainFrame::ToggleTray() {
    if (!inTray_) {
        if (!tray_.Add()) return;
        inTray_ = true;
        ::ShowWindow(m_hWnd, SW_HIDE);
        RefreshTrayTip();
        return;
    }
    RestoreFromTray();
}

void MainFrame::RestoreFromTray() {
    // Whether or not the shell still had the icon, the window comes back: a window left hidden
    // without an icon could never be reached again.
    tray_.Remove();
    inTray_ = false;
    ::ShowWindow(m_hWnd, ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
}

void MainFrame::ComeToFront() {
    if (inTray_) RestoreFromTray();
    else if (::IsIconic(m_hWnd)) ::ShowWindow(m_hWnd, SW_RESTORE);
    else if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
    // A dialog open over the window (the New Task dialog of an earlier press) is what the user
    // needs in front.
    HWND front = ::GetLastActivePopup(m_hWnd);
    ::SetForegroundWindow(front ? front : m_hWnd);
}

std::string MainFrame::TrayTip(TaskOptions* runningTask) const {
    std::string tip = std::string(kProgramName) + " v" + std::to_string(kProgramVersionMajor) + "." +
                      std::to_string(kProgramVersionMinor);
    tip += tray_.CanShowBalloon() ? "\r\n" : " ";
    if (runningTask) tip += LocalText(IDS_TRAY_TASK_STARTED) + runningTask->TaskName + "\"";
    else if (!interruptedTask_.empty())
        tip += LocalText(interruptedEnd_ == RunEnd::kStopped ? IDS_TRAY_TASK_STOPPED : IDS_TRAY_TASK_PAUSED) +
               interruptedTask_ + "\"";
    else tip += LocalText(IDS_NO_TASK_STARTED);
    return tip;
}

void MainFrame::RefreshTrayTip() {
    if (!inTray_) return;
    tray_.SetTip(TrayTip(RunningTask()));
}

LRESULT MainFrame::OnTrayNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (wParam != kTrayIconId) return 0;
    switch (LOWORD(lParam)) {
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
        ShowTrayMenu();
        break;
    case WM_LBUTTONDBLCLK:
        ToggleTray();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT MainFrame::OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&) {
    // The shell restarted and lost its icons: put ours back.
    if (inTray_ && tray_.Add()) RefreshTrayTip();
    return 0;
}

void MainFrame::ShowTrayMenu() {
    TranslatedMenu menu(IDR_MENU_TRAY);
    if (HMENU popup = menu.Popup()) {
        ::SetMenuDefaultItem(popup, ID_TRAY_TOGGLE, FALSE);
        POINT cursor;
        ::GetCursorPos(&cursor);
        commandBar_.TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y);
    }
}

void MainFrame::OnTaskStarted(TaskOptions* task) {
    interruptedTask_.clear();
    UpdateQueuePane(true);
    UpdateTaskPane(true, task);
    RefreshTrayTip();
}

void MainFrame::OnTaskCompleted(TaskOptions* task, RunEnd end, const std::string& resultText) {
    UpdateQueuePane(false);
    ShowRunEndPane(task, end, !resultText.empty());
    // A completed task is no longer named; one paused or stopped is, until another runs.
    interruptedTask_ = task && end != RunEnd::kCompleted ? task->TaskName : std::string();
    interruptedEnd_ = end;
    if (!inTray_) return;
    // The run has ended: whatever the manager still holds, the tip names no running task.
    tray_.SetTip(TrayTip(nullptr));
    if (tray_.CanShowBalloon() && task) ShowRunEndBalloon(task, end, resultText);
}

void MainFrame::ShowRunEndBalloon(TaskOptions* task, RunEnd end, const std::string& resultText) {
    unsigned title = resultText.empty() ? IDS_BALLOON_TITLE : IDS_BALLOON_TITLE_ERROR;
    unsigned text = resultText.empty() ? IDS_BALLOON_TEXT : IDS_BALLOON_TEXT_ERROR;
    if (end == RunEnd::kPaused) {
        title = IDS_BALLOON_TITLE_PAUSED;
        text = IDS_BALLOON_TEXT_PAUSED;
    } else if (end == RunEnd::kStopped) {
        title = IDS_BALLOON_TITLE_STOPPED;
        text = IDS_BALLOON_TEXT_STOPPED;
    }
    tray_.ShowBalloon(LocalText(title).substr(0, kBalloonTitleLength),
                      FillInTexts(LocalText(text), {task->TaskName, resultText}, kBalloonTextLength),
                      kBalloonTimeoutMs);
}
