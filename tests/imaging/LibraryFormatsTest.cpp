// JPEG, PNG, TIFF and GIF decoders against reference decodings, and the JPEG header reader.
#include <gtest/gtest.h>

#include "tests/imaging/ImagingTestUtil.h"
#include "tests/support/TestSupport.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/JpegReadHeader.h"
#include "imaging/TextException.h"

using namespace imgtest;

namespace {
struct RefCase {
    const char* name;
    int tolerance;
    bool alpha;
};

void CheckAgainstReferences(std::initializer_list<RefCase> cases)
{
    for (const RefCase& c : cases) {
        SCOPED_TRACE(c.name);
        CAnyBmp bmp;
        std::string text;
        ASSERT_EQ(0, DecodeBytes(Fixture(c.name), bmp, 32, &text)) << text;
        EXPECT_EQ(37, bmp.GetWidth());
        EXPECT_EQ(23, bmp.GetHeight());
        EXPECT_EQ(c.alpha, bmp.HasAlpha());
        EXPECT_LE(MaxDifferenceToReference(bmp, c.name), c.tolerance);
        if (!c.alpha) {
            for (int y = 0; y < bmp.GetHeight(); ++y)
                for (int x = 0; x < bmp.GetWidth(); ++x)
                    ASSERT_EQ(255, A(bmp.GetPixel(x, y))) << x << "," << y;
        }
    }
}
}  // namespace

TEST(ImagingJpeg, DecodesLikeDjpeg)
{
    CheckAgainstReferences({{"jpg_rgb.jpg", 2, false}, {"jpg_prog.jpg", 2, false}, {"jpg_grey.jpg", 2, false},
                            {"jpg_cmyk.jpg", 6, false}});
}

TEST(ImagingJpeg, GreyWithAZeroWishGivesEightBits)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture("jpg_grey.jpg"), bmp, 0));
    EXPECT_EQ(8, bmp.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(200, 200, 200), bmp.GetPalette()[200]);
}

TEST(ImagingJpeg, TruncatedDataStillGivesAFullSizePicture)
{
    std::vector<uint8_t> jpg = Fixture("jpg_rgb.jpg");
    size_t sos = 0;
    for (size_t i = 2; i + 1 < jpg.size() && !sos; ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xDA)
            sos = i;
    ASSERT_NE(0u, sos);
    jpg.resize(sos + (jpg.size() - sos) / 2);  // half of the entropy-coded data
    CAnyBmp bmp;
    std::string text;
    ASSERT_EQ(0, DecodeBytes(jpg, bmp, 32, &text)) << text;
    EXPECT_EQ(37, bmp.GetWidth());
    EXPECT_EQ(23, bmp.GetHeight());
}

TEST(ImagingJpeg, HeaderReaderGivesSizeOrThrows)
{
    std::vector<uint8_t> jpg = Fixture("jpg_prog.jpg");
    {
        JpegReadHeader reader;
        reader.DecodeMemory(jpg.data(), jpg.size(), nullptr, 0);
        EXPECT_EQ(37, reader.GetWidth());
        EXPECT_EQ(23, reader.GetHeight());
        // The same object serves again, on data cut right after the first scan header.
        size_t cut = 0;
        for (size_t i = 2; i + 3 < jpg.size(); ++i)
            if (jpg[i] == 0xFF && jpg[i + 1] == 0xDA) {
                cut = i + 2 + (jpg[i + 2] << 8 | jpg[i + 3]);
                break;
            }
        ASSERT_NE(0u, cut);
        reader.DecodeMemory(jpg.data(), cut, nullptr, 0);
        EXPECT_EQ(37, reader.GetWidth());
    }
    for (size_t len : {size_t(0), size_t(1), size_t(2), size_t(20)}) {
        JpegReadHeader reader;
        EXPECT_THROW(reader.DecodeMemory(jpg.data(), len, nullptr, 0), CTextException) << len;
    }
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("a.jpg"), jpg));
    JpegReadHeader fromFile;
    fromFile.DecodeFile(dir.File("a.jpg").c_str(), nullptr, 0);
    EXPECT_EQ(23, fromFile.GetHeight());
}

TEST(ImagingJpeg, NotJpegDataFailsWithTheLibraryText)
{
    std::vector<uint8_t> bad = {0xFF, 0xD8, 0xFF, 0x01, 0x02, 0x03, 0x04, 0x05};
    bad.resize(600, 0x33);
    CAnyBmp bmp;
    std::string text;
    EXPECT_EQ(6, DecodeBytes(bad, bmp, 32, &text));
    EXPECT_EQ(0u, text.find("Decoder error: ")) << text;
}

TEST(ImagingPng, DecodesEveryColourType)
{
    CheckAgainstReferences({{"png_rgb.png", 0, false}, {"png_rgba.png", 0, true}, {"png_grey8.png", 0, false},
                            {"png_grey1.png", 0, false}, {"png_grey16.png", 1, false},
                            {"png_rgb16.png", 1, false}, {"png_pal.png", 0, false},
                            {"png_interlaced.png", 0, false}, {"png_greya.png", 0, true}});
}

