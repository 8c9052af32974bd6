// Hand-made TGA files: pixel formats, colour maps, RLE packets and bad headers.
#include <gtest/gtest.h>

#include "imaging/TGADecoder.h"
#include "tests/formats/FormatsTestSupport.h"

using namespace formats_test;

namespace {

std::vector<uint8_t> TgaHeader(int mapType, int type, int mapFirst, int mapLength, int mapEntrySize,
                               int width, int height, int depth, int descriptor)
{
    std::vector<uint8_t> f;
    PutBytes(f, {0, mapType, type});
    PutLE16(f, mapFirst);
    PutLE16(f, mapLength);
    f.push_back(static_cast<uint8_t>(mapEntrySize));
    PutLE32(f, 0);  // origin
    PutLE16(f, width);
    PutLE16(f, height);
    PutBytes(f, {depth, descriptor});
    return f;
}

TEST(TgaDecoder, SixteenBitPixelsCarryAlphaInTheTopBitOnlyWithAnAttributeBit)
{
    std::vector<uint8_t> f = TgaHeader(0, 2, 0, 0, 0, 2, 1, 16, 0x21);
    PutLE16(f, 0x8000);
    PutLE16(f, 0x7FFF);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_TRUE(bmp.HasAlpha());
    EXPECT_EQ(PLMakePixel(0, 0, 0, 0x80), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(248, 248, 248, 0), bmp.GetPixel(1, 0));

    // No attribute bits: the picture is opaque, not invisible.
    f[17] = 0x20;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_FALSE(bmp.HasAlpha());
    EXPECT_EQ(PLMakePixel(0, 0, 0, 255), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(248, 248, 248, 255), bmp.GetPixel(1, 0));
}

TEST(TgaDecoder, RowOrderFollowsDescriptorBit5)
{
    for (int descriptor : {0x00, 0x20}) {
        std::vector<uint8_t> f = TgaHeader(0, 2, 0, 0, 0, 1, 2, 24, descriptor);
        PutBytes(f, {0, 0, 255, 255, 0, 0});  // first red, then blue
        CAnyBmp bmp;
        ASSERT_EQ(0, DecodeBytes(f, bmp));
        int redRow = descriptor ? 0 : 1;
        EXPECT_EQ(255, RedAt(bmp, 0, redRow)) << descriptor;
        EXPECT_EQ(255, BlueAt(bmp, 0, 1 - redRow)) << descriptor;
    }
}

TEST(TgaDecoder, ColourMapEntriesPast255AreReadButNotStored)
{
    // Entries 254..257 of 15 bits: the last two have no place, the pixels after them must
    // still be found.
    std::vector<uint8_t> f = TgaHeader(1, 1, 254, 4, 15, 3, 1, 8, 0x20);
    PutLE16(f, 0x7C00);  // 254: red
    PutLE16(f, 0x001F);  // 255: blue
    PutLE16(f, 0x03E0);  // 256
    PutLE16(f, 0x03E0);  // 257
    PutBytes(f, {254, 255, 7});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(PLMakePixel(248, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 248), bmp.GetPixel(1, 0));
    // Index 7 was not in the map: grey level 7.
    EXPECT_EQ(PLMakePixel(7, 7, 7), bmp.GetPixel(2, 0));
}

TEST(TgaDecoder, ColourMapEntrySizesOtherThanColoursAreRefused)
{
    for (int entrySize : {8, 12, 31}) {
        std::vector<uint8_t> f = TgaHeader(1, 1, 0, 2, entrySize, 1, 1, 8, 0);
        f.resize(f.size() + 16, 0);
        CAnyBmp bmp;
        CTGADecoder decoder;
        EXPECT_EQ(2, DecodeBytesWith(decoder, f, bmp)) << entrySize;
    }
}

TEST(TgaDecoder, EightBitsWithoutAMapAreGrey)
{
    std::vector<uint8_t> f = TgaHeader(0, 2, 0, 0, 0, 2, 1, 8, 0x20);
    PutBytes(f, {0, 200});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(200, 200, 200), bmp.GetPixel(1, 0));

    CAnyBmp indexed;
    ASSERT_EQ(0, DecodeBytes(f, indexed, 0));
    EXPECT_EQ(8, indexed.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(200, 200, 200), indexed.GetPalette()[200]);
}

TEST(TgaDecoder, RlePacketsContinueOnTheNextRowAndStopAtTheEnd)
{
    // 3 x 2 grey: a run of 4 (fills row 0 and one pixel of row 1), then a literal of 5 of
    // which only 2 fit. Nothing may be written past the picture.
    std::vector<uint8_t> f = TgaHeader(0, 11, 0, 0, 0, 3, 2, 8, 0x20);
    PutBytes(f, {0x83, 10, 0x04, 20, 30, 40, 50, 60});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(10, RedAt(bmp, 2, 0));
    EXPECT_EQ(10, RedAt(bmp, 0, 1));
    EXPECT_EQ(20, RedAt(bmp, 1, 1));
    EXPECT_EQ(30, RedAt(bmp, 2, 1));

    // One run of 128 pixels for a 2 x 2 picture.
    std::vector<uint8_t> g = TgaHeader(0, 10, 0, 0, 0, 2, 2, 24, 0);
    PutBytes(g, {0xFF, 1, 2, 3});
    ASSERT_EQ(0, DecodeBytes(g, bmp));
    EXPECT_EQ(PLMakePixel(3, 2, 1), bmp.GetPixel(1, 1));
}

TEST(TgaDecoder, BadHeadersAndShortDataRaise)
{
    CAnyBmp bmp;
    // Image type 0 (no image) passes the format test but is no picture.
    EXPECT_EQ(2, DecodeBytes(TgaHeader(0, 0, 0, 0, 0, 2, 2, 24, 0), bmp));
    // Zero width.
    EXPECT_EQ(2, DecodeBytes(TgaHeader(0, 2, 0, 0, 0, 0, 2, 24, 0), bmp));
    // 65535 x 65535 true colour with a few bytes of data: refused before allocating.
    std::vector<uint8_t> huge = TgaHeader(0, 2, 0, 0, 0, 65535, 65535, 32, 0);
    huge.resize(huge.size() + 100, 0);
    EXPECT_EQ(11, DecodeBytes(huge, bmp));
    std::vector<uint8_t> hugeRle = TgaHeader(0, 10, 0, 0, 0, 65535, 65535, 32, 0);
    hugeRle.resize(hugeRle.size() + 100, 0xFF);
    EXPECT_EQ(11, DecodeBytes(hugeRle, bmp));
    // Rows missing at the end.
    std::vector<uint8_t> shortRows = TgaHeader(0, 2, 0, 0, 0, 4, 4, 24, 0);
    shortRows.resize(shortRows.size() + 40, 0);
    EXPECT_EQ(11, DecodeBytes(shortRows, bmp));
}

}  // namespace
