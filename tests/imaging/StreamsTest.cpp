// The TIFF memory stream and progress reports of file decoding.
#include <gtest/gtest.h>

#include "tests/imaging/ImagingTestUtil.h"
#include "tests/support/TestSupport.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/IProgressInfo.h"
#include "imaging/TIFFMemClient.h"

using namespace imgtest;

TEST(ImagingTiffStream, SeeksPastTheEndLeaveNothingToRead)
{
    std::vector<uint8_t> tif = Fixture("tif_rgb.tif");
    TIFF* t = TIFFOpenMem(tif.data(), tif.size(), nullptr);
    ASSERT_NE(nullptr, t);
    thandle_t h = TIFFClientdata(t);
    TIFFSeekProc seek = TIFFGetSeekProc(t);
    TIFFReadWriteProc read = TIFFGetReadProc(t);
    uint8_t buffer[16];
    EXPECT_EQ(static_cast<toff_t>(tif.size() + 100), seek(h, tif.size() + 100, SEEK_SET));
    EXPECT_EQ(0, read(h, buffer, sizeof buffer));
    EXPECT_EQ(static_cast<toff_t>(tif.size() - 4), seek(h, static_cast<toff_t>(-4), SEEK_END));
    EXPECT_EQ(4, read(h, buffer, sizeof buffer));
    EXPECT_EQ(static_cast<toff_t>(-1), seek(h, static_cast<toff_t>(-100000), SEEK_CUR));
    TIFFClose(t);

    std::vector<uint8_t> junk(64, 0x41);
    EXPECT_EQ(nullptr, TIFFOpenMem(junk.data(), junk.size(), nullptr));
}

namespace {
struct ProgressLog : IProgressInfo {
    std::vector<double> values;
    int OnProgress(double value) override
    {
        values.push_back(value);
        return 1;
    }
};
}  // namespace

TEST(ImagingProgress, FileDecodingReportsUpToOne)
{
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("p.bmp"), Fixture("bmp24.bmp")));
    ProgressLog log;
    CAnyPicDecoder decoder;
    CAnyBmp bmp;
    decoder.DecodeFile(dir.File("p.bmp").c_str(), &bmp, 32, &log);
    ASSERT_GE(log.values.size(), 2u);
    for (size_t i = 1; i < log.values.size(); ++i)
        EXPECT_GE(log.values[i], log.values[i - 1]);
    EXPECT_EQ(1.0, log.values.back());
}
