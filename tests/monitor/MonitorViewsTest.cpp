// The view host's tabs and flashing, and the messages and errors views on their own, through
// the messages a user's clicks and mouse moves send.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "resources/command_ids.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/TestSupport.h"
#include "ui/monitor/ContextMenu.h"

namespace {

class MonitorViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness_.reset(new testsupport::MonitorHarness(dir_.Path()));
        ASSERT_TRUE(harness_->Create());
    }
    void TearDown() override {
        harness_.reset();
    }
    // Drives the flash timer by hand: one tick as the timer would send it.
    void Tick() { SendMessageA(harness_->host, WM_TIMER, ViewHost::kFlashTimer, 0); }

    testsupport::ScratchDir dir_;
    std::unique_ptr<testsupport::MonitorHarness> harness_;
};

char g_tabText[64];
std::string TabText(HWND tabs, int tab) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = g_tabText;
    item.cchTextMax = sizeof(g_tabText);
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    return g_tabText;
}

}  // namespace

TEST_F(MonitorViewsTest, TabsComeInOrderAndOnlyTheSelectedViewShows) {
    ViewHost& host = harness_->host;
    ASSERT_EQ(4, host.ViewCount());
    EXPECT_EQ("Connections", TabText(host.TabControl(), 0));
    EXPECT_EQ("Messages", TabText(host.TabControl(), 1));
    EXPECT_EQ("Errors", TabText(host.TabControl(), 2));
    EXPECT_EQ("Statistics", TabText(host.TabControl(), 3));
    for (int tab = 0; tab < 4; ++tab) EXPECT_EQ(tab, host.TabImage(tab));
    // Five tab pictures (the fifth marks a tab for attention), three row pictures per list.
    EXPECT_EQ(5, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(host.TabControl(), TCM_GETIMAGELIST, 0, 0))));
    EXPECT_EQ(3, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                     SendMessageA(harness_->errors.List().m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0))));

    // Views sit below the tab strip, across the whole host.
    RECT hostRect, viewRect, stripRect;
    GetClientRect(host, &hostRect);
    GetWindowRect(host.View(3), &viewRect);
    GetWindowRect(host.TabControl(), &stripRect);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&viewRect), 2);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&stripRect), 2);
    EXPECT_EQ(0, viewRect.left);
    EXPECT_EQ(hostRect.right, viewRect.right);
    EXPECT_EQ(hostRect.bottom, viewRect.bottom);
    EXPECT_EQ(stripRect.bottom, viewRect.top);
    EXPECT_GT(viewRect.top, 10);

    testsupport::ClickTab(host, 3);
    EXPECT_EQ(3, host.SelectedTab());
    for (int tab = 0; tab < 4; ++tab) EXPECT_EQ(tab == 3, IsWindowVisible(host.View(tab)) != FALSE) << tab;
    // The statistics view: the graph on the left, the panel in the rightmost 170 pixels.
    RECT statClient, panelRect, graphRect;
    GetClientRect(harness_->stats, &statClient);
    GetWindowRect(harness_->stats.StatPanel(), &panelRect);
    GetWindowRect(harness_->stats.Graph(), &graphRect);
    EXPECT_EQ(170, panelRect.right - panelRect.left);
    EXPECT_EQ(statClient.right - 170, graphRect.right - graphRect.left);
    EXPECT_TRUE(IsWindowVisible(harness_->stats.StatPanel()));
}

