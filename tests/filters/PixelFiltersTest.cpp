// Grey, alpha, threshold, crop, rotate, video invert and the HSV model.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/FilterCrop.h"
#include "imaging/FilterGetAlpha.h"
#include "imaging/FilterGrayscale.h"
#include "imaging/FilterRotate.h"
#include "imaging/FilterThreshold.h"
#include "imaging/HsvModel.h"
#include "imaging/TextException.h"
#include "imaging/VideoInvertFilter.h"
#include "tests/filters/BmpTestUtil.h"

using bmptest::Rgb;
using bmptest::Rgba;

TEST(PixelFilters, GreyAlphaAndThreshold) {
    CAnyBmp src;
    bmptest::Fill32(src, 3, 1, {{255, 0, 0, 7}, {0, 255, 0, 8}, {0, 0, 255, 9}}, true);
    CAnyBmp grey;
    CFilterGrayscale().Apply(&src, &grey);
    ASSERT_EQ(8, grey.GetBitsPerPixel());
    EXPECT_FALSE(grey.HasAlpha());
    EXPECT_EQ(54u, grey.GetPixel(0, 0));
    EXPECT_EQ(182u, grey.GetPixel(1, 0));
    EXPECT_EQ(18u, grey.GetPixel(2, 0));
    EXPECT_EQ(PLMakePixel(200, 200, 200, 255), grey.GetPalette()[200]);

    CAnyBmp alpha;
    CFilterGetAlpha().Apply(&src, &alpha);
    EXPECT_EQ(7u, alpha.GetPixel(0, 0));
    EXPECT_EQ(9u, alpha.GetPixel(2, 0));

    CAnyBmp reds;
    bmptest::Fill32(reds, 4, 1, {{10, 0, 0, 0}, {15, 0, 0, 0}, {20, 0, 0, 0}, {11, 0, 0, 0}});
    CAnyBmp band;
    CFilterThreshold(0x10A, 20, 2).Apply(&reds, &band);  // only the low byte of a bound counts
    EXPECT_EQ(0u, band.GetPixel(0, 0));
    EXPECT_EQ(15u, band.GetPixel(1, 0));
    EXPECT_EQ(0u, band.GetPixel(2, 0));
    EXPECT_EQ(11u, band.GetPixel(3, 0));

    CAnyBmp eight;
    eight.Create(2, 2, 8, false);
    EXPECT_THROW(CFilterGrayscale().Apply(&eight, &grey), CTextException);
}

TEST(PixelFilters, CropCopiesTheRectangle) {
    CAnyBmp src;
    bmptest::Fill32(src, 3, 2, {{1, 0, 0, 1}, {2, 0, 0, 2}, {3, 0, 0, 3}, {4, 0, 0, 4}, {5, 0, 0, 5}, {6, 0, 0, 6}}, true);
    CAnyBmp whole;
    CFilterCrop(0, 3, 0, 2).Apply(&src, &whole);
    EXPECT_TRUE(whole == src);

    CAnyBmp part;
    CFilterCrop(1, 3, 1, 2).Apply(&src, &part);
    ASSERT_EQ(2, part.GetWidth());
    ASSERT_EQ(1, part.GetHeight());
    EXPECT_TRUE(part.HasAlpha());
    EXPECT_EQ(PLMakePixel(5, 0, 0, 5), part.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(6, 0, 0, 6), part.GetPixel(1, 0));

    CAnyBmp indexed;
    indexed.Create(4, 1, 8, false);
    for (int x = 0; x < 4; ++x) indexed.SetPixel(x, 0, static_cast<PLPixel32>(x * 10));
    indexed.SetPaletteEntry(30, 1, 2, 3, 255);
    CAnyBmp piece;
    CFilterCrop(3, 4, 0, 1).Apply(&indexed, &piece);
    EXPECT_EQ(30u, piece.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(1, 2, 3, 255), piece.GetPalette()[30]);

    EXPECT_THROW(CFilterCrop(0, 4, 0, 2).Apply(&src, &part), CTextException);
    EXPECT_THROW(CFilterCrop(-1, 2, 0, 2).Apply(&src, &part), CTextException);
    EXPECT_THROW(CFilterCrop(2, 2, 0, 2).Apply(&src, &part), CTextException);  // zero width

    CFilterCrop(1, 2, 0, 1).ApplyInPlace(&src);
    EXPECT_EQ(1, src.GetWidth());
    EXPECT_EQ(PLMakePixel(2, 0, 0, 2), src.GetPixel(0, 0));
}

