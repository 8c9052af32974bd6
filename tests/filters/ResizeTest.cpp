// Two-pass resizing: kernels, contributions, exact small cases and degenerate sizes.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/FilterResize.h"
#include "imaging/TextException.h"
#include "imaging/TwoPassScale.h"
#include "tests/filters/BmpTestUtil.h"

using bmptest::Rgba;

namespace {

// A width x 1 picture whose pixels have red = values[x], other channels 0, alpha 255.
void Row(CAnyBmp& bmp, const std::vector<int>& values) {
    std::vector<Rgba> pixels;
    for (int v : values) pixels.push_back(Rgba{static_cast<uint8_t>(v), 0, 0, 255});
    bmptest::Fill32(bmp, static_cast<int>(values.size()), 1, pixels);
}

std::vector<int> Reds(const CAnyBmp& bmp) {
    std::vector<int> out;
    for (int x = 0; x < bmp.GetWidth(); ++x) out.push_back(PLPixelRed(bmp.GetPixel(x, 0)));
    return out;
}

}  // namespace

TEST(ResizeKernels, Shapes) {
    CBilinearFilter bilinear(1.0);
    EXPECT_DOUBLE_EQ(1.0, bilinear.Filter(0));
    EXPECT_DOUBLE_EQ(0.25, bilinear.Filter(-0.75));
    EXPECT_DOUBLE_EQ(0.0, bilinear.Filter(1.0));
    CBoxFilter box(0.5);
    EXPECT_DOUBLE_EQ(1.0, box.Filter(0.5));
    EXPECT_DOUBLE_EQ(0.0, box.Filter(0.51));
    CGaussianFilter gauss(2.0);
    EXPECT_NEAR(0.146763, gauss.Filter(0), 1e-6);  // exp(-1) / sqrt(2 pi)
    EXPECT_DOUBLE_EQ(0.0, gauss.Filter(2.1));
    CHammingFilter hamming(2.0);
    EXPECT_DOUBLE_EQ(1.0, hamming.Filter(0));
    EXPECT_NEAR(0.0, hamming.Filter(1.0), 1e-12);
    EXPECT_DOUBLE_EQ(2.0, hamming.GetWidth());
}

TEST(ResizeKernels, ContributionWindows) {
    CBoxFilter box(0.5);
    resize::ContributionTable t;
    resize::ComputeContributions(box, 6, 3, t);
    EXPECT_EQ(3, t.window);
    EXPECT_EQ(0, t.first[0]);
    EXPECT_EQ(1, t.last[0]);
    EXPECT_DOUBLE_EQ(0.5, t.Weights(0)[0]);
    EXPECT_EQ(1, t.first[1]);
    EXPECT_EQ(3, t.last[1]);
    EXPECT_DOUBLE_EQ(1.0 / 3, t.Weights(1)[2]);
}

TEST(Resize, BilinearWideningRoundsHalves) {
    CAnyBmp src, dst;
    Row(src, {10, 201});
    CFilterResizeBilinear(4, 1).Apply(&src, &dst);
    EXPECT_EQ((std::vector<int>{10, 106, 201, 201}), Reds(dst));
    EXPECT_EQ(255, PLPixelAlpha(dst.GetPixel(1, 0)));
}

TEST(Resize, SameSizeKeepsOrBlurs) {
    CAnyBmp src;
    Row(src, {0, 100, 250, 7, 9});
    CAnyBmp bilinear, box, gauss;
    CFilterResizeBilinear(5, 1).Apply(&src, &bilinear);
    CFilterResizeBox(5, 1, 0.5).Apply(&src, &box);
    CFilterResizeGaussian(5, 1, 1.5).Apply(&src, &gauss);
    EXPECT_TRUE(bilinear == src);
    EXPECT_TRUE(box == src);
    EXPECT_NE(Reds(src), Reds(gauss));
}

TEST(Resize, BoxHalvingAveragesThreeNeighbours) {
    CAnyBmp src, dst;
    Row(src, {30, 60, 90, 120, 150, 180});
    CFilterResizeBox(3, 1, 0.5).Apply(&src, &dst);
    // (30 + 60) / 2, (60 + 90 + 120) / 3, (120 + 150 + 180) / 3
    EXPECT_EQ((std::vector<int>{45, 90, 150}), Reds(dst));
}

TEST(Resize, KernelTooNarrowLeavesZero) {
    CAnyBmp src, dst;
    Row(src, {100, 200});
    CFilterResizeBox(4, 1, 0.1).Apply(&src, &dst);
    EXPECT_EQ((std::vector<int>{100, 0, 200, 0}), Reds(dst));
    EXPECT_EQ(0, PLPixelAlpha(dst.GetPixel(1, 0)));
}

