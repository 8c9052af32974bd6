// WMF and EMF pictures recorded with GDI in the test, decoded through CAnyPicDecoder; and
// how metafiles are told from other files.
#include <gtest/gtest.h>

#include <algorithm>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <functional>

#include "imaging/AnyPicDecoder.h"
#include "imaging/ByteOrder.h"
#include "imaging/TextException.h"
#include "tests/formats/FormatsTestSupport.h"
#include "tests/support/GdiLedger.h"
#include "tests/support/TestSupport.h"

using namespace formats_test;

namespace {

void FillRed(HDC dc, int left, int top, int right, int bottom)
{
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r = {left, top, right, bottom};
    FillRect(dc, &r, red);
    DeleteObject(red);
}

std::vector<uint8_t> RecordEmf(const RECT& frame, const std::function<void(HDC)>& draw)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    draw(dc);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(emf);
    return bytes;
}

// A WMF whose logical window is 1440 x 720 with its left half red.
std::vector<uint8_t> RecordWmf()
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 1440, 720, nullptr);
    FillRed(dc, 0, 0, 720, 720);
    HMETAFILE wmf = CloseMetaFile(dc);
    std::vector<uint8_t> bytes(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteMetaFile(wmf);
    return bytes;
}

std::vector<uint8_t> Placeable(const std::vector<uint8_t>& wmf, int left, int top, int right, int bottom, int unitsPerInch)
{
    std::vector<uint8_t> f;
    PutLE32(f, 0x9AC6CDD7);
    PutLE16(f, 0);
    PutLE16(f, left);
    PutLE16(f, top);
    PutLE16(f, right);
    PutLE16(f, bottom);
    PutLE16(f, unitsPerInch);
    PutLE32(f, 0);
    unsigned checksum = 0;
    for (size_t i = 0; i < f.size(); i += 2)
        checksum ^= f[i] | (f[i + 1] << 8);
    PutLE16(f, checksum);
    f.insert(f.end(), wmf.begin(), wmf.end());
    return f;
}

int ScreenDpiX()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

bool AllOpaque(const CBmp& bmp)
{
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x)
            if (AlphaAt(bmp, x, y) != 255)
                return false;
    return true;
}

int DecodeFileCode(const std::string& path, CAnyBmp& bmp)
{
    CAnyPicDecoder decoder;
    try {
        decoder.DecodeFile(path.c_str(), &bmp, 32);
    } catch (const CTextException& e) {
        return e.GetCode();
    }
    return 0;
}

TEST(MetafileDecoder, PlaceableWmfIsSizedByItsBoxAndUnitsPerInch)
{
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(Placeable(RecordWmf(), 0, 0, 1440, 720, 1440), bmp));
    int dpi = ScreenDpiX();
    ASSERT_EQ(dpi, bmp.GetWidth());
    ASSERT_EQ(dpi / 2, bmp.GetHeight());
    EXPECT_FALSE(bmp.HasAlpha());
    EXPECT_TRUE(AllOpaque(bmp));
    int w = bmp.GetWidth(), h = bmp.GetHeight();
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(w / 4, h / 2));
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPixel(3 * w / 4, h / 2));
}

TEST(MetafileDecoder, EmfIsSizedByItsFrame)
{
    RECT frame = {0, 0, 2540, 1270};  // one inch by half an inch
    std::vector<uint8_t> emf = RecordEmf(frame, [](HDC dc) { FillRed(dc, 0, 0, 10, 10); });
    const ENHMETAHEADER* header = reinterpret_cast<const ENHMETAHEADER*>(emf.data());
    int expectedWidth = static_cast<int>(2540LL * header->szlDevice.cx / (header->szlMillimeters.cx * 100LL));
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(emf, bmp));
    EXPECT_EQ(expectedWidth, bmp.GetWidth());
    EXPECT_NEAR(bmp.GetWidth(), 2 * bmp.GetHeight(), 2);
    EXPECT_TRUE(AllOpaque(bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(3, 3));
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPixel(bmp.GetWidth() - 3, bmp.GetHeight() - 3));
}

TEST(MetafileDecoder, EmptyBoxGivesA320By200WhitePicture)
{
    CAnyBmp bmp;
    HDC dc = CreateMetaFileA(nullptr);
    HMETAFILE wmf = CloseMetaFile(dc);
    std::vector<uint8_t> bytes(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteMetaFile(wmf);
    ASSERT_EQ(0, DecodeBytes(Placeable(bytes, 0, 0, 0, 0, 1440), bmp));
    EXPECT_EQ(320, bmp.GetWidth());
    EXPECT_EQ(200, bmp.GetHeight());
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPixel(160, 100));
}

