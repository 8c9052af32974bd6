// Copies between DIB sections: clipping, blending per depth, keys, tiling and nine-grid skins.
#include <gtest/gtest.h>

#include "tests/filters/DibTestUtil.h"

using dibtest::At;
using dibtest::Bitmap;
using dibtest::Put;
using dibtest::Px;

namespace {

// A w x 1 24-bit strip whose column x has red = x * 10.
HBITMAP Strip(int w) {
    HBITMAP b = CreateDibSection24(nullptr, w, 1);
    dibk::DibView v;
    dibaccess::GetDibView(b, v);
    for (int x = 0; x < w; ++x) {
        uint8_t* p = v.Pixel(x, 0);
        p[0] = 0;
        p[1] = 0;
        p[2] = static_cast<uint8_t>(x * 10);
    }
    return b;
}

}  // namespace

TEST(DibCopy, ClippingAtEveryEdge) {
    Bitmap src(Strip(10));
    Bitmap dst(CreateDibSection24(nullptr, 4, 1));
    ClearDib(dst.Get());

    POINT pos = {-5, 0};
    ASSERT_EQ(1, CopyDibRect(dst.Get(), &pos, src.Get(), nullptr));
    EXPECT_EQ(Px(50, 0, 0), At(dst, 0, 0));  // the sixth column lands in column 0
    EXPECT_EQ(Px(80, 0, 0), At(dst, 3, 0));

    // A source rect starting left of the source moves the position right, and the caller sees it.
    ClearDib(dst.Get());
    pos = {0, 0};
    const RECT before = {-2, 0, 1, 0};
    ASSERT_EQ(1, CopyDibRect(dst.Get(), &pos, src.Get(), &before));
    EXPECT_EQ(2, pos.x);
    EXPECT_EQ(Px(0, 0, 0), At(dst, 1, 0));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 2, 0));
    EXPECT_EQ(Px(10, 0, 0), At(dst, 3, 0));

    // Wholly outside: refused.
    pos = {4, 0};
    EXPECT_EQ(0, CopyDibRect(dst.Get(), &pos, src.Get(), nullptr));
    pos = {-10, 0};
    EXPECT_EQ(0, CopyDibRect(dst.Get(), &pos, src.Get(), nullptr));
    pos = {0, 1};
    EXPECT_EQ(0, CopyDibRect(dst.Get(), &pos, src.Get(), nullptr));
    const RECT empty = {3, 0, 2, 0};
    EXPECT_EQ(0, CopyDibRect(dst.Get(), nullptr, src.Get(), &empty));

    // The right end is cut to the destination.
    ClearDib(dst.Get());
    pos = {3, 0};
    const RECT tail = {7, 0, 9, 0};
    ASSERT_EQ(1, CopyDibRect(dst.Get(), &pos, src.Get(), &tail));
    EXPECT_EQ(Px(70, 0, 0), At(dst, 3, 0));
    EXPECT_EQ(Px(0, 0, 0), At(dst, 2, 0));
}

TEST(DibCopy, BlendingPerDepth) {
    Bitmap s32(CreateDibSection32(nullptr, 1, 1));
    Bitmap d24(CreateDibSection24(nullptr, 1, 1));
    Bitmap d32(CreateDibSection32(nullptr, 1, 1));
    Put(s32, 0, 0, 200, 100, 0, 51);
    Put(d24, 0, 0, 0, 100, 255);
    ASSERT_EQ(1, CopyDibRect(d24.Get(), nullptr, s32.Get(), nullptr));
    EXPECT_EQ(Px(40, 100, 204), At(d24, 0, 0));  // (s * 51 + d * 204) / 255

    ASSERT_EQ(1, CopyDibRect(d32.Get(), nullptr, s32.Get(), nullptr));
    EXPECT_EQ(Px(200, 100, 0, 51), At(d32, 0, 0));

    Bitmap s24(CreateDibSection24(nullptr, 1, 1));
    Put(s24, 0, 0, 1, 2, 3);
    Put(d32, 0, 0, 0, 0, 0, 9);
    ASSERT_EQ(1, CopyDibRect(d32.Get(), nullptr, s24.Get(), nullptr));
    EXPECT_EQ(Px(1, 2, 3, 255), At(d32, 0, 0));
}