TEST(Resize, TwoDimensionsAndDegenerateSizes) {
    CAnyBmp src;
    bmptest::Solid32(src, 7, 5, Rgba{10, 20, 30, 40});
    for (auto size : {std::make_pair(1, 1), std::make_pair(3, 9), std::make_pair(1, 12), std::make_pair(20, 1)}) {
        CAnyBmp dst;
        CFilterResizeBilinear(size.first, size.second).Apply(&src, &dst);
        ASSERT_EQ(size.first, dst.GetWidth());
        ASSERT_EQ(size.second, dst.GetHeight());
        // A flat picture stays flat whatever the size.
        EXPECT_EQ(PLMakePixel(10, 20, 30, 40), dst.GetPixel(size.first - 1, size.second - 1));
    }
    CAnyBmp one, big;
    bmptest::Solid32(one, 1, 1, Rgba{1, 2, 3, 4});
    CFilterResizeHamming(6, 3, 1.0).Apply(&one, &big);
    EXPECT_EQ(PLMakePixel(1, 2, 3, 4), big.GetPixel(5, 2));
    CAnyBmp column;
    Row(column, {0});
    CFilterResizeGaussian(1, 8, 1.0).Apply(&one, &column);
    EXPECT_EQ(8, column.GetHeight());

    // Sharp edges with the Hamming kernel overshoot; the stored bytes stay in range.
    CAnyBmp edge, sharpened;
    Row(edge, {0, 0, 255, 255, 0, 0});
    CFilterResizeHamming(17, 1, 2.0).Apply(&edge, &sharpened);
    EXPECT_EQ(17, sharpened.GetWidth());

    EXPECT_THROW(CFilterResizeBilinear(0, 4).Apply(&src, &big), CTextException);
    CAnyBmp eight;
    eight.Create(2, 2, 8, false);
    EXPECT_THROW(CFilterResizeBox(4, 4, 0.5).Apply(&eight, &big), CTextException);

    // In place: the bitmap itself takes the new size.
    CFilterResizeBox(2, 2, -3.0).ApplyInPlace(&src);  // a negative width gives an empty kernel
    EXPECT_EQ(2, src.GetWidth());
}

TEST(Resize, OversizedIntermediateIsRefused) {
    // 1 x 65536 to 65536 x 1 is small at both ends but needs a 16 GiB intermediate image.
    CAnyBmp tall, wide;
    bmptest::Solid32(tall, 1, 65536, Rgba{1, 2, 3, 4});
    try {
        CFilterResizeBilinear(65536, 1).Apply(&tall, &wide);
        FAIL() << "no exception";
    } catch (const CTextException& e) {
        EXPECT_EQ(PL_ERRNO_MEMORY, e.GetCode());
    }
}

namespace {
int g_progressCalls = 0;
bool StopAtHalf(int percent) {
    ++g_progressCalls;
    return percent < 50;
}
}  // namespace

TEST(Resize, ProgressCallbackCanStopTheScaler) {
    CAnyBmp src, dst;
    bmptest::Solid32(src, 4, 4, Rgba{1, 1, 1, 1});
    dst.Create(2, 2, 32, false);
    C2PassScale<CBilinearFilter> scaler(StopAtHalf, 1.0);
    EXPECT_EQ(nullptr, scaler.Scale(src.GetLineArray(), 4, 4, dst.GetLineArray(), 2, 2));
    EXPECT_TRUE(scaler.IsCanceled());
    EXPECT_EQ(5, g_progressCalls);  // four rows, then the first column says stop

    C2PassScale<CBoxFilter> plain(nullptr, 0.5);
    EXPECT_EQ(dst.GetLineArray(), plain.Scale(src.GetLineArray(), 4, 4, dst.GetLineArray(), 2, 2));
    EXPECT_FALSE(plain.IsCanceled());
    EXPECT_EQ(PLMakePixel(1, 1, 1, 1), dst.GetPixel(1, 1));
}

TEST(Resize, EdgesKeepTheirColoursAndEveryChannelIsScaled) {
    // A red-to-blue step, widened: the edge pixels stay pure, the middle mixes, channels apart.
    CAnyBmp src, dst;
    src.Create(2, 1, 32, false);
    src.SetPixel(0, 0, PLMakePixel(200, 10, 0));
    src.SetPixel(1, 0, PLMakePixel(0, 30, 250));
    CFilterResizeBilinear(8, 3).Apply(&src, &dst);
    ASSERT_EQ(8, dst.GetWidth());
    ASSERT_EQ(3, dst.GetHeight());
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(PLMakePixel(200, 10, 0), dst.GetPixel(0, y)) << y;
        EXPECT_EQ(PLMakePixel(0, 30, 250), dst.GetPixel(7, y)) << y;
        // Red falls and blue rises from left to right, green stays between its ends.
        for (int x = 1; x < 8; ++x) {
            EXPECT_LE(PLPixelRed(dst.GetPixel(x, y)), PLPixelRed(dst.GetPixel(x - 1, y))) << x;
            EXPECT_GE(PLPixelBlue(dst.GetPixel(x, y)), PLPixelBlue(dst.GetPixel(x - 1, y))) << x;
            EXPECT_GE(PLPixelGreen(dst.GetPixel(x, y)), 10) << x;
            EXPECT_LE(PLPixelGreen(dst.GetPixel(x, y)), 30) << x;
        }
    }
    // Somewhere on the step both colours mix, each channel by the same share.
    bool mixed = false;
    for (int x = 1; x < 7; ++x) {
        const PLPixel32 p = dst.GetPixel(x, 1);
        if (PLPixelRed(p) > 0 && PLPixelRed(p) < 200) {
            mixed = true;
            const double share = (200 - PLPixelRed(p)) / 200.0;
            EXPECT_NEAR(share * 250, PLPixelBlue(p), 2) << x;
            EXPECT_NEAR(10 + share * 20, PLPixelGreen(p), 2) << x;
        }
    }
    EXPECT_TRUE(mixed);
}
