// The thumbnail control as a user meets it: a real window in the virtual display, clicked,
// keyed, dragged over and scrolled with the messages the mouse and keyboard send.
#include "tests/thumbnails/ThumbnailTestHost.h"

#include <algorithm>

using namespace thumbtest;

namespace {

class ThumbnailView : public ViewFixture {};

// The key state GetKeyState reports: 0x80 held down, 0x01 toggled.
void SetKeyState(int key, int leftKey, BYTE state) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[key] = state;
    keys[leftKey] = state;
    ::SetKeyboardState(keys);
}
void SetCtrl(BYTE state) { SetKeyState(VK_CONTROL, VK_LCONTROL, state); }
void SetShift(BYTE state) { SetKeyState(VK_SHIFT, VK_LSHIFT, state); }

std::vector<int> Range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i <= to; ++i) r.push_back(i);
    return r;
}

}  // namespace

TEST_F(ThumbnailView, LaysOutItemsAsTheGridSays) {
    Fill(23, false);
    RECT client;
    ::GetClientRect(view, &client);
    const ThumbnailGrid expected =
        ComputeThumbnailGrid(view.GetLook(), view.GetLineHeight(), client.right, client.bottom, 23, 0);
    const ThumbnailGrid& grid = view.GetGrid();
    EXPECT_EQ(expected.columns, grid.columns);
    EXPECT_GE(grid.columns, 2);
    EXPECT_EQ(expected.visibleRows, grid.visibleRows);
    for (int i = 0; i < 23; ++i) {
        const RECT want = ThumbnailCellRect(grid, view.GetLook(), i);
        const RECT got = view.GetItemCell(i);
        EXPECT_TRUE(::EqualRect(&want, &got)) << i;
    }
    EXPECT_EQ(Range(0, 22), listener.added);
    // Narrowing the window re-flows the grid.
    ::SetWindowPos(host, nullptr, 0, 0, 300, 500, SWP_NOMOVE | SWP_NOZORDER);
    Pump(20);
    EXPECT_LT(view.GetGrid().columns, expected.columns);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(view, SB_VERT, &info));
    EXPECT_EQ(view.GetGrid().contentHeight - 1, info.nMax);
}

TEST_F(ThumbnailView, ClickCtrlClickShiftClickAndEmptyClick) {
    Fill(30, false);
    Click(2);
    EXPECT_EQ(std::vector<int>{2}, Selected());
    EXPECT_EQ(2, view.GetFocusedIndex());
    EXPECT_EQ(kThumbnailSelected | kThumbnailFocused, view.GetItemState(2));
    ASSERT_GE(listener.leftButtons.size(), 2u);
    EXPECT_EQ(2, listener.leftButtons[0].first);
    EXPECT_TRUE(listener.leftButtons[0].second);
    EXPECT_FALSE(listener.leftButtons[1].second);

    Click(4, MK_CONTROL);
    EXPECT_EQ((std::vector<int>{2, 4}), Selected());
    Click(2, MK_CONTROL);  // Ctrl+click on a selected item deselects it
    EXPECT_EQ(std::vector<int>{4}, Selected());
    EXPECT_EQ(2, view.GetFocusedIndex());

    Click(7, MK_SHIFT);  // from the anchor (2, the last item clicked without Shift) to 7
    EXPECT_EQ(Range(2, 7), Selected());
    Click(1, MK_SHIFT);  // the anchor stays
    EXPECT_EQ(Range(1, 2), Selected());
    EXPECT_EQ(1, view.GetFocusedIndex());

    // Every change was announced with the old and new state.
    listener.changes.clear();
    Click(9);
    bool sawFocusMove = false;
    for (const StateChange& c : listener.changes)
        if (c.index == 9 && !(c.oldState & kThumbnailFocused) && (c.newState & kThumbnailFocused)) sawFocusMove = true;
    EXPECT_TRUE(sawFocusMove);

    // Empty space: nothing selected, the focus stays where it was.
    ClickAt(POINT{5, 5});
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(9, view.GetFocusedIndex());

    view.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(PointOnItem(3).x, PointOnItem(3).y));
    EXPECT_EQ(std::vector<int>{3}, listener.doubleClicks);
}

