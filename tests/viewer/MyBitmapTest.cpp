// The decoded picture's DIB section: made, remade, drawn, handed over.
#include <gtest/gtest.h>
#include "imaging/DibHelpers.h"
#include "ui/viewer/MyBitmap.h"

TEST(MyBitmap, SectionIsMadeOnceDrawnAndHandedOver) {
    CMyBitmap bitmap;
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(0, bitmap.Draw(screen, 0, 0, 1, 1));
    EXPECT_EQ(0, bitmap.MakeDibSection());  // nothing decoded yet: no section

    bitmap.Create(4, 3, 32, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, y, PLMakePixel(static_cast<uint8_t>(x * 60), 0, static_cast<uint8_t>(y * 100)));
    EXPECT_EQ(48, bitmap.MakeDibSection());
    HBITMAP first = bitmap.GetHandle();
    ASSERT_NE(nullptr, first);
    // Top-down: row 0 of the picture is row 0 of the section.
    EXPECT_EQ(0xFF000000u | (180u << 16) | 200u, GetDibPixel(first, 3, 2) | 0xFF000000u);

    EXPECT_EQ(48, bitmap.MakeDibSection());
    HBITMAP second = bitmap.GetHandle();
    BITMAP info;
    EXPECT_EQ(0, ::GetObjectA(first, sizeof(info), &info)) << "the first section is deleted";
    EXPECT_EQ(4, bitmap.GetSize().cx);
    EXPECT_EQ(3, bitmap.GetSize().cy);

    HBITMAP target = CreateDibSection24(nullptr, 8, 6);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, target);
    EXPECT_NE(0, bitmap.Draw(memory, 0, 0, 8, 6));
    ::SelectObject(memory, old);
    EXPECT_EQ(180u, (GetDibPixel(target, 7, 5) >> 16) & 0xFF);

    EXPECT_EQ(second, bitmap.DetachHandle());
    EXPECT_EQ(nullptr, bitmap.GetHandle());
    EXPECT_EQ(0, bitmap.Draw(memory, 0, 0, 8, 6));
    EXPECT_NE(0, ::GetObjectA(second, sizeof(info), &info)) << "the caller owns the detached section";
    ::DeleteObject(second);
    ::DeleteObject(target);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}
