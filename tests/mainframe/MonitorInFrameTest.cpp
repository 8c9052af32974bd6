// The monitor pane inside the real main frame: a run with a failure reaches the messages, errors
// and statistics views through the frame, and Reload All travels the frame's command routing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "core/TaskOptions.h"
#include "dialogs/monitor/DownloadStatDlg.h"
#include "framework/AppModule.h"
#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "tests/mainframe/FrameTestSupport.h"
#include "tests/support/SiteTask.h"
#include "tests/support/TestHttpServer.h"
#include "ui/frame/MonitorPane.h"
#include "ui/monitor/ErrorsViewer.h"
#include "ui/monitor/MessagesViewer.h"

namespace frametest {
namespace {

class MonitorInFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ::DeleteFileA(SettingsPath().c_str());
        ASSERT_TRUE(g_Module.AddMessageLoop(&loop_));
        SetTaskProgramFolder(dir_.Path());
        app_.reset(new Application());
        ProgramSettings& settings = *app_->GetSettings();
        settings.ShowTip = false;
        settings.ThreadsAmount = 2;
        settings.MaxAttempts = 1;
        settings.PauseBetweenConnections = 0;
        settings.SaveCacheIntervale = 0;
        FramePieces pieces;
        monitor_ = new MonitorPane();
        pieces.monitor.reset(monitor_);
        CompleteFramePieces(pieces);
        frame_.reset(new MainFrame(app_.get(), std::move(pieces)));
        ASSERT_TRUE(frame_->CreateFrame());
        ::ShowWindow(*frame_, SW_SHOW);
        Pump(loop_);
        ASSERT_TRUE(server_.Start());

        ASSERT_TRUE(testsupport::PrepareSiteTask(task_, "Site", server_.Url("/index.html"), dir_.Path(), 0));
    }
    void TearDown() override {
        frame_.reset();
        Pump(loop_, 20);
        app_.reset();
        server_.Stop();
        SetTaskProgramFolder("");
        g_Module.RemoveMessageLoop();
        ::DeleteFileA(SettingsPath().c_str());
        MSG quit;
        while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    bool RunUntilIdle() {
        DownloadManager* manager = frame_->GetDownloadManager();
        for (DWORD begin = ::GetTickCount(); ::GetTickCount() - begin < 30000;) {
            Pump(loop_, 50);
            if (manager->IsIdle()) return true;
        }
        return false;
    }

    testsupport::ScratchDir dir_;
    testsupport::TestHttpServer server_;
    CMessageLoop loop_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<MainFrame> frame_;
    MonitorPane* monitor_ = nullptr;
    SearchLinkTask task_;
};

std::string ControlText(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

TEST_F(MonitorInFrame, ARunWithAFailureReachesEveryViewAndReloadAllRunsThroughTheFrame) {
    server_.SetOk("/index.html", "text/html", "<html><img src='a.jpg'><img src='missing.jpg'></html>");
    server_.SetOk("/a.jpg", "image/jpeg", std::string(3000, 'a'));
    frame_->GetDownloadManager()->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, task_.DownloadedImages.GetCount());

    auto* messages = dynamic_cast<::MessagesViewer*>(monitor_->GetMessagesView());
    auto* errors = dynamic_cast<::ErrorsViewer*>(monitor_->GetErrorsView());
    ASSERT_TRUE(messages && errors);
    ASSERT_EQ(2, messages->List().RowCount());
    EXPECT_EQ("Task \"Site\" is completed.", messages->List().CellText(0, 1));
    ASSERT_EQ(1, errors->List().RowCount());
    EXPECT_EQ(server_.Url("/missing.jpg"), errors->List().CellText(0, 2));
    auto* stats = dynamic_cast<DownloadStatDlg*>(monitor_->GetStatView());
    ASSERT_TRUE(stats);
    HWND panel = stats->m_hWnd;
    EXPECT_EQ("1", ControlText(panel, IDC_STAT_IMAGES));

    // The missing picture is there now: Reload All, sent to the frame as the menu sends it.
    server_.SetOk("/missing.jpg", "image/jpeg", std::string(3000, 'm'));
    ::SendMessageA(*frame_, WM_COMMAND, ID_ERRORS_RELOAD_ALL, 0);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(2, task_.DownloadedImages.GetCount());
    EXPECT_EQ(0, errors->List().RowCount());
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    EXPECT_EQ("2", ControlText(panel, IDC_STAT_IMAGES));
}

// A right click in the messages view while another window is in front: the frame's command bar
// tracks the menu (the frame gets its notices and comes to the front, so the mouse works), and
// the chosen item reaches the view.
TEST_F(MonitorInFrame, MessagesMenuIsTheFramesMenuEvenFromBehindAnotherWindow) {
    auto* messages = dynamic_cast<::MessagesViewer*>(monitor_->GetMessagesView());
    ASSERT_TRUE(messages);
    messages->AddMessage(1, "first", "");
    messages->AddMessage(1, "second", "");
    Pump(loop_, 20);
    ASSERT_EQ(2, messages->List().RowCount());
    HWND other = ::CreateWindowExA(0, "STATIC", "In front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 100,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(other);
    ::SetForegroundWindow(other);
    Pump(loop_, 20);
    ASSERT_EQ(other, ::GetForegroundWindow());

    MenuOpening menu(true);
    HWND list = messages->List().m_hWnd;
    RECT row = {};
    row.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    POINT at = {row.left + 20, (row.top + row.bottom) / 2};
    ::ClientToScreen(list, &at);
    ::SendMessageA(messages->m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    Pump(loop_, 50);
    ASSERT_EQ(1, menu.opened);
    EXPECT_EQ(*frame_, menu.owner) << "tracked by the frame's command bar";
    EXPECT_EQ(*frame_, menu.foreground) << "the owner is in front while the menu is open";
    EXPECT_EQ(0, messages->List().RowCount()) << "Clear Messages reached the view";
    EXPECT_EQ(other, ::GetForegroundWindow()) << "the window the user was in comes back";
    ::DestroyWindow(other);
}

}  // namespace
}  // namespace frametest
