// The grid arithmetic, picture fitting, focus movement and caption shaping as plain functions.
#include <gtest/gtest.h>
#include <windows.h>
#include "ui/thumbnails/ThumbnailChache.h"
#include "ui/thumbnails/ThumbnailLayout.h"

namespace {

// Every character 7 pixels wide.
int FixedWidth(const char*, int length) { return 7 * length; }

}  // namespace

TEST(ThumbnailLayout, GridFillsTheWidthAndCentresASingleCell) {
    ThumbnailLook look;
    const int lineHeight = 16;
    EXPECT_EQ(94, ThumbnailCellSize(look, lineHeight).cx);
    EXPECT_EQ(119 + lineHeight, ThumbnailCellSize(look, lineHeight).cy);

    ThumbnailGrid grid = ComputeThumbnailGrid(look, lineHeight, 300, 400, 10, 0);
    EXPECT_EQ(2, grid.columns);
    EXPECT_EQ(5, grid.rows);
    EXPECT_EQ(52, grid.gap);
    EXPECT_EQ(30, grid.firstLeft);
    EXPECT_EQ(30 + 94 + 52, ThumbnailCellRect(grid, look, 3).left);
    EXPECT_EQ(30 + 135 + 20, ThumbnailCellRect(grid, look, 3).top);
    // Content: five rows with spacing and margins.
    EXPECT_EQ(5 * 135 + 4 * 20 + 60, grid.contentHeight);
    EXPECT_EQ(300, grid.contentWidth);

    grid = ComputeThumbnailGrid(look, lineHeight, 300, 400, 1, 0);
    EXPECT_EQ(1, grid.columns);
    EXPECT_EQ(150 - 47, grid.firstLeft);
    EXPECT_EQ(400, grid.contentHeight);  // never below the client height
    // Centred in an even client with an odd cell: nothing left over to scroll sideways.
    grid = ComputeThumbnailGrid(look, lineHeight, 201, 400, 1, 0);
    EXPECT_EQ(201, grid.contentWidth);
    // A wrapped caption in the last row adds room below it.
    grid = ComputeThumbnailGrid(look, lineHeight, 300, 100, 1, 30);
    EXPECT_EQ(135 + 60 + 30, grid.contentHeight);

    // A client narrower than one cell still has one column, at the margin.
    grid = ComputeThumbnailGrid(look, lineHeight, 50, 50, 7, 0);
    EXPECT_EQ(1, grid.columns);
    EXPECT_EQ(7, grid.rows);
    EXPECT_EQ(1, grid.visibleRows);
    EXPECT_EQ(30, grid.firstLeft);
    EXPECT_EQ(30 + 94 + 30, grid.contentWidth);
}

TEST(ThumbnailLayout, RowSpanNamesTheItemsOfTheRowsInView) {
    ThumbnailLook look;
    const ThumbnailGrid grid = ComputeThumbnailGrid(look, 16, 300, 400, 10, 0);
    int first = 0, last = 0;
    ThumbnailRowSpan(grid, look, 10, 0, 400, first, last);
    EXPECT_EQ(0, first);
    EXPECT_EQ(5, last);  // rows 0..2: the third starts at 340
    ThumbnailRowSpan(grid, look, 10, 165, 166, first, last);  // between rows 0 and 1: none
    EXPECT_GT(first, last);
    ThumbnailRowSpan(grid, look, 10, 600, 2000, first, last);
    EXPECT_EQ(6, first);  // row 3 ends at 630
    EXPECT_EQ(9, last);
}

TEST(ThumbnailLayout, PicturesFitTheCellWithoutGrowing) {
    SIZE s = FitIntoCell(100, 110, 80, 100);
    EXPECT_EQ(80, s.cx);
    EXPECT_EQ(88, s.cy);
    s = FitIntoCell(40, 50, 80, 100);
    EXPECT_EQ(40, s.cx);
    EXPECT_EQ(50, s.cy);
    s = FitIntoCell(500, 90, 80, 100);
    EXPECT_EQ(80, s.cx);
    EXPECT_EQ(14, s.cy);
    s = FitIntoCell(900, 1000, 80, 100);
    EXPECT_EQ(80, s.cx);
    EXPECT_EQ(88, s.cy);
    s = FitIntoCell(300, 900, 80, 100);
    EXPECT_EQ(33, s.cx);
    EXPECT_EQ(100, s.cy);
}

