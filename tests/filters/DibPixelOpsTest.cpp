// Pixel operations of the DIB toolkit on real GDI sections: exact values and degenerate rects.
#include <gtest/gtest.h>

#include "tests/filters/DibTestUtil.h"

using dibtest::At;
using dibtest::Bitmap;
using dibtest::Put;
using dibtest::Px;

TEST(DibSections, CreationAndDescriptions) {
    Bitmap b24(CreateDibSection24(nullptr, 3, 2));
    ASSERT_TRUE(b24.Get());
    DIBSECTION ds;
    ASSERT_TRUE(dibaccess::GetDibSection(b24.Get(), ds));
    EXPECT_EQ(24, ds.dsBmih.biBitCount);
    RECT r;
    GetBitmapRect(&r, b24.Get());
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(2, r.right);
    EXPECT_EQ(1, r.bottom);
    EXPECT_EQ(1, GetBitmapBounds(&r, b24.Get()));

    SIZE s = GetScaledBitmapSize(b24.Get(), 2.5f);
    EXPECT_EQ(7, s.cx);
    EXPECT_EQ(5, s.cy);
    s = GetScaledBitmapSize(nullptr, 3.0f);
    EXPECT_EQ(0, s.cx);
    EXPECT_EQ(0, s.cy);
    GetBitmapRect(&r, reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(0x1234)));
    EXPECT_EQ(0, r.left | r.top | r.right | r.bottom);

    Bitmap grey(CreateDibSection8Grey(nullptr, 4, 4));
    ASSERT_TRUE(grey.Get());
    RGBQUAD table[256];
    dibaccess::MemoryDc dc(nullptr, grey.Get());
    ASSERT_EQ(256u, GetDIBColorTable(dc.Get(), 0, 256, table));
    EXPECT_EQ(77, table[77].rgbRed);
    EXPECT_EQ(77, table[77].rgbBlue);
    EXPECT_EQ(0, FillDibRect(grey.Get(), nullptr, RGB(1, 2, 3)));  // pixel ops need 24 or 32 bits

    EXPECT_FALSE(CreateDibSection24(nullptr, 0, 5));
}

