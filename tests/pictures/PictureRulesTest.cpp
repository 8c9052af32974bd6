// The arithmetic behind the picture views: size texts, column fitting, the selection tests on
// real picture headers, and where copies go.
#include <gtest/gtest.h>
#include <cstring>
#include "core/DownloadFilter.h"
#include "core/ImageRecord.h"
#include "core/UrlHelpers.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/TestSupport.h"
#include "ui/pictures/ImagesListView.h"
#include "dialogs/pictures/PictureCriteria.h"
#include "ui/pictures/PictureFiles.h"

namespace {

std::string Fixture(const char* name) { return testsupport::TestDataDir() + name; }

ImageRecord RecordOf(const std::string& path, const std::string& url, int32_t size) {
    ImageRecord record;
    record.localPath = path;
    record.imageUrl = url;
    record.fileName = path.substr(path.find_last_of('\\') + 1);
    record.fileSize = size;
    return record;
}

}  // namespace

TEST(PictureRulesTest, SizeTextAndNameColumnFollowTheRules) {
    EXPECT_EQ(1, PictureKilobytes(999));
    EXPECT_EQ(1, PictureKilobytes(1999));
    EXPECT_EQ(2, PictureKilobytes(2000));
    EXPECT_EQ(0, PictureKilobytes(0));
    EXPECT_EQ(223, FitNameColumn(100, 55, 300));
    EXPECT_EQ(-1, FitNameColumn(100, 55, 87));   // 10 pixels would be left: the widths stay
    EXPECT_EQ(11, FitNameColumn(100, 55, 88));
}

TEST(PictureRulesTest, DimensionsComeFromTheHeaderBeforeTheAddress) {
    const std::string png = Fixture("p100x80.png");
    PictureCriteria criteria;
    criteria.widthLargerOn = true;
    criteria.widthLarger = 100;
    EXPECT_TRUE(PictureMatches(criteria, RecordOf(png, "http://h/p.png", 300)));
    criteria.heightLargerOn = true;
    criteria.heightLarger = 81;
    EXPECT_FALSE(PictureMatches(criteria, RecordOf(png, "http://h/p.png", 300)));

    // GIF needs a stored size above 10, BMP above 54: at exactly those sizes no rule applies.
    unsigned char header[54] = {};
    memcpy(header, "GIF89a", 6);
    header[6] = 200;
    EXPECT_FALSE(PictureSizeFromSignature(header, sizeof(header), 10).Known());
    EXPECT_TRUE(PictureSizeFromSignature(header, sizeof(header), 11).Known());
    EXPECT_EQ(200, PictureSizeFromSignature(header, sizeof(header), 11).width);
    memset(header, 0, sizeof(header));
    header[0] = 'B';
    header[1] = 'M';
    header[22] = 0xFF; header[23] = 0xFF; header[24] = 0xFF; header[25] = 0xFF;   // height -1
    EXPECT_FALSE(PictureSizeFromSignature(header, sizeof(header), 54).Known());
    EXPECT_EQ(-1, PictureSizeFromSignature(header, sizeof(header), 55).height);

    // A ".jpg" address whose file is a BMP is measured as the BMP (30 x 20).
    const std::string bmp = Fixture("b30x20.bmp");
    PictureHeaderSize measured = ProbePictureDimensions(bmp, 2000, "http://h/x.jpg");
    EXPECT_TRUE(measured.Known());
    EXPECT_EQ(30, measured.width);
    EXPECT_EQ(20, measured.height);
    // A real JPEG through its header reader; a broken one fails the dimension test.
    measured = ProbePictureDimensions(Fixture("r120x90.jpg"), 500, "http://h/r.JPEG");
    EXPECT_EQ(120, measured.width);
    EXPECT_EQ(90, measured.height);
    criteria = PictureCriteria();
    criteria.widthSmallerOn = true;
    EXPECT_FALSE(PictureMatches(criteria, RecordOf(Fixture("missing.jpg"), "http://h/missing.jpg", 500)));
    // No rule at all: the test passes.
    EXPECT_TRUE(PictureMatches(criteria, RecordOf(Fixture("missing.xyz"), "http://h/missing.xyz", 500)));
}

