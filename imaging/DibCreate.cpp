// Creating DIB sections, their sizes and descriptions, and COLORREF conversions.
#include "imaging/DibHelpers.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "imaging/DibAccess.h"

namespace {

HBITMAP CreateTopDownSection(HDC dc, int width, int height, int bits) {
    if (width <= 0 || height <= 0) return nullptr;
    std::vector<uint8_t> block(sizeof(BITMAPINFOHEADER) + (bits == 8 ? 256 * sizeof(RGBQUAD) : 0), 0);
    BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = -height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(bits);
    info->bmiHeader.biCompression = BI_RGB;
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            RGBQUAD& q = info->bmiColors[i];
            q.rgbBlue = q.rgbGreen = q.rgbRed = static_cast<BYTE>(i);
            q.rgbReserved = 0;
        }
    }
    void* pixels = nullptr;
    return CreateDIBSection(dc, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

}  // namespace

HBITMAP CreateDibSection24(HDC dc, int width, int height) { return CreateTopDownSection(dc, width, height, 24); }
HBITMAP CreateDibSection32(HDC dc, int width, int height) { return CreateTopDownSection(dc, width, height, 32); }
HBITMAP CreateDibSection8Grey(HDC dc, int width, int height) { return CreateTopDownSection(dc, width, height, 8); }

SIZE GetScaledBitmapSize(HBITMAP bitmap, float scale) {
    SIZE size = {0, 0};
    int w, h;
    if (!dibaccess::GetBitmapSize(bitmap, w, h)) return size;
    size.cx = static_cast<LONG>(static_cast<float>(w) * scale);
    size.cy = static_cast<LONG>(static_cast<float>(h) * scale);
    return size;
}

RECT* GetBitmapRect(RECT* out, HBITMAP bitmap) {
    if (!out) return out;
    SetRect(out, 0, 0, 0, 0);
    DIBSECTION ds;
    ZeroMemory(&ds, sizeof(ds));
    if (bitmap && GetObjectA(bitmap, sizeof(ds), &ds) == static_cast<int>(sizeof(ds)))
        SetRect(out, 0, 0, ds.dsBm.bmWidth - 1, ds.dsBm.bmHeight - 1);
    return out;
}

int GetBitmapBounds(RECT* out, HBITMAP bitmap) {
    RECT r;
    GetBitmapRect(&r, bitmap);
    if (out) *out = r;
    return r.bottom;
}

int GetDibHeaderSize(int colours) { return 40 + 4 * colours; }

int GetDibColorCount(const BITMAPINFOHEADER* header) {
    if (!header) return 0;
    if (header->biClrUsed != 0) return static_cast<int>(header->biClrUsed);
    switch (header->biBitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

uint64_t GetDibImageSize(int width, int height, int bits) {
    if (width <= 0 || bits <= 0) return 0;
    const uint64_t rowBits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bits);
    const uint64_t rows = static_cast<uint64_t>(std::llabs(static_cast<long long>(height)));
    return 4 * ((rowBits - 1) / 32 + 1) * rows;
}

void GetRotatedBoundsF(int width, int height, float scale, float sine, float cosine, RectF* out) {
    if (!out) return;
    float b[4];
    dibk::RotatedBoundsF(width, height, scale, sine, cosine, b);
    *out = RectF{b[0], b[1], b[2], b[3]};
}

void GetRotatedBounds(int width, int height, float scale, float sine, float cosine, RECT* out) {
    if (!out) return;
    int b[4];
    dibk::RotatedBounds(width, height, scale, sine, cosine, b);
    SetRect(out, b[0], b[1], b[2], b[3]);
}

uint32_t ColorRefToRgb(COLORREF colour) {
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

uint32_t ColorRefToArgb(COLORREF colour) { return 0xFF000000u | ColorRefToRgb(colour); }

BYTE* ColorRefToTriple(BYTE* out, COLORREF colour) {
    if (!out) return out;
    out[0] = GetBValue(colour);
    out[1] = GetGValue(colour);
    out[2] = GetRValue(colour);
    return out;
}
