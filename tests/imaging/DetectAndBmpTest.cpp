// Format detection, the BMP decoder and the BMP encoder.
#include <gtest/gtest.h>

#include "tests/imaging/ImagingTestUtil.h"
#include "tests/support/TestSupport.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/BmpEncoder.h"
#include "imaging/TextException.h"

using namespace imgtest;

TEST(ImagingDetect, FormatsByContent)
{
    auto detect = [](std::vector<uint8_t> head, size_t size) {
        head.resize(512, 0);
        return CAnyPicDecoder::DetectFileType(head.data(), size);
    };
    EXPECT_EQ(PL_FT_WINBMP, detect({'B', 'M'}, 100));
    EXPECT_EQ(PL_FT_GIF, detect({'G', 'I', 'F', '8', '9', 'a'}, 100));
    EXPECT_EQ(PL_FT_TIFF, detect({0x4D, 0x4D, 0x00, 0x2A}, 100));
    EXPECT_EQ(PL_FT_JPEG, detect({0xFF, 0xD8, 0xFF, 0xE0}, 100));
    EXPECT_EQ(PL_FT_PNG, detect({0x89, 'P', 'N', 'G'}, 100));
    EXPECT_EQ(PL_FT_PCX, detect({0x0A, 5, 1}, 100));
    EXPECT_EQ(PL_FT_PGM, detect({'P', '5'}, 100));
    // A 16-bit picture whose bytes 1, 2, 7 and 16 pass the TGA test is taken as TGA.
    std::vector<uint8_t> tga(18, 0);
    tga[2] = 2;
    tga[16] = 16;
    EXPECT_EQ(PL_FT_TARGA, detect(tga, 100));
    std::vector<uint8_t> pict(530, 0xEE);
    pict[522] = 0x00;
    pict[523] = 0x11;
    pict[524] = 0x02;
    pict[525] = 0xFF;
    EXPECT_EQ(PL_FT_MACPICT, detect(pict, 541));
    EXPECT_EQ(PL_FT_UNKNOWN, detect(pict, 540));
    std::vector<uint8_t> eps(32, 0);
    eps[0] = 0xC5; eps[1] = 0xD0; eps[2] = 0xD3; eps[3] = 0xC6;
    eps[20] = 32; eps[24] = 10;
    EXPECT_EQ(PL_FT_EPSTIFF, detect(eps, 100));
}

TEST(ImagingDetect, UnknownAndTinyInputs)
{
    std::vector<uint8_t> junk(300, 0xEE);
    CAnyBmp bmp;
    std::string text;
    EXPECT_EQ(8, DecodeBytes(junk, bmp, 32, &text));
    EXPECT_EQ("Decoder error: Unknown file type.\n", text);
    EXPECT_EQ(8, DecodeBytes({}, bmp));
    EXPECT_EQ(11, DecodeBytes({'B', 'M'}, bmp));
}

TEST(ImagingBmp, EveryDepthMatchesTheReference)
{
    struct Case { const char* name; int tolerance; };
    for (Case c : {Case{"bmp24.bmp", 0}, Case{"bmp8.bmp", 0}, Case{"bmp4.bmp", 0}, Case{"bmp1.bmp", 0},
                   Case{"rle8.bmp", 0}, Case{"bmp16_565.bmp", 8}, Case{"bmp16_555.bmp", 8},
                   Case{"bmp32_v5.bmp", 0}}) {
        SCOPED_TRACE(c.name);
        CAnyBmp bmp;
        ASSERT_EQ(0, DecodeBytes(Fixture(c.name), bmp));
        EXPECT_EQ(37, bmp.GetWidth());
        EXPECT_EQ(23, bmp.GetHeight());
        EXPECT_LE(MaxDifferenceToReference(bmp, c.name), c.tolerance);
    }
    CAnyBmp v5;
    DecodeBytes(Fixture("bmp32_v5.bmp"), v5);
    EXPECT_TRUE(v5.HasAlpha());
}

TEST(ImagingBmp, EightBitWishKeepsIndicesAndPalette)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture("bmp8.bmp"), bmp, 0));
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    CAnyBmp rgb;
    rgb.CreateCopy(bmp, 32);
    EXPECT_EQ(0, MaxDifferenceToReference(rgb, "bmp8.bmp"));
}