TEST_F(MonitorViewsTest, FlashingMarksAnUnselectedTabUntilItIsSelected) {
    ViewHost& host = harness_->host;
    host.FlashTab(1, ViewHost::kAttentionImage);
    const int expected[6] = {1, 4, 1, 4, 1, 4};
    for (int i = 0; i < 6; ++i) {
        Tick();
        EXPECT_EQ(expected[i], host.TabImage(1)) << "tick " << i + 1;
    }
    // A second flash while one runs starts the count again.
    host.FlashTab(1, ViewHost::kAttentionImage);
    for (int i = 0; i < 6; ++i) Tick();
    EXPECT_EQ(1, host.FlashedTab());
    Tick();   // the seventh tick ends it; the unselected tab keeps its mark
    EXPECT_EQ(-1, host.FlashedTab());
    EXPECT_EQ(ViewHost::kAttentionImage, host.TabImage(1));
    testsupport::ClickTab(host, 1);
    EXPECT_EQ(1, host.TabImage(1));

    // A flash on the selected tab ends with its own picture.
    host.FlashTab(1, ViewHost::kAttentionImage);
    for (int i = 0; i < 7; ++i) Tick();
    EXPECT_EQ(1, host.TabImage(1));

    // Selecting a tab stops a running flash at once; the flashed tab keeps its mark.
    host.FlashTab(1, ViewHost::kAttentionImage);
    Tick();
    Tick();
    testsupport::ClickTab(host, 2);
    EXPECT_EQ(-1, host.FlashedTab());
    EXPECT_EQ(ViewHost::kAttentionImage, host.TabImage(1));
    EXPECT_EQ(2, host.TabImage(2));

    // The real timer: a new message flashes the messages tab every 200 ms, then stops.
    harness_->messages.AddMessage(1, "Task \"A\" is started.", "");
    EXPECT_EQ(1, host.FlashedTab());
    // The minute only guards against a flash that never stops.
    for (DWORD begin = ::GetTickCount(); host.FlashedTab() != -1 && ::GetTickCount() - begin < 60000;)
        testsupport::PumpFor(50);
    EXPECT_EQ(-1, host.FlashedTab());
    EXPECT_EQ(ViewHost::kAttentionImage, host.TabImage(1));
}

TEST_F(MonitorViewsTest, MessagesShowNewestFirstWithTheirDetailInAFollowingTip) {
    MessagesViewer& messages = harness_->messages;
    testsupport::ClickTab(harness_->host, ViewHost::kMessagesTab);
    const std::string longDetail = std::string(1500, 'd');
    messages.AddMessage(1, "Task \"A\" is started.", "");
    messages.AddMessage(0, "Task \"A\" is completed with error.", "404 Requested URL not found\n\nCheck starting address");
    messages.AddMessage(1, std::string(400, 'm'), longDetail);
    MonitorList& list = messages.List();
    ASSERT_EQ(3, list.RowCount());
    EXPECT_EQ(0, list.SelectedRow());
    EXPECT_EQ("Task \"A\" is completed with error.", list.CellText(1, 1));
    EXPECT_EQ(MonitorList::kErrorMessageImage, list.RowImage(1));
    // A cell longer than the list's buffer is cut to it, not written past it.
    char small[16];
    memset(small, 'x', sizeof(small));
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = small;
    item.cchTextMax = 8;
    SendMessageA(list.m_hWnd, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("mmmmmmm", small);
    EXPECT_EQ('x', small[8]);

    // The mouse rests on row 1: after about 100 ms its detail shows in the tip.
    RECT row1 = {}, row0 = {};
    row1.left = row0.left = LVIR_BOUNDS;
    SendMessageA(list.m_hWnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row1));
    SendMessageA(list.m_hWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row0));
    SendMessageA(list.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, (row1.top + row1.bottom) / 2));
    EXPECT_FALSE(messages.Tip().IsShowing());
    for (DWORD begin = ::GetTickCount(); !messages.Tip().IsShowing() && ::GetTickCount() - begin < 60000;)
        testsupport::PumpFor(20);
    EXPECT_TRUE(messages.Tip().IsShowing());
    EXPECT_TRUE(IsWindowVisible(messages.Tip().m_hWnd));
    EXPECT_EQ("404 Requested URL not found\n\nCheck starting address", messages.TipText());
    // Just below and right of the mouse.
    RECT tipRect;
    GetWindowRect(messages.Tip().m_hWnd, &tipRect);
    POINT mouse = {30, (row1.top + row1.bottom) / 2};
    ClientToScreen(list.m_hWnd, &mouse);
    EXPECT_NEAR(mouse.x + 15, tipRect.left, 2);
    EXPECT_NEAR(mouse.y + 15, tipRect.top, 2);
    // It follows the mouse to the next row: the view's own buffer holds the long text.
    SendMessageA(list.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(60, (row0.top + row0.bottom) / 2));
    testsupport::PumpFor(50);
    EXPECT_EQ(0, messages.Tip().Row());
    EXPECT_EQ(std::string(1023, 'd'), messages.TipText());
    EXPECT_TRUE(IsWindowVisible(messages.Tip().m_hWnd));
    // The mouse leaves the list: the tip goes.
    SendMessageA(list.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(messages.Tip().IsShowing());
    testsupport::PumpFor(50);
    EXPECT_FALSE(IsWindowVisible(messages.Tip().m_hWnd));

    // Clear Messages from the context menu on a row.
    harness_->menus.track = [](HMENU popup, POINT, HWND owner) {
        EXPECT_EQ(static_cast<UINT>(ID_MESSAGES_CLEAR), GetMenuItemID(popup, 0));
        PostMessageA(owner, WM_COMMAND, GetMenuItemID(popup, 0), 0);
    };
    POINT at = {30, (row1.top + row1.bottom) / 2};
    ClientToScreen(list.m_hWnd, &at);
    SendMessageA(messages, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(at.x, at.y));
    EXPECT_EQ(1, list.SelectedRow());   // the row under the click
    testsupport::PumpFor(50);
    EXPECT_EQ(0, list.RowCount());
    EXPECT_EQ(0u, messages.MessageCount());
    // With no messages there is no menu.
    int shown = 0;
    harness_->menus.track = [&shown](HMENU, POINT, HWND) { ++shown; };
    SendMessageA(messages, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(at.x, at.y));
    EXPECT_EQ(0, shown);
    // Clear Messages reaches the view through the frame's routing too.
    messages.AddMessage(1, "again", "");
    EXPECT_TRUE(harness_->RouteCommand(ID_MESSAGES_CLEAR));
    EXPECT_EQ(0u, messages.MessageCount());
    EXPECT_FALSE(harness_->RouteCommand(ID_APP_ABOUT));
}