TEST(ImagingPng, EightBitWishes)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture("png_grey1.png"), bmp, 0));
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPalette()[0]);
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPalette()[1]);
    // 16-bit grey is stripped to 8 bits: its ramp has 256 steps.
    ASSERT_EQ(0, DecodeBytes(Fixture("png_grey16.png"), bmp, 0));
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(100, 100, 100), bmp.GetPalette()[100]);
    ASSERT_EQ(0, DecodeBytes(Fixture("png_pal.png"), bmp, 0));
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    CAnyBmp rgb;
    rgb.CreateCopy(bmp, 32);
    EXPECT_EQ(0, MaxDifferenceToReference(rgb, "png_pal.png"));
}

TEST(ImagingTiff, DecodesCompressionsLayoutsAndDepths)
{
    CheckAgainstReferences({{"tif_rgb.tif", 0, false}, {"tif_lzw.tif", 0, false}, {"tif_zip.tif", 0, false},
                            {"tif_tiled.tif", 0, false}, {"tif_bigendian.tif", 0, false},
                            {"tif_pal.tif", 0, false}, {"tif_grey.tif", 0, false},
                            {"tif_bilevel.tif", 0, false}, {"tif_rgb16.tif", 1, false}});
}

// Colours are straight, as in every other format: not multiplied by their alpha. A file that
// stores them multiplied loses precision where alpha is small, hence the tolerance.
static void ExpectStraightAlpha(const char* name, const char* reference, bool stored)
{
    SCOPED_TRACE(name);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture(name), bmp));
    ASSERT_TRUE(bmp.HasAlpha());
    std::vector<uint8_t> ref = Fixture(reference);
    ASSERT_EQ(37u * 23u * 4u, ref.size());
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            const uint8_t* expected = &ref[(y * 37 + x) * 4];
            const PLPixel32 got = bmp.GetPixel(x, y);
            ASSERT_NEAR(expected[3], A(got), 1) << x << "," << y;
            if (expected[3] < (stored ? 1 : 24))
                continue;
            const int tolerance = stored ? 1 : 2 + 255 / expected[3];
            ASSERT_NEAR(expected[0], PLPixelRed(got), tolerance) << x << "," << y;
            ASSERT_NEAR(expected[1], PLPixelGreen(got), tolerance) << x << "," << y;
            ASSERT_NEAR(expected[2], PLPixelBlue(got), tolerance) << x << "," << y;
        }
}

TEST(ImagingTiff, AlphaIsKeptWithStraightColours)
{
    ExpectStraightAlpha("tif_rgba.tif", "tif_rgba.tif.rgba", true);
    ExpectStraightAlpha("tif_assoc.tif", "tif_rgba.tif.rgba", false);
    ExpectStraightAlpha("tif_greya.tif", "tif_greya.tif.rgba", false);
}

TEST(ImagingTiff, LowColourPathForSmallWishes)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture("tif_pal.tif"), bmp, 0));
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    CAnyBmp rgb;
    rgb.CreateCopy(bmp, 32);
    EXPECT_LE(MaxDifferenceToReference(rgb, "tif_pal.tif"), 1);
    ASSERT_EQ(0, DecodeBytes(Fixture("tif_bilevel.tif"), bmp, 0));
    ASSERT_EQ(1, bmp.GetBitsPerPixel());
    rgb.CreateCopy(bmp, 32);
    EXPECT_EQ(0, MaxDifferenceToReference(rgb, "tif_bilevel.tif"));
    ASSERT_EQ(0, DecodeBytes(Fixture("tif_grey.tif"), bmp, 0));
    rgb.CreateCopy(bmp, 32);
    EXPECT_EQ(0, MaxDifferenceToReference(rgb, "tif_grey.tif"));
}

TEST(ImagingTiff, AbsurdSizeAndEpsPreview)
{
    CAnyBmp bmp;
    int code = DecodeBytes(Fixture("tif_huge.tif"), bmp);
    EXPECT_TRUE(code == 10 || code == 1) << code;

    // An EPS wrapper whose TIFF preview starts at byte 32.
    std::vector<uint8_t> tif = Fixture("tif_lzw.tif");
    std::vector<uint8_t> eps(32, 0);
    eps[0] = 0xC5; eps[1] = 0xD0; eps[2] = 0xD3; eps[3] = 0xC6;
    PutLE32(eps, 20, 32);
    PutLE32(eps, 24, static_cast<uint32_t>(tif.size()));
    eps.insert(eps.end(), tif.begin(), tif.end());
    ASSERT_EQ(0, DecodeBytes(eps, bmp));
    EXPECT_EQ(0, MaxDifferenceToReference(bmp, "tif_lzw.tif"));
    PutLE32(eps, 20, 0x7FFFFFF0);  // preview offset past the end
    EXPECT_EQ(11, DecodeBytes(eps, bmp));
}