// What the download filter reads from a body as it arrives and what the selection by size reads
// from the saved file must be one measure, or a picture let through by one is refused by the other.
TEST(PictureRulesTest, TheDownloadFilterAndTheSelectionMeasureEveryFileAlike) {
    const std::string png = testsupport::FixtureBytes("p100x80.png");
    const std::string jpg = testsupport::FixtureBytes("r120x90.jpg");
    const std::string bmp = testsupport::FixtureBytes("b30x20.bmp");
    // Size fields beyond the signed range: width 0x80000000, height 0xFFFFFFFF.
    std::string hugePng = png;
    hugePng.replace(16, 8, std::string("\x80\0\0\0\xFF\xFF\xFF\xFF", 8));
    std::string upsideDown = bmp;
    upsideDown.replace(22, 4, std::string("\xEC\xFF\xFF\xFF", 4));   // height -20
    const struct {
        std::string bytes;
        const char* url;
    } files[] = {
        {png, "http://h/a.png"},
        {hugePng, "http://h/huge.png"},
        {testsupport::FixtureBytes("o60x40.gif"), "http://h/o.gif"},
        {std::string("GIF89a\x10\x01\x20\x02\0", 11), "http://h/short.gif"},
        {std::string("GIF89a\x10\x01\x20\x02", 10), "http://h/shorter.gif"},
        {bmp, "http://h/b.jpg"},
        {upsideDown, "http://h/up.bmp"},
        {jpg, "http://h/r.JPEG"},
        {jpg, "http://h/r.dat"},
        {jpg.substr(0, 8), "http://h/cut.jpg"},
        {std::string(300, '\x5A'), "http://h/junk.jpe"},
        {std::string(), "http://h/empty.jpg"},
    };
    testsupport::ScratchDir dir;
    int index = 0;
    for (const auto& file : files) {
        const std::string path = dir.File(std::to_string(index++) + ".pic");
        ASSERT_TRUE(testsupport::WriteFileText(path, file.bytes));
        const PictureHeaderSize filtered =
            SniffPictureSize(reinterpret_cast<const uint8_t*>(file.bytes.data()), file.bytes.size(),
                             GetUrlFileExtension(file.url));
        const PictureHeaderSize selected =
            ProbePictureDimensions(path, static_cast<int32_t>(file.bytes.size()), file.url);
        EXPECT_EQ(filtered.outcome, selected.outcome) << file.url;
        EXPECT_EQ(filtered.isSigned, selected.isSigned) << file.url;
        EXPECT_EQ(filtered.width, selected.width) << file.url;
        EXPECT_EQ(filtered.height, selected.height) << file.url;
    }

    // The overflowing PNG keeps its sizes as written: it passes every minimum of both and is
    // above the largest maximum the selection takes.
    const std::string hugePath = dir.File("huge.png");
    ASSERT_TRUE(testsupport::WriteFileText(hugePath, hugePng));
    const PictureHeaderSize huge = ProbePictureDimensions(hugePath, 300, "http://h/huge.png");
    EXPECT_EQ(int64_t(0x80000000u), huge.width);
    EXPECT_EQ(int64_t(0xFFFFFFFFu), huge.height);
    DownloadFilterLimits limits;
    limits.minimumWidthOn = limits.minimumHeightOn = true;
    limits.minimumWidth = limits.minimumHeight = 0x7FFFFFFF;
    const uint8_t* hugeBytes = reinterpret_cast<const uint8_t*>(hugePng.data());
    EXPECT_TRUE(RunDownloadFilter(limits, true, ".png", hugeBytes, hugePng.size(), 0, "").accept);
    PictureCriteria criteria;
    criteria.widthLargerOn = criteria.heightLargerOn = true;
    criteria.widthLarger = criteria.heightLarger = 0x7FFFFFFF;
    EXPECT_TRUE(PictureMatches(criteria, RecordOf(hugePath, "http://h/huge.png", 300)));
    criteria = PictureCriteria();
    criteria.widthSmallerOn = true;
    criteria.widthSmaller = 0x7FFFFFFF;
    EXPECT_FALSE(PictureMatches(criteria, RecordOf(hugePath, "http://h/huge.png", 300)));
    // A JPEG address whose header cannot be read: the filter waits, the selection refuses.
    const std::string cut = jpg.substr(0, 8);
    const DownloadFilterVerdict waiting =
        RunDownloadFilter(limits, true, ".jpg", reinterpret_cast<const uint8_t*>(cut.data()), cut.size(), 0, "");
    EXPECT_TRUE(waiting.accept);
    EXPECT_FALSE(waiting.decided);
}

