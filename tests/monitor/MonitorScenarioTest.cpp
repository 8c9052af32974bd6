// A task with failures runs against a local server while the monitor pane watches: the
// connections list, the counters, the graph, the messages and the errors, then the errors run
// again through both reload commands.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <set>

#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/SiteTask.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestSupport.h"
#include "ui/monitor/ContextMenu.h"

using testsupport::ControlText;
using testsupport::FixtureBytes;

namespace {

// Context menus are answered here instead of by a person: the menu's state is noted and the
// chosen command is posted to the owner, as a click on the item would.
struct MenuAnswer {
    UINT choose = 0;
    bool reloadThisGrayed = false;
    int shown = 0;
};
MenuAnswer g_menu;

void AnswerMenu(HMENU popup, POINT, HWND owner) {
    ++g_menu.shown;
    g_menu.reloadThisGrayed = (::GetMenuState(popup, ID_ERRORS_RELOAD_THIS, MF_BYCOMMAND) & MF_GRAYED) != 0;
    if (g_menu.choose) ::PostMessageA(owner, WM_COMMAND, g_menu.choose, 0);
}

// A right click on a list row as the user makes it: the list passes WM_CONTEXTMENU to its view.
void RightClickRow(HWND view, HWND list, int row) {
    RECT place = {};
    place.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&place));
    POINT at = {place.left + 20, (place.top + place.bottom) / 2};
    ::ClientToScreen(list, &at);
    ::SendMessageA(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
}

class MonitorScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetTaskProgramFolder(dir_.Path());
        harness_.reset(new testsupport::MonitorHarness(dir_.Path()));
        harness_->settings.ThreadsAmount = 3;
        harness_->settings.PauseBetweenConnections = 0;
        harness_->settings.MaxAttempts = 1;
        harness_->settings.SaveCacheIntervale = 0;
        ASSERT_TRUE(harness_->Create());
        ASSERT_TRUE(server_.Start());
        harness_->menus.track = AnswerMenu;
        g_menu = MenuAnswer();

        ASSERT_TRUE(testsupport::PrepareSiteTask(task_, "Site", server_.Url("/index.html"), dir_.Path(), 2));
    }
    void TearDown() override {
        harness_.reset();
        server_.Stop();
        SetTaskProgramFolder("");
    }

    testsupport::ScratchDir dir_;
    testsupport::TestHttpServer server_;
    std::unique_ptr<testsupport::MonitorHarness> harness_;
    SearchLinkTask task_;
};

}  // namespace

