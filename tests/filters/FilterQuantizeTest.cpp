// Colour quantisation: the three palette modes, the three dither modes, and the filter base.
#include <gtest/gtest.h>

#include "imaging/Filter.h"
#include "imaging/FilterQuantize.h"
#include "imaging/TextException.h"
#include "tests/filters/BmpTestUtil.h"

using bmptest::Rgba;

namespace {

std::vector<uint8_t> Indices(const CAnyBmp& bmp) {
    std::vector<uint8_t> out;
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x) out.push_back(static_cast<uint8_t>(bmp.GetPixel(x, y)));
    return out;
}

}  // namespace

// Bitmaps cannot be copied or returned by value: the result is built in place.
#define QUANTIZE(dst, src, pm, dm) \
    CAnyBmp dst;                   \
    CFilterQuantize(pm, dm).Apply(&src, &dst)

TEST(Quantize, MedianCutOfOneColour) {
    CAnyBmp src;
    bmptest::Solid32(src, 3, 2, Rgba{100, 150, 200, 255});
    QUANTIZE(dst, src, 0, 0);
    ASSERT_EQ(8, dst.GetBitsPerPixel());
    ASSERT_EQ(3, dst.GetWidth());
    const PLPixel32* pal = dst.GetPalette();
    EXPECT_EQ(PLMakePixel(0, 0, 0, 0), pal[0]);
    EXPECT_EQ(PLMakePixel(255, 0, 0, 0), pal[1]);
    EXPECT_EQ(PLMakePixel(0, 255, 255, 0), pal[5]);
    EXPECT_EQ(PLMakePixel(255, 255, 255, 0), pal[7]);
    EXPECT_EQ(PLMakePixel(98, 148, 205, 0), pal[8]);  // the 5-bit cell (12, 18, 25), centred
    for (int i = 9; i < 256; ++i) EXPECT_EQ(0u, pal[i]) << i;
    for (uint8_t index : Indices(dst)) EXPECT_EQ(8, index);
}

TEST(Quantize, MedianCutSplitsByTheAverage) {
    CAnyBmp src;
    bmptest::Fill32(src, 2, 2, {{0, 0, 0, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}});
    QUANTIZE(dst, src, 0, 0);
    const PLPixel32* pal = dst.GetPalette();
    EXPECT_EQ(PLMakePixel(0, 0, 0, 0), pal[8]);
    EXPECT_EQ(PLMakePixel(255, 255, 255, 0), pal[9]);
    EXPECT_EQ(0u, pal[10]);
    // The corners come first, so they win the ties.
    EXPECT_EQ((std::vector<uint8_t>{0, 7, 7, 0}), Indices(dst));

    // Two colours of one 5-bit cell share a point and so one entry.
    CAnyBmp two;
    bmptest::Fill32(two, 2, 1, {{100, 150, 200, 255}, {101, 151, 201, 255}});
    QUANTIZE(shared, two, 0, 0);
    EXPECT_EQ(shared.GetPixel(0, 0), shared.GetPixel(1, 0));
}

TEST(Quantize, PopularityTakesTheFullestCells) {
    std::vector<Rgba> pixels;
    for (int i = 0; i < 3; ++i) pixels.push_back({255, 0, 0, 255});
    for (int i = 0; i < 5; ++i) pixels.push_back({0, 0, 8, 255});
    for (int i = 0; i < 3; ++i) pixels.push_back({0, 8, 0, 255});
    pixels.push_back({0, 8, 0, 255});
    pixels.back() = {0, 0, 0, 255};  // one black pixel: a fourth, least popular cell
    CAnyBmp src;
    bmptest::Fill32(src, 12, 1, pixels);
    QUANTIZE(dst, src, 1, 0);
    const PLPixel32* pal = dst.GetPalette();
    EXPECT_EQ(PLMakePixel(0, 0, 0, 0), pal[0]);
    EXPECT_EQ(PLMakePixel(0, 255, 0, 0), pal[2]);
    EXPECT_EQ(PLMakePixel(0, 0, 8, 0), pal[8]);   // 5 pixels
    EXPECT_EQ(PLMakePixel(0, 8, 0, 0), pal[9]);   // 3 pixels, scanned before red
    EXPECT_EQ(PLMakePixel(255, 0, 0, 0), pal[10]);
    EXPECT_EQ(PLMakePixel(0, 0, 0, 0), pal[11]);  // the black cell
    EXPECT_EQ(1, dst.GetPixel(0, 0));             // red: the corner entry comes first
    EXPECT_EQ(8, dst.GetPixel(3, 0));
}

