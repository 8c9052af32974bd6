// CWinBmp: packed DIB layout, drawing through GDI, blending, packed-DIB and clipboard exchange.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "imaging/TextException.h"
#include "imaging/WinBmp.h"
#include "tests/formats/FormatsTestSupport.h"

namespace {

// Fills a 32-bit bitmap with a pattern that differs in every pixel.
void FillPattern(CWinBmp& bmp, int width, int height)
{
    bmp.Create(width, height, 32, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bmp.SetPixel(x, y, PLMakePixel(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(20 * y), 99));
}

// A top-down 32-bit DIB section with a memory DC, for reading back what was drawn.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int width;

    Canvas(int w, int h) : width(w)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    uint32_t RGBAt(int x, int y)
    {
        GdiFlush();
        return bits[y * width + x] & 0xFFFFFF;
    }
};

TEST(WinBmp, PackedDibLayout)
{
    CWinBmp bmp;
    EXPECT_EQ(16, bmp.GetWidth());
    EXPECT_EQ(8, bmp.GetBitsPerPixel());
    EXPECT_EQ(16, bmp.GetBytesPerLine());
    EXPECT_EQ(40 + 1024 + 256, WinBmpDibSize(16, 16, 8));
    EXPECT_EQ(4, WinBmpBytesPerLine(9, 1));
    EXPECT_EQ(12, WinBmpBytesPerLine(3, 24));
    // Rows are stored bottom-up behind header and palette.
    EXPECT_EQ(reinterpret_cast<uint8_t*>(bmp.GetBMI()) + 40 + 1024, bmp.GetBits());
    EXPECT_EQ(bmp.GetBits() + 15 * 16, bmp.GetLine(0));
    EXPECT_EQ(bmp.GetBits(), bmp.GetLine(15));

    bmp.Create(9, 3, 1, false);
    EXPECT_EQ(4, bmp.GetBytesPerLine());
    EXPECT_EQ(3, bmp.GetBMI()->biHeight);
    EXPECT_EQ(1, bmp.GetBMI()->biBitCount);
}

TEST(WinBmp, DrawsWholeScaledAndPartly)
{
    CWinBmp bmp;
    FillPattern(bmp, 3, 2);
    Canvas canvas(6, 4);
    bmp.Draw(canvas.dc, 0, 0);
    EXPECT_EQ(bmp.GetPixel(2, 1) & 0xFFFFFF, canvas.RGBAt(2, 1));
    EXPECT_EQ(bmp.GetPixel(1, 0) & 0xFFFFFF, canvas.RGBAt(1, 0));

    Canvas part(3, 2);
    bmp.DrawPart(part.dc, 0, 0, 0, 0, 3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bmp.GetPixel(x, y) & 0xFFFFFF, part.RGBAt(x, y));

    Canvas scaled(6, 4);
    bmp.DrawScaled(scaled.dc, 0, 0, 2.0);
    EXPECT_EQ(bmp.GetPixel(1, 0) & 0xFFFFFF, scaled.RGBAt(2, 0));
    EXPECT_EQ(bmp.GetPixel(2, 1) & 0xFFFFFF, scaled.RGBAt(5, 3));
}

TEST(WinBmp, DrawOntoBlendsByAlphaAndClips)
{
    CWinBmp dst;
    dst.Create(4, 4, 32, false);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            dst.SetPixel(x, y, PLMakePixel(30, 20, 10, 40));
    CWinBmp white;
    white.Create(2, 2, 32, true);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            white.SetPixel(x, y, PLMakePixel(255, 255, 255, 255));
    // Offsets count from the bottom row in memory; (-1, -1) leaves one pixel: the bottom-left.
    dst.DrawOnto(white, -1, -1);
    EXPECT_EQ(PLMakePixel(254, 254, 254, 40), dst.GetPixel(0, 3));
    EXPECT_EQ(PLMakePixel(30, 20, 10, 40), dst.GetPixel(1, 3));
    EXPECT_EQ(PLMakePixel(30, 20, 10, 40), dst.GetPixel(0, 2));

    CWinBmp indexed;
    indexed.Create(1, 1, 8, false);
    indexed.SetPaletteEntry(0, 1, 2, 3, 4);
    indexed.GetLine(0)[0] = 0;
    dst.DrawOnto(indexed, 3, 3);
    EXPECT_EQ(PLMakePixel(1, 2, 3, 4), dst.GetPixel(3, 0));
}

TEST(WinBmp, PackedDibCopiesRoundTripAndShortOnesAreRefused)
{
    CWinBmp src;
    FillPattern(src, 5, 3);
    HGLOBAL copy = src.MakeGlobalCopy();
    ASSERT_TRUE(copy != nullptr);
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(copy));
    CWinBmp dst;
    dst.CreateFromPackedDib(header, GlobalSize(copy));
    EXPECT_TRUE(dst == src);
    try {
        CWinBmp other;
        other.CreateFromPackedDib(header, 40 + 10);
        ADD_FAILURE() << "short DIB accepted";
    } catch (const CTextException& e) {
        EXPECT_EQ(2, e.GetCode());
    }
    GlobalUnlock(copy);
    GlobalFree(copy);

    // A top-down DIB is turned the right way up.
    std::vector<uint8_t> topDown(40 + 4 * 2, 0);
    BITMAPINFOHEADER* bi = reinterpret_cast<BITMAPINFOHEADER*>(topDown.data());
    bi->biSize = 40;
    bi->biWidth = 1;
    bi->biHeight = -2;
    bi->biPlanes = 1;
    bi->biBitCount = 32;
    topDown[40] = 0x11;  // first row in memory: the top
    topDown[44] = 0x22;
    dst.CreateFromPackedDib(bi, topDown.size());
    EXPECT_EQ(0x11u, dst.GetPixel(0, 0) & 0xFF);
    EXPECT_EQ(0x22u, dst.GetPixel(0, 1) & 0xFF);

