// Hostile pictures: truncated, corrupted, absurd sizes. Each must end in a result or a
// CTextException, never a crash, a hang or a huge allocation.
#include <gtest/gtest.h>

#include "tests/imaging/ImagingTestUtil.h"
#include "tests/support/RepeatableRandom.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/JPEGDecoder.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <zlib.h>
#include <cstdlib>

using namespace imgtest;

namespace {

const char* const kAllFixtures[] = {
    "bmp24.bmp", "bmp8.bmp", "bmp4.bmp", "bmp1.bmp", "rle8.bmp", "bmp16_565.bmp", "bmp32_v5.bmp",
    "png_rgb.png", "png_rgba.png", "png_grey1.png", "png_grey16.png", "png_pal.png", "png_interlaced.png",
    "jpg_rgb.jpg", "jpg_prog.jpg", "jpg_grey.jpg", "jpg_cmyk.jpg",
    "tif_rgb.tif", "tif_lzw.tif", "tif_zip.tif", "tif_tiled.tif", "tif_pal.tif", "tif_bilevel.tif",
    "gif_plain.gif", "gif_interlaced.gif", "gif_anim.gif"};

// Decodes and checks the outcome is sane; returns the code.
int DecodeHostile(const std::vector<uint8_t>& data, int wish)
{
    CAnyBmp bmp;
    int code = DecodeBytes(data, bmp, wish);
    if (code == 0) {
        EXPECT_GE(bmp.GetWidth(), 1);
        EXPECT_GE(bmp.GetHeight(), 1);
        EXPECT_LE(static_cast<uint64_t>(bmp.GetMemUsed()), kMaxPictureBytes + 2048);
    }
    return code;
}

}  // namespace

TEST(ImagingMalformed, TruncatedAtManyOffsets)
{
    for (const char* name : kAllFixtures) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> data = Fixture(name);
        ASSERT_FALSE(data.empty());
        size_t step = data.size() / 97 + 1;
        for (size_t len = 0; len < data.size(); len += (len < 64 ? 1 : step)) {
            std::vector<uint8_t> cut(data.begin(), data.begin() + static_cast<long>(len));
            DecodeHostile(cut, 32);
            if (len % 5 == 0)
                DecodeHostile(cut, 0);
        }
    }
}

TEST(ImagingMalformed, CorruptedBytes)
{
    testsupport::RepeatableRandom next(12345);
    // BKF_IMAGING_FUZZ_ROUNDS raises the count for a longer hand-run soak.
    const char* env = getenv("BKF_IMAGING_FUZZ_ROUNDS");
    int rounds = env ? atoi(env) : 60;
    for (const char* name : kAllFixtures) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> data = Fixture(name);
        for (int round = 0; round < rounds; ++round) {
            std::vector<uint8_t> bad = data;
            int flips = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < flips; ++i) {
                // Headers are where the interesting fields are: aim there half the time.
                size_t limit = (next() & 1) ? std::min<size_t>(bad.size(), 160) : bad.size();
                bad[next() % limit] = static_cast<uint8_t>(next());
            }
            DecodeHostile(bad, round % 3 == 0 ? 0 : 32);
        }
    }
}

TEST(ImagingMalformed, AbsurdDimensionsInEveryFormat)
{
    CAnyBmp bmp;
    // PNG: rewrite IHDR (with a correct CRC).
    std::vector<uint8_t> png = Fixture("png_rgb.png");
    for (uint32_t w : {0u, 70000u, 0x7FFFFFFFu}) {
        std::vector<uint8_t> bad = png;
        PutBE32(bad, 16, w);
        PutBE32(bad, 20, w == 0 ? 23 : 70000);
        PutBE32(bad, 29, static_cast<uint32_t>(crc32(0, bad.data() + 12, 17)));
        int code = DecodeHostile(bad, 32);
        EXPECT_TRUE(code == 10 || code == 2) << w << " gave " << code;
    }
    // JPEG: rewrite the frame header's height and width.
    std::vector<uint8_t> jpg = Fixture("jpg_rgb.jpg");
    for (size_t i = 2; i + 9 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            PutBE16(jpg, i + 5, 65000);
            PutBE16(jpg, i + 7, 65000);
            break;
        }
    EXPECT_EQ(10, DecodeHostile(jpg, 32));
    // GIF screen of 0 x 0.
    std::vector<uint8_t> gif = Fixture("gif_plain.gif");
    PutLE16(gif, 6, 0);
    EXPECT_EQ(10, DecodeHostile(gif, 32));
}

