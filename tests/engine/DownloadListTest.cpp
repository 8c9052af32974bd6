#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/DownloadList.h"
#include "tests/support/Dib32.h"

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

namespace {

DownloadList* g_drawnList = nullptr;
// The custom-draw answer for each row's address cell, by row, since the last clear.
std::map<DWORD_PTR, LRESULT> g_addressAnswers;

// A parent that hands the list's custom draw to the DownloadList, as the download manager does.
LRESULT CALLBACK CustomDrawParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && g_drawnList && reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        const LRESULT answer = g_drawnList->OnCustomDraw(draw);
        if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && draw->iSubItem == 0)
            g_addressAnswers[draw->nmcd.dwItemSpec] = answer;
        return answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The address column's pixels, rows 0 to 3, as 32-bit values. The list paints them into a bitmap
// of the test's own (WM_PRINTCLIENT): the screen may show another test program's window there.
std::vector<uint32_t> AddressColumn(HWND list) {
    RECT first = {LVIR_BOUNDS, 0, 0, 0}, last = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&last));
    const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    const int height = last.bottom - first.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    HDC dc = GetDC(list);
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP section = testsupport::CreateDib32(width, height, &bits);
    HGDIOBJ old = SelectObject(memory, section);
    SetViewportOrgEx(memory, -first.left, -first.top, nullptr);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(list, dc);
    return pixels;
}

}  // namespace

// The program draws the address column and its check boxes itself (the list's own drawing goes
// through its image list, a round trip to the Wine server per row): a user sees exactly what
// the list would draw, for ticked and unticked rows and a selected row with and without focus.
TEST(DownloadListLook, AddressColumnLooksAsTheListWouldDrawIt) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CustomDrawParent;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "DownloadListLookParent";
    RegisterClassA(&windowClass);
    // Ours draws through the custom draw; the other is left to the list.
    HWND ourParent = CreateWindowExA(0, "DownloadListLookParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 700, 200, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND plainParent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 300, 700, 200, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    DownloadList ours, plain;
    ASSERT_TRUE(ours.Create(ourParent));
    ASSERT_TRUE(plain.Create(plainParent));
    g_drawnList = &ours;
    for (DownloadList* list : {&ours, &plain}) {
        list->Layout(700, 200);
        for (int i = 0; i < 4; ++i) list->AddRow(i + 1, "http://127.0.0.1/pictures/p" + std::to_string(i) + ".jpg", true);
        list->FlushRedraw();
        LVITEMA unticked = {};
        unticked.stateMask = LVIS_STATEIMAGEMASK;
        unticked.state = INDEXTOSTATEIMAGEMASK(1);
        SendMessageA(list->Handle(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&unticked));
        LVITEMA selected = {};
        selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        selected.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list->Handle(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selected));
    }
    for (bool focused : {true, false}) {
        std::vector<uint32_t> columns[2];
        for (int which = 0; which < 2; ++which) {
            HWND list = (which == 0 ? ours : plain).Handle();
            SetFocus(focused ? list : nullptr);
            g_addressAnswers.clear();
            InvalidateRect(list, nullptr, TRUE);
            UpdateWindow(list);
            PumpPaints();
            columns[which] = AddressColumn(list);
            // The same look could come from the list drawing the cells itself: every address
            // cell must have been drawn by the program.
            if (which == 0) {
                ASSERT_EQ(4u, g_addressAnswers.size()) << (focused ? "focused" : "unfocused");
                for (const auto& answer : g_addressAnswers)
                    EXPECT_EQ(CDRF_SKIPDEFAULT, answer.second) << "row " << answer.first;
            }
        }
        ASSERT_FALSE(columns[0].empty());
        size_t differing = 0;
        for (size_t i = 0; i < columns[0].size(); ++i)
            if ((columns[0][i] & 0xFFFFFF) != (columns[1][i] & 0xFFFFFF)) ++differing;
        EXPECT_EQ(0u, differing) << (focused ? "focused" : "unfocused");
        // And the column holds something: the box, its tick and the address.
        const uint32_t background = columns[0].back();
        EXPECT_GT(std::count_if(columns[0].begin(), columns[0].end(),
                                [&](uint32_t p) { return (p & 0xFFFFFF) != (background & 0xFFFFFF); }),
                  400);
    }
    g_drawnList = nullptr;
    ours.RemoveAll();
    plain.RemoveAll();
    DestroyWindow(ourParent);
    DestroyWindow(plainParent);
}
