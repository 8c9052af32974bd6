// Regions made from bitmaps, and supersampled rotation.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/DibRegion.h"
#include "imaging/DibRotate.h"
#include "tests/filters/DibTestUtil.h"

using dibtest::At;
using dibtest::Bitmap;
using dibtest::Put;
using dibtest::Px;

namespace {

class Region {
public:
    explicit Region(HRGN r) : r_(r) {}
    ~Region() {
        if (r_) DeleteObject(r_);
    }
    HRGN Get() const { return r_; }

private:
    HRGN r_;
};

}  // namespace

TEST(DibRegions, TransparentPixelsAreLeftOut) {
    Bitmap b(CreateDibSection24(nullptr, 4, 3));
    FillDibRect(b.Get(), nullptr, RGB(10, 10, 10));
    Put(b, 1, 1, 255, 0, 255);  // the key
    Put(b, 2, 1, 250, 3, 252);  // within the tolerance
    Put(b, 3, 1, 240, 0, 255);  // outside it
    Region r(BitmapToRegion(b.Get(), 0xFF00FF, 0));
    ASSERT_TRUE(r.Get());
    EXPECT_TRUE(PtInRegion(r.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(r.Get(), 3, 2));
    EXPECT_FALSE(PtInRegion(r.Get(), 1, 1));
    EXPECT_TRUE(PtInRegion(r.Get(), 2, 1));
    EXPECT_FALSE(PtInRegion(r.Get(), 4, 0));

    // The key range is key .. key + tolerance per byte, capped at 255.
    Region tolerant(BitmapToRegion(b.Get(), 0xF000F0, 0x0F0F0F));
    EXPECT_FALSE(PtInRegion(tolerant.Get(), 1, 1));
    EXPECT_FALSE(PtInRegion(tolerant.Get(), 2, 1));
    EXPECT_FALSE(PtInRegion(tolerant.Get(), 3, 1));
    EXPECT_TRUE(PtInRegion(tolerant.Get(), 0, 1));

    Region whole(BitmapToRegion(b.Get(), 0x000001, 0));  // no pixel matches
    RECT box;
    ASSERT_NE(ERROR, GetRgnBox(whole.Get(), &box));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(4, box.right);
    EXPECT_EQ(3, box.bottom);
    EXPECT_FALSE(BitmapToRegion(nullptr, 0, 0));
}

TEST(DibRegions, ManyRunsAreFlushedInBatches) {
    // A checkerboard row gives one rectangle per pixel: well over the 2000 of one batch.
    Bitmap b(CreateDibSection24(nullptr, 200, 30));
    FillDibRect(b.Get(), nullptr, RGB(255, 0, 255));
    for (int y = 0; y < 30; ++y)
        for (int x = (y & 1); x < 200; x += 2) Put(b, x, y, 0, 0, 0);
    Region r(BitmapToRegion(b.Get(), 0xFF00FF, 0));
    ASSERT_TRUE(r.Get());
    EXPECT_TRUE(PtInRegion(r.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(r.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(r.Get(), 199, 29));
    EXPECT_FALSE(PtInRegion(r.Get(), 198, 29));
}

TEST(DibRegions, SkinKeepsTheCornerShapes) {
    Bitmap skin(CreateDibSection24(nullptr, 4, 4));
    FillDibRect(skin.Get(), nullptr, RGB(0, 0, 0));
    Put(skin, 0, 0, 255, 0, 255);
    Put(skin, 3, 3, 255, 0, 255);
    Region r(SkinRegionFromQuadrants(skin.Get(), 0xFF00FF, 10, 8, 0));
    ASSERT_TRUE(r.Get());
    EXPECT_FALSE(PtInRegion(r.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(r.Get(), 9, 7));
    EXPECT_TRUE(PtInRegion(r.Get(), 9, 0));
    EXPECT_TRUE(PtInRegion(r.Get(), 0, 7));
    EXPECT_TRUE(PtInRegion(r.Get(), 5, 4));
    EXPECT_FALSE(PtInRegion(r.Get(), 10, 4));
}

TEST(DibRotation, ZeroAngleReproducesTheSource) {
    Bitmap b(CreateDibSection24(nullptr, 3, 2));
    Put(b, 0, 0, 1, 2, 3);
    Put(b, 1, 0, 4, 5, 6);
    Put(b, 2, 0, 7, 8, 9);
    Put(b, 0, 1, 10, 11, 12);
    Put(b, 1, 1, 13, 14, 15);
    Put(b, 2, 1, 16, 17, 18);
    for (bool fixed : {false, true}) {
        POINT p = {1, 1};
        Bitmap r(fixed ? RotateBitmapFixed(b.Get(), 0.0f, &p) : RotateBitmap(b.Get(), 0.0f, &p));
        ASSERT_TRUE(r.Get());
        const dibk::DibView v = r.View();
        EXPECT_EQ(32, v.bpp);
        EXPECT_EQ(3, v.width);
        EXPECT_EQ(2, v.height);
        EXPECT_EQ(Px(1, 2, 3), At(r, 0, 0));
        EXPECT_EQ(Px(16, 17, 18), At(r, 2, 1));
        EXPECT_EQ(0, p.x);  // no turn: the picture stays where it was
        EXPECT_EQ(0, p.y);
    }
}

TEST(DibRotation, QuarterTurnSwapsTheSides) {
    Bitmap b(CreateDibSection32(nullptr, 8, 4));
    FillDibRect(b.Get(), nullptr, RGB(200, 100, 50));
    const float quarter = static_cast<float>(std::acos(-1.0) / 2);
    Bitmap r(RotateBitmap(b.Get(), quarter, nullptr));
    ASSERT_TRUE(r.Get());
    const dibk::DibView v = r.View();
    EXPECT_NEAR(4, v.width, 1);
    EXPECT_NEAR(8, v.height, 1);
    EXPECT_EQ(Px(200, 100, 50), At(r, v.width / 2, v.height / 2));

    Bitmap f(RotateBitmapFixed(b.Get(), quarter, nullptr));
    ASSERT_TRUE(f.Get());
    EXPECT_EQ(Px(200, 100, 50), At(f, f.View().width / 2, f.View().height / 2));

    Bitmap grey(CreateDibSection8Grey(nullptr, 4, 4));
    EXPECT_FALSE(RotateBitmap(grey.Get(), quarter, nullptr));
    EXPECT_FALSE(RotateBitmap(nullptr, quarter, nullptr));

    // A 1 x 1 picture turned still gives a picture (or nothing), never a crash.
    Bitmap one(CreateDibSection24(nullptr, 1, 1));
    HBITMAP small = RotateBitmap(one.Get(), 0.3f, nullptr);
    if (small) DeleteObject(small);
}