TEST(ThumbnailLayout, CachePagesGrowToTheirCap) {
    EXPECT_EQ(15, CThumbnailChache::CellsOfNewPage(0, 80, 100));
    EXPECT_EQ(31, CThumbnailChache::CellsOfNewPage(1, 80, 100));
    EXPECT_EQ(468, CThumbnailChache::CellsOfNewPage(29, 80, 100));
    EXPECT_EQ(468, CThumbnailChache::CellsOfNewPage(60, 80, 100));
}

TEST(ThumbnailLayout, KeysMoveTheFocusWithinTheGrid) {
    // Four columns, 10 items: rows 0..2, the last holding 8 and 9; two rows show.
    EXPECT_EQ(0, NavigateThumbnailFocus(0, VK_LEFT, 4, 2, 10));
    EXPECT_EQ(0, NavigateThumbnailFocus(0, VK_UP, 4, 2, 10));
    EXPECT_EQ(1, NavigateThumbnailFocus(0, VK_RIGHT, 4, 2, 10));
    EXPECT_EQ(3, NavigateThumbnailFocus(3, VK_RIGHT, 4, 2, 10));  // no wrap at the row's end
    EXPECT_EQ(9, NavigateThumbnailFocus(9, VK_RIGHT, 4, 2, 10));  // no item beyond the last
    EXPECT_EQ(4, NavigateThumbnailFocus(0, VK_DOWN, 4, 2, 10));
    EXPECT_EQ(6, NavigateThumbnailFocus(6, VK_DOWN, 4, 2, 10));   // row 2 has nothing in column 2
    EXPECT_EQ(9, NavigateThumbnailFocus(5, VK_DOWN, 4, 2, 10));
    EXPECT_EQ(9, NavigateThumbnailFocus(1, VK_NEXT, 4, 2, 10));
    EXPECT_EQ(7, NavigateThumbnailFocus(3, VK_NEXT, 4, 2, 10));   // last row with an item in column 3
    EXPECT_EQ(1, NavigateThumbnailFocus(9, VK_PRIOR, 4, 2, 10));
    EXPECT_EQ(2, NavigateThumbnailFocus(6, VK_PRIOR, 4, 5, 10));
    EXPECT_EQ(6, NavigateThumbnailFocus(6, VK_HOME, 4, 2, 10));   // Home and End lead nowhere
}

TEST(ThumbnailLayout, ScrollingShowsAWholeCell) {
    const RECT below = {30, 500, 124, 635};
    POINT to = ScrollToShowCell(below, POINT{0, 0}, 300, 400);
    EXPECT_EQ(124 - 300, to.x);  // right edge to the client's; the view clamps it
    EXPECT_EQ(635 - 400, to.y);
    const RECT above = {30, 30, 124, 165};
    to = ScrollToShowCell(above, POINT{0, 300}, 300, 400);
    EXPECT_EQ(30, to.y);
    to = ScrollToShowCell(above, POINT{0, 0}, 300, 400);  // already inside
    EXPECT_EQ(0, to.y);
    EXPECT_EQ(0, to.x);
}

TEST(ThumbnailLayout, CaptionsGetAnEllipsisOrWrap) {
    // 97 pixels fit 13 characters; "abcdefghijklmnop" (112) does not.
    EXPECT_EQ("short.jpg", FitCaptionWithEllipsis("short.jpg", 97, FixedWidth));
    EXPECT_EQ("abcdefghi...", FitCaptionWithEllipsis("abcdefghijklmnop", 97, FixedWidth));
    EXPECT_EQ("...", FitCaptionWithEllipsis("abcdef", 20, FixedWidth));
    EXPECT_EQ("", FitCaptionWithEllipsis("abcdef", 21, FixedWidth));

    const std::vector<std::string> lines = WrapCaption("my holiday abcdefghijklmnopq end", 96, FixedWidth);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("my holiday", lines[0]);
    EXPECT_EQ("abcdefghijklmn", lines[1]);  // the piece ends with the character that overflows
    EXPECT_EQ("opq", lines[2]);
    EXPECT_EQ("end", lines[3]);
    EXPECT_EQ(1u, WrapCaption("", 96, FixedWidth).size());
}
