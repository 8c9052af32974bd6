// A bounded mutation run over the pictures of the other raster formats (TGA, PCX, PGM, PICT):
// a fixed seed and a fixed number of changed copies per picture, each decoded to a result or the
// library's exception, never a read or write outside a buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/AnyBmp.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/TextException.h"
#include "tests/support/RepeatableRandom.h"
#include "tests/support/TestSupport.h"

namespace {

const char* const kPictures[] = {
    "tga_cmap_raw.tga", "tga_cmap_rle.tga", "tga_grey_rle.tga", "tga_rgb_rle.tga", "tga_rgba.tga",
    "pcx_8bit.pcx", "pcx_rgb.pcx", "pcx_mono.pcx", "pcx_packed2.pcx", "pcx_planes4.pcx",
    "pgm_raw.pgm", "pgm_plain.pgm", "pgm16.pgm",
    "pict_direct.pict", "pict_im8.pict", "pict_jpeg.pict", "pict_netpbm8.pict"};

void Decode(const std::vector<uint8_t>& bytes, int wish)
{
    CAnyPicDecoder decoder;
    CAnyBmp bmp;
    try {
        decoder.DecodeMemory(bytes.data(), bytes.size(), &bmp, wish);
    } catch (const CTextException&) {
    }
}

}  // namespace

TEST(RasterMutation, ChangedAndCutPicturesOfEveryOtherFormat)
{
    const char* dir = std::getenv("BKF_FORMATS_TESTDATA_UNIX");
    ASSERT_NE(nullptr, dir) << "BKF_FORMATS_TESTDATA_UNIX names the formats pictures";
    const char* env = std::getenv("BKF_IMAGING_FUZZ_ROUNDS");
    const int rounds = env ? std::atoi(env) : 60;
    testsupport::RepeatableRandom next(4242);
    int decoded = 0;
    for (const char* name : kPictures) {
        std::vector<uint8_t> data;
        if (!testsupport::ReadFileBytes(std::string(dir) + name, data) || data.empty())
            continue;
        SCOPED_TRACE(name);
        ++decoded;
        for (int round = 0; round < rounds; ++round) {
            std::vector<uint8_t> bad = data;
            const int flips = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < flips; ++i) {
                const size_t limit = (next() & 1) ? std::min<size_t>(bad.size(), 160) : bad.size();
                bad[next() % limit] = static_cast<uint8_t>(next());
            }
            if (round % 4 == 3)
                bad.resize(next() % bad.size());
            Decode(bad, round % 3 == 0 ? 0 : 32);
        }
    }
    EXPECT_GE(decoded, 10);
}