TEST(ImagingGif, DecodesPlainAndInterlaced)
{
    CheckAgainstReferences({{"gif_plain.gif", 0, false}, {"gif_interlaced.gif", 0, false}});
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture("gif_plain.gif"), bmp, 0));
    EXPECT_EQ(8, bmp.GetBitsPerPixel());
}

// The canvas is one 8-bit picture whose palette is the last frame's (or the global) map, so
// frames are checked by their indices.
TEST(ImagingGif, FramesArePaintedOverEachOther)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Fixture("gif_anim.gif"), bmp, 0));
    ASSERT_EQ(20, bmp.GetWidth());
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    uint32_t first = bmp.GetPixel(0, 0);
    uint32_t second = bmp.GetPixel(5, 5);
    EXPECT_NE(first, second);
    EXPECT_EQ(first, bmp.GetPixel(19, 19));
    EXPECT_EQ(first, bmp.GetPixel(15, 15));
    EXPECT_EQ(second, bmp.GetPixel(14, 14));
    EXPECT_EQ(first, bmp.GetPixel(4, 14));
    CAnyBmp rgb;
    ASSERT_EQ(0, DecodeBytes(Fixture("gif_anim.gif"), rgb, 32));
    EXPECT_EQ(bmp.GetPalette()[second], rgb.GetPixel(5, 5));
}

// Each frame brings its own colour map: in colour every frame keeps its own colours.
TEST(ImagingGif, FramesWithTheirOwnColourMapsKeepTheirColours)
{
    CAnyBmp rgb;
    ASSERT_EQ(0, DecodeBytes(Fixture("gif_anim_local.gif"), rgb, 32));
    ASSERT_EQ(20, rgb.GetWidth());
    ASSERT_EQ(32, rgb.GetBitsPerPixel());
    for (auto xy : {std::pair<int, int>(0, 0), {19, 19}, {4, 14}, {15, 15}}) {
        uint32_t p = rgb.GetPixel(xy.first, xy.second);
        EXPECT_TRUE(R(p) > 200 && G(p) < 50 && B(p) < 50) << xy.first << "," << xy.second << " " << std::hex << p;
    }
    for (auto xy : {std::pair<int, int>(5, 5), {14, 14}}) {
        uint32_t p = rgb.GetPixel(xy.first, xy.second);
        EXPECT_TRUE(B(p) > 200 && R(p) < 50 && G(p) < 50) << xy.first << "," << xy.second << " " << std::hex << p;
    }
    EXPECT_EQ(255, A(rgb.GetPixel(0, 0)));
}

TEST(ImagingGif, FramesOutsideTheScreenAreClippedAndErrorsKeepWhatWasDrawn)
{
    std::vector<uint8_t> gif = Fixture("gif_anim.gif");
    // Move the second frame (10 x 10 at 5,5) to 15,15 so it hangs over the screen's edge.
    size_t second = 0;
    for (size_t i = 13; i + 9 < gif.size() && !second; ++i)
        if (gif[i] == 0x2C && gif[i + 1] == 5 && gif[i + 3] == 5 && gif[i + 5] == 10 && gif[i + 7] == 10)
            second = i;
    ASSERT_NE(0u, second);
    CAnyBmp plain;
    ASSERT_EQ(0, DecodeBytes(gif, plain, 0));
    uint32_t firstIndex = plain.GetPixel(0, 0), secondIndex = plain.GetPixel(5, 5);

    std::vector<uint8_t> moved = gif;
    PutLE16(moved, second + 1, 15);
    PutLE16(moved, second + 3, 15);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(moved, bmp, 0));
    EXPECT_EQ(secondIndex, bmp.GetPixel(19, 19));
    EXPECT_EQ(firstIndex, bmp.GetPixel(14, 14));
    PutLE16(moved, second + 1, 30000);  // entirely outside
    ASSERT_EQ(0, DecodeBytes(moved, bmp, 0));
    EXPECT_EQ(firstIndex, bmp.GetPixel(19, 19));

    // Cut inside the second frame's data: the first frame survives.
    std::vector<uint8_t> cut(gif.begin(), gif.begin() + static_cast<long>(second + 14));
    ASSERT_EQ(0, DecodeBytes(cut, bmp, 0));
    EXPECT_EQ(firstIndex, bmp.GetPixel(0, 0));
    EXPECT_EQ(firstIndex, bmp.GetPixel(19, 19));
    // Cut inside the header: nothing to show.
    cut.assign(gif.begin(), gif.begin() + 8);
    EXPECT_EQ(11, DecodeBytes(cut, bmp));
    // Absurd screen size.
    std::vector<uint8_t> huge = gif;
    PutLE16(huge, 6, 65535);
    PutLE16(huge, 8, 65535);
    EXPECT_EQ(10, DecodeBytes(huge, bmp));
}
