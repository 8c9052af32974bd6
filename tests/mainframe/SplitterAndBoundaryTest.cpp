// Framework pieces on their own: the splitter's layout notice, pane arithmetic, the status bar's
// pane edges, toolbar layouts read from bytes, texts filled in safely, and the window
// procedure's boundary for a failed allocation.
#include <gtest/gtest.h>
#include <windows.h>
#include <new>
#include "framework/AppModule.h"
#include "framework/FrameWindow.h"
#include "framework/HyperLink.h"
#include "framework/MultiPaneStatusBar.h"
#include "framework/SplitterWindow.h"
#include "framework/ToolBarResource.h"
#include "framework/WindowImpl.h"
#include "tests/support/PromptSupport.h"
#include "core/TextFill.h"
#include "tests/support/PlaceholderPieces.h"

namespace {

// A parent that counts layout notices and, when asked, moves the bar from inside the notice.
class NoticeCounter : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("BrackenflyTest_SplitterParent")
    BEGIN_MSG_MAP(NoticeCounter)
        MESSAGE_HANDLER(WM_SPLITTER_LAYOUT, OnLayout)
    END_MSG_MAP()
    LRESULT OnLayout(UINT, WPARAM, LPARAM, BOOL&) {
        ++notices;
        if (splitter) {
            proportionalOnNotice = splitter->IsProportional();
            fullDragOnNotice = splitter->IsFullDrag();
            positionOnNotice = splitter->GetSplitterPos();
        }
        if (splitter && depth == 0 && moveTo >= 0) {
            ++depth;
            const int target = moveTo;
            moveTo = -1;
            splitter->SetSplitterPos(target);  // from inside the notice
            --depth;
        }
        maxDepth = depth > maxDepth ? depth : maxDepth;
        return 0;
    }
    int notices = 0;
    int moveTo = -1;
    int depth = 0;
    int maxDepth = 0;
    bool proportionalOnNotice = false;
    bool fullDragOnNotice = true;
    int positionOnNotice = -1;
    CSplitterWindow* splitter = nullptr;
};

class SplitterTest : public ::testing::Test {
protected:
    void SetUp() override {
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(parent_.Create(nullptr, &rect, "parent", WS_OVERLAPPEDWINDOW));
        RECT inner = {0, 0, 400, 300};
        ASSERT_TRUE(splitter_.CreateSplitter(parent_, inner));
        left_.CreateEmpty(splitter_);
        right_.CreateEmpty(splitter_);
        parent_.splitter = &splitter_;
    }
    NoticeCounter parent_;
    CSplitterWindow splitter_{true};
    EmptyPaneWindow left_, right_;
};

RECT RectIn(HWND window, HWND parent) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(SplitterTest, NoticesOncePerPaneWindowBeforeItMoves) {
    splitter_.SetSplitterPanes(left_, right_);
    EXPECT_EQ(0, parent_.notices) << "no bar position yet: nothing moves";
    splitter_.SetSplitterPos(150);
    EXPECT_EQ(2, parent_.notices);
    EXPECT_EQ(150, RectIn(left_, splitter_).right);
    EXPECT_EQ(150 + CSplitterWindow::kBarWidth, RectIn(right_, splitter_).left);

    splitter_.SetSinglePaneMode(kSplitPaneRight);
    EXPECT_EQ(3, parent_.notices);
    EXPECT_EQ(0, RectIn(right_, splitter_).left);
    EXPECT_EQ(400, RectIn(right_, splitter_).right);
    EXPECT_FALSE(::IsWindowVisible(left_));
    splitter_.SetSinglePaneMode(kSplitPaneNone);
    EXPECT_EQ(5, parent_.notices);
}

TEST_F(SplitterTest, ANoticeThatMovesTheBarDoesNotReenterTheLayout) {
    splitter_.SetSplitterPanes(left_, right_);
    parent_.moveTo = 220;
    splitter_.SetSplitterPos(100);
    EXPECT_EQ(220, splitter_.GetSplitterPos());
    EXPECT_EQ(220, RectIn(left_, splitter_).right) << "the change is laid out after the first layout";
    EXPECT_EQ(4, parent_.notices) << "two layouts one after the other, never one inside the other";
}