TEST(DibSections, SizesAndColourValues) {
    EXPECT_EQ(40 + 4 * 16, GetDibHeaderSize(16));
    BITMAPINFOHEADER h = {};
    h.biBitCount = 4;
    EXPECT_EQ(16, GetDibColorCount(&h));
    h.biClrUsed = 5;
    EXPECT_EQ(5, GetDibColorCount(&h));
    h.biClrUsed = 0;
    h.biBitCount = 24;
    EXPECT_EQ(0, GetDibColorCount(&h));
    EXPECT_EQ(24u, GetDibImageSize(3, 2, 24));
    EXPECT_EQ(24u, GetDibImageSize(3, -2, 24));
    EXPECT_EQ(8u, GetDibImageSize(10, 2, 1));
    EXPECT_EQ(0xFF030201u, ColorRefToArgb(RGB(3, 2, 1)));
    EXPECT_EQ(0x030201u, ColorRefToRgb(RGB(3, 2, 1)));
    BYTE t[3];
    ColorRefToTriple(t, RGB(10, 20, 30));
    EXPECT_EQ(30, t[0]);
    EXPECT_EQ(10, t[2]);

    RECT r;
    GetRotatedBounds(10, 5, 4.0f, 0.0f, 1.0f, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(40, r.right);
    EXPECT_EQ(20, r.bottom);
    GetRotatedBounds(10, 10, 1.0f, 0.5f, 0.866f, &r);  // 30 degrees: fractional edges move outward
    RectF f;
    GetRotatedBoundsF(10, 10, 1.0f, 0.5f, 0.866f, &f);
    EXPECT_FLOAT_EQ(-5.0f, f.left);
    EXPECT_EQ(-5, r.left);
    EXPECT_EQ(9, r.right);  // 8.66 -> 9
    EXPECT_EQ(14, r.bottom);  // 13.66 -> 14
}

TEST(DibPixels, GetFillClearAndClamping) {
    Bitmap b(CreateDibSection24(nullptr, 4, 3));
    ASSERT_EQ(1, ClearDib(b.Get()));
    const RECT r = {-5, 1, 99, 1};  // clamped to row 1
    ASSERT_EQ(1, FillDibRect(b.Get(), &r, RGB(10, 20, 30)));
    EXPECT_EQ(Px(10, 20, 30), GetDibPixel(b.Get(), 0, 1));
    EXPECT_EQ(Px(10, 20, 30), GetDibPixel(b.Get(), 3, 1));
    EXPECT_EQ(Px(0, 0, 0), GetDibPixel(b.Get(), 0, 0));
    EXPECT_EQ(0u, GetDibPixel(b.Get(), 4, 0));
    EXPECT_EQ(0u, GetDibPixel(b.Get(), 0, -1));

    // An empty rect changes nothing and still succeeds.
    const RECT empty = {2, 2, 1, 2};
    EXPECT_EQ(1, FillDibRect(b.Get(), &empty, RGB(255, 255, 255)));
    const RECT outside = {10, 10, 20, 20};
    EXPECT_EQ(1, FillDibRect(b.Get(), &outside, RGB(255, 255, 255)));
    EXPECT_EQ(Px(0, 0, 0), GetDibPixel(b.Get(), 3, 2));

    ASSERT_EQ(1, SetFirstDibPixel(b.Get(), RGB(1, 2, 3)));
    EXPECT_EQ(Px(1, 2, 3), GetDibPixel(b.Get(), 0, 0));  // top-down: memory starts at the top row

    EXPECT_EQ(0, FillDibRect(nullptr, nullptr, 0));
    EXPECT_EQ(0, ClearDib(nullptr));
}

TEST(DibPixels, RowsFollowPixelMemory) {
    // Row 0 is the first row in memory: the top row of our own (top-down) sections.
    Bitmap b(dibtest::CreateBottomUp(2, 3, 24));
    ASSERT_TRUE(b.Get());
    ClearDib(b.Get());
    const RECT first = {0, 0, 1, 0};
    FillDibRect(b.Get(), &first, RGB(200, 0, 0));
    DIBSECTION ds;
    ASSERT_TRUE(dibaccess::GetDibSection(b.Get(), ds));
    const uint8_t* memory = static_cast<const uint8_t*>(ds.dsBm.bmBits);
    EXPECT_EQ(200, memory[2]);
    EXPECT_EQ(0, memory[2 * 8 + 2]);
    EXPECT_EQ(Px(200, 0, 0), GetDibPixel(b.Get(), 1, 0));
}

TEST(DibPixels, XorAndInvert) {
    Bitmap b(CreateDibSection32(nullptr, 2, 1));
    Put(b, 0, 0, 0x0F, 0xF0, 0x00, 0x10);
    Put(b, 1, 0, 1, 2, 3, 4);
    const RECT first = {0, 0, 0, 0};
    ASSERT_EQ(1, XorDibRect(b.Get(), &first, RGB(0xFF, 0xFF, 0x01)));
    EXPECT_EQ(Px(0xF0, 0x0F, 0x01, 0xEF), At(b, 0, 0));
    EXPECT_EQ(Px(1, 2, 3, 4), At(b, 1, 0));

    Bitmap c(CreateDibSection24(nullptr, 1, 1));
    Put(c, 0, 0, 0, 100, 255);
    ASSERT_EQ(1, InvertDibRect(c.Get(), nullptr));
    EXPECT_EQ(Px(255, 155, 0), At(c, 0, 0));
}

TEST(DibPixels, GradientsFollowTheFloatRamp) {
    Bitmap b(CreateDibSection32(nullptr, 2, 3));
    ClearDib(b.Get());
    ASSERT_EQ(1, GradientFillDibRect(b.Get(), nullptr, RGB(0, 200, 10), RGB(200, 0, 11)));
    EXPECT_EQ(Px(0, 200, 10), At(b, 1, 0));
    EXPECT_EQ(Px(100, 100, 10), At(b, 1, 1));  // 10.5 truncates to 10
    EXPECT_EQ(Px(200, 0, 11), At(b, 0, 2));

    Bitmap h(CreateDibSection24(nullptr, 5, 1));
    ASSERT_EQ(1, GradientFillDibRectH(h.Get(), nullptr, RGB(0, 0, 0), RGB(100, 40, 8)));
    EXPECT_EQ(Px(0, 0, 0), At(h, 0, 0));
    EXPECT_EQ(Px(25, 10, 2), At(h, 1, 0));
    EXPECT_EQ(Px(100, 40, 8), At(h, 4, 0));
}

TEST(DibPixels, GradientsAndRampsOnOneRowOrColumn) {
    // A one-row rect has no vertical span and a one-column rect no horizontal one: the ramp
    // keeps its first colour instead of dividing by zero.
    Bitmap b(CreateDibSection32(nullptr, 3, 3));
    ClearDib(b.Get());
    const RECT row = {0, 1, 2, 1};
    ASSERT_EQ(1, GradientFillDibRect(b.Get(), &row, RGB(9, 8, 7), RGB(200, 200, 200)));
    EXPECT_EQ(Px(9, 8, 7), At(b, 2, 1));
    EXPECT_EQ(Px(0, 0, 0, 0), At(b, 2, 0));
    const RECT column = {1, 0, 1, 2};
    ASSERT_EQ(1, GradientFillDibRectH(b.Get(), &column, RGB(1, 2, 3), RGB(90, 90, 90)));
    EXPECT_EQ(Px(1, 2, 3), At(b, 1, 2));
    ASSERT_EQ(1, GradientBlendDibRectH(b.Get(), &column, RGB(255, 255, 255), RGB(0, 0, 0), 255));
    EXPECT_EQ(Px(255, 255, 255), At(b, 1, 0));

    FillDibRect(b.Get(), nullptr, RGB(0, 0, 0));  // alpha 255
    ASSERT_EQ(1, AlphaGradientDibRect(b.Get(), &column, 128, 0));
    EXPECT_EQ(128u, At(b, 1, 1) >> 24);
    Bitmap one(CreateDibSection32(nullptr, 1, 1));
    FillDibRect(one.Get(), nullptr, RGB(0, 0, 0));
    ASSERT_EQ(1, AlphaGradientDibRect(one.Get(), nullptr, 255, 0));
    EXPECT_EQ(255u, At(one, 0, 0) >> 24);
}

TEST(DibPixels, AlphaScalingAndRamps) {
    Bitmap b(CreateDibSection32(nullptr, 3, 1));
    FillDibRect(b.Get(), nullptr, RGB(1, 1, 1));
    ASSERT_EQ(1, AlphaGradientDibRect(b.Get(), nullptr, 0, 255));
    EXPECT_EQ(0u, At(b, 0, 0) >> 24);
    EXPECT_EQ(127u, At(b, 1, 0) >> 24);
    EXPECT_EQ(255u, At(b, 2, 0) >> 24);

    Put(b, 0, 0, 0, 0, 0, 200);
    const RECT first = {0, 0, 0, 0};
    ASSERT_EQ(1, ScaleAlphaDibRect(b.Get(), &first, 0x1280));  // only the low byte counts
    EXPECT_EQ(100u, At(b, 0, 0) >> 24);

    Bitmap b24(CreateDibSection24(nullptr, 1, 1));
    EXPECT_EQ(0, ScaleAlphaDibRect(b24.Get(), nullptr, 10));
    EXPECT_EQ(0, AlphaGradientDibRect(b24.Get(), nullptr, 10, 20));
}

TEST(DibPixels, GradientBlendMixesWithOpacity) {
    Bitmap b(CreateDibSection24(nullptr, 2, 1));
    FillDibRect(b.Get(), nullptr, RGB(100, 100, 100));
    ASSERT_EQ(1, GradientBlendDibRectH(b.Get(), nullptr, RGB(200, 0, 100), RGB(0, 200, 100), 0x33));
    // o = 51: (g * 51 + 100 * 204) / 255
    EXPECT_EQ(Px(120, 80, 100), At(b, 0, 0));
    EXPECT_EQ(Px(80, 120, 100), At(b, 1, 0));
}

TEST(DibPixels, ThresholdsByLuminance) {
    Bitmap b(CreateDibSection24(nullptr, 3, 1));
    Put(b, 0, 0, 10, 10, 10);    // luminance 2550
    Put(b, 1, 0, 100, 100, 100); // 25500
    Put(b, 2, 0, 250, 250, 250); // 63750
    ASSERT_EQ(1, ThresholdDib(b.Get(), RGB(0, 0, 0), RGB(255, 255, 255), 25500));
    EXPECT_EQ(Px(0, 0, 0), At(b, 0, 0));
    EXPECT_EQ(Px(255, 255, 255), At(b, 1, 0));  // not below the threshold

    Put(b, 0, 0, 10, 10, 10);
    Put(b, 1, 0, 100, 100, 100);
    Put(b, 2, 0, 250, 250, 250);
    ASSERT_EQ(1, BandThresholdDibByColor(b.Get(), RGB(1, 1, 1), RGB(2, 2, 2), RGB(50, 50, 50), RGB(100, 100, 100)));
    EXPECT_EQ(Px(1, 1, 1), At(b, 0, 0));
    EXPECT_EQ(Px(2, 2, 2), At(b, 1, 0));
    EXPECT_EQ(Px(1, 1, 1), At(b, 2, 0));
    ASSERT_EQ(1, ThresholdDibByColor(b.Get(), RGB(7, 7, 7), RGB(9, 9, 9), RGB(2, 2, 2)));
    EXPECT_EQ(Px(7, 7, 7), At(b, 0, 0));
    EXPECT_EQ(Px(9, 9, 9), At(b, 1, 0));
}

TEST(DibPixels, ReplaceColourMovesTheOthers) {
    Bitmap b(CreateDibSection32(nullptr, 3, 1));
    Put(b, 0, 0, 10, 20, 30, 7);
    Put(b, 1, 0, 100, 100, 100, 9);
    Put(b, 2, 0, 250, 5, 100, 9);
    ASSERT_EQ(1, ReplaceDibColor(b.Get(), 0x80, RGB(10, 20, 30), RGB(210, 0, 30)));
    EXPECT_EQ(Px(210, 0, 30), At(b, 0, 0));
    // shifts: red +200 * 128 / 255 = 100, green -20 * 128 / 255 = -10, blue 0
    EXPECT_EQ(Px(200, 90, 100, 9), At(b, 1, 0));
    EXPECT_EQ(Px(255, 0, 100, 9), At(b, 2, 0));  // clamped

    Put(b, 1, 0, 100, 100, 100, 9);
    ASSERT_EQ(1, ReplaceDibColor(b.Get(), 0, RGB(1, 1, 1), RGB(2, 2, 2)));
    EXPECT_EQ(Px(100, 100, 100, 9), At(b, 1, 0));
}

TEST(DibPixels, BevelFrameCornersAndFill) {
    Bitmap b(CreateDibSection24(nullptr, 4, 4));
    ClearDib(b.Get());
    const COLORREF light = RGB(255, 255, 255), dark = RGB(50, 50, 50), fill = RGB(1, 2, 3);
    ASSERT_EQ(1, DrawBevelFrame(b.Get(), nullptr, fill, light, dark, 1));
    EXPECT_EQ(Px(255, 255, 255), At(b, 0, 0));
    EXPECT_EQ(Px(50, 50, 50), At(b, 3, 0));
    EXPECT_EQ(Px(255, 255, 255), At(b, 0, 3));
    EXPECT_EQ(Px(50, 50, 50), At(b, 3, 3));
    EXPECT_EQ(Px(1, 2, 3), At(b, 1, 1));
    EXPECT_EQ(Px(1, 2, 3), At(b, 2, 2));

    ClearDib(b.Get());
    ASSERT_EQ(1, DrawBevelFrame(b.Get(), nullptr, 0xFFFFFFFF, light, dark, 1));
    EXPECT_EQ(Px(0, 0, 0), At(b, 1, 1));

    Bitmap pattern(CreateDibSection24(nullptr, 1, 1));
    FillDibRect(pattern.Get(), nullptr, RGB(9, 9, 9));
    ASSERT_EQ(1, DrawBevelPanel(b.Get(), nullptr, fill, light, dark, 1, pattern.Get(), 255));
    EXPECT_EQ(Px(9, 9, 9), At(b, 2, 1));
    EXPECT_EQ(Px(255, 255, 255), At(b, 0, 1));
}

TEST(DibPixels, GreyCopyAndCombinedAlpha) {
    Bitmap b(CreateDibSection32(nullptr, 2, 1));
    Put(b, 0, 0, 255, 0, 0, 77);
    Put(b, 1, 0, 255, 255, 255, 5);
    Bitmap g(MakeGreyCopy(b.Get()));
    ASSERT_TRUE(g.Get());
    EXPECT_EQ(Px(76, 76, 76, 77), At(g, 0, 0));
    EXPECT_EQ(Px(255, 255, 255, 5), At(g, 1, 0));

    Bitmap colour(CreateDibSection24(nullptr, 2, 1));
    Bitmap mask(CreateDibSection24(nullptr, 2, 1));
    Put(colour, 0, 0, 1, 2, 3);
    Put(colour, 1, 0, 4, 5, 6);
    Put(mask, 0, 0, 0, 0, 200);
    Put(mask, 1, 0, 255, 255, 10);
    Bitmap joined(CombineColorAndAlpha(colour.Get(), mask.Get()));
    ASSERT_TRUE(joined.Get());
    EXPECT_EQ(Px(1, 2, 3, 200), At(joined, 0, 0));
    EXPECT_EQ(Px(4, 5, 6, 10), At(joined, 1, 0));

    Bitmap other(CreateDibSection24(nullptr, 3, 1));
    EXPECT_FALSE(CombineColorAndAlpha(colour.Get(), other.Get()));
}

TEST(DibTransition, BlendStepByMask) {
    Bitmap dst(CreateDibSection24(nullptr, 4, 1));
    Bitmap src(CreateDibSection24(nullptr, 4, 1));
    Bitmap mask(CreateDibSection24(nullptr, 4, 1));
    FillDibRect(dst.Get(), nullptr, RGB(0, 0, 0));
    FillDibRect(src.Get(), nullptr, RGB(200, 200, 200));
    const int reds[4] = {5, 10, 12, 30};
    for (int x = 0; x < 4; ++x) Put(mask, x, 0, static_cast<uint8_t>(reds[x]), 255, 255);

    ASSERT_EQ(1, BlendTransitionStep(dst.Get(), src.Get(), mask.Get(), 10, 4, 3));
    EXPECT_EQ(Px(200, 200, 200), At(dst, 0, 0));  // d < 0: source
    EXPECT_EQ(Px(200, 200, 200), At(dst, 1, 0));  // d = 0: C = 0, all source
    EXPECT_EQ(Px(100, 100, 100), At(dst, 2, 0));  // d = 2: C = 128
    EXPECT_EQ(Px(0, 0, 0), At(dst, 3, 0));        // beyond the edge

    // Flag 1 alone rounds and leaves d <= 0 alone.
    FillDibRect(dst.Get(), nullptr, RGB(0, 0, 0));
    ASSERT_EQ(1, BlendTransitionStep(dst.Get(), src.Get(), mask.Get(), 11, 4, 1));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 0, 0));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 1, 0));
    EXPECT_EQ(Px(150, 150, 150), At(dst, 2, 0));  // C = 64: (192 * 200 + 128) >> 8

    // Flag 2 alone copies everything; neither flag copies nothing.
    FillDibRect(dst.Get(), nullptr, RGB(0, 0, 0));
    ASSERT_EQ(1, BlendTransitionStep(dst.Get(), src.Get(), mask.Get(), 0, 4, 0));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 3, 0));
    ASSERT_EQ(1, BlendTransitionStep(dst.Get(), src.Get(), mask.Get(), 0, 4, 2));
    EXPECT_EQ(Px(200, 200, 200), At(dst, 3, 0));
}