TEST(ImagingBmp, TopDownRowsAndRowPadding)
{
    // 3 x 2, 24 bits: 9 data bytes and 3 padding bytes per row.
    std::vector<uint8_t> data = {
        0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9,         // first file row
        255, 255, 255, 0, 0, 0, 128, 128, 128, 9, 9, 9};  // second file row
    std::vector<uint8_t> up = MakeBmp(3, 2, 24, 0, {}, data);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(up, bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 1));  // first file row is the bottom
    EXPECT_EQ(PLMakePixel(128, 128, 128), bmp.GetPixel(2, 0));
    std::vector<uint8_t> down = up;
    PutLE32(down, 22, static_cast<uint32_t>(-2));
    ASSERT_EQ(0, DecodeBytes(down, bmp));
    EXPECT_EQ(2, bmp.GetHeight());
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 255), bmp.GetPixel(2, 0));
}

TEST(ImagingBmp, OneBitUsesItsPalette)
{
    std::vector<uint8_t> data = {0x80, 0, 0, 0};  // pixel 0 set, pixel 1 clear
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(MakeBmp(2, 1, 1, 0, {0x0000FF, 0xFF0000}, data), bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 255), bmp.GetPixel(1, 0));
}

TEST(ImagingBmp, PlainThirtyTwoBitsAreOpaque)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(MakeBmp(1, 1, 32, 0, {}, {1, 2, 3, 0}), bmp));
    EXPECT_FALSE(bmp.HasAlpha());
    EXPECT_EQ(PLMakePixel(3, 2, 1, 255), bmp.GetPixel(0, 0));
}

TEST(ImagingBmp, BitFieldMasksBehindAPlainHeader)
{
    // 16 bits, BI_BITFIELDS, masks right after the 40-byte header.
    for (bool is565 : {false, true}) {
        std::vector<uint32_t> masks = is565 ? std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}
                                            : std::vector<uint32_t>{0x7C00, 0x03E0, 0x001F};
        uint16_t white = is565 ? 0xFFFF : 0x7FFF;
        uint16_t green = is565 ? 0x07E0 : 0x03E0;
        std::vector<uint8_t> data = {static_cast<uint8_t>(white), static_cast<uint8_t>(white >> 8),
                                     static_cast<uint8_t>(green), static_cast<uint8_t>(green >> 8)};
        std::vector<uint8_t> f = MakeBmp(2, 1, 16, 3, masks, data);
        PutLE32(f, 46, 0);  // the masks are no palette
        CAnyBmp bmp;
        ASSERT_EQ(0, DecodeBytes(f, bmp));
        EXPECT_EQ(PLMakePixel(248, is565 ? 252 : 248, 248), bmp.GetPixel(0, 0));
        EXPECT_EQ(PLMakePixel(0, is565 ? 252 : 248, 0), bmp.GetPixel(1, 0));
    }
}

TEST(ImagingBmp, RleRunsAreClippedAndEscapesHandled)
{
    std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // RLE8 4 x 2: a run of 9 (clipped to 4) then end of row; a 3-pixel literal (odd: pad
    // byte), end of picture.
    std::vector<uint8_t> rle8 = {9, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1};
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(MakeBmp(4, 2, 8, 1, pal, rle8), bmp));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(x, 1));
    EXPECT_EQ(PLMakePixel(0, 255, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 255), bmp.GetPixel(1, 0));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(2, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPixel(3, 0));

    // RLE4 3 x 1: a run of 3 alternating nibbles 1,2,1.
    std::vector<uint8_t> rle4 = {3, 0x12, 0, 1};
    ASSERT_EQ(0, DecodeBytes(MakeBmp(3, 1, 4, 2, pal, rle4), bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 255, 0), bmp.GetPixel(1, 0));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(2, 0));

    std::string text;
    EXPECT_EQ(6, DecodeBytes(MakeBmp(4, 2, 8, 1, pal, {0, 2, 1, 1}), bmp, 32, &text));
    EXPECT_EQ("Decoder error: Encountered delta escape.\n", text);
    EXPECT_EQ(11, DecodeBytes(MakeBmp(4, 2, 8, 1, pal, {0, 200, 1, 2}), bmp));  // literal past the data
}

