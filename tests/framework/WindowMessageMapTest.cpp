// Real windows of the framework's window classes: message maps, chaining, defaults, creation
// inside creation, and the object's end.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "framework/WindowImpl.h"

namespace {

class BaseView : public CWindowImplBase {
public:
    int baseCommands = 0;
    BEGIN_MSG_MAP(BaseView)
        COMMAND_ID_HANDLER(500, OnBaseCommand)
    END_MSG_MAP()
protected:
    LRESULT OnBaseCommand(WORD, WORD, HWND, BOOL&) {
        ++baseCommands;
        return 0;
    }
};

class TestView : public BaseView {
public:
    DECLARE_WND_CLASS("Bkf_TestView")

    std::vector<UINT> seen;
    int createCount = 0, rangeCommands = 0, lastRangeId = 0, notifies = 0, finalMessages = 0;
    bool passOnUser = false;
    TestView* child = nullptr;

    BEGIN_MSG_MAP(TestView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_USER + 1, OnUser)
        MESSAGE_HANDLER(WM_USER + 1, OnUserSecond)
        MESSAGE_RANGE_HANDLER(WM_APP + 10, WM_APP + 20, OnAppRange)
        COMMAND_ID_HANDLER(100, OnCommand100)
        COMMAND_RANGE_HANDLER(200, 210, OnCommandRange)
        NOTIFY_CODE_HANDLER(NM_CLICK, OnClick)
        CHAIN_MSG_MAP(BaseView)
    END_MSG_MAP()

    bool makeChildOnCreate = false;

protected:
    void OnFinalMessage(HWND) override { ++finalMessages; }

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
        ++createCount;
        if (makeChildOnCreate && child) {
            RECT r = {0, 0, 20, 20};
            child->Create(m_hWnd, &r, "child", WS_CHILD, 0, reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)));
        }
        return 0;
    }
    LRESULT OnUser(UINT msg, WPARAM, LPARAM, BOOL& handled) {
        seen.push_back(msg);
        if (passOnUser) handled = FALSE;
        return 11;
    }
    LRESULT OnUserSecond(UINT, WPARAM, LPARAM, BOOL&) { return 22; }
    LRESULT OnAppRange(UINT msg, WPARAM, LPARAM, BOOL&) { return msg - WM_APP; }
    LRESULT OnCommand100(WORD code, WORD, HWND, BOOL&) { return code; }
    LRESULT OnCommandRange(WORD, WORD id, HWND, BOOL&) {
        ++rangeCommands;
        lastRangeId = id;
        return 0;
    }
    LRESULT OnClick(int, LPNMHDR header, BOOL&) {
        ++notifies;
        return static_cast<LRESULT>(header->idFrom);
    }
};

TEST(WindowMessageMap, HandlersAnswerInMapOrderAndFallThrough) {
    TestView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, "view", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(1, view.createCount);
    char className[64] = {};
    ::GetClassNameA(view, className, sizeof(className));
    EXPECT_STREQ("Bkf_TestView", className);

    EXPECT_EQ(11, view.SendMessage(WM_USER + 1));
    view.passOnUser = true;  // the first handler declines: the next entry answers
    EXPECT_EQ(22, view.SendMessage(WM_USER + 1));
    EXPECT_EQ(2u, view.seen.size());
    EXPECT_EQ(15, view.SendMessage(WM_APP + 15));
    EXPECT_EQ(0, view.SendMessage(WM_APP + 21));  // unhandled: DefWindowProc
    // Unhandled messages get the default handling: WM_SETTEXT really sets the title.
    view.SetWindowText("retitled");
    EXPECT_EQ("retitled", view.GetWindowText());
    view.DestroyWindow();
    EXPECT_EQ(1, view.finalMessages);
    EXPECT_EQ(nullptr, view.m_hWnd);
}

TEST(WindowMessageMap, CommandsNotifiesAndChainedBaseMap) {
    TestView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, "view", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(3, view.SendMessage(WM_COMMAND, MAKEWPARAM(100, 3), 0));
    view.SendMessage(WM_COMMAND, MAKEWPARAM(205, 0), 0);
    view.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0);
    EXPECT_EQ(1, view.rangeCommands);
    EXPECT_EQ(205, view.lastRangeId);
    view.SendMessage(WM_COMMAND, MAKEWPARAM(500, 0), 0);
    EXPECT_EQ(1, view.baseCommands);
    NMHDR header = {view.m_hWnd, 42, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(42, view.SendMessage(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(1, view.notifies);
}

TEST(WindowMessageMap, ChildCreatedDuringCreateGetsItsOwnObject) {
    TestView parent, child;
    parent.makeChildOnCreate = true;
    parent.child = &child;
    ASSERT_TRUE(parent.Create(nullptr, nullptr, "parent", WS_OVERLAPPEDWINDOW));
    ASSERT_TRUE(child.m_hWnd);
    EXPECT_EQ(parent.m_hWnd, ::GetParent(child));
    EXPECT_EQ(1, parent.createCount);
    EXPECT_EQ(1, child.createCount);
    child.SendMessage(WM_USER + 1);
    EXPECT_EQ(1u, child.seen.size());
    EXPECT_EQ(0u, parent.seen.size());
    parent.DestroyWindow();  // takes the child with it
    EXPECT_EQ(1, child.finalMessages);
    EXPECT_EQ(nullptr, child.m_hWnd);
}

TEST(WindowMessageMap, FailedCreateLeavesNothingWaiting) {
    TestView orphan;
    // A child window without a parent cannot be created.
    EXPECT_FALSE(orphan.Create(nullptr, nullptr, "orphan", WS_CHILD));
    EXPECT_EQ(nullptr, orphan.m_hWnd);
    TestView next;
    ASSERT_TRUE(next.Create(nullptr, nullptr, "next", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(1, next.createCount);
    EXPECT_EQ(0, orphan.createCount);
}

TEST(WindowMessageMap, ObjectDestroyedBeforeItsWindowDetachesFirst) {
    HWND hWnd = nullptr;
    {
        TestView view;
        hWnd = view.Create(nullptr, nullptr, "short-lived", WS_OVERLAPPEDWINDOW);
        ASSERT_TRUE(hWnd);
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
