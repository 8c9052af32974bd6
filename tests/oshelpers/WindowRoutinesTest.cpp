#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/FileDialogRoutines.h"
#include "core/WindowRoutines.h"

TEST(WindowRoutines, CentringStaysInWorkArea) {
    RECT work;
    GetWorkArea(&work);
    RECT r;
    CenteredRectInWorkArea(&r, 200, 100);
    EXPECT_EQ(199, r.right - r.left);
    EXPECT_NEAR((work.left + work.right) / 2, (r.left + r.right + 1) / 2, 1);

    HWND w = CreateWindowExA(0, "STATIC", "t", WS_POPUP, work.right - 10, work.bottom - 10, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(w);
    KeepWindowInWorkArea(w, WS_POPUP);
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_LE(wr.right, work.right);
    EXPECT_LE(wr.bottom, work.bottom);
    CenterWindowOver(w, nullptr);
    GetWindowRect(w, &wr);
    EXPECT_NEAR((work.left + work.right) / 2, (wr.left + wr.right) / 2, 1);
    DestroyWindow(w);

    RECT flipped = {10, 20, 0, 5};
    NormalizeRect(&flipped);
    EXPECT_EQ(0, flipped.left);
    EXPECT_EQ(20, flipped.bottom);
}

TEST(WindowRoutines, EllipsisFitsTheWidth) {
    HDC dc = CreateCompatibleDC(nullptr);
    char out[64];
    RECT wide = {0, 0, 2000, 20};
    ASSERT_TRUE(FitTextWithEllipsis(dc, "a fairly long caption.jpg", wide, out, sizeof(out)));
    EXPECT_STREQ("a fairly long caption.jpg", out);
    SIZE full;
    GetTextExtentPoint32A(dc, "a fairly long caption.jpg", 25, &full);
    RECT narrow = {0, 0, full.cx / 2, 20};
    ASSERT_TRUE(FitTextWithEllipsis(dc, "a fairly long caption.jpg", narrow, out, sizeof(out)));
    std::string s = out;
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ("...", s.substr(s.size() - 3));
    SIZE got;
    GetTextExtentPoint32A(dc, out, static_cast<int>(s.size()), &got);
    EXPECT_LE(got.cx, narrow.right);
    RECT tiny = {0, 0, 1, 20};
    EXPECT_FALSE(FitTextWithEllipsis(dc, "abc", tiny, out, sizeof(out)));
    DeleteDC(dc);
}

TEST(WindowRoutines, ListSelection) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 200, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(list);
    LVCOLUMNA col = {};
    col.mask = LVCF_WIDTH;
    col.cx = 100;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    for (int i = 0; i < 5; ++i) {
        LVITEMA it = {};
        it.mask = LVIF_TEXT;
        it.iItem = i;
        char text[] = "x";
        it.pszText = text;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
    SelectListItems(list, {1, 3}, true);
    EXPECT_EQ(2, SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    SelectOnlyListItem(list, 4);
    EXPECT_EQ(1, SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    EXPECT_EQ(4, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    DestroyWindow(list);
}

TEST(FileDialogRoutines, WalksMultipleSelection) {
    std::string multi("C:\\pics\0a.jpg\0b.png\0", 20);
    size_t cursor = 0;
    std::string path;
    ASSERT_TRUE(NextSelectedFile(cursor, multi, path));
    EXPECT_EQ("C:\\pics\\a.jpg", path);
    ASSERT_TRUE(NextSelectedFile(cursor, multi, path));
    EXPECT_EQ("C:\\pics\\b.png", path);
    EXPECT_FALSE(NextSelectedFile(cursor, multi, path));

    cursor = 0;
    ASSERT_TRUE(NextSelectedFile(cursor, "C:\\one.jpg", path));
    EXPECT_EQ("C:\\one.jpg", path);
    EXPECT_FALSE(NextSelectedFile(cursor, "C:\\one.jpg", path));
    EXPECT_TRUE(ConfirmOverwrite(nullptr, "C:\\surely\\not\\there.jpg"));
}
