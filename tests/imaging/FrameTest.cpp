// Exception, data sources and sinks of the image library.
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "imaging/DataSink.h"
#include "imaging/DecoderError.h"
#include "imaging/FileSource.h"
#include "imaging/MemSource.h"
#include "imaging/TextException.h"

#include <cstring>

TEST(ImagingFrame, ExceptionCopiesTextAndRaiseAddsPrefix)
{
    CTextException a(6, "abc");
    CTextException b(a);
    EXPECT_EQ(6, b.GetCode());
    EXPECT_STREQ("abc", b.GetText());
    try {
        RaiseDecoderError(8, "Unknown file type.");
        FAIL();
    } catch (const CTextException& e) {
        EXPECT_EQ(8, e.GetCode());
        EXPECT_STREQ("Decoder error: Unknown file type.\n", e.GetText());
    }
}

TEST(ImagingFrame, MemSourceReadsToTheLastByteAndNoFurther)
{
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    CMemSource src;
    ASSERT_EQ(0, src.Open(data, sizeof data));
    EXPECT_EQ(1, src.ReadNBytes(4)[0]);
    EXPECT_EQ(5, *src.ReadNBytes(1));
    try {
        src.ReadNBytes(1);
        FAIL();
    } catch (const CTextException& e) {
        EXPECT_EQ(11, e.GetCode());
        EXPECT_STREQ("End of file reached while decoding.\n", e.GetText());
    }
    EXPECT_EQ(5u, src.GetPosition());
}

TEST(ImagingFrame, HugeReadsNeitherWrapNorMove)
{
    const uint8_t data[8] = {0};
    CMemSource src;
    src.Open(data, sizeof data);
    src.ReadNBytes(3);
    EXPECT_THROW(src.ReadNBytes(static_cast<size_t>(-1)), CTextException);
    EXPECT_THROW(src.Skip(static_cast<size_t>(-3)), CTextException);
    EXPECT_EQ(3u, src.GetPosition());
    EXPECT_EQ(5u, src.GetRemaining());
}

TEST(ImagingFrame, PeekPastTheEndIsZeroPadded)
{
    const uint8_t data[3] = {'G', 'I', 'F'};
    CMemSource src;
    src.Open(data, sizeof data);
    const uint8_t* p = src.GetBufferPtr(512);
    EXPECT_EQ(0, memcmp(p, "GIF", 3));
    for (int i = 3; i < 512; ++i)
        ASSERT_EQ(0, p[i]);
    EXPECT_EQ(0u, src.GetPosition());
}

TEST(ImagingFrame, FileSourceOpenErrors)
{
    testsupport::ScratchDir dir;
    CFileSource src;
    EXPECT_EQ(4, src.Open(dir.File("missing.bmp").c_str()));
    EXPECT_EQ(3, src.Open(dir.File("nofolder\\missing.bmp").c_str()));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("empty.bmp"), {}));
    EXPECT_EQ(5, src.Open(dir.File("empty.bmp").c_str()));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("two.bin"), {7, 9}));
    ASSERT_EQ(0, src.Open(dir.File("two.bin").c_str()));
    EXPECT_EQ(2u, src.GetFileSize());
    EXPECT_EQ(9, src.ReadNBytes(2)[1]);
    EXPECT_THROW(src.ReadNBytes(1), CTextException);
    src.Close();
}

TEST(ImagingFrame, FileSinkOverflowStillWritesWhatWasGathered)
{
    testsupport::ScratchDir dir;
    std::string path = dir.File("out.bin");
    {
        CFileSink sink;
        ASSERT_EQ(0, sink.Open(path.c_str(), 4));
        sink.WriteNBytes(3, "abc");
        try {
            sink.WriteNBytes(2, "de");
            FAIL();
        } catch (const CTextException& e) {
            EXPECT_EQ(11, e.GetCode());
            EXPECT_STREQ("Buffer overflow while encoding.\n", e.GetText());
        }
        EXPECT_THROW(sink.Skip(2), CTextException);
    }
    std::vector<uint8_t> written;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, written));
    EXPECT_EQ((std::vector<uint8_t>{'a', 'b', 'c'}), written);
    CFileSink bad;
    EXPECT_EQ(-1, bad.Open(dir.File("nofolder\\x.bin").c_str(), 10));
}