TEST_F(MonitorViewsTest, ErrorsListEachAddressOnceAndTheSelectionFollowsTheEnd) {
    ErrorsViewer& errors = harness_->errors;
    testsupport::ClickTab(harness_->host, ViewHost::kErrorsTab);
    MonitorList& list = errors.List();
    EXPECT_EQ("", errors.GetSelectedUrl());
    errors.AddError("HTTP error: 404 Requested URL not found", "http://h/a.jpg");
    errors.AddError("HTTP error: 404 Requested URL not found", "http://h/a.jpg");
    ASSERT_EQ(1, list.RowCount());
    EXPECT_EQ(0, list.SelectedRow());
    errors.AddError("NET error: timeout", "http://h/b.jpg");
    EXPECT_EQ(1, list.SelectedRow());   // from row 0 to the new last row
    errors.AddError("NET error: timeout", "http://h/c.jpg");
    EXPECT_EQ(2, list.SelectedRow());   // on the last row: follows
    EXPECT_EQ("http://h/c.jpg", errors.GetSelectedUrl());
    EXPECT_EQ("NET error: timeout", list.CellText(2, 1));

    // The user picks a row in the middle: new errors leave it there.
    errors.AddError("x", "http://h/d.jpg");
    testsupport::ClickRow(list.m_hWnd, 1);
    ASSERT_EQ(1, list.SelectedRow());
    errors.AddError("x", "http://h/e.jpg");
    EXPECT_EQ(1, list.SelectedRow());
    EXPECT_EQ("http://h/b.jpg", errors.GetSelectedUrl());
    EXPECT_EQ((std::vector<std::string>{"http://h/a.jpg", "http://h/b.jpg", "http://h/c.jpg", "http://h/d.jpg",
                                        "http://h/e.jpg"}),
              errors.GetUrls());

    // Many failures: each URL still once, found without a scan.
    for (int i = 0; i < 400; ++i) errors.AddError("x", "http://h/many/" + std::to_string(i % 200));
    EXPECT_EQ(205u, errors.ErrorCount());
    EXPECT_EQ(205, list.RowCount());

    errors.Clear();
    EXPECT_EQ(0, list.RowCount());
    EXPECT_EQ("", errors.GetSelectedUrl());
    errors.AddError("x", "http://h/a.jpg");   // cleared URLs count as new again
    EXPECT_EQ(1, list.RowCount());
}
