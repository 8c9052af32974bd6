// Hand-made PCX files: runs, plane layouts and bad headers.
#include <gtest/gtest.h>

#include "tests/formats/FormatsTestSupport.h"

using namespace formats_test;

namespace {

std::vector<uint8_t> PcxHeader(int bitsPerPixel, int planes, int xMin, int yMin, int xMax, int yMax, int bytesPerLine)
{
    std::vector<uint8_t> f;
    PutBytes(f, {10, 5, 1, bitsPerPixel});
    PutLE16(f, xMin);
    PutLE16(f, yMin);
    PutLE16(f, xMax);
    PutLE16(f, yMax);
    PutLE16(f, 72);
    PutLE16(f, 72);
    for (int i = 0; i < 16; ++i)
        PutBytes(f, {i * 16, 255 - i * 16, i});  // header palette
    PutBytes(f, {0, planes});
    PutLE16(f, bytesPerLine);
    f.resize(128, 0);
    return f;
}

TEST(PcxDecoder, RunByteRepeatsTheNextByte)
{
    // 3 x 1, three 8-bit planes: runs of three 7s, 8s and 9s.
    std::vector<uint8_t> f = PcxHeader(8, 3, 0, 0, 2, 0, 3);
    PutBytes(f, {0xC3, 7, 0xC3, 8, 0xC3, 9});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(PLMakePixel(7, 8, 9), bmp.GetPixel(x, 0));
}

TEST(PcxDecoder, PlanesOfOneBitBuildTheIndexLowPlaneFirst)
{
    // 8 x 1, four planes: pixel 0 has bits in planes 0 and 2 (index 5), pixel 7 in plane 3 (8).
    std::vector<uint8_t> f = PcxHeader(1, 4, 0, 0, 7, 0, 2);
    PutBytes(f, {0x80, 0, 0, 0, 0x80, 0, 0x01, 0});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(PLMakePixel(5 * 16, 255 - 5 * 16, 5), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(8 * 16, 255 - 8 * 16, 8), bmp.GetPixel(7, 0));
    EXPECT_EQ(PLMakePixel(0, 255, 0), bmp.GetPixel(3, 0));
}

TEST(PcxDecoder, SizesAndLayoutsWithoutARuleAreRefused)
{
    CAnyBmp bmp;
    std::vector<uint8_t> data(64, 0);
    auto withData = [&](std::vector<uint8_t> f) {
        f.insert(f.end(), data.begin(), data.end());
        return DecodeBytes(f, bmp);
    };
    EXPECT_EQ(2, withData(PcxHeader(8, 1, 10, 0, 5, 3, 8)));   // xmax < xmin
    EXPECT_EQ(2, withData(PcxHeader(8, 1, 0, 9, 3, 2, 8)));    // ymax < ymin
    EXPECT_EQ(2, withData(PcxHeader(8, 1, 0, 0, 15, 0, 8)));   // 16 pixels in 8 bytes
    EXPECT_EQ(2, withData(PcxHeader(1, 1, 0, 0, 16, 0, 2)));   // 17 bits in 2 bytes
    EXPECT_EQ(2, withData(PcxHeader(1, 5, 0, 0, 7, 0, 2)));    // five planes
    EXPECT_EQ(2, withData(PcxHeader(4, 3, 0, 0, 7, 0, 4)));    // 4 bits in three planes
    EXPECT_EQ(2, withData(PcxHeader(8, 2, 0, 0, 7, 0, 8)));    // 8 bits in two planes
    EXPECT_EQ(2, withData(PcxHeader(8, 4, 0, 0, 7, 0, 8)));    // RGBA planes have no rule
    EXPECT_EQ(2, withData(PcxHeader(3, 1, 0, 0, 7, 0, 4)));    // 3 bits per pixel
}

TEST(PcxDecoder, CorruptDataRaises)
{
    CAnyBmp bmp;
    // A run of 20 where only 4 bytes are left of the image.
    std::vector<uint8_t> f = PcxHeader(8, 1, 0, 0, 3, 0, 4);
    PutBytes(f, {0xD4, 1});
    EXPECT_EQ(7, DecodeBytes(f, bmp));
    // 8-bit picture whose palette signature is not 12.
    std::vector<uint8_t> g = PcxHeader(8, 1, 0, 0, 3, 0, 4);
    PutBytes(g, {1, 2, 3, 4, 11});
    g.resize(g.size() + 768, 0);
    EXPECT_EQ(7, DecodeBytes(g, bmp));
    // A 65535 x 65535 picture in a few bytes.
    std::vector<uint8_t> h = PcxHeader(8, 3, 0, 0, 65534, 65534, 65535);
    PutBytes(h, {0xFF, 0, 0xFF, 0});
    EXPECT_EQ(11, DecodeBytes(h, bmp));
}

}  // namespace