TEST_F(ThumbnailView, RightClickKeepsOrReplacesTheSelection) {
    Fill(12, false);
    Click(1);
    Click(3, MK_CONTROL);
    const POINT on3 = PointOnItem(3);
    view.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(on3.x, on3.y));
    view.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(on3.x, on3.y));
    EXPECT_EQ((std::vector<int>{1, 3}), Selected());
    ASSERT_EQ(2u, listener.contextMenus.size());
    EXPECT_EQ(3, listener.contextMenus[0].first);
    EXPECT_TRUE(listener.contextMenus[0].second);
    EXPECT_FALSE(listener.contextMenus[1].second);

    const POINT on5 = PointOnItem(5);
    view.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(on5.x, on5.y));
    EXPECT_EQ(std::vector<int>{5}, Selected());
    EXPECT_EQ(3, view.GetFocusedIndex());  // the focus does not move
}

TEST_F(ThumbnailView, ArrowKeysShiftRangesAndCtrlA) {
    Fill(30, false);
    const int columns = view.GetGrid().columns;
    Key(VK_RIGHT);  // no focus yet: item 0 first, then one to the right
    EXPECT_EQ(1, view.GetFocusedIndex());
    EXPECT_EQ(std::vector<int>{1}, Selected());
    Key(VK_DOWN);
    EXPECT_EQ(1 + columns, view.GetFocusedIndex());
    Key(VK_LEFT);
    Key(VK_UP);
    EXPECT_EQ(0, view.GetFocusedIndex());
    EXPECT_EQ(std::vector<int>{0}, Selected());

    SetShift(0x80);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    SetShift(0);
    EXPECT_EQ(Range(0, 2), Selected());

    // Ctrl only toggled (its lock bit), not held: "A" is just a key.
    SetCtrl(0x01);
    Key('A');
    EXPECT_EQ(Range(0, 2), Selected());
    SetCtrl(0x80);
    Key('A');
    SetCtrl(0);
    EXPECT_EQ(30, view.GetSelectedCount());

    // The listener hears every key, down and up.
    ASSERT_GE(listener.keys.size(), 2u);
    EXPECT_EQ(static_cast<UINT>('A'), listener.keys[listener.keys.size() - 1].first);
    EXPECT_FALSE(listener.keys.back().second);
    EXPECT_TRUE(listener.keys[listener.keys.size() - 2].second);
}

TEST_F(ThumbnailView, PageKeysMoveByTheVisibleRowsAndScroll) {
    Fill(200, false);
    const ThumbnailGrid grid = view.GetGrid();
    Click(1);
    Key(VK_NEXT);
    EXPECT_EQ(1 + grid.visibleRows * grid.columns, view.GetFocusedIndex());
    EXPECT_GT(view.GetScrollPosition().y, 0);
    // The focused cell is wholly in view.
    RECT client;
    ::GetClientRect(view, &client);
    const RECT cell = view.GetItemCell(view.GetFocusedIndex());
    EXPECT_LE(cell.bottom - view.GetScrollPosition().y, client.bottom);
    EXPECT_GE(cell.top - view.GetScrollPosition().y, 0);

    for (int i = 0; i < 100; ++i) Key(VK_NEXT);
    const int lastRow = 199 / grid.columns;
    const int expected = (lastRow * grid.columns + 1 < 200 ? lastRow : lastRow - 1) * grid.columns + 1;
    EXPECT_EQ(expected, view.GetFocusedIndex());
    EXPECT_EQ(view.GetItemCell(expected).bottom - client.bottom, view.GetScrollPosition().y);
    Key(VK_PRIOR);
    EXPECT_EQ(expected - grid.visibleRows * grid.columns, view.GetFocusedIndex());
    for (int i = 0; i < 100; ++i) Key(VK_PRIOR);
    EXPECT_EQ(1, view.GetFocusedIndex());
    EXPECT_EQ(view.GetItemCell(1).top, view.GetScrollPosition().y);
}

