// Every reference file cut short or with bytes changed must end in an exception or a picture:
// never a crash, a hang or a read outside the data.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/formats/FormatsTestSupport.h"
#include "tests/support/RepeatableRandom.h"
#include "tests/support/TestSupport.h"

using namespace formats_test;

namespace {

const char* const kFiles[] = {
    "tga_rgb_rle.tga",   "tga_rgb_raw.tga",   "tga_cmap_rle.tga",      "tga_grey_rle.tga",
    "tga_rgba_rle.tga",  "pcx_rgb.pcx",       "pcx_planes4.pcx",       "pcx_8bit.pcx",
    "pcx_packed2.pcx",   "pcx_mono.pcx",      "pgm_plain.pgm",         "pgm16.pgm",
    "pgm_comments.pgm",  "pict_netpbm8.pict", "pict_direct.pict",      "pict_direct_alpha.pict",
    "pict_jpeg.pict",
};

std::vector<uint8_t> ReadFixture(const char* name)
{
    std::vector<uint8_t> bytes;
    testsupport::ReadFileBytes(testsupport::TestDataDir() + name, bytes);
    return bytes;
}

TEST(MalformedFiles, TruncatedFilesRaise)
{
    for (const char* name : kFiles) {
        std::vector<uint8_t> whole = ReadFixture(name);
        ASSERT_FALSE(whole.empty()) << name;
        for (size_t cut : {size_t(0), size_t(1), size_t(17), size_t(18), size_t(100), size_t(128), size_t(129),
                           size_t(513), size_t(530), size_t(541), whole.size() / 2, whole.size() - 1}) {
            if (cut >= whole.size())
                continue;
            std::vector<uint8_t> part(whole.begin(), whole.begin() + cut);
            CAnyBmp bmp;
            int code = DecodeBytes(part, bmp);
            // A JPEG cut short still decodes (libjpeg fills the rest); everything else is
            // missing pixels.
            if (cut == whole.size() / 2 && std::string(name) != "pict_jpeg.pict") {
                EXPECT_NE(0, code) << name << " cut at " << cut;
            }
        }
    }
}

TEST(MalformedFiles, ChangedBytesNeverCrash)
{
    testsupport::RepeatableRandom next(12345);
    for (const char* name : kFiles) {
        std::vector<uint8_t> whole = ReadFixture(name);
        ASSERT_FALSE(whole.empty()) << name;
        // Header bytes are where lengths and sizes live: change them more often.
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> changed = whole;
            int changes = 1 + next() % 4;
            for (int i = 0; i < changes; ++i) {
                size_t limit = (round % 2) ? changed.size() : (changed.size() < 700 ? changed.size() : 700);
                changed[next() % limit] = static_cast<uint8_t>(next());
            }
            CAnyBmp bmp;
            DecodeBytes(changed, bmp);
        }
    }
}

// Draws a little of everything metafiles record: objects, paths, text, regions and bitmaps.
void DrawVariety(HDC dc)
{
    HPEN pen = CreatePen(PS_DASH, 1, RGB(10, 20, 30));
    HBRUSH brush = CreateSolidBrush(RGB(0, 128, 255));
    HFONT font = CreateFontA(12, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldFont = SelectObject(dc, font);
    Rectangle(dc, 5, 5, 40, 30);
    Ellipse(dc, 10, 10, 60, 35);
    POINT poly[5] = {{1, 1}, {30, 2}, {25, 20}, {3, 30}, {1, 1}};
    Polygon(dc, poly, 5);
    Polyline(dc, poly, 4);
    INT counts[2] = {3, 2};
    PolyPolygon(dc, poly, counts, 2);
    TextOutA(dc, 2, 2, "Metafile", 8);
    HRGN region = CreateRectRgn(0, 0, 20, 20);
    FillRgn(dc, region, brush);
    SelectClipRgn(dc, region);
    DeleteObject(region);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 4;
    bi.bmiHeader.biHeight = 3;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    uint32_t pixels[12] = {0xFF0000, 0x00FF00, 0x0000FF, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    StretchDIBits(dc, 20, 20, 8, 6, 0, 0, 4, 3, pixels, &bi, DIB_RGB_COLORS, SRCCOPY);
    SetDIBitsToDevice(dc, 30, 30, 4, 3, 0, 0, 0, 3, pixels, &bi, DIB_RGB_COLORS);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(font);
    DeleteObject(brush);
    DeleteObject(pen);
}

// Changes 1 to 4 bytes after the first `keep` bytes, `rounds` times, decoding each result.
void DecodeChanged(const std::vector<uint8_t>& whole, size_t keep, uint32_t seed, int rounds)
{
    testsupport::RepeatableRandom next(seed);
    for (int round = 0; round < rounds; ++round) {
        std::vector<uint8_t> changed = whole;
        int changes = 1 + next() % 4;
        for (int i = 0; i < changes; ++i)
            changed[keep + next() % (changed.size() - keep)] = static_cast<uint8_t>(next());
        CAnyBmp bmp;
        DecodeBytes(changed, bmp);
    }
}

TEST(MalformedFiles, ChangedMetafilesNeverCrash)
{
    RECT frame = {0, 0, 2000, 1000};
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    DrawVariety(dc);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<uint8_t> emfBytes(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(emfBytes.size()), emfBytes.data());
    DeleteEnhMetaFile(emf);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(emfBytes, bmp));
    // The signature stays, so every variant reaches the metafile decoder.
    DecodeChanged(emfBytes, 44, 777, testsupport::SoakRounds(500));

    dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 100, 60, nullptr);
    DrawVariety(dc);
    HMETAFILE wmf = CloseMetaFile(dc);
    std::vector<uint8_t> wmfBytes(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(wmfBytes.size()), wmfBytes.data());
    DeleteMetaFile(wmf);
    ASSERT_EQ(0, DecodeBytes(wmfBytes, bmp));
    DecodeChanged(wmfBytes, 6, 991, testsupport::SoakRounds(500));
}

}  // namespace
