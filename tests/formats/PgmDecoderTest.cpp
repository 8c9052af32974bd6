// Hand-made PGM files: header syntax, scaling and 16-bit samples.
#include <gtest/gtest.h>

#include <string>

#include "tests/formats/FormatsTestSupport.h"

using namespace formats_test;

namespace {

std::vector<uint8_t> Bytes(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(PgmDecoder, SamplesScaleToTheMaximumValue)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Bytes("P2\n3 1\n15\n15 1 0\n"), bmp));
    EXPECT_EQ(255, RedAt(bmp, 0, 0));
    EXPECT_EQ(17, RedAt(bmp, 1, 0));
    EXPECT_EQ(0, RedAt(bmp, 2, 0));
    // The last sample may end the file without a separator.
    ASSERT_EQ(0, DecodeBytes(Bytes("P2 2 1 255 3 4"), bmp));
    EXPECT_EQ(4, RedAt(bmp, 1, 0));
}

TEST(PgmDecoder, SixteenBitSamplesAreBigEndian)
{
    std::vector<uint8_t> f = Bytes("P5\n3 1\n65535\n");
    PutBytes(f, {0xFF, 0xFF, 0x80, 0x00, 0x00, 0xFF});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(255, RedAt(bmp, 0, 0));
    EXPECT_EQ(127, RedAt(bmp, 1, 0));
    EXPECT_EQ(0, RedAt(bmp, 2, 0));
    ASSERT_EQ(0, DecodeBytes(Bytes("P2 2 1 1000 1000 500\n"), bmp));
    EXPECT_EQ(127, RedAt(bmp, 1, 0));
}

TEST(PgmDecoder, TabsAndCommentsSeparateHeaderNumbers)
{
    std::vector<uint8_t> f = Bytes("P5\t#c\n2\t#w\n1\t255\n");
    PutBytes(f, {9, 99});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(99, GreenAt(bmp, 1, 0));
}

TEST(PgmDecoder, MalformedHeadersRaiseInsteadOfLooping)
{
    CAnyBmp bmp;
    EXPECT_EQ(2, DecodeBytes(Bytes("P5 2x 1 255\n\x01\x02"), bmp));
    EXPECT_EQ(2, DecodeBytes(Bytes("P5 -2 1 255\n\x01\x02"), bmp));
    EXPECT_EQ(2, DecodeBytes(Bytes("P5 99999999999999999999 1 255\n"), bmp));
    EXPECT_EQ(2, DecodeBytes(Bytes("P5 2 1 70000\n\x01\x02\x03\x04"), bmp));
    EXPECT_EQ(2, DecodeBytes(Bytes("P5 0 1 255\n"), bmp));
    EXPECT_EQ(2, DecodeBytes(Bytes("P2 2 1 255 12 x4\n"), bmp));
    // Header that never ends, and pixels that are missing.
    EXPECT_EQ(11, DecodeBytes(Bytes("P5 2 1 # comment without end"), bmp));
    EXPECT_EQ(11, DecodeBytes(Bytes("P5 100000 100000 255\n\x01\x02\x03"), bmp));
    EXPECT_EQ(11, DecodeBytes(Bytes("P2 2 2 255 1 2 3"), bmp));
}

TEST(PgmDecoder, EightBitTargetKeepsLevelsAsIndices)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Bytes("P2 2 1 3 3 1\n"), bmp, 0));
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    EXPECT_EQ(255u, bmp.GetPixel(0, 0));
    EXPECT_EQ(85u, bmp.GetPixel(1, 0));
}

}  // namespace