void Resize(HWND window, int width, int height) {
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The panes keep their shares as the splitter grows and shrinks; a splitter told not to keeps
// the bar's distance from the edge. The notice sees the flags and the new position.
TEST_F(SplitterTest, ProportionalBarKeepsItsShareOfTheRoom) {
    splitter_.SetSplitterPanes(left_, right_);
    splitter_.SetSplitterPos(150);
    EXPECT_TRUE(splitter_.IsProportional()) << "the default";
    const int room = 400 - CSplitterWindow::kBarWidth;
    Resize(splitter_, 800, 300);
    const int grown = 150 * (800 - CSplitterWindow::kBarWidth) / room;
    EXPECT_NEAR(grown, splitter_.GetSplitterPos(), 1);
    EXPECT_NEAR(grown, RectIn(left_, splitter_).right, 1);
    EXPECT_TRUE(parent_.proportionalOnNotice);
    EXPECT_EQ(splitter_.GetSplitterPos(), parent_.positionOnNotice);
    // Squeezed below its minimum and back: the same share again.
    Resize(splitter_, 60, 300);
    Resize(splitter_, 400, 300);
    EXPECT_NEAR(150, splitter_.GetSplitterPos(), 1);

    splitter_.SetProportional(false);
    splitter_.SetFullDrag(false);
    splitter_.SetSplitterPos(150);
    Resize(splitter_, 800, 300);
    EXPECT_EQ(150, splitter_.GetSplitterPos());
    EXPECT_FALSE(parent_.proportionalOnNotice);
    EXPECT_FALSE(parent_.fullDragOnNotice);

    SplitterGeometry g = {{0, 0, 404, 100}, 200, 4, true, kSplitPaneNone};
    EXPECT_EQ(5000, SplitterProportion(g));
    g.rect.right = 1004;
    EXPECT_EQ(500, SplitterPositionFromProportion(g, 5000));
    g.rect.right = 4;
    EXPECT_EQ(-1, SplitterProportion(g)) << "no room yet";
}

// Without full drag an outline follows the mouse and the panes move when the button is let go;
// losing the mouse on the way leaves them where they were. With full drag they follow at once.
TEST_F(SplitterTest, GhostDragMovesThePanesOnRelease) {
    ::ShowWindow(parent_, SW_SHOWNA);
    splitter_.SetSplitterPanes(left_, right_);
    splitter_.SetSplitterPos(150);
    splitter_.SetFullDrag(false);
    ::SendMessageA(splitter_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 100));
    ASSERT_TRUE(splitter_.IsDragging());
    ::SendMessageA(splitter_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(221, 100));
    ::SendMessageA(splitter_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(251, 100));
    EXPECT_EQ(150, splitter_.GetSplitterPos());
    EXPECT_EQ(150, RectIn(left_, splitter_).right) << "only the outline moved";
    ::SendMessageA(splitter_, WM_LBUTTONUP, 0, MAKELPARAM(251, 100));
    EXPECT_FALSE(splitter_.IsDragging());
    EXPECT_EQ(250, splitter_.GetSplitterPos());
    EXPECT_EQ(250, RectIn(left_, splitter_).right);
    EXPECT_NE(static_cast<HWND>(splitter_), ::GetCapture());

    ::SendMessageA(splitter_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(251, 100));
    ::SendMessageA(splitter_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
    ::SetCapture(parent_);
    EXPECT_FALSE(splitter_.IsDragging());
    EXPECT_EQ(250, splitter_.GetSplitterPos()) << "a lost capture cancels";
    ::ReleaseCapture();
    // Escape cancels too, and the keys go back to where they were.
    ::SetFocus(left_);
    ::SendMessageA(splitter_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(251, 100));
    ::SendMessageA(splitter_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 100));
    ::SendMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(splitter_.IsDragging());
    EXPECT_EQ(250, splitter_.GetSplitterPos());
    EXPECT_EQ(static_cast<HWND>(left_), ::GetFocus());

    splitter_.SetFullDrag(true);
    ::SendMessageA(splitter_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(251, 100));
    ::SendMessageA(splitter_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(201, 100));
    EXPECT_EQ(200, splitter_.GetSplitterPos());
    EXPECT_EQ(200, RectIn(left_, splitter_).right);
    ::SendMessageA(splitter_, WM_LBUTTONUP, 0, MAKELPARAM(201, 100));
    EXPECT_EQ(200, splitter_.GetSplitterPos());
}

TEST(SplitterLayout, PaneRectanglesAndClamping) {
    SplitterGeometry g = {{0, 0, 300, 200}, 100, 4, false, kSplitPaneNone};
    RECT top = SplitterPaneRect(g, 0), bottom = SplitterPaneRect(g, 1), bar = SplitterBarRect(g);
    EXPECT_EQ(100, top.bottom);
    EXPECT_EQ(104, bottom.top);
    EXPECT_EQ(200, bottom.bottom);
    EXPECT_EQ(100, bar.top);
    EXPECT_EQ(104, bar.bottom);
    EXPECT_EQ(24, ClampSplitterPosition(g, -50, 24));
    EXPECT_EQ(200 - 4 - 24, ClampSplitterPosition(g, 500, 24));
    g.position = -1;
    EXPECT_TRUE(::IsRectEmpty(&(top = SplitterPaneRect(g, 0))));
    g.singlePane = kSplitPaneLeft;
    top = SplitterPaneRect(g, 0);
    EXPECT_EQ(200, top.bottom);
    EXPECT_TRUE(::IsRectEmpty(&(bottom = SplitterPaneRect(g, 1))));
}

