#include "imaging/DibAccess.h"

#include <cstring>
#include <vector>

namespace dibaccess {

bool GetDibSection(HBITMAP bitmap, DIBSECTION& ds) {
    if (!bitmap) return false;
    ZeroMemory(&ds, sizeof(ds));
    if (GetObjectA(bitmap, sizeof(ds), &ds) != static_cast<int>(sizeof(ds))) return false;
    return ds.dsBm.bmBits != nullptr && ds.dsBm.bmWidth > 0 && ds.dsBm.bmHeight > 0;
}

bool GetDibView(HBITMAP bitmap, dibk::DibView& view) {
    DIBSECTION ds;
    if (!GetDibSection(bitmap, ds)) return false;
    // GDI may still hold drawing for this section in its batch; finish it before the caller
    // touches the pixel memory.
    GdiFlush();
    view.width = ds.dsBm.bmWidth;
    view.height = ds.dsBm.bmHeight;
    view.bpp = ds.dsBmih.biBitCount;
    view.stride = dibk::RowBytes(view.width, view.bpp);
    view.bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
    return true;
}

bool IsBottomUpSection(HBITMAP bitmap) {
    DIBSECTION ds;
    if (!GetDibSection(bitmap, ds) || ds.dsBm.bmHeight < 2 || !ds.dsBm.bmBits) return false;
    const int height = ds.dsBm.bmHeight;
    const size_t stride = static_cast<size_t>(ds.dsBm.bmWidthBytes);
    const uint8_t* memory = static_cast<const uint8_t*>(ds.dsBm.bmBits);
    GdiFlush();
    // Find two memory rows that differ and are mirror images of each other's place; a picture
    // whose rows all mirror alike reads the same either way up.
    int y = 0;
    while (y < height / 2 &&
           std::memcmp(memory + stride * y, memory + stride * static_cast<size_t>(height - 1 - y), stride) == 0)
        ++y;
    if (y >= height / 2) return false;
    // Ask GDI for picture row y counted from the bottom: a bottom-up section holds it at memory
    // row y. Reading writes nothing into the section and needs no DC of its own, so the answer
    // is the same while the section is selected somewhere.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header = ds.dsBmih;
    info.header.biHeight = height;
    if (info.header.biCompression == BI_BITFIELDS)
        std::memcpy(info.colours, ds.dsBitfields, sizeof(ds.dsBitfields));
    std::vector<uint8_t> row(stride);
    WindowDc screen(nullptr);
    const int got = GetDIBits(screen.Get(), bitmap, static_cast<UINT>(y), 1, row.data(),
                              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    return got == 1 && std::memcmp(row.data(), memory + stride * y, stride) == 0;
}

bool GetTrueColourView(HBITMAP bitmap, dibk::DibView& view, int bpp) {
    if (!GetDibView(bitmap, view)) return false;
    if (bpp != 0) return view.bpp == bpp;
    return view.bpp == 24 || view.bpp == 32;
}

bool GetBitmapSize(HBITMAP bitmap, int& width, int& height) {
    width = height = 0;
    BITMAP bm;
    if (!bitmap || GetObjectA(bitmap, sizeof(bm), &bm) != static_cast<int>(sizeof(bm))) return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    return true;
}

bool StretchInto(HBITMAP dst, int dx, int dy, int dw, int dh, HBITMAP src, int sx, int sy, int sw, int sh) {
    if (!dst || !src || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return false;
    DesktopDc desktop;
    MemoryDc from(desktop.Get(), src);
    MemoryDc to(desktop.Get(), dst);
    if (!from.Ok() || !to.Ok()) return false;
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    return StretchBlt(to.Get(), dx, dy, dw, dh, from.Get(), sx, sy, sw, sh, SRCCOPY) != FALSE;
}

}  // namespace dibaccess
