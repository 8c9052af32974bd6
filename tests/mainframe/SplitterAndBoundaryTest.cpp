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
#include "ui/frame/FrameTexts.h"
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
    EXPECT_FALSE(link.Handle());
}

}  // namespace