TEST(StatusBarPanes, FirstPaneTakesTheRest) {
    EXPECT_EQ((std::vector<int>{400, 530, 560, 760}), CMultiPaneStatusBar::PaneEdges(780, 20, {130, 30, 200}));
    EXPECT_EQ((std::vector<int>{0, 130, 160, 360}), CMultiPaneStatusBar::PaneEdges(100, 20, {130, 30, 200}));
}

TEST(ToolBarLayoutBytes, MalformedLayoutsAreRefused) {
    const WORD good[] = {1, 20, 20, 3, 218, 0, 219};
    ToolBarLayout layout;
    ASSERT_TRUE(ParseToolBarLayout(reinterpret_cast<const BYTE*>(good), sizeof(good), layout));
    EXPECT_EQ((std::vector<WORD>{218, 0, 219}), layout.commands);
    EXPECT_FALSE(ParseToolBarLayout(reinterpret_cast<const BYTE*>(good), sizeof(good) - 2, layout))
        << "count past the end";
    const WORD version2[] = {2, 20, 20, 0};
    EXPECT_FALSE(ParseToolBarLayout(reinterpret_cast<const BYTE*>(version2), sizeof(version2), layout));
    EXPECT_FALSE(ParseToolBarLayout(nullptr, 0, layout));
}

TEST(CommandStrings, PromptBeforeTheLineFeedTipAfter) {
    std::string prompt, tip;
    EXPECT_TRUE(SplitCommandString("Do it\nDo", prompt, tip));
    EXPECT_EQ("Do it", prompt);
    EXPECT_EQ("Do", tip);
    EXPECT_TRUE(SplitCommandString("x\n" + std::string(100, 'y'), prompt, tip));
    EXPECT_EQ(79u, tip.size());
    EXPECT_FALSE(SplitCommandString("Loaded size", prompt, tip));
}

TEST(FillIn, FormatsFromLanguageFilesCannotReachPastTheirValues) {
    EXPECT_EQ("Task \"a\" is completed. b", FillInTexts("Task \"%s\" is completed. %s", {"a", "b"}, 255));
    EXPECT_EQ("%s %n %x", FillInTexts("%s %n %x", {}, 255));
    EXPECT_EQ("a %s", FillInTexts("%s %s", {"a"}, 255));
    EXPECT_EQ("100% of 7", FillInNumber("100%% of %d", 7, 255));
    EXPECT_EQ("12345", FillInTexts("%s", {"123456789"}, 5));
}

// A window whose handler runs out of memory.
class Greedy : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("BrackenflyTest_Greedy")
    BEGIN_MSG_MAP(Greedy)
        MESSAGE_HANDLER(WM_USER + 7, OnGreedy)
    END_MSG_MAP()
    LRESULT OnGreedy(UINT, WPARAM, LPARAM, BOOL&) { throw std::bad_alloc(); }
};

TEST(WindowProcBoundary, AFailedAllocationEndsTheOperationWithAMessage) {
    testsupport::ScriptedPrompts prompts;
    Greedy window;
    RECT rect = {0, 0, 50, 50};
    ASSERT_TRUE(window.Create(nullptr, &rect, "greedy", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(0, ::SendMessageA(window, WM_USER + 7, 0, 0));
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_EQ("Not enough memory to complete the operation.", prompts.boxes[0].text);
    EXPECT_TRUE(prompts.boxes[0].type & MB_ICONERROR);
    EXPECT_TRUE(window.IsWindow()) << "the window and the program go on";
    EXPECT_EQ(0, ::SendMessageA(window, WM_USER + 7, 0, 0));
    EXPECT_EQ(2u, prompts.boxes.size());
}

TEST(HyperLink, ClickOrKeyOpensTheAddress) {
    testsupport::ScriptedPrompts prompts;
    Greedy parent;
    RECT rect = {0, 0, 200, 100};
    ASSERT_TRUE(parent.Create(nullptr, &rect, "about", WS_OVERLAPPEDWINDOW));
    HWND text = ::CreateWindowExA(0, "STATIC", "www.brackenfly.org", WS_CHILD | WS_VISIBLE, 5, 5, 150, 20, parent,
                                  nullptr, g_Module.GetModuleInstance(), nullptr);
    CHyperLink link;
    ASSERT_TRUE(link.Attach(text, "https://www.brackenfly.org/"));
    ::SendMessageA(text, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageA(text, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ::SendMessageA(text, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(2u, prompts.shellCalls.size());
    EXPECT_EQ("https://www.brackenfly.org/", prompts.shellCalls[0].file);
    EXPECT_EQ("open", prompts.shellCalls[1].verb);
    EXPECT_EQ(static_cast<HWND>(parent), prompts.shellCalls[0].owner);
    ::DestroyWindow(text);
    EXPECT_FALSE(link.m_hWnd);
}

}  // namespace