TEST(PictureRulesTest, SizeBoundsAreComputedWithoutOverflowAndMasksIgnoreCase) {
    PictureCriteria criteria;
    criteria.bySize = true;
    criteria.minSizeKB = 1;
    criteria.maxSizeKB = 3000000;   // 3,000,000,000 bytes: beyond 32 bits
    EXPECT_TRUE(PassesSizeTest(criteria, 2000000000));
    EXPECT_FALSE(PassesSizeTest(criteria, 999));
    EXPECT_TRUE(PassesSizeTest(criteria, 1000));
    criteria.minSizeKB = 5;
    criteria.maxSizeKB = 2;   // accepted as typed: nothing passes
    EXPECT_FALSE(PassesSizeTest(criteria, 3000));

    criteria = PictureCriteria();
    criteria.masks = {"*.jpg", "th_*.gif"};
    EXPECT_TRUE(PassesMaskTest(criteria, "A.JPG"));
    EXPECT_TRUE(PassesMaskTest(criteria, "TH_1.gif"));
    EXPECT_FALSE(PassesMaskTest(criteria, "big.gif"));
}

TEST(PictureRulesTest, CopiesKeepTheirSubFoldersBelowTheSaveFolder) {
    std::string folder;
    EXPECT_EQ("D:\\out\\a\\b\\p.jpg", CopyDestination("C:\\save\\a\\b\\p.jpg", "p.jpg", "C:\\save", "D:\\out", &folder));
    EXPECT_EQ("D:\\out\\a\\b", folder);
    EXPECT_EQ("D:\\out\\q.jpg", CopyDestination("E:\\elsewhere\\q.jpg", "q.jpg", "C:\\save", "D:\\out", &folder));
    EXPECT_EQ("D:\\out", folder);
    // A folder beside the save folder whose name merely starts with it is not below it.
    EXPECT_EQ("D:\\out\\p.jpg", CopyDestination("C:\\save2\\p.jpg", "p.jpg", "C:\\save", "D:\\out", &folder));
    EXPECT_EQ("D:\\p.jpg", CopyDestination("C:\\save\\p.jpg", "p.jpg", "C:\\save\\", "D:\\", &folder));
    // Stored names (a file anyone could change) that would lead elsewhere are refused.
    const char* const badBelow[] = {"C:\\save\\..\\x.jpg", "C:\\save\\a\\..\\..\\x.jpg", "C:\\save\\a/../../x.jpg",
                                    "C:\\save\\C:\\x.jpg", "C:\\save\\con.jpg", "C:\\save\\sub\\LPT1",
                                    "C:\\save\\x.jpg:stream", "C:\\save\\x.jpg.", "C:\\save\\\\"};
    for (const char* path : badBelow) EXPECT_EQ("", CopyDestination(path, "x.jpg", "C:\\save", "D:\\out", &folder)) << path;
    const char* const badNames[] = {"..\\x.jpg", "..", ".", "C:\\x.jpg", "C:x.jpg", "a/b.jpg", "\\\\host\\x.jpg", "",
                                    "NUL", "nul.txt", "Com3.png", "AUX .jpg", "x\tjpg", "a?.jpg", "x.jpg ",
                                    // Superscript one, two and three (code page 1252) name devices too.
                                    "COM\xB9.jpg", "lpt\xB2", "Com\xB3 .png", "CON.jpg", "clock$.png"};
    for (const char* name : badNames) EXPECT_EQ("", CopyDestination("E:\\e\\q.jpg", name, "C:\\save", "D:\\out", &folder)) << name;
    // Names that only look like them are plain.
    for (const char* name : {"console.jpg", "com10.jpg", "nul_.png", "..x.jpg", "a..b.jpg", ".hidden.png", "COM\xB4.jpg",
                             "LPT\xB9\xB9.jpg"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    const std::string list = DoubleNulList({"a", "bc"});
    EXPECT_EQ(std::string("a\0bc\0\0", 6), list);
}