// Refused or decoded, a metafile leaves no device context or GDI object behind.
TEST(MetafileDecoder, ZeroScalesAndBrokenRecordsAreRefusedAndLeaveNothingBehind)
{
    // This program shows no menu, so only the ledger's object and context counts are used.
    testsupport::GdiLedger ledger;
    const testsupport::GdiCounts before = ledger.Counts();
    CAnyBmp bmp;
    EXPECT_EQ(2, DecodeBytes(Placeable(RecordWmf(), 0, 0, 1440, 720, 0), bmp));

    RECT frame = {0, 0, 1000, 1000};
    std::vector<uint8_t> emf = RecordEmf(frame, [](HDC dc) { FillRed(dc, 0, 0, 5, 5); });
    std::vector<uint8_t> noMillimetres = emf;
    memset(noMillimetres.data() + offsetof(ENHMETAHEADER, szlMillimeters), 0, 8);
    EXPECT_EQ(2, DecodeBytes(noMillimetres, bmp));

    // Half of the records missing, a record size of zero, a record running past the end.
    std::vector<uint8_t> half(emf.begin(), emf.begin() + emf.size() / 2);
    EXPECT_EQ(6, DecodeBytes(half, bmp));
    size_t second = reinterpret_cast<const ENHMETAHEADER*>(emf.data())->nSize;
    std::vector<uint8_t> zeroRecord = emf;
    memset(zeroRecord.data() + second + 4, 0, 4);
    EXPECT_EQ(6, DecodeBytes(zeroRecord, bmp));
    std::vector<uint8_t> longRecord = emf;
    longRecord[second + 7] = 0x70;
    EXPECT_EQ(6, DecodeBytes(longRecord, bmp));

    std::vector<uint8_t> wmf = RecordWmf();
    std::vector<uint8_t> wmfHalf(wmf.begin(), wmf.begin() + wmf.size() / 2);
    EXPECT_EQ(6, DecodeBytes(wmfHalf, bmp));

    EXPECT_EQ(0, DecodeBytes(emf, bmp));
    const testsupport::GdiCounts after = ledger.Counts();
    EXPECT_EQ(before.deviceContexts, after.deviceContexts);
    EXPECT_EQ(before.objects, after.objects);
}

TEST(MetafileDecoder, OnlyTheFilesOwnExtensionOrContentMakesAMetafile)
{
    testsupport::ScratchDir dir;
    // A folder named like a metafile does not make its pictures metafiles.
    ASSERT_TRUE(CreateDirectoryA(dir.File("pics.wmf").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(dir.File("pics.emf").c_str(), nullptr));
    CAnyBmp bmp;
    for (const char* path : {"pics.wmf\\photo.pgm", "pics.emf\\photo.pgm", "photo.wmf.pgm"}) {
        ASSERT_TRUE(testsupport::WriteFileText(dir.File(path), "P2 2 1 255 3 4\n"));
        ASSERT_EQ(0, DecodeFileCode(dir.File(path), bmp)) << path;
        EXPECT_EQ(4, RedAt(bmp, 1, 0)) << path;
    }
    // A file whose own extension says metafile but whose content is not one.
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("fake.WMF"), "this is no picture at all"));
    EXPECT_EQ(6, DecodeFileCode(dir.File("fake.WMF"), bmp));
    // Metafile content is recognised whatever the name; WMF data named .emf decodes as WMF.
    std::vector<uint8_t> wmf = RecordWmf();
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("drawing.emf"), wmf));
    EXPECT_EQ(0, DecodeFileCode(dir.File("drawing.emf"), bmp));
    EXPECT_TRUE(AllOpaque(bmp));
    RECT frame = {0, 0, 500, 500};
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("drawing.dat"),
                                            RecordEmf(frame, [](HDC dc) { FillRed(dc, 0, 0, 5, 5); })));
    EXPECT_EQ(0, DecodeFileCode(dir.File("drawing.dat"), bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(1, 1));
}

}  // namespace

TEST(MetafileDecoder, EmfWithTheOriginalEightyEightByteHeaderDecodes)
{
    RECT frame = {0, 0, 2540, 1270};
    std::vector<uint8_t> emf = RecordEmf(frame, [](HDC dc) { FillRed(dc, 0, 0, 10, 10); });
    const uint32_t headerSize = ReadLittleEndian32(&emf[4]);
    ASSERT_GT(headerSize, 88u);
    // The same records behind a header cut to its first 88 bytes, without a description.
    std::vector<uint8_t> old(88 + (emf.size() - headerSize));
    std::copy(emf.begin(), emf.begin() + 88, old.begin());
    std::copy(emf.begin() + headerSize, emf.end(), old.begin() + 88);
    auto put32 = [&old](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            old[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(4, 88);
    put32(48, static_cast<uint32_t>(old.size()));
    put32(60, 0);
    put32(64, 0);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(old, bmp));
    EXPECT_NEAR(bmp.GetWidth(), 2 * bmp.GetHeight(), 2);
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(3, 3));
}