TEST(ImagingBmp, HeaderErrorsAndHostileCounts)
{
    std::vector<uint8_t> good = MakeBmp(2, 2, 8, 0, {0xFFFFFF}, {0, 0, 0, 0, 0, 0, 0, 0});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(good, bmp));
    std::vector<uint8_t> f = good;
    PutLE32(f, 14, 12);
    EXPECT_EQ(2, DecodeBytes(f, bmp));
    f = good;
    PutLE16(f, 28, 7);
    EXPECT_EQ(2, DecodeBytes(f, bmp));
    f = good;
    PutLE32(f, 46, 100000);  // palette count far beyond 256: capped, no over-read
    EXPECT_EQ(0, DecodeBytes(f, bmp));
    f = good;
    PutLE32(f, 18, 100000);
    PutLE32(f, 22, 100000);
    EXPECT_EQ(10, DecodeBytes(f, bmp));
    f = good;
    PutLE32(f, 22, 0x80000000u);
    EXPECT_EQ(10, DecodeBytes(f, bmp));
    f = good;
    PutLE32(f, 18, 3000);  // plausible size, but the data is not there
    EXPECT_EQ(11, DecodeBytes(f, bmp));
    f = good;
    PutLE32(f, 10, 0xFFFFFFF0u);  // pixel data offset past the end
    EXPECT_EQ(11, DecodeBytes(f, bmp));
    f = good;
    PutLE32(f, 14, 0xFFFFFFF0u);  // header size past the end
    EXPECT_EQ(11, DecodeBytes(f, bmp));
}

TEST(ImagingBmpEncoder, WritesTwentyFourBitAndPalettedFiles)
{
    testsupport::ScratchDir dir;
    CAnyBmp bmp;
    bmp.Create(2, 2, 32, false);
    bmp.SetPixel(0, 0, PLMakePixel(1, 2, 3));
    bmp.SetPixel(1, 0, PLMakePixel(4, 5, 6));
    bmp.SetPixel(0, 1, PLMakePixel(7, 8, 9));
    bmp.SetPixel(1, 1, PLMakePixel(10, 11, 12));
    CBmpEncoder encoder;
    std::string path = dir.File("two.bmp");
    encoder.EncodeFile(path.c_str(), &bmp);
    std::vector<uint8_t> file;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, file));
    ASSERT_EQ(70u, file.size());
    EXPECT_EQ(70u, file[2] | (file[3] << 8));
    EXPECT_EQ(54, file[10]);
    EXPECT_EQ(24, file[28]);
    EXPECT_EQ(9, file[54]);  // bottom row first, blue first
    CAnyBmp back;
    ASSERT_EQ(0, DecodeBytes(file, back));
    EXPECT_EQ(PLMakePixel(1, 2, 3), back.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(10, 11, 12), back.GetPixel(1, 1));

    CAnyBmp pal;
    ASSERT_EQ(0, DecodeBytes(Fixture("bmp8.bmp"), pal, 0));
    path = dir.File("pal.bmp");
    encoder.EncodeFile(path.c_str(), &pal);
    ASSERT_TRUE(testsupport::ReadFileBytes(path, file));
    CAnyBmp again;
    ASSERT_EQ(0, DecodeBytes(file, again));
    EXPECT_EQ(0, MaxDifferenceToReference(again, "bmp8.bmp"));

    try {
        encoder.EncodeFile(dir.File("nofolder\\x.bmp").c_str(), &bmp);
        FAIL();
    } catch (const CTextException& e) {
        EXPECT_EQ(-1, e.GetCode());
    }
}

TEST(ImagingBmpEncoder, OneColumnPicturesAreSizedByTheirPaddedRows)
{
    testsupport::ScratchDir dir;
    CBmpEncoder encoder;
    for (int bpp : {1, 8, 32}) {
        CAnyBmp tall;
        tall.Create(1, 20000, static_cast<uint16_t>(bpp), false);
        for (int y = 0; y < 20000; ++y)
            tall.SetPixel(0, y, bpp == 32 ? PLMakePixel(static_cast<uint8_t>(y), 0, 0) : static_cast<PLPixel32>(y & 1));
        const std::string path = dir.File("tall" + std::to_string(bpp) + ".bmp");
        encoder.EncodeFile(path.c_str(), &tall);
        std::vector<uint8_t> file;
        ASSERT_TRUE(testsupport::ReadFileBytes(path, file));
        const size_t palette = bpp <= 8 ? 4u << bpp : 0;
        EXPECT_EQ(54 + palette + 4 * 20000u, file.size()) << bpp;
        CAnyBmp back, expected;
        ASSERT_EQ(0, DecodeBytes(file, back)) << bpp;
        expected.CreateCopy(tall, 32);
        EXPECT_EQ(expected.GetPixel(0, 19999), back.GetPixel(0, 19999)) << bpp;
        EXPECT_EQ(expected.GetPixel(0, 1), back.GetPixel(0, 1)) << bpp;
    }
}
