#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/DownloadList.h"

namespace {

class DownloadListTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 700, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(parent_);
        ASSERT_TRUE(list_.Create(parent_));
    }
    void TearDown() override {
        list_.RemoveAll();
        DestroyWindow(parent_);
    }
    HWND parent_ = nullptr;
    DownloadList list_;
};

}  // namespace

TEST_F(DownloadListTest, RowLifeCycle) {
    list_.AddRow(7, "http://h/a.jpg", true);
    ASSERT_EQ(1, list_.RowCount());
    EXPECT_EQ("http://h/a.jpg", list_.CellText(0, 0));
    EXPECT_EQ("Connecting", list_.CellText(0, 4));
    EXPECT_EQ("", list_.CellText(0, 1));

    list_.UpdateProgress(7, 1000, 400);
    EXPECT_EQ("1000", list_.CellText(0, 1));
    EXPECT_EQ("400", list_.CellText(0, 2));
    EXPECT_EQ("Downloading", list_.CellText(0, 4));
    // A notice with size 0 and no new bytes leaves both size cells as they were.
    list_.UpdateProgress(7, 0, 0);
    EXPECT_EQ("1000", list_.CellText(0, 1));
    EXPECT_EQ("400", list_.CellText(0, 2));
    EXPECT_EQ(0, list_.RowRecord(0)->totalSize);
    list_.UpdateProgress(7, 1000, 600);

    list_.FinishRow(7, true, false);
    EXPECT_EQ("1000", list_.CellText(0, 2));
    EXPECT_EQ("Saving", list_.CellText(0, 4));
    list_.FinishRow(7, true, true);
    EXPECT_EQ(0, list_.RowCount());
}

TEST_F(DownloadListTest, UnknownLengthAndPages) {
    list_.AddRow(1, "http://h/page.html", false);
    list_.UpdateProgress(1, 0, 500);
    EXPECT_EQ("", list_.CellText(0, 1));
    EXPECT_EQ("Checking", list_.CellText(0, 4));
    list_.FinishRow(1, true, false);
    EXPECT_EQ("", list_.CellText(0, 2));
    EXPECT_EQ("Parsing", list_.CellText(0, 4));
}

TEST_F(DownloadListTest, FreedRowsAreReusedAndUntickedRowsReported) {
    list_.AddRow(1, "http://h/1", true);
    list_.AddRow(2, "http://h/2", true);
    list_.FinishRow(1, false, false);   // failed: the row is free again
    list_.AddRow(3, "http://h/3", true);
    ASSERT_EQ(2, list_.RowCount());
    EXPECT_EQ("http://h/3", list_.CellText(0, 0));
    EXPECT_EQ(3, list_.RowRecord(0)->workerNumber);

    EXPECT_TRUE(list_.UntickedWorkers().empty());
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(1);
    SendMessageA(list_.Handle(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    auto unticked = list_.UntickedWorkers();
    ASSERT_EQ(1u, unticked.size());
    EXPECT_EQ(2, unticked[0]);
}

TEST_F(DownloadListTest, ColumnsAndNarrowingOnResize) {
    const int widths[5] = {300, 75, 75, 100, 80};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(widths[i], SendMessageA(list_.Handle(), LVM_GETCOLUMNWIDTH, i, 0)) << i;
    // 630 pixels of columns + 22 in a window of 500: the address column gives up the 152 extra.
    list_.Layout(500, 200);
    EXPECT_EQ(148, SendMessageA(list_.Handle(), LVM_GETCOLUMNWIDTH, 0, 0));
    // Not to 10 pixels or below.
    list_.Layout(100, 200);
    EXPECT_EQ(148, SendMessageA(list_.Handle(), LVM_GETCOLUMNWIDTH, 0, 0));
    RECT r;
    GetWindowRect(list_.Handle(), &r);
    EXPECT_EQ(100, r.right - r.left);
}

namespace {

// Pixels of the row that are not the list's background: its text, as a user sees it.
int InkedPixels(HWND list, int row) {
    RECT cells = {};
    cells.left = LVIR_BOUNDS;
    if (!SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cells))) return -1;
    HDC dc = GetDC(list);
    const COLORREF background = GetPixel(dc, cells.right - 2, cells.top + 1);
    int inked = 0;
    for (int y = cells.top; y < cells.bottom; ++y)
        for (int x = cells.left; x < cells.right && x < 400; ++x)
            if (GetPixel(dc, x, y) != background) ++inked;
    ReleaseDC(list, dc);
    return inked;
}

void PumpPaints() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

// A crawl's records come in before any paint: the batch after a flush turns drawing off again
// before the list gets its WM_PAINT. The flush must have drawn the rows by then, or the list
// shows nothing until the flush after.
TEST_F(DownloadListTest, RowsFlushedAreOnScreenWhenTheNextBatchHoldsDrawing) {
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
    list_.Layout(700, 300);
    PumpPaints();
    {
        DownloadList::Batch batch(list_);
        list_.AddRow(1, "http://h/a-picture-with-a-long-name.jpg", true);
    }   // the first batch's close draws
    {
        DownloadList::Batch batch(list_);
        list_.UpdateProgress(1, 1000, 10);
    }   // too soon after: held back
    PumpPaints();
    EXPECT_GT(InkedPixels(list_.Handle(), 0), 40);
}
