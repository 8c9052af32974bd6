#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/DownloadFilter.h"
#include "tests/support/FixtureBytes.h"

namespace {

// The filter reads bodies as bytes, as the worker hands them over.
std::vector<uint8_t> Fixture(const char* name) {
    const std::string bytes = testsupport::FixtureBytes(name);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

DownloadFilterVerdict Filter(const DownloadFilterLimits& limits, bool isImage, const std::string& ext,
                             const std::vector<uint8_t>& body, size_t count, uint64_t length,
                             const std::string& type) {
    return RunDownloadFilter(limits, isImage, ext, body.data(), std::min(count, body.size()), length, type);
}

}  // namespace

TEST(DownloadFilter, ContentTypeDecidesPagesAndPictures) {
    DownloadFilterLimits none;
    std::vector<uint8_t> body(10, 0);
    auto v = Filter(none, true, ".jpg", body, 10, 0, "Text/HTML; charset=utf-8");
    EXPECT_FALSE(v.accept);
    v = Filter(none, false, "", body, 10, 0, "image/gif");
    EXPECT_FALSE(v.accept);
    v = Filter(none, false, "", body, 10, 0, "application/x-javascript");
    EXPECT_TRUE(v.accept);
    EXPECT_TRUE(v.decided);
    v = Filter(none, true, ".jpg", body, 10, 0, "");
    EXPECT_TRUE(v.accept);
    EXPECT_FALSE(v.decided);
}

TEST(DownloadFilter, SizeLimitsAreInclusive) {
    DownloadFilterLimits limits;
    limits.maximumSizeOn = true;
    limits.maximumSize = 100;
    std::vector<uint8_t> body(4, 0);
    EXPECT_TRUE(Filter(limits, true, ".jpg", body, 4, 102400, "").accept);
    EXPECT_FALSE(Filter(limits, true, ".jpg", body, 4, 102401, "").accept);
    limits.maximumSizeOn = false;
    limits.minimumSizeOn = true;
    limits.minimumSize = 2;
    EXPECT_TRUE(Filter(limits, true, ".jpg", body, 4, 2048, "").accept);
    EXPECT_FALSE(Filter(limits, true, ".jpg", body, 4, 2047, "").accept);
    // Unknown length: the limits wait for the whole body's length elsewhere.
    EXPECT_TRUE(Filter(limits, true, ".jpg", body, 4, 0, "").accept);
    // Lengths past 4 GiB do not wrap.
    limits.minimumSizeOn = false;
    limits.maximumSizeOn = true;
    EXPECT_FALSE(Filter(limits, true, ".jpg", body, 4, (uint64_t(1) << 32) + 1, "").accept);
}

TEST(DownloadFilter, DimensionsFromTheFirstBytes) {
    DownloadFilterLimits limits;
    limits.minimumWidthOn = true;
    limits.minimumWidth = 100;
    auto gif = Fixture("p100x100.gif");
    EXPECT_TRUE(Filter(limits, true, ".gif", gif, gif.size(), 0, "image/gif").accept);
    limits.minimumWidth = 101;
    auto early = Filter(limits, true, ".gif", gif, 11, 0, "");
    EXPECT_FALSE(early.accept);
    EXPECT_TRUE(early.decided);

    auto png = Fixture("p64x48.png");
    limits.minimumWidth = 10;
    limits.minimumHeightOn = true;
    limits.minimumHeight = 49;
    auto partial = Filter(limits, true, ".png", png, 20, 0, "");
    EXPECT_TRUE(partial.accept);
    EXPECT_FALSE(partial.decided);
    EXPECT_FALSE(Filter(limits, true, ".png", png, 30, 0, "").accept);

    auto jpg = Fixture("p120x80.jpg");
    const PictureHeaderSize size = SniffPictureSize(jpg.data(), jpg.size(), ".JPG");
    ASSERT_TRUE(size.Known());
    EXPECT_EQ(120, size.width);
    EXPECT_EQ(80, size.height);
    limits.minimumHeight = 81;
    EXPECT_FALSE(Filter(limits, true, ".jpeg", jpg, jpg.size(), 0, "").accept);
    // A JPEG header cut short is undecided, not rejected.
    auto cut = Filter(limits, true, ".jpg", jpg, 8, 0, "");
    EXPECT_TRUE(cut.accept);
    EXPECT_FALSE(cut.decided);
    // The same bytes under another extension are not sniffed as JPEG: passed once 55 bytes are in.
    EXPECT_TRUE(Filter(limits, true, ".dat", jpg, 60, 0, "").accept);
}

TEST(DownloadFilter, HostileHeadersDoNotCrash) {
    DownloadFilterLimits limits;
    limits.minimumWidthOn = true;
    limits.minimumWidth = 1;
    limits.minimumHeightOn = true;
    limits.minimumHeight = 1;
    std::vector<uint8_t> bmp(60, 0xff);
    bmp[0] = 'B';
    bmp[1] = 'M';   // width -1, height -1
    EXPECT_FALSE(Filter(limits, true, ".bmp", bmp, bmp.size(), 0, "").accept);
    std::vector<uint8_t> junk(4096);
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>(i * 7919u >> 3);
    junk[0] = 0xFF;
    junk[1] = 0xD8;
    for (size_t n : {size_t(1), size_t(2), size_t(3), size_t(100), junk.size()})
        Filter(limits, true, ".jpg", junk, n, 0, "");
}