TEST(ImagingMalformed, BrokenRleAndPalettes)
{
    std::vector<uint8_t> rle = Fixture("rle8.bmp");
    // Every byte of the compressed data set to a long run: clipped, never written outside.
    std::vector<uint8_t> runs = rle;
    for (size_t i = 1078; i < runs.size(); ++i)
        runs[i] = 0xFF;
    EXPECT_EQ(11, DecodeHostile(runs, 32));
    std::vector<uint8_t> literals = rle;
    for (size_t i = 1078; i + 1 < literals.size(); i += 2) {
        literals[i] = 0;
        literals[i + 1] = 0xFE;
    }
    DecodeHostile(literals, 32);
    std::vector<uint8_t> pal = Fixture("bmp8.bmp");
    PutLE32(pal, 46, 0xFFFFFFFFu);
    EXPECT_EQ(0, DecodeHostile(pal, 32));
    PutLE32(pal, 46, 3);  // fewer entries than indices used: the rest stays black
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(pal, bmp));
}

TEST(ImagingMalformed, PngTextChunkClaimingAGigabyteFailsWithoutAllocatingIt)
{
    // A valid header followed by a text chunk whose length says 1 GB.
    std::vector<uint8_t> png = Fixture("png_rgb.png");
    png.resize(37);  // signature, IHDR and the next chunk's length
    PutBE32(png, 33, 0x40000000u);
    const char text[] = "tEXtComment";
    png.insert(png.end(), text, text + sizeof(text) - 1);
    const int code = DecodeHostile(png, 32);
    EXPECT_TRUE(code == 2 || code == 11) << code;
}

// One rule for every format: a picture whose bitmap would pass kMaxPicturePixels is refused
// from its header, before anything of its size exists; a reduced JPEG decode is measured on
// what it makes, and the JPEG library's own buffers keep to the same cap.
TEST(ImagingMalformed, SmallFilesClaimingHugePicturesAreRefusedFromTheirHeaders)
{
    EXPECT_TRUE(IsPictureSizeAllowed(8000, 6000));
    EXPECT_FALSE(IsPictureSizeAllowed(7964, 7709));
    EXPECT_FALSE(IsPictureSizeAllowed(0, 10));
    EXPECT_FALSE(IsPictureSizeAllowed(0x80000000LL, 1));

    for (const char* name : {"bomb.gif", "bomb.jpg"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> data = Fixture(name);
        ASSERT_LT(data.size(), 4000u);
        for (int wish : {0, 32}) {
            CAnyBmp bmp;
            std::string text;
            EXPECT_EQ(PL_ERRNO_MEMORY, DecodeBytes(data, bmp, wish, &text));
            EXPECT_NE(std::string::npos, text.find("too large")) << text;
        }
    }

    // The thumbnail's reduced decode: 64250 x 64250 at 1/8 still passes the rule.
    CJPEGDecoder jpeg;
    jpeg.SetScaleToCover(160, 120);
    std::vector<uint8_t> bomb = Fixture("bomb.jpg");
    CAnyBmp bmp;
    try {
        jpeg.DecodeMemory(bomb.data(), bomb.size(), &bmp, 32);
        ADD_FAILURE() << "a 64250 x 64250 JPEG was decoded";
    } catch (const CTextException& e) {
        EXPECT_EQ(PL_ERRNO_MEMORY, e.GetCode());
    }

    // 9000 x 9000 at 1/8 is a small bitmap, but a progressive picture needs every full-size
    // coefficient first (some 240 MB): refused, not decoded.
    std::vector<uint8_t> progressive = Fixture("bomb_progressive.jpg");
    try {
        jpeg.DecodeMemory(progressive.data(), progressive.size(), &bmp, 32);
        ADD_FAILURE() << "a progressive 9000 x 9000 JPEG was decoded, " << bmp.GetWidth() << " wide";
    } catch (const CTextException& e) {
        EXPECT_NE(0, e.GetCode());
    }
}
