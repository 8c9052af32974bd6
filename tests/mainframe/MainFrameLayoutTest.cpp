// The main window as a user first sees it, and the View commands that show and hide its parts.
#include <windows.h>
#include <commctrl.h>
#include "resources/command_ids.h"
#include "tests/mainframe/FrameTestSupport.h"
#include "tests/support/GdiLedger.h"

namespace frametest {
namespace {

std::vector<int> ToolBarCommands(HWND toolBar) {
    std::vector<int> ids;
    const int count = static_cast<int>(::SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        ::SendMessageA(toolBar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        ids.push_back((button.fsStyle & BTNS_SEP) ? 0 : button.idCommand);
    }
    return ids;
}

BYTE ButtonStyle(HWND toolBar, int id) {
    const LRESULT index = ::SendMessageA(toolBar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0);
    TBBUTTON button = {};
    ::SendMessageA(toolBar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return button.fsStyle;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void ExpectSameCounts(const testsupport::GdiCounts& before, const testsupport::GdiCounts& after, const char* when) {
    EXPECT_EQ(before.imageLists, after.imageLists) << when;
    EXPECT_EQ(before.deviceContexts, after.deviceContexts) << when;
    EXPECT_EQ(before.objects, after.objects) << when;
    EXPECT_EQ(before.menus, after.menus) << when;
}

TEST_F(FrameTest, BuildsTheWindowInItsParts) {
    HWND frame = *frame_;
    char name[64] = {};
    ::GetClassNameA(frame, name, sizeof(name));
    EXPECT_STREQ("Brackenfly_MainFrame", name);
    EXPECT_EQ("Brackenfly", frame_->GetWindowText());
    EXPECT_FALSE(::GetMenu(frame)) << "the command bar shows the menu";
    EXPECT_TRUE(reinterpret_cast<HICON>(::GetClassLongPtrA(frame, GCLP_HICON)));

    // Rebar: the command bar, then the toolbar on its own row.
    CReBarCtrl& rebar = MainFrameTestSeam(*frame_).ReBar();
    ASSERT_EQ(2, rebar.GetBandCount());
    EXPECT_EQ(frame_->GetCommandBar().m_hWnd, rebar.GetBandChild(0));
    EXPECT_EQ(MainFrameTestSeam(*frame_).ToolBar(), rebar.GetBandChild(1));
    RECT bar0, bar1;
    ::SendMessageA(rebar.m_hWnd, RB_GETRECT, 0, reinterpret_cast<LPARAM>(&bar0));
    ::SendMessageA(rebar.m_hWnd, RB_GETRECT, 1, reinterpret_cast<LPARAM>(&bar1));
    EXPECT_GE(bar1.top, bar0.bottom);
    EXPECT_EQ((std::vector<std::string>{"&Task", "&Images", "&View", "&Tools", "&Help"}),
              frame_->GetCommandBar().ButtonTexts());

    const std::vector<int> expected = {218, 32817, 219, 0, 217, 32932, 32773, 220, 0, 32791, 32792, 32793,
                                       0, 32819, 0, 32821, 0, 32799, 32798, 0, 32955, 0, 277};
    EXPECT_EQ(expected, ToolBarCommands(MainFrameTestSeam(*frame_).ToolBar()));
    EXPECT_TRUE(ButtonStyle(MainFrameTestSeam(*frame_).ToolBar(), ID_TASK_START) & BTNS_DROPDOWN);
    EXPECT_TRUE(ButtonStyle(MainFrameTestSeam(*frame_).ToolBar(), ID_VIEW_CHANGE) & BTNS_DROPDOWN);
    EXPECT_FALSE(ButtonStyle(MainFrameTestSeam(*frame_).ToolBar(), ID_TASK_PAUSE) & BTNS_DROPDOWN);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(MainFrameTestSeam(*frame_).ToolBar(), TB_GETIMAGELIST, 0, 0));
    HIMAGELIST disabled =
        reinterpret_cast<HIMAGELIST>(::SendMessageA(MainFrameTestSeam(*frame_).ToolBar(), TB_GETDISABLEDIMAGELIST, 0, 0));
    ASSERT_TRUE(images && disabled);
    EXPECT_EQ(16, ::ImageList_GetImageCount(images));
    EXPECT_EQ(16, ::ImageList_GetImageCount(disabled));
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(20, cx);
    EXPECT_EQ(20, cy);

    // Status bar: four panes, the fixed ones 130, 30 and 200 wide; "Ready" with the program's icon.
    CMultiPaneStatusBar& status = MainFrameTestSeam(*frame_).StatusBar();
    int edges[8] = {};
    ASSERT_EQ(4, ::SendMessageA(status.m_hWnd, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
    EXPECT_EQ(130, edges[1] - edges[0]);
    EXPECT_EQ(30, edges[2] - edges[1]);
    EXPECT_EQ(200, edges[3] - edges[2]);
    EXPECT_EQ(59393, ::GetDlgCtrlID(status.m_hWnd));
    EXPECT_EQ("Ready", status.GetPaneText(0));
    EXPECT_TRUE(status.GetPaneIcon(0));
    EXPECT_FALSE(status.GetPaneIcon(MainFrame::kQueuePane));
    HWND progress = MainFrameTestSeam(*frame_).ProgressBar().m_hWnd;
    EXPECT_EQ(status.m_hWnd, ::GetParent(progress));
    EXPECT_FALSE(::IsWindowVisible(progress));
    EXPECT_EQ(progress, ::FindWindowExA(status.m_hWnd, nullptr, PROGRESS_CLASSA, "LongOpProgressBar"));

    // Panes after the after-creation step: tasks 170 wide on the left, pictures 280 high on top.
    EXPECT_EQ(170, MainFrameTestSeam(*frame_).VerticalSplitter().GetSplitterPos());
    EXPECT_EQ(280, MainFrameTestSeam(*frame_).HorizontalSplitter().GetSplitterPos());
    RECT client;
    ::GetClientRect(MainFrameTestSeam(*frame_).VerticalSplitter(), &client);
    const RECT tasks = WindowRectIn(MainFrameTestSeam(*frame_).TasksPane(), MainFrameTestSeam(*frame_).VerticalSplitter());
    EXPECT_EQ(0, tasks.left);
    EXPECT_EQ(170, Width(tasks));
    EXPECT_EQ(Height(client), Height(tasks));
    const RECT pictures = WindowRectIn(pictures_->GetWindow(), MainFrameTestSeam(*frame_).HorizontalSplitter());
    EXPECT_EQ(280, Height(pictures));
    const RECT monitor = WindowRectIn(MainFrameTestSeam(*frame_).MonitorPane(), MainFrameTestSeam(*frame_).HorizontalSplitter());
    EXPECT_GT(monitor.top, pictures.bottom - 1);
    EXPECT_EQ("Tasks", MainFrameTestSeam(*frame_).TasksPane().GetTitle());
    EXPECT_EQ("No task is started", MainFrameTestSeam(*frame_).MonitorPane().GetTitle());
    EXPECT_EQ(tasks_->GetWindow(), MainFrameTestSeam(*frame_).TasksPane().GetClient());
    EXPECT_EQ(frame_->GetDownloadManager()->m_hWnd, MainFrameTestSeam(*frame_).MonitorPane().GetClient());

    // Between the bars the splitter fills the frame.
    RECT frameClient, statusRect, rebarRect;
    ::GetClientRect(frame, &frameClient);
    const RECT splitter = WindowRectIn(MainFrameTestSeam(*frame_).VerticalSplitter(), frame);
    rebarRect = WindowRectIn(rebar.m_hWnd, frame);
    statusRect = WindowRectIn(status.m_hWnd, frame);
    EXPECT_EQ(rebarRect.bottom, splitter.top);
    EXPECT_EQ(statusRect.top, splitter.bottom);
    EXPECT_EQ(Width(frameClient), Width(splitter));

    // Initial checks of the View menu.
    HMENU menu = frame_->GetCommandBar().GetMenu();
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TASKS, ID_VIEW_MONITOR, ID_VIEW_LIST})
        EXPECT_TRUE(MenuItemChecked(menu, id)) << id;
    EXPECT_FALSE(MenuItemChecked(menu, ID_VIEW_THUMBNAILS));
    // Menu items carry the toolbar's pictures.
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_BITMAP;
    ASSERT_TRUE(::GetMenuItemInfoA(menu, ID_TASK_START, FALSE, &item));
    EXPECT_TRUE(item.hbmpItem);
    EXPECT_TRUE(frame_->GetCommandBar().HasImage(ID_VIEWER_ZOOM_IN));
}

TEST_F(FrameTest, TipOfTheDayFollowsTheSetting) {
    EXPECT_EQ(0, dialogs_->tips);
    DestroyFrame();
    app_->GetSettings()->ShowTip = true;
    CreateFrame();
    EXPECT_EQ(1, dialogs_->tips);
}

TEST_F(FrameTest, ViewCommandsShowAndHidePanesAndBars) {
    HWND frame = *frame_;
    HMENU menu = frame_->GetCommandBar().GetMenu();
    RECT splitterClient;
    ::GetClientRect(MainFrameTestSeam(*frame_).VerticalSplitter(), &splitterClient);

    // Tasks pane: hidden, the right side takes the whole splitter; shown again, back at 170.
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_TASKS, 0);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(MainFrameTestSeam(*frame_).TasksPane()));
    EXPECT_EQ(kSplitPaneRight, MainFrameTestSeam(*frame_).VerticalSplitter().GetSinglePaneMode());
    EXPECT_EQ(Width(splitterClient),
              Width(WindowRectIn(MainFrameTestSeam(*frame_).HorizontalSplitter(), MainFrameTestSeam(*frame_).VerticalSplitter())));
    EXPECT_FALSE(MenuItemChecked(menu, ID_VIEW_TASKS));
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_TASKS, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(MainFrameTestSeam(*frame_).TasksPane()));
    EXPECT_EQ(kSplitPaneNone, MainFrameTestSeam(*frame_).VerticalSplitter().GetSinglePaneMode());
    EXPECT_EQ(170, Width(WindowRectIn(MainFrameTestSeam(*frame_).TasksPane(), MainFrameTestSeam(*frame_).VerticalSplitter())));
    EXPECT_TRUE(MenuItemChecked(menu, ID_VIEW_TASKS));