TEST(DibTransition, DegenerateInputs) {
    Bitmap dst(CreateDibSection24(nullptr, 3, 2));
    Bitmap src(CreateDibSection24(nullptr, 3, 2));
    Bitmap mask(CreateDibSection24(nullptr, 1, 1));  // smaller than the pictures
    FillDibRect(dst.Get(), nullptr, RGB(0, 0, 0));
    FillDibRect(src.Get(), nullptr, RGB(9, 9, 9));
    FillDibRect(mask.Get(), nullptr, RGB(5, 0, 0));
    // Edge width 0: no soft band and no division.
    ASSERT_EQ(1, BlendTransitionStep(dst.Get(), src.Get(), mask.Get(), 5, 0, 3));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 0, 0));
    ASSERT_EQ(1, BlendTransitionStep(dst.Get(), src.Get(), mask.Get(), 6, 0, 3));
    EXPECT_EQ(Px(9, 9, 9), At(dst, 0, 0));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 1, 0));  // outside the mask
    EXPECT_EQ(Px(0, 0, 0), At(dst, 0, 1));

    Bitmap d32(CreateDibSection32(nullptr, 3, 2));
    FillDibRect(d32.Get(), nullptr, RGB(1, 1, 1));
    EXPECT_EQ(0, BlendTransitionStep(d32.Get(), src.Get(), mask.Get(), 255, 4, 3));
    EXPECT_EQ(Px(1, 1, 1), At(d32, 0, 0));
}