// A page of the scroll bar is exactly the visible rows' steps, an odd step included; with room
// for a cell no horizontal bar is shown, and a window narrower than a cell gets one.
TEST_F(ThumbnailView, ScrollBarPagesByWholeRowsAndShowsNoIdleHorizontalBar) {
    Fill(200, false);
    EXPECT_FALSE(::GetWindowLongA(view, GWL_STYLE) & WS_HSCROLL) << "nothing to scroll sideways";
    EXPECT_TRUE(::GetWindowLongA(view, GWL_STYLE) & WS_VSCROLL);
    const int oddSpacing = (view.GetGrid().cellHeight + 20) % 2 ? 20 : 21;
    view.SetSpacing(20, oddSpacing);
    Pump(20);
    const ThumbnailGrid grid = view.GetGrid();
    const int step = grid.cellHeight + oddSpacing;
    ASSERT_EQ(1, step % 2);
    view.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(step * grid.visibleRows, view.GetScrollPosition().y);
    view.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(2 * step * grid.visibleRows, view.GetScrollPosition().y);
    view.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(step * grid.visibleRows, view.GetScrollPosition().y);
    view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(step * grid.visibleRows + step / 2, view.GetScrollPosition().y);

    ::SetWindowPos(host, nullptr, 0, 0, grid.cellWidth / 2, 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump(20);
    EXPECT_TRUE(::GetWindowLongA(view, GWL_STYLE) & WS_HSCROLL);
    view.SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_GT(view.GetScrollPosition().x, 0);
    ::SetWindowPos(host, nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump(20);
    EXPECT_FALSE(::GetWindowLongA(view, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(0, view.GetScrollPosition().x);
}

// Items a crawl keeps adding below the view lengthen the scroll bar at most once a second; once
// they stop, the bar covers all of them, and scrolling to the end reaches the last row.
TEST_F(ThumbnailView, ScrollBarCatchesUpWithItemsAddedBelowTheView) {
    Fill(100, false);
    const std::vector<ThumbnailItemData> batch = MakeItems(50, placeholder);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    for (int round = 0; round < 4; ++round) {
        view.AddItems(batch, false);
        Pump(20);
    }
    ::GetScrollInfo(view, SB_VERT, &info);
    EXPECT_LT(info.nMax + 1, view.GetGrid().contentHeight) << "growth waits for the timer";
    // The timer (a second) grows it; the minute only guards against never.
    PumpUntil([&] { return ::GetScrollInfo(view, SB_VERT, &info) && info.nMax + 1 == view.GetGrid().contentHeight; },
              60000);
    ::GetScrollInfo(view, SB_VERT, &info);
    EXPECT_EQ(view.GetGrid().contentHeight, info.nMax + 1);
    view.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    ::GetClientRect(view, &client);
    EXPECT_EQ(view.GetGrid().contentHeight - client.bottom, view.GetScrollPosition().y);
}

TEST_F(ThumbnailView, RubberBandFlipsWhatItCoversAndScrollsAtTheEdge) {
    Fill(60, false);
    const int columns = view.GetGrid().columns;
    Click(1);  // selected; the band below will flip it when it covers it
    // Start in the top-left margin, drag over the first two rows.
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(Selected().empty());
    const POINT row2 = PointOnItem(columns + 1);
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(row2.x, row2.y));
    std::vector<int> want = {0, 1, columns, columns + 1};
    EXPECT_EQ(want, Selected());
    // Back up: the items the band leaves flip back.
    const POINT row1 = PointOnItem(0);
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(row1.x, row1.y));
    EXPECT_EQ(std::vector<int>{0}, Selected());
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(row1.x, row1.y));

    // Ctrl-drag starting on a selected item flips the others but never the starting one.
    Click(0);
    const POINT start = PointOnItem(0);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(start.x, start.y));
    const bool startSelected = (view.GetItemState(0) & kThumbnailSelected) != 0;
    const POINT to = PointOnItem(1);
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(to.x, to.y));
    EXPECT_EQ(startSelected, (view.GetItemState(0) & kThumbnailSelected) != 0);
    EXPECT_TRUE(view.GetItemState(1) & kThumbnailSelected);
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));

    // Dragging below the bottom edge scrolls, and holding there keeps scrolling.
    RECT client;
    ::GetClientRect(view, &client);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, client.bottom + 20));
    const int afterMove = view.GetScrollPosition().y;
    EXPECT_GT(afterMove, 0);
    PumpUntil([&] { return view.GetScrollPosition().y > afterMove; }, 60000);
    EXPECT_GT(view.GetScrollPosition().y, afterMove);
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40, client.bottom + 20));
    const int stopped = view.GetScrollPosition().y;
    Pump(300);
    EXPECT_EQ(stopped, view.GetScrollPosition().y);
    EXPECT_NE(view.m_hWnd, ::GetCapture());
}