TEST(PixelFilters, RotateKeepsSizeAtZeroAndFillsCorners) {
    CAnyBmp src;
    bmptest::Fill32(src, 3, 2, {{1, 0, 0, 255}, {2, 0, 0, 255}, {3, 0, 0, 255}, {4, 0, 0, 255}, {5, 0, 0, 255}, {6, 0, 0, 255}});
    CAnyBmp same;
    CFilterRotate(0.0, 0).Apply(&src, &same);
    EXPECT_TRUE(same == src);

    CAnyBmp square;
    bmptest::Solid32(square, 4, 4, Rgba{9, 9, 9, 255});
    CAnyBmp turned;
    const double quarterPi = std::atan(1.0);
    CFilterRotate(quarterPi, static_cast<int32_t>(PLMakePixel(1, 2, 3, 4))).Apply(&square, &turned);
    EXPECT_EQ(5, turned.GetWidth());
    EXPECT_EQ(4, turned.GetHeight());
    EXPECT_EQ(PLMakePixel(1, 2, 3, 4), turned.GetPixel(0, 3));
    EXPECT_EQ(PLMakePixel(9, 9, 9, 255), turned.GetPixel(2, 1));

    // 1- and 8-bit pictures keep their format and palette; the fill is the nearest entry.
    CAnyBmp bits;
    bits.Create(10, 3, 1, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) bits.SetPixel(x, y, (x + y) % 2);
    CAnyBmp bitsSame;
    CFilterRotate(0.0, 0).Apply(&bits, &bitsSame);
    EXPECT_EQ(1, bitsSame.GetBitsPerPixel());
    EXPECT_TRUE(bitsSame == bits);

    CAnyBmp indexed;
    indexed.Create(4, 4, 8, false);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) indexed.SetPixel(x, y, 100);
    CAnyBmp indexedTurned;
    CFilterRotate(quarterPi, static_cast<int32_t>(PLMakePixel(255, 255, 255))).Apply(&indexed, &indexedTurned);
    EXPECT_EQ(8, indexedTurned.GetBitsPerPixel());
    EXPECT_EQ(255u, indexedTurned.GetPixel(0, 3));
    EXPECT_EQ(100u, indexedTurned.GetPixel(2, 1));

    // One pixel stays one pixel.
    CAnyBmp one;
    bmptest::Solid32(one, 1, 1, Rgba{5, 6, 7, 255});
    CAnyBmp oneTurned;
    CFilterRotate(2.0, 0).Apply(&one, &oneTurned);
    EXPECT_EQ(1, oneTurned.GetWidth());
    EXPECT_EQ(PLMakePixel(5, 6, 7, 255), oneTurned.GetPixel(0, 0));
}

TEST(PixelFilters, VideoInvert) {
    CAnyBmp src;
    bmptest::Fill32(src, 5, 1,
                    {{0, 0, 0, 255}, {255, 255, 255, 255}, {77, 77, 77, 255}, {255, 0, 0, 255}, {0, 0, 128, 255}});
    CAnyBmp dst;
    CVideoInvertFilter().Apply(&src, &dst);
    ASSERT_EQ(32, dst.GetBitsPerPixel());
    EXPECT_EQ(0xFFFFFFu, Rgb(dst.GetPixel(0, 0)));
    EXPECT_EQ(0u, Rgb(dst.GetPixel(1, 0)));
    EXPECT_EQ(Rgb(PLMakePixel(178, 178, 178)), Rgb(dst.GetPixel(2, 0)));
    EXPECT_EQ(0u, Rgb(dst.GetPixel(3, 0)));
    EXPECT_EQ(Rgb(PLMakePixel(0, 0, 127)), Rgb(dst.GetPixel(4, 0)));  // value 128 -> 127, hue kept
    EXPECT_EQ(0.0, CVideoInvertFilter().GetParameter(3.5));
}