    // 32 bits with the usual bit-field masks in front of the pixels.
    std::vector<uint8_t> fields(40 + 12 + 4, 0);
    bi = reinterpret_cast<BITMAPINFOHEADER*>(fields.data());
    bi->biSize = 40;
    bi->biWidth = 1;
    bi->biHeight = 1;
    bi->biPlanes = 1;
    bi->biBitCount = 32;
    bi->biCompression = BI_BITFIELDS;
    fields[42] = 0xFF;
    fields[45] = 0xFF;
    fields[48] = 0xFF;
    fields[52] = 0x33;
    dst.CreateFromPackedDib(bi, fields.size());
    EXPECT_EQ(0x33u, dst.GetPixel(0, 0) & 0xFF);

    // A missing resource leaves the bitmap as it was.
    EXPECT_FALSE(dst.LoadFromResource(GetModuleHandleA(nullptr), 31999));
    EXPECT_EQ(1, dst.GetWidth());
}

// Other test programs may use the same (virtual) desktop's clipboard at the same time, so a
// round trip is tried a few times.
bool SameColours(const CWinBmp& a, const CWinBmp& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if ((a.GetPixel(x, y) & 0xFFFFFF) != (b.GetPixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

TEST(WinBmp, ClipboardRoundTrip)
{
    CWinBmp src;
    FillPattern(src, 4, 3);
    bool viaDib = false;
    for (int attempt = 0; attempt < 5 && !viaDib; ++attempt) {
        CWinBmp dst;
        viaDib = src.CopyToClipboard() && dst.CreateFromClipboard(CF_DIB) && SameColours(src, dst);
        if (!viaDib)
            Sleep(50);
    }
    EXPECT_TRUE(viaDib);
    bool viaBitmap = false;
    for (int attempt = 0; attempt < 5 && !viaBitmap; ++attempt) {
        CWinBmp fromBitmap;
        viaBitmap = src.CopyToClipboard() && fromBitmap.CreateFromClipboard(CF_BITMAP) &&
                    fromBitmap.GetBitsPerPixel() == 32 && SameColours(src, fromBitmap);
        if (!viaBitmap)
            Sleep(50);
    }
    EXPECT_TRUE(viaBitmap);
    CWinBmp dst;
    EXPECT_FALSE(dst.CreateFromClipboard(CF_TIFF));
}

}  // namespace

namespace {

// A bottom-up packed DIB of `bits` per pixel with the given rows (top row first, unpadded bytes).
std::vector<uint8_t> PackedDib(int bits, int width, const std::vector<std::vector<uint8_t>>& rows,
                               const std::vector<uint32_t>& palette = {})
{
    const int height = static_cast<int>(rows.size());
    const size_t stride = static_cast<size_t>((width * bits + 31) / 32 * 4);
    std::vector<uint8_t> dib(40 + palette.size() * 4 + stride * rows.size(), 0);
    BITMAPINFOHEADER* bi = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    bi->biSize = 40;
    bi->biWidth = width;
    bi->biHeight = height;
    bi->biPlanes = 1;
    bi->biBitCount = static_cast<WORD>(bits);
    bi->biClrUsed = static_cast<DWORD>(palette.size());
    if (!palette.empty())
        memcpy(&dib[40], palette.data(), palette.size() * 4);
    uint8_t* pixels = &dib[40 + palette.size() * 4];
    for (int y = 0; y < height; ++y)
        memcpy(pixels + stride * static_cast<size_t>(height - 1 - y), rows[y].data(), rows[y].size());
    return dib;
}

}  // namespace

TEST(WinBmp, FourSixteenAndTwentyFourBitDibsBecomeDepthsThePixelCodeKnows)
{
    CWinBmp bmp;
    // 24 bits: blue, green, red per pixel; rows of 9 bytes padded to 12.
    std::vector<uint8_t> dib = PackedDib(24, 3, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}});
    bmp.CreateFromPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(dib.data()), dib.size());
    ASSERT_EQ(32, bmp.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(3, 2, 1), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(9, 8, 7), bmp.GetPixel(2, 0));
    EXPECT_EQ(PLMakePixel(18, 17, 16), bmp.GetPixel(2, 1));

    // 16 bits, 5-5-5: pure red and pure blue.
    dib = PackedDib(16, 2, {{0x00, 0x7C, 0x1F, 0x00}});
    bmp.CreateFromPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(dib.data()), dib.size());
    ASSERT_EQ(32, bmp.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 255), bmp.GetPixel(1, 0));

    // 4 bits: two indices a byte, high nibble first, through the 16-entry palette.
    std::vector<uint32_t> palette(16, 0);
    palette[1] = 0x00112233;
    palette[15] = 0x00AABBCC;
    dib = PackedDib(4, 3, {{0x1F, 0x10}}, palette);
    bmp.CreateFromPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(dib.data()), dib.size());
    ASSERT_EQ(8, bmp.GetBitsPerPixel());
    EXPECT_EQ(1u, bmp.GetPixel(0, 0));
    EXPECT_EQ(15u, bmp.GetPixel(1, 0));
    EXPECT_EQ(1u, bmp.GetPixel(2, 0));
    EXPECT_EQ(0x00AABBCCu, bmp.GetPalette()[15]);

    // Converted bitmaps go through the shared code: a 32-bit copy has every pixel set.
    CAnyBmp wide;
    wide.CreateCopy(bmp, 32);
    EXPECT_EQ(0x00AABBCCu, wide.GetPixel(1, 0) & 0xFFFFFF);
    EXPECT_EQ(0x00112233u, wide.GetPixel(2, 0) & 0xFFFFFF);
}