    // The monitor pane's close button hides it like the View command.
    ::SendMessageA(MainFrameTestSeam(*frame_).MonitorPane().GetCloseButton(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(MainFrameTestSeam(*frame_).MonitorPane()));
    EXPECT_EQ(kSplitPaneLeft, MainFrameTestSeam(*frame_).HorizontalSplitter().GetSinglePaneMode());
    RECT right;
    ::GetClientRect(MainFrameTestSeam(*frame_).HorizontalSplitter(), &right);
    EXPECT_EQ(Height(right), Height(WindowRectIn(pictures_->GetWindow(), MainFrameTestSeam(*frame_).HorizontalSplitter())));
    EXPECT_FALSE(MenuItemChecked(menu, ID_VIEW_MONITOR));
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_MONITOR, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(MainFrameTestSeam(*frame_).MonitorPane()));
    EXPECT_TRUE(MenuItemChecked(menu, ID_VIEW_MONITOR));
    // The tasks pane's close button.
    ::SendMessageA(MainFrameTestSeam(*frame_).TasksPane().GetCloseButton(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(MainFrameTestSeam(*frame_).TasksPane()));

    // Toolbar band: the rebar gets lower and the panes move up.
    const int splitterTop = WindowRectIn(MainFrameTestSeam(*frame_).VerticalSplitter(), frame).top;
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    Pump();
    EXPECT_FALSE(MainFrameTestSeam(*frame_).ReBar().IsBandVisible(1));
    EXPECT_LT(WindowRectIn(MainFrameTestSeam(*frame_).VerticalSplitter(), frame).top, splitterTop);
    EXPECT_FALSE(MenuItemChecked(menu, ID_VIEW_TOOLBAR));
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    Pump();
    EXPECT_TRUE(MainFrameTestSeam(*frame_).ReBar().IsBandVisible(1));
    EXPECT_EQ(splitterTop, WindowRectIn(MainFrameTestSeam(*frame_).VerticalSplitter(), frame).top);

    // Status bar: the panes reach the frame's bottom.
    ::SendMessageA(frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    Pump();
    RECT frameClient;
    ::GetClientRect(frame, &frameClient);
    EXPECT_FALSE(::IsWindowVisible(MainFrameTestSeam(*frame_).StatusBar().m_hWnd));
    EXPECT_EQ(frameClient.bottom, WindowRectIn(MainFrameTestSeam(*frame_).VerticalSplitter(), frame).bottom);
    EXPECT_FALSE(MenuItemChecked(menu, ID_VIEW_STATUS_BAR));
}

TEST_F(FrameTest, ResizingKeepsFixedPanesAndBars) {
    ::SetWindowPos(*frame_, nullptr, 0, 0, 1100, 800, SWP_NOZORDER | SWP_NOMOVE);
    Pump();
    EXPECT_EQ(170, Width(WindowRectIn(MainFrameTestSeam(*frame_).TasksPane(), MainFrameTestSeam(*frame_).VerticalSplitter())));
    int edges[4] = {};
    ::SendMessageA(MainFrameTestSeam(*frame_).StatusBar().m_hWnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    RECT status;
    ::GetClientRect(MainFrameTestSeam(*frame_).StatusBar().m_hWnd, &status);
    EXPECT_GT(edges[0], 400);
    EXPECT_EQ(200, edges[3] - edges[2]);
    EXPECT_LE(edges[3], status.right);
}

// A frame gives back every image list, device context, GDI object and menu it made when it
// closes. A pane the frame cannot work without fails the frame's creation: no window is left
// behind, nor anything the frame made before the pane failed, and the frame's key filter is not
// left in the loop.
TEST_F(FrameTest, AFrameLeavesNothingBehindWhenClosedOrWhenAPaneCannotBeMade) {
    DestroyFrame();
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Ok());
    const testsupport::GdiCounts before = ledger.Counts();
    CreateFrame();
    EXPECT_GT(ledger.Counts().imageLists, before.imageLists) << "the toolbar's and the menus' pictures";
    DestroyFrame();
    ExpectSameCounts(before, ledger.Counts(), "after a frame closed");

    FramePieces pieces;
    auto* tasks = new FakeTasksPane();
    tasks->failCreation = true;
    pieces.tasks.reset(tasks);
    CompleteFramePieces(pieces);
    frame_.reset(new MainFrame(app_.get(), std::move(pieces)));
    EXPECT_EQ(nullptr, frame_->CreateFrame());
    EXPECT_FALSE(frame_->IsWindow());
    EXPECT_EQ(nullptr, ::FindWindowA("Brackenfly_MainFrame", nullptr));
    MSG key = {nullptr, WM_KEYDOWN, VK_DELETE, 0, 0, {0, 0}};
    EXPECT_FALSE(loop_.PreTranslateMessage(&key));
    DestroyFrame();
    ExpectSameCounts(before, ledger.Counts(), "after a frame that was not created");
}

}  // namespace
}  // namespace frametest