TEST(HsvModel, ConversionsAndTheLastSector) {
    double a = 255, b = 0, c = 0;
    RgbToHsv(a, b, c);
    EXPECT_DOUBLE_EQ(0.0, a);
    EXPECT_DOUBLE_EQ(255.0, b);
    EXPECT_DOUBLE_EQ(255.0, c);
    a = 0, b = 255, c = 0;
    RgbToHsv(a, b, c);
    EXPECT_DOUBLE_EQ(85.0, a);
    a = 0, b = 0, c = 255;
    RgbToHsv(a, b, c);
    EXPECT_DOUBLE_EQ(170.0, a);
    a = 255, b = 0, c = 10;  // just below red on the circle
    RgbToHsv(a, b, c);
    EXPECT_GT(a, 250.0);

    // Hue 255 is red again: the sixth sector wraps instead of leaving the colour unset.
    a = 255, b = 255, c = 200;
    HsvToRgb(a, b, c);
    EXPECT_DOUBLE_EQ(200.0, a);
    EXPECT_DOUBLE_EQ(0.0, b);
    EXPECT_DOUBLE_EQ(0.0, c);
    // Every hue round-trips through the model.
    for (int hue = 0; hue <= 255; hue += 15) {
        double h = hue, s = 255, v = 255;
        HsvToRgb(h, s, v);
        RgbToHsv(h, s, v);
        EXPECT_NEAR(hue == 255 ? 0 : hue, h, 1.5) << hue;
    }
    a = 10, b = 0, c = 99;  // saturation 0: a grey of the value
    HsvToRgb(a, b, c);
    EXPECT_DOUBLE_EQ(99.0, a);
    EXPECT_DOUBLE_EQ(99.0, c);
}

TEST(PixelFilters, RotationTurnsCounterClockwiseAndKeepsEveryChannel) {
    // Each pixel has its own red, green and blue, so a swapped channel or a mirrored image shows.
    CAnyBmp src;
    src.Create(4, 3, 32, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src.SetPixel(x, y, PLMakePixel(static_cast<uint8_t>(10 + x), static_cast<uint8_t>(20 + y),
                                           static_cast<uint8_t>(40 + 4 * y + x)));
    const double pi = 4 * std::atan(1.0);

    // A quarter turn: the left column becomes the bottom row, read left to right from the top.
    CAnyBmp quarter;
    CFilterRotate(pi / 2, 0).Apply(&src, &quarter);
    const int qh = quarter.GetHeight();
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(src.GetPixel(0, j), quarter.GetPixel(j, qh - 1)) << j;
    // ... and the top row runs up the left side.
    EXPECT_EQ(src.GetPixel(1, 0), quarter.GetPixel(0, qh - 2));

    // A half turn: the top-left pixel lands bottom right, the top row reversed along the bottom.
    CAnyBmp half;
    CFilterRotate(pi, 0).Apply(&src, &half);
    const int hw = half.GetWidth(), hh = half.GetHeight();
    EXPECT_EQ(src.GetPixel(0, 0), half.GetPixel(hw - 1, hh - 1));
    EXPECT_EQ(src.GetPixel(1, 0), half.GetPixel(hw - 2, hh - 1));
    EXPECT_EQ(src.GetPixel(0, 1), half.GetPixel(hw - 1, hh - 2));

    // The point mapping agrees with where the pixels went, at a quarter and a half turn.
    double x = 0, y = 0;
    CBmp::RotatePoint(pi / 2, 4, 3, x, y);
    EXPECT_NEAR(0, x, 0.01);
    EXPECT_NEAR(qh - 1, y, 0.01);
    x = 1, y = 0;
    CBmp::RotatePoint(pi / 2, 4, 3, x, y);
    EXPECT_NEAR(0, x, 0.01);
    EXPECT_NEAR(qh - 2, y, 0.01);
    x = 0, y = 0;
    CBmp::RotatePoint(pi, 4, 3, x, y);
    EXPECT_NEAR(hw - 1, x, 0.01);
    EXPECT_NEAR(hh - 1, y, 0.01);
}
