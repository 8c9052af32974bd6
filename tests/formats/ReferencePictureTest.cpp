// Pictures written by netpbm and ImageMagick (fixtures.sh) decode to the same pixels as the
// pictures they were made from.
#include <gtest/gtest.h>

#include "imaging/TextException.h"
#include "tests/formats/FormatsTestSupport.h"

using namespace formats_test;

namespace {

struct ReferenceCase {
    const char* file;
    const char* reference;
    int tolerance;
};

std::ostream& operator<<(std::ostream& os, const ReferenceCase& c)
{
    return os << c.file;
}

class ReferencePictureTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferencePictureTest, MatchesReference)
{
    const ReferenceCase& c = GetParam();
    CAnyBmp bmp;
    try {
        DecodeTestFile(c.file, bmp);
    } catch (const CTextException& e) {
        FAIL() << c.file << ": " << e.GetCode() << " " << e.GetText();
    }
    EXPECT_EQ("", ComparePixels(bmp, LoadReference(c.reference), c.tolerance)) << c.file;
}

const ReferenceCase kTga[] = {
    {"tga_rgb_rle.tga", "rgb.ppm", 0},          {"tga_rgb_raw.tga", "rgb.ppm", 0},
    {"tga_cmap_rle.tga", "pal16.ppm", 0},       {"tga_cmap_raw.tga", "pal16.ppm", 0},
    {"tga_grey_rle.tga", "grey.pgm", 0},        {"tga_grey_raw.tga", "grey.pgm", 0},
    {"tga_rgb_topdown.tga", "rgb.ppm", 0},      {"tga_rgb_topdown_rle.tga", "rgb.ppm", 0},
    {"tga_rgba.tga", "rgba.pam", 0},            {"tga_rgba_rle.tga", "rgba.pam", 0},
};
INSTANTIATE_TEST_SUITE_P(Tga, ReferencePictureTest, ::testing::ValuesIn(kTga));

const ReferenceCase kPcx[] = {
    {"pcx_rgb.pcx", "rgb.ppm", 0},       {"pcx_planes4.pcx", "pal16.ppm", 0},
    {"pcx_8bit.pcx", "pal16.ppm", 0},    {"pcx_packed4.pcx", "pal16.ppm", 0},
    {"pcx_packed2.pcx", "pal4.ppm", 0},  {"pcx_mono.pcx", "mono.ppm", 0},
    {"pcx_im_rgb.pcx", "rgb.ppm", 0},
};
INSTANTIATE_TEST_SUITE_P(Pcx, ReferencePictureTest, ::testing::ValuesIn(kPcx));

const ReferenceCase kPgm[] = {
    {"pgm_raw.pgm", "grey.pgm", 0},          {"pgm_plain.pgm", "grey.pgm", 0},
    {"pgm15_raw.pgm", "pgm15_ref.pgm", 0},   {"pgm15_plain.pgm", "pgm15_ref.pgm", 0},
    {"pgm16.pgm", "grey.pgm", 0},            {"pgm16_plain.pgm", "grey.pgm", 0},
    {"pgm_comments.pgm", "grey.pgm", 0},
};
INSTANTIATE_TEST_SUITE_P(Pgm, ReferencePictureTest, ::testing::ValuesIn(kPgm));

const ReferenceCase kPict[] = {
    {"pict_netpbm8.pict", "pict_netpbm8.pam", 0},
    {"pict_im8.pict", "pict_im8.pam", 0},
    {"pict_direct.pict", "pict_direct.pam", 0},
    {"pict_direct_alpha.pict", "pict_direct_alpha.pam", 0},
    // The embedded JPEG against djpeg's reading of the same stream.
    {"pict_jpeg.pict", "pict_jpeg_ref.ppm", 3},
};
INSTANTIATE_TEST_SUITE_P(Pict, ReferencePictureTest, ::testing::ValuesIn(kPict));

}  // namespace
