// The 16-bit HLS model and the colour adjustments built on it.
#include <gtest/gtest.h>

#include "imaging/DibColorModel.h"
#include "tests/filters/DibTestUtil.h"

using dibtest::At;
using dibtest::Bitmap;
using dibtest::Put;
using dibtest::Px;

TEST(HlsModel, KnownColours) {
    int h, l, s;
    RgbToHls(RGB(255, 0, 0), &h, &l, &s);
    EXPECT_EQ(0, h);
    EXPECT_EQ(32768, l);
    EXPECT_EQ(65535, s);
    RgbToHls(RGB(0, 255, 0), &h, &l, &s);
    EXPECT_EQ(21845, h);
    RgbToHls(RGB(0, 0, 255), &h, &l, &s);
    EXPECT_EQ(43690, h);
    for (int v : {0, 1, 128, 255}) {
        RgbToHls3(v, v, v, &h, &l, &s);
        EXPECT_EQ(43690, h);
        EXPECT_EQ(0, s);
        EXPECT_EQ(static_cast<uint32_t>(RGB(v, v, v)), HlsToColor(h, l, s));
    }
    // A hue below red wraps around the circle.
    RgbToHls(RGB(255, 0, 10), &h, &l, &s);
    EXPECT_GT(h, 60000);
}

TEST(HlsModel, RoundTripsAndTriples) {
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                                RGB(12, 200, 99), RGB(250, 128, 3), RGB(1, 2, 3)};
    for (COLORREF c : colours) {
        int h, l, s;
        RgbToHls(c, &h, &l, &s);
        const uint32_t back = HlsToColor(h, l, s);
        EXPECT_NEAR(GetRValue(c), GetRValue(back), 1) << std::hex << c;
        EXPECT_NEAR(GetGValue(c), GetGValue(back), 1) << std::hex << c;
        EXPECT_NEAR(GetBValue(c), GetBValue(back), 1) << std::hex << c;
        BYTE t[3];
        HlsToTriple(h, l, s, t);
        EXPECT_EQ(GetBValue(back), t[0]);
        EXPECT_EQ(GetRValue(back), t[2]);
    }
    EXPECT_EQ(static_cast<uint32_t>(RGB(255, 0, 0)), HlsToColor(0, 32768, 65535));
}

TEST(HlsModel, ColourAdjustments) {
    EXPECT_EQ(static_cast<uint32_t>(RGB(63, 63, 63)), DarkenColorQuarter(RGB(255, 255, 255)));
    EXPECT_EQ(static_cast<uint32_t>(RGB(127, 127, 127)), AdjustColorLightness(-500, RGB(255, 255, 255)));
    EXPECT_EQ(static_cast<uint32_t>(RGB(255, 255, 255)), AdjustColorLightness(2000, RGB(3, 3, 3)));
    EXPECT_EQ(static_cast<uint32_t>(RGB(0, 0, 0)), AdjustColorLightness(-2000, RGB(200, 3, 3)));
    // Saturation 0 leaves the grey of the colour's lightness.
    const uint32_t grey = SetColorSaturation(RGB(255, 0, 0), 0);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetRValue(grey), GetBValue(grey));
    int dh, dl, ds;
    GetHlsDifference(RGB(0, 255, 0), RGB(255, 0, 0), &dh, &dl, &ds);
    EXPECT_EQ(21845, dh);
    EXPECT_EQ(0, dl);
    EXPECT_EQ(0, ds);
}

TEST(HlsModel, BitmapAdjustments) {
    Bitmap b(CreateDibSection32(nullptr, 3, 1));
    Put(b, 0, 0, 255, 0, 0, 17);
    Put(b, 1, 0, 0, 0, 0, 18);
    Put(b, 2, 0, 255, 255, 255, 19);
    ASSERT_EQ(1, AdjustDibHls(b.Get(), 0, 0, 0));
    EXPECT_EQ(Px(255, 0, 0, 17), At(b, 0, 0));
    ASSERT_EQ(1, AdjustDibHls(b.Get(), 21845, 0, 0));  // red turns green, alpha kept
    EXPECT_EQ(Px(0, 255, 0, 17), At(b, 0, 0));
    ASSERT_EQ(1, AdjustDibHls(b.Get(), 0, -70000, 0));
    EXPECT_EQ(Px(0, 0, 0, 17), At(b, 0, 0));

    Put(b, 2, 0, 255, 255, 255, 19);
    ASSERT_EQ(1, ColorizeDib(b.Get(), RGB(255, 0, 0)));
    EXPECT_EQ(Px(16, 0, 0, 255), At(b, 1, 0));       // black: lightness 2048
    EXPECT_EQ(Px(255, 255, 255, 255), At(b, 2, 0));  // white passes the top: stays white

    Bitmap grey(CreateDibSection8Grey(nullptr, 1, 1));
    EXPECT_EQ(0, ColorizeDib(grey.Get(), 0));
    EXPECT_EQ(0, AdjustDibHls(nullptr, 0, 0, 0));
}