TEST(DibCopy, OpacityAndKeys) {
    Bitmap s24(CreateDibSection24(nullptr, 2, 1));
    Put(s24, 0, 0, 255, 0, 255);  // the key
    Put(s24, 1, 0, 255, 255, 255);
    Bitmap d24(CreateDibSection24(nullptr, 2, 1));
    FillDibRect(d24.Get(), nullptr, RGB(0, 0, 0));
    ASSERT_EQ(1, CopyDibRectKeyed(d24.Get(), nullptr, s24.Get(), nullptr, RGB(255, 0, 255)));
    EXPECT_EQ(Px(0, 0, 0), At(d24, 0, 0));
    EXPECT_EQ(Px(255, 255, 255), At(d24, 1, 0));

    FillDibRect(d24.Get(), nullptr, RGB(0, 0, 0));
    ASSERT_EQ(1, CopyDibRectOpacity(d24.Get(), nullptr, s24.Get(), nullptr, 0x100 | 102));
    EXPECT_EQ(Px(102, 102, 102), At(d24, 1, 0));
    FillDibRect(d24.Get(), nullptr, RGB(0, 0, 0));
    ASSERT_EQ(1, CopyDibRectOpacityKeyed(d24.Get(), nullptr, s24.Get(), nullptr, 102, RGB(255, 0, 255)));
    EXPECT_EQ(Px(0, 0, 0), At(d24, 0, 0));
    EXPECT_EQ(Px(102, 102, 102), At(d24, 1, 0));

    // From 32 bits the source alpha is scaled by the opacity and the destination alpha blended.
    Bitmap s32(CreateDibSection32(nullptr, 1, 1));
    Bitmap d32(CreateDibSection32(nullptr, 1, 1));
    Put(s32, 0, 0, 255, 255, 255, 255);
    Put(d32, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(1, CopyDibRectOpacityKeyed(d32.Get(), nullptr, s32.Get(), nullptr, 51, RGB(255, 255, 255)));
    // a = 51: colour 51, alpha (0 * 204 + 51 * 255) / 255 = 51; the key is ignored for 32 bits
    EXPECT_EQ(Px(51, 51, 51, 51), At(d32, 0, 0));

    EXPECT_EQ(0, CopyDibRectKeyed(d32.Get(), nullptr, s32.Get(), nullptr, 0));
}

namespace {
int g_calls = 0;
int g_lastX = -1;
void CountAndMark(BYTE* src, BYTE* dst, int x, int, int w, int) {
    ++g_calls;
    g_lastX = x;
    dst[0] = static_cast<BYTE>(src[2] + w);
}
}  // namespace

TEST(DibCopy, ForEachPixelVisitsTheClippedArea) {
    Bitmap src(Strip(5));
    Bitmap dst(CreateDibSection24(nullptr, 3, 1));
    ClearDib(dst.Get());
    POINT pos = {-1, 0};
    ASSERT_EQ(1, ForEachDibPixel(dst.Get(), &pos, src.Get(), nullptr, CountAndMark));
    EXPECT_EQ(3, g_calls);
    EXPECT_EQ(3, g_lastX);
    EXPECT_EQ(10 + 5, static_cast<int>(At(dst, 0, 0) & 0xFF));
}

TEST(DibCopy, TilingCutsTheLastTiles) {
    Bitmap pattern(CreateDibSection24(nullptr, 2, 2));
    Put(pattern, 0, 0, 1, 0, 0);
    Put(pattern, 1, 0, 2, 0, 0);
    Put(pattern, 0, 1, 3, 0, 0);
    Put(pattern, 1, 1, 4, 0, 0);
    Bitmap dst(CreateDibSection24(nullptr, 5, 3));
    ClearDib(dst.Get());
    ASSERT_EQ(1, TileDibRect(dst.Get(), nullptr, pattern.Get(), 255));
    EXPECT_EQ(Px(1, 0, 0), At(dst, 4, 0));
    EXPECT_EQ(Px(2, 0, 0), At(dst, 3, 0));
    EXPECT_EQ(Px(4, 0, 0), At(dst, 3, 1));
    EXPECT_EQ(Px(1, 0, 0), At(dst, 2, 2));

    Bitmap tiled(TileBitmapToNew(pattern.Get(), 3, 3));
    ASSERT_TRUE(tiled.Get());
    EXPECT_EQ(Px(1, 0, 0), At(tiled, 2, 2));
    EXPECT_EQ(Px(3, 0, 0), At(tiled, 0, 1));
}

TEST(DibCopy, NineGridSkins) {
    // A 3 x 3 skin: each cell one pixel with red = cell number.
    Bitmap skin(CreateDibSection24(nullptr, 3, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) Put(skin, x, y, static_cast<uint8_t>(10 + y * 3 + x), 0, 0);
    Bitmap dst(CreateDibSection24(nullptr, 5, 4));
    ClearDib(dst.Get());
    ASSERT_EQ(1, PaintNineGrid(dst.Get(), nullptr, skin.Get()));
    EXPECT_EQ(Px(10, 0, 0), At(dst, 0, 0));
    EXPECT_EQ(Px(12, 0, 0), At(dst, 4, 0));
    EXPECT_EQ(Px(16, 0, 0), At(dst, 0, 3));
    EXPECT_EQ(Px(18, 0, 0), At(dst, 4, 3));
    EXPECT_EQ(Px(11, 0, 0), At(dst, 2, 0));
    EXPECT_EQ(Px(17, 0, 0), At(dst, 3, 3));
    EXPECT_EQ(Px(13, 0, 0), At(dst, 0, 2));
    EXPECT_EQ(Px(15, 0, 0), At(dst, 4, 1));
    EXPECT_EQ(Px(14, 0, 0), At(dst, 2, 2));

    // The solid-centre variant fills with the skin's middle pixel.
    FillDibRect(skin.Get(), nullptr, RGB(0, 0, 0));
    Put(skin, 1, 1, 99, 0, 0);
    ClearDib(dst.Get());
    ASSERT_EQ(1, PaintNineGridOpacity(dst.Get(), nullptr, skin.Get(), 255));
    EXPECT_EQ(Px(99, 0, 0), At(dst, 3, 2));

    // A rect reaching far outside the bitmap is clipped, not walked tile by tile.
    const RECT huge = {-2000000000, -2000000000, 2000000000, 2000000000};
    EXPECT_EQ(1, PaintNineGrid(dst.Get(), &huge, skin.Get()));
    EXPECT_EQ(1, TileDibRect(dst.Get(), &huge, skin.Get(), 128));

    // Smaller than two cells: refused.
    Bitmap tiny(CreateDibSection24(nullptr, 1, 4));
    EXPECT_EQ(0, PaintNineGrid(tiny.Get(), nullptr, skin.Get()));
}