TEST_F(MonitorScenarioTest, ARunWithFailuresReachesEveryMonitorAndReloadsItsErrors) {
    testsupport::MonitorHarness& h = *harness_;
    const std::string big = FixtureBytes("big.png");
    const std::string slowBody = FixtureBytes("p120x80.jpg");
    server_.SetOk("/index.html", "text/html",
                  "<html><img src='a.png'><img src='m1.jpg'><img src='m2.jpg'><img src='slow.jpg'>"
                  "<a href='page2.html'>2</a></html>");
    // page2 links m1 again: the address failed once, so it is one error row.
    server_.SetOk("/page2.html", "text/html", "<html><img src='m1.jpg'></html>");
    server_.SetOk("/a.png", "image/png", big);
    // The whole picture without a length, then a pause before the end: its row stays a while.
    const std::string slowResponse = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + slowBody;
    server_.SetStall("/slow.jpg", 2600, slowResponse);

    h.manager.Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_FALSE(h.manager.IsIdle());

    // While the slow picture is held: its row in the connections list.
    DownloadList& connections = h.manager.List();
    int slowRow = -1;
    for (DWORD begin = GetTickCount(); slowRow < 0 && GetTickCount() - begin < 10000;) {
        testsupport::PumpFor(20);
        for (int r = 0; r < connections.RowCount(); ++r)
            if (connections.CellText(r, 0) == server_.Url("/slow.jpg") &&
                connections.CellText(r, 2) == std::to_string(slowResponse.size()))   // the head counts too
                slowRow = r;
    }
    ASSERT_GE(slowRow, 0);
    EXPECT_EQ("", connections.CellText(slowRow, 1));   // no length: no total shown
    EXPECT_EQ("Downloading", connections.CellText(slowRow, 4));
    // Connections is the selected tab and the only view shown.
    EXPECT_EQ(ViewHost::kConnectionsTab, h.host.SelectedTab());
    EXPECT_TRUE(IsWindowVisible(h.manager));
    EXPECT_FALSE(IsWindowVisible(h.messages));
    EXPECT_FALSE(IsWindowVisible(h.errors));
    EXPECT_FALSE(IsWindowVisible(h.stats));

    ASSERT_TRUE(h.RunUntilIdle());
    EXPECT_EQ(0, connections.RowCount());
    EXPECT_EQ(2, task_.DownloadedImages.GetCount());

    // Counters: lifetime totals of the manager.
    HWND panel = h.stats.StatPanel();
    EXPECT_EQ("2", ControlText(panel, IDC_STAT_IMAGES));
    EXPECT_EQ(std::to_string(h.manager.LifetimeBytes() / 1000), ControlText(panel, IDC_STAT_KBYTES));
    EXPECT_GE(h.manager.LifetimeBytes(), static_cast<int64_t>(big.size() + slowBody.size()));
    // The graph sampled while the run lasted and its speed read-out rests at 0.0 now.
    const SpeedSample& newest = h.stats.Graph().Samples().At(0);
    EXPECT_TRUE(newest.valid);
    EXPECT_GT(newest.bytes, 0);
    EXPECT_EQ("0.0", ControlText(panel, IDC_STAT_SPEED));

    // Messages: newest first, the tab marked for attention.
    MonitorList& messageList = h.messages.List();
    ASSERT_EQ(2, messageList.RowCount());
    EXPECT_EQ("Task \"Site\" is completed.", messageList.CellText(0, 1));
    EXPECT_EQ("Task \"Site\" is started.", messageList.CellText(1, 1));
    EXPECT_EQ(8u, messageList.CellText(0, 0).size());   // HH:MM:SS
    EXPECT_EQ(0, messageList.SelectedRow());
    // The flash runs out (the minute only guards against one that never does).
    for (DWORD begin = ::GetTickCount(); h.host.FlashedTab() != -1 && ::GetTickCount() - begin < 60000;)
        testsupport::PumpFor(50);
    EXPECT_EQ(ViewHost::kAttentionImage, h.host.TabImage(ViewHost::kMessagesTab));

    // Errors: each failed address once, in order of failure.
    MonitorList& errorList = h.errors.List();
    ASSERT_EQ(2, errorList.RowCount());
    std::set<std::string> failed = {errorList.CellText(0, 2), errorList.CellText(1, 2)};
    EXPECT_EQ((std::set<std::string>{server_.Url("/m1.jpg"), server_.Url("/m2.jpg")}), failed);
    EXPECT_EQ("HTTP error: 404 Requested URL not found", errorList.CellText(0, 1));
    EXPECT_EQ(MonitorList::kErrorRowImage, errorList.RowImage(1));
    EXPECT_EQ(1, errorList.SelectedRow());   // the selection followed to the last row

    // The user looks at the errors: only that view shows.
    testsupport::ClickTab(h.host, ViewHost::kErrorsTab);
    EXPECT_EQ(ViewHost::kErrorsTab, h.host.SelectedTab());
    EXPECT_TRUE(IsWindowVisible(h.errors));
    EXPECT_FALSE(IsWindowVisible(h.manager));

    // m1 answers now. Reload All from the menu bar's route runs both again: m2 still fails.
    server_.SetOk("/m1.jpg", "image/jpeg", slowBody);
    const int m2Requests = server_.CountRequests("/m2.jpg");
    EXPECT_TRUE(h.RouteCommand(ID_ERRORS_RELOAD_ALL));
    ASSERT_TRUE(h.RunUntilIdle());
    EXPECT_EQ(m2Requests + 1, server_.CountRequests("/m2.jpg"));
    EXPECT_EQ(3, task_.DownloadedImages.GetCount());
    ASSERT_EQ(1, errorList.RowCount());
    EXPECT_EQ(server_.Url("/m2.jpg"), errorList.CellText(0, 2));
    EXPECT_EQ(1, server_.CountRequests("/index.html"));   // only the listed addresses ran
    EXPECT_EQ(4, messageList.RowCount());
    EXPECT_EQ("3", ControlText(panel, IDC_STAT_IMAGES));

    // A right click below the rows offers Reload This grayed; nothing runs.
    RECT listRect;
    GetClientRect(errorList.m_hWnd, &listRect);
    POINT below = {40, listRect.bottom - 5};
    ClientToScreen(errorList.m_hWnd, &below);
    g_menu.choose = 0;
    SendMessageA(h.errors, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(errorList.m_hWnd), MAKELPARAM(below.x, below.y));
    EXPECT_EQ(1, g_menu.shown);
    EXPECT_TRUE(g_menu.reloadThisGrayed);

    // m2 answers too; a right click on its row and Reload This.
    server_.SetOk("/m2.jpg", "image/jpeg", slowBody);
    g_menu.choose = ID_ERRORS_RELOAD_THIS;
    RightClickRow(h.errors, errorList.m_hWnd, 0);
    EXPECT_EQ(2, g_menu.shown);
    EXPECT_FALSE(g_menu.reloadThisGrayed);
    testsupport::PumpFor(50);   // the chosen command arrives
    ASSERT_TRUE(h.RunUntilIdle());
    EXPECT_EQ(4, task_.DownloadedImages.GetCount());
    EXPECT_EQ(0, errorList.RowCount());
    EXPECT_EQ("Task \"Site\" is completed.", messageList.CellText(0, 1));

    // Reload All and Reload This with no error rows do nothing.
    const size_t messagesBefore = h.messages.MessageCount();
    EXPECT_TRUE(h.RouteCommand(ID_ERRORS_RELOAD_ALL));
    EXPECT_TRUE(h.RouteCommand(ID_ERRORS_RELOAD_THIS));
    EXPECT_TRUE(h.manager.IsIdle());
    EXPECT_EQ(messagesBefore, h.messages.MessageCount());

    // Selecting the messages tab takes its attention mark away.
    testsupport::ClickTab(h.host, ViewHost::kMessagesTab);
    EXPECT_EQ(ViewHost::kMessagesTab, h.host.TabImage(ViewHost::kMessagesTab));
    EXPECT_TRUE(IsWindowVisible(h.messages));
}

TEST_F(MonitorScenarioTest, AnUnreachableServerGivesAnErrorMessageWithItsDetail) {
    testsupport::MonitorHarness& h = *harness_;
    h.settings.ThreadsAmount = 1;
    task_.StartingAddresses[0].Url = "http://127.0.0.1:1/index.html";   // nothing listens there
    h.manager.Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(h.RunUntilIdle());

    MonitorList& errorList = h.errors.List();
    ASSERT_EQ(1, errorList.RowCount());
    EXPECT_EQ(0u, errorList.CellText(0, 1).find("NET error: ")) << errorList.CellText(0, 1);
    EXPECT_EQ("http://127.0.0.1:1/index.html", errorList.CellText(0, 2));

    ASSERT_EQ(2u, h.messages.MessageCount());
    EXPECT_EQ("Task \"Site\" is completed with error.", h.messages.List().CellText(0, 1));
    EXPECT_EQ(MonitorList::kErrorMessageImage, h.messages.List().RowImage(0));
    EXPECT_EQ(MonitorList::kInformationImage, h.messages.List().RowImage(1));
    EXPECT_NE(std::string::npos, h.messages.EntryOfRow(0)->detail.find("Cannot find server or DNS Error"));
}