TEST(Quantize, FixedPaletteAndTheCellCache) {
    CAnyBmp src;
    bmptest::Fill32(src, 4, 1, {{255, 0, 0, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 255, 255}});
    QUANTIZE(dst, src, 2, 0);
    const PLPixel32* pal = dst.GetPalette();
    // Triples go blue, green, red; the fourth bytes stay those of the new bitmap's palette.
    EXPECT_EQ(PLMakePixel(0, 0, 191, 255), pal[1]);
    EXPECT_EQ(PLMakePixel(240, 202, 166, 255), pal[9]);
    EXPECT_EQ(PLMakePixel(0, 81, 0, 255), pal[16]);   // first cube member
    EXPECT_EQ(PLMakePixel(0, 81, 81, 255), pal[17]);
    EXPECT_EQ(PLMakePixel(196, 196, 196, 255), pal[225]);
    EXPECT_EQ(PLMakePixel(253, 253, 253, 255), pal[244]);
    EXPECT_EQ(PLMakePixel(255, 255, 255, 255), pal[255]);
    EXPECT_EQ((std::vector<uint8_t>{190, 0, 255, 249}), Indices(dst));

    // The first colour to reach a 15-bit cell decides that cell's index.
    CAnyBmp a, b;
    bmptest::Fill32(a, 2, 1, {{128, 128, 128, 255}, {135, 135, 135, 255}});
    bmptest::Fill32(b, 2, 1, {{135, 135, 135, 255}, {128, 128, 128, 255}});
    QUANTIZE(qa, a, 2, 0);
    QUANTIZE(qb, b, 2, 0);
    EXPECT_EQ((std::vector<uint8_t>{248, 248}), Indices(qa));
    EXPECT_EQ((std::vector<uint8_t>{96, 96}), Indices(qb));
}

TEST(Quantize, OrderedDitherOffsets) {
    CAnyBmp src;
    bmptest::Solid32(src, 4, 1, Rgba{107, 107, 107, 255});
    QUANTIZE(dst, src, 2, 1);
    // Offsets 2 x (8, -4, 5, -7) from the right-to-left matrix columns: 123, 99, 117, 93.
    EXPECT_EQ((std::vector<uint8_t>{248, 53, 248, 53}), Indices(dst));
    QUANTIZE(plain, src, 2, 0);
    EXPECT_EQ((std::vector<uint8_t>{248, 248, 248, 248}), Indices(plain));
}

TEST(Quantize, ErrorDiffusionOnOneColumn) {
    CAnyBmp src;
    bmptest::Solid32(src, 1, 2, Rgba{105, 105, 105, 255});
    QUANTIZE(dst, src, 2, 2);
    // 105 -> 128 leaves -23: 5/16 of it takes the pixel below to 97.8, nearer 81.
    EXPECT_EQ((std::vector<uint8_t>{248, 53}), Indices(dst));

    CAnyBmp wide;
    bmptest::Solid32(wide, 5, 3, Rgba{40, 90, 200, 255});
    QUANTIZE(diffused, wide, 0, 2);
    EXPECT_EQ(8, diffused.GetBitsPerPixel());
}

TEST(Quantize, RefusesOtherDepthsAndServesTheBitmapConversion) {
    CAnyBmp grey;
    grey.Create(2, 2, 8, false);
    CAnyBmp out;
    try {
        CFilterQuantize(0, 0).Apply(&grey, &out);
        FAIL() << "no exception";
    } catch (const CTextException& e) {
        EXPECT_EQ(PL_ERRFORMAT_ERROR, e.GetCode());
    }

    // The bitmap's own 32 -> 8 conversion runs the quantiser with its defaults (fixed, none).
    CAnyBmp src;
    bmptest::Solid32(src, 2, 1, Rgba{255, 0, 0, 255});
    CAnyBmp converted;
    converted.CreateCopy(src, 8);
    EXPECT_EQ(8, converted.GetBitsPerPixel());
    EXPECT_EQ(190, converted.GetPixel(1, 0));

    // In place: the bitmap itself becomes the 8-bit result.
    CFilterQuantize(2, 0).ApplyInPlace(&src);
    EXPECT_EQ(8, src.GetBitsPerPixel());
    EXPECT_EQ(190, src.GetPixel(0, 0));
}

namespace {
// A filter that only knows how to work in place: the base's Apply copies, then calls it.
class CInvertInPlace : public CFilter {
public:
    void ApplyInPlace(CBmp* bmp) override {
        for (int y = 0; y < bmp->GetHeight(); ++y)
            for (int x = 0; x < bmp->GetWidth(); ++x) bmp->SetPixel(x, y, ~bmp->GetPixel(x, y));
    }
};
}  // namespace

TEST(FilterBase, ApplyCopiesThenWorksInPlace) {
    CAnyBmp src;
    bmptest::Solid32(src, 2, 2, Rgba{1, 2, 3, 4});
    CAnyBmp dst;
    CInvertInPlace().Apply(&src, &dst);
    EXPECT_EQ(2, dst.GetWidth());
    EXPECT_EQ(~PLMakePixel(1, 2, 3, 4), dst.GetPixel(1, 1));
    EXPECT_EQ(PLMakePixel(1, 2, 3, 4), src.GetPixel(1, 1));
}