TEST_F(ThumbnailView, WheelScrollsHalfACellPerNotch) {
    Fill(100, false);
    const int half = view.GetGrid().cellHeight / 2;
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(half, view.GetScrollPosition().y);
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
    EXPECT_EQ(4 * half, view.GetScrollPosition().y);
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(10 * WHEEL_DELTA)), 0);
    EXPECT_EQ(0, view.GetScrollPosition().y);
    view.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    RECT client;
    ::GetClientRect(view, &client);
    EXPECT_EQ(view.GetGrid().contentHeight - client.bottom, view.GetScrollPosition().y);
}

TEST_F(ThumbnailView, RemovingItemsKeepsOrDropsTheFocus) {
    Fill(10, false);
    view.SetItemState(5, kThumbnailFocused | kThumbnailSelected);
    view.RemoveItem(2);
    EXPECT_EQ(std::vector<int>{2}, listener.removed);
    EXPECT_EQ(4, view.GetFocusedIndex());  // the same picture, one place earlier
    EXPECT_EQ("picture 5.jpg", view.GetItemData(4)->caption);
    EXPECT_TRUE(view.GetItemState(4) & kThumbnailSelected);

    listener.removed.clear();
    view.RemoveItems(PictureIndexList{0, 4, 8});
    EXPECT_EQ((std::vector<int>{0, 4, 8}), listener.removed);
    EXPECT_EQ(-1, view.GetFocusedIndex());
    EXPECT_EQ(6, view.GetItemCount());
    // Clearing the focus bit does not remove the focus.
    view.SetItemState(1, kThumbnailFocused);
    view.SetItemState(1, 0);
    EXPECT_EQ(1, view.GetFocusedIndex());
    // Out-of-range indices are harmless.
    view.RemoveItems(PictureIndexList{-3, 77});
    view.EnsureVisible(99);
    EXPECT_EQ(6, view.GetItemCount());
    EXPECT_EQ(0u, view.GetItemState(99));
}

TEST_F(ThumbnailView, TipsComeFromTheFetchedItemCutTo79Characters) {
    listener.fill = [this](int index, ThumbnailItemData& data) {
        data.bitmap = listener.picture;
        data.source = {0, 0, 100, 110};
        data.tip = std::string(120, static_cast<char>('a' + index % 26));
        data.pending = false;
    };
    Fill(8, true);
    ASSERT_TRUE(PumpUntil([&] { return view.GetPendingCount() == 0; }));
    ASSERT_TRUE(view.GetToolTips());
    EXPECT_EQ(8, static_cast<int>(::SendMessageA(view.GetToolTips(), TTM_GETTOOLCOUNT, 0, 0)));
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = view.GetToolTips();
    info.hdr.idFrom = 3;  // tools are numbered from 1 in item order
    info.hdr.code = TTN_GETDISPINFOA;
    view.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::string(79, 'c'), std::string(info.lpszText));
}

TEST_F(ThumbnailView, PaintsPictureSelectionAndPlaceholder) {
    Fill(6, false);
    Click(0);
    view.SetItemState(1, kThumbnailSelected);
    ::UpdateWindow(view);
    HDC dc = ::GetDC(view);
    const POINT centre = PointOnItem(2);
    const RECT cell0 = view.GetItemCell(0);
    // Placeholders show until the pictures come.
    const RECT cell2 = view.GetItemCell(2);
    const int pictureTop = cell2.top + 4 + 50 + 3;
    EXPECT_EQ(RGB(128, 128, 128), ::GetPixel(dc, (cell2.left + cell2.right) / 2, pictureTop));
    // A selected item in a focused control has a frame in the highlight colour.
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), ::GetPixel(dc, cell0.left + 1, cell0.top + 20));
    (void)centre;
    ::ReleaseDC(view, dc);

    view.StartLoading();
    ASSERT_TRUE(PumpUntil([&] { return view.GetPendingCount() == 0; }));
    ::UpdateWindow(view);
    dc = ::GetDC(view);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, (cell2.left + cell2.right) / 2, pictureTop));
    ::ReleaseDC(view, dc);
}
