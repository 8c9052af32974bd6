// Scaling helpers on real GDI: sizes, the chosen source part, margins and degenerate sizes.
#include <gtest/gtest.h>

#include "tests/filters/DibTestUtil.h"

using dibtest::At;
using dibtest::Bitmap;
using dibtest::Px;

namespace {

int Width(HBITMAP b) {
    BITMAP bm;
    return GetObjectA(b, sizeof(bm), &bm) ? bm.bmWidth : -1;
}
int Height(HBITMAP b) {
    BITMAP bm;
    return GetObjectA(b, sizeof(bm), &bm) ? bm.bmHeight : -1;
}

// 400 x 300: columns 0..49 red, 50..349 green, 350..399 blue.
HBITMAP ThreeBands() {
    HBITMAP b = CreateDibSection24(nullptr, 400, 300);
    const RECT red = {0, 0, 49, 299}, green = {50, 0, 349, 299}, blue = {350, 0, 399, 299};
    FillDibRect(b, &red, RGB(255, 0, 0));
    FillDibRect(b, &green, RGB(0, 255, 0));
    FillDibRect(b, &blue, RGB(0, 0, 255));
    return b;
}

}  // namespace

TEST(DibScaling, FillTakesTheAnchoredPart) {
    Bitmap src(ThreeBands());
    Bitmap centred(ScaleBitmapToFill(src.Get(), 100, 100, 8, 0));
    ASSERT_TRUE(centred.Get());
    EXPECT_EQ(100, Width(centred.Get()));
    EXPECT_EQ(Px(0, 255, 0), At(centred, 0, 0));  // the 300 x 300 part from (50, 0)
    EXPECT_EQ(Px(0, 255, 0), At(centred, 99, 99));

    Bitmap topLeft(ScaleBitmapToFill(src.Get(), 100, 100, 0, 0));
    EXPECT_EQ(Px(255, 0, 0), At(topLeft, 0, 50));
    EXPECT_EQ(Px(0, 255, 0), At(topLeft, 99, 50));
    Bitmap bottomRight(ScaleBitmapToFill(src.Get(), 100, 100, 4, 0));
    EXPECT_EQ(Px(0, 255, 0), At(bottomRight, 0, 50));
    EXPECT_EQ(Px(0, 0, 255), At(bottomRight, 99, 50));
}

TEST(DibScaling, FillWithMarginsOfHalfTheSizeOrMore) {
    Bitmap src(ThreeBands());
    Bitmap inset(ScaleBitmapToFill(src.Get(), 20, 20, 8, 2));
    ASSERT_TRUE(inset.Get());
    EXPECT_EQ(Px(0, 255, 0), At(inset, 10, 10));
    EXPECT_EQ(0x00FFFFFFu & At(inset, 0, 0), 0u);  // the margin band is not painted

    // No inner area is left: a blank section of the asked size, no division by zero.
    for (int margin : {5, 6, 100}) {
        Bitmap none(ScaleBitmapToFill(src.Get(), 10, 10, 8, margin));
        ASSERT_TRUE(none.Get()) << margin;
        EXPECT_EQ(10, Width(none.Get()));
    }
    Bitmap fromNull(ScaleBitmapToFill(nullptr, 4, 4, 0, 0));
    EXPECT_TRUE(fromNull.Get());
    EXPECT_FALSE(ScaleBitmapToFill(src.Get(), 0, 10, 0, 0));
}

