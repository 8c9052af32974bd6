// The status panes, the long-operation progress, tray mode and the end of a session.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <vector>
#include "core/SearchLinkTask.h"
#include "resources/command_ids.h"
#include "tests/mainframe/FrameTestSupport.h"

namespace frametest {
namespace {

// True when the shell still knows the frame's tray icon.
bool TrayIconPresent(MainFrame& frame) {
    NOTIFYICONDATAA probe = MainFrameTestSeam(frame).TrayIcon().Record();
    probe.uFlags = 0;
    return ::Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// Whether this display has a notification area: a scratch window of the test's own tries to add
// an icon there (and takes it away again).
bool DisplayHasNotificationArea() {
    HWND scratch = ::CreateWindowExA(0, "STATIC", "tray probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (!scratch) return false;
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof(record);
    record.hWnd = scratch;
    record.uID = 77;
    record.uFlags = NIF_ICON | NIF_TIP;
    record.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    lstrcpynA(record.szTip, "probe", sizeof(record.szTip));
    const bool added = ::Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
    if (added) ::Shell_NotifyIconA(NIM_DELETE, &record);
    ::DestroyWindow(scratch);
    return added;
}

TEST_F(FrameTest, QueuePaneCountsWaitingTasks) {
    CMultiPaneStatusBar& status = MainFrameTestSeam(*frame_).StatusBar();
    tasks_->pending = 2;
    frame_->UpdateQueuePane(true);
    EXPECT_TRUE(status.GetPaneIcon(MainFrame::kQueuePane));
    EXPECT_EQ("2 task(s) in queue", status.GetPaneTip(MainFrame::kQueuePane));

    tasks_->pending = 1;
    frame_->UpdateQueuePane(true);  // the one entry is the task being started
    EXPECT_FALSE(status.GetPaneIcon(MainFrame::kQueuePane));
    EXPECT_EQ("", status.GetPaneTip(MainFrame::kQueuePane));
    frame_->UpdateQueuePane(false);
    EXPECT_TRUE(status.GetPaneIcon(MainFrame::kQueuePane));
    EXPECT_EQ("1 task(s) in queue", status.GetPaneTip(MainFrame::kQueuePane));
    tasks_->pending = 0;
    frame_->UpdateQueuePane(false);
    EXPECT_FALSE(status.GetPaneIcon(MainFrame::kQueuePane));

    SearchLinkTask task;
    task.TaskName = "Birds";
    frame_->OnTaskStarted(&task);
    EXPECT_EQ("Task is started: \"Birds\"", status.GetPaneText(MainFrame::kTaskPane));
    HICON started = status.GetPaneIcon(MainFrame::kTaskPane);
    EXPECT_TRUE(started);
    frame_->OnTaskCompleted(&task, RunEnd::kCompleted, "");
    EXPECT_EQ("Task is completed: \"Birds\"", status.GetPaneText(MainFrame::kTaskPane));
    HICON completed = status.GetPaneIcon(MainFrame::kTaskPane);
    EXPECT_TRUE(completed);
    EXPECT_NE(started, completed);
    // How the run ended, in words and with an icon of its own: never the completed tick for a
    // run that was paused, stopped or lost pictures.
    std::vector<HICON> icons = {started, completed};
    const struct {
        RunEnd end;
        const char* result;
        const char* text;
    } ends[] = {{RunEnd::kCompleted, "2 picture(s) could not be saved", "Task is completed with error: \"Birds\""},
                {RunEnd::kPaused, "", "Task is paused: \"Birds\""},
                {RunEnd::kStopped, "Cannot find server", "Task is stopped: \"Birds\""}};
    for (const auto& end : ends) {
        frame_->OnTaskCompleted(&task, end.end, end.result);
        EXPECT_EQ(end.text, status.GetPaneText(MainFrame::kTaskPane));
        HICON icon = status.GetPaneIcon(MainFrame::kTaskPane);
        EXPECT_TRUE(icon) << end.text;
        EXPECT_EQ(icons.end(), std::find(icons.begin(), icons.end(), icon)) << end.text;
        icons.push_back(icon);
    }
    // A name with format characters is shown as it is.
    task.TaskName = "%s%d%n";
    frame_->UpdateTaskPane(true, &task);
    EXPECT_EQ("Task is started: \"%s%d%n\"", status.GetPaneText(MainFrame::kTaskPane));
}

TEST_F(FrameTest, LongOperationShowsProgressOverItsPane) {
    CMultiPaneStatusBar& status = MainFrameTestSeam(*frame_).StatusBar();
    CProgressBarCtrl& progress = MainFrameTestSeam(*frame_).ProgressBar();
    ILongOperationProgress& operation = *frame_;
    operation.BeginProgress(100000, "Sort list...");
    EXPECT_TRUE(::IsWindowVisible(progress.m_hWnd));
    EXPECT_EQ(100000, progress.GetUpper()) << "ranges above 65535 keep their size";
    EXPECT_EQ("Sort list...", status.GetPaneText(0));
    RECT pane = status.GetPaneRect(1);
    RECT bar;
    ::GetWindowRect(progress.m_hWnd, &bar);
    ::MapWindowPoints(nullptr, status.m_hWnd, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_GE(bar.left, pane.left);
    EXPECT_LE(bar.right, pane.right);
    EXPECT_GT(bar.right - bar.left, 100);
    operation.StepProgress();
    operation.StepProgress();
    EXPECT_EQ(2, progress.GetPos());
    operation.EndProgress();
    EXPECT_FALSE(::IsWindowVisible(progress.m_hWnd));
    EXPECT_EQ(0, progress.GetPos());
    EXPECT_EQ("Ready", status.GetPaneText(0));
}

TEST_F(FrameTest, TrayModeHidesRestoresAndSurvivesAShellRestart) {
    const CTrayIcon& tray = MainFrameTestSeam(*frame_).TrayIcon();
    EXPECT_EQ(1u, tray.Record().uID);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 100), tray.Record().uCallbackMessage);
    EXPECT_EQ(*frame_, tray.Record().hWnd);
    EXPECT_EQ(TrayRecordSize(tray.Capabilities()), tray.Record().cbSize);

    if (!DisplayHasNotificationArea()) GTEST_SKIP() << "no notification area on this display";
    ::SendMessageA(*frame_, WM_COMMAND, ID_TRAY_TOGGLE, 0);
    Pump();
    ASSERT_TRUE(frame_->IsInTray()) << "the display has a notification area: the frame goes there";
    EXPECT_FALSE(::IsWindowVisible(*frame_));
    EXPECT_TRUE(TrayIconPresent(*frame_));
    const std::string separator = tray.CanShowBalloon() ? "\r\n" : " ";
    EXPECT_EQ("Brackenfly v2.0" + separator + "No task is started", tray.GetTip());

    // The icon's menu: the hidden frame that owns it comes to the front, so the menu takes the
    // mouse and the keys.
    {
        MenuOpening menu(false);
        ::SendMessageA(*frame_, WM_USER + 100, 1, WM_RBUTTONUP);
        Pump();
        ASSERT_EQ(1, menu.opened);
        EXPECT_EQ(*frame_, menu.owner);
        EXPECT_EQ(*frame_, menu.foreground);
        EXPECT_TRUE(frame_->IsInTray()) << "Escape chose nothing";
    }

    // A task that completed is never named, whatever the manager still holds; one paused or
    // stopped is, as such, in the tip and the balloon.
    SearchLinkTask task;
    task.TaskName = "Birds";
    frame_->OnTaskCompleted(&task, RunEnd::kCompleted, "");
    EXPECT_EQ("Brackenfly v2.0" + separator + "No task is started", tray.GetTip());
    if (tray.CanShowBalloon()) {
        EXPECT_EQ("Brackenfly: Task completed", tray.GetBalloonTitle());
        EXPECT_EQ("Task \"Birds\" is completed. ", tray.GetBalloonText());
    }
    frame_->OnTaskCompleted(&task, RunEnd::kPaused, "");
    EXPECT_EQ("Brackenfly v2.0" + separator + "Task paused: \"Birds\"", tray.GetTip());
    if (tray.CanShowBalloon()) {
        EXPECT_EQ("Brackenfly: Task paused", tray.GetBalloonTitle());
        EXPECT_EQ("Task \"Birds\" is paused. ", tray.GetBalloonText());
    }
    frame_->OnTaskCompleted(&task, RunEnd::kStopped, "Cannot find server");
    EXPECT_EQ("Brackenfly v2.0" + separator + "Task stopped: \"Birds\"", tray.GetTip());
    if (tray.CanShowBalloon()) {
        EXPECT_EQ("Brackenfly: Task stopped", tray.GetBalloonTitle());
        EXPECT_EQ("Task \"Birds\" is stopped. Cannot find server", tray.GetBalloonText());
    }
    frame_->OnTaskCompleted(&task, RunEnd::kCompleted, "1 picture(s) could not be saved");
    EXPECT_EQ("Brackenfly v2.0" + separator + "No task is started", tray.GetTip());
    if (tray.CanShowBalloon()) {
        EXPECT_EQ("Brackenfly: Task completed with error", tray.GetBalloonTitle());
        EXPECT_EQ("Task \"Birds\" is completed with error. 1 picture(s) could not be saved", tray.GetBalloonText());
    }

    // The shell lost its icons: "TaskbarCreated" puts ours back.
    NOTIFYICONDATAA record = tray.Record();
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &record));
    EXPECT_FALSE(TrayIconPresent(*frame_));
    ::SendMessageA(*frame_, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(TrayIconPresent(*frame_));

    // Double-click restores; restoring shows the window even when the icon is already gone.
    ::SendMessageA(*frame_, WM_USER + 100, 1, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(frame_->IsInTray());
    EXPECT_TRUE(::IsWindowVisible(*frame_));
    EXPECT_FALSE(TrayIconPresent(*frame_));
    ::SendMessageA(*frame_, WM_COMMAND, ID_TRAY_TOGGLE, 0);
    ASSERT_TRUE(frame_->IsInTray());
    record = tray.Record();
    ::Shell_NotifyIconA(NIM_DELETE, &record);
    ::SendMessageA(*frame_, WM_COMMAND, ID_TRAY_TOGGLE, 0);
    EXPECT_FALSE(frame_->IsInTray());
    EXPECT_TRUE(::IsWindowVisible(*frame_));

    // Another icon id is not ours.
    ::SendMessageA(*frame_, WM_COMMAND, ID_TRAY_TOGGLE, 0);
    ::SendMessageA(*frame_, WM_USER + 100, 2, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(frame_->IsInTray());

    // Closing while in the tray removes the icon.
    record = tray.Record();
    DestroyFrame();
    EXPECT_FALSE(::Shell_NotifyIconA(NIM_MODIFY, &record));
}

TEST_F(FrameTest, EndOfSessionSavesWhatClosingSaves) {
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(SettingsPath().c_str()));
    ::SendMessageA(*frame_, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(0, tasks_->saves);
    ::SendMessageA(*frame_, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(1, tasks_->saves);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(SettingsPath().c_str()));
}

TEST(TrayRecord, SizedWithTheShellsConstants) {
    TrayCapabilities modern;
    modern.balloonCapable = true;
    TrayCapabilities old = modern;
    old.oldSystem = true;
    TrayCapabilities noBalloons;
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE), TrayRecordSize(modern));
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), TrayRecordSize(old));
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), TrayRecordSize(noBalloons));
#ifndef _WIN64
    EXPECT_EQ(488u, TrayRecordSize(modern));
    EXPECT_EQ(88u, TrayRecordSize(old));
#endif
    EXPECT_FALSE(IsBalloonCapableVersion(5, 7));
    EXPECT_TRUE(IsBalloonCapableVersion(5, 8));
    EXPECT_TRUE(IsBalloonCapableVersion(6, 0));
    EXPECT_FALSE(IsBalloonCapableVersion(4, 99));
}

}  // namespace
}  // namespace frametest