TEST(DibScaling, SizesOfTheFitOperations) {
    Bitmap src(ThreeBands());
    Bitmap sized(ScaleBitmapToSize(src.Get(), 8, 6));
    ASSERT_TRUE(sized.Get());
    EXPECT_EQ(8, Width(sized.Get()));
    EXPECT_EQ(6, Height(sized.Get()));
    EXPECT_EQ(Px(255, 0, 0), At(sized, 0, 3));

    Bitmap fit(ScaleBitmapToFit(src.Get(), 100, 100, 0));
    EXPECT_EQ(100, Width(fit.Get()));
    EXPECT_EQ(75, Height(fit.Get()));

    Bitmap small(CreateDibSection24(nullptr, 10, 10));
    FillDibRect(small.Get(), nullptr, RGB(255, 0, 0));
    Bitmap enlarged(ScaleBitmapToFit(small.Get(), 100, 50, 0));
    EXPECT_EQ(50, Width(enlarged.Get()));
    Bitmap kept(ShrinkBitmapToFit(small.Get(), 100, 50, 0));
    EXPECT_EQ(10, Width(kept.Get()));
    Bitmap shrunk(ShrinkBitmapToFit(src.Get(), 40, 40, 0));
    EXPECT_EQ(40, Width(shrunk.Get()));
    EXPECT_EQ(30, Height(shrunk.Get()));
    EXPECT_FALSE(ScaleBitmapToFit(nullptr, 10, 10, 0));

    Bitmap onBack(FitBitmapOnBackground(small.Get(), 20, 30, COLOR_WINDOW));
    ASSERT_TRUE(onBack.Get());
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(Px(GetRValue(back), GetGValue(back), GetBValue(back)), At(onBack, 4, 10));
    EXPECT_EQ(Px(255, 0, 0), At(onBack, 5, 10));
    EXPECT_EQ(Px(255, 0, 0), At(onBack, 14, 19));
    EXPECT_EQ(Px(GetRValue(back), GetGValue(back), GetBValue(back)), At(onBack, 15, 20));

    Bitmap tiled(FitAndTileBitmap(small.Get(), 25, 25));
    EXPECT_EQ(25, Width(tiled.Get()));
    EXPECT_EQ(Px(255, 0, 0), At(tiled, 24, 24));
}

TEST(DibScaling, CopiesAndCompatibleBitmaps) {
    Bitmap src(ThreeBands());
    const RECT part = {345, 0, 355, 5};  // exclusive right and bottom here
    Bitmap piece(CopyBitmapRect(src.Get(), &part));
    ASSERT_TRUE(piece.Get());
    EXPECT_EQ(10, Width(piece.Get()));
    EXPECT_EQ(5, Height(piece.Get()));
    EXPECT_EQ(Px(0, 255, 0), At(piece, 4, 0));
    EXPECT_EQ(Px(0, 0, 255), At(piece, 5, 4));
    const RECT empty = {5, 5, 5, 9};
    EXPECT_FALSE(CopyBitmapRect(src.Get(), &empty));

    Bitmap s32(CreateDibSection32(nullptr, 3, 2));
    Bitmap as24(CopyBitmapAs24(s32.Get()));
    ASSERT_TRUE(as24.Get());
    EXPECT_EQ(24, as24.View().bpp);
    Bitmap grey(CreateDibSection8Grey(nullptr, 3, 2));
    EXPECT_FALSE(CopyBitmapAs24(grey.Get()));

    Bitmap half(ScaleBitmapCompatible(src.Get(), 0.5f));
    ASSERT_TRUE(half.Get());
    EXPECT_EQ(200, Width(half.Get()));
    EXPECT_EQ(150, Height(half.Get()));
    EXPECT_FALSE(ScaleBitmapCompatible(nullptr, 1.0f));

    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    Bitmap target(CreateDibSection24(nullptr, 5, 5));
    HGDIOBJ old = SelectObject(mem, target.Get());
    Bitmap tile(CreateDibSection24(nullptr, 2, 2));
    FillDibRect(tile.Get(), nullptr, RGB(7, 8, 9));
    const RECT area = {0, 0, 5, 5};
    EXPECT_EQ(1, TileBitmapOnDc(mem, &area, tile.Get()));
    EXPECT_EQ(0, TileBitmapOnDc(mem, &area, nullptr));
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(Px(7, 8, 9), At(target, 4, 4));
}
