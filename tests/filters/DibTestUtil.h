#pragma once
// Small helpers for the DIB-section tests: owned sections and direct pixel access.
#include <windows.h>
#include <cstdint>
#include "imaging/DibAccess.h"
#include "imaging/DibHelpers.h"

namespace dibtest {

// Deletes the bitmap when it goes out of scope.
class Bitmap : public GdiObject<HBITMAP> {
public:
    using GdiObject<HBITMAP>::OwnedHandle;
    dibk::DibView View() const {
        dibk::DibView v;
        dibaccess::GetDibView(Get(), v);
        return v;
    }
};

// Bytes of a pixel as (blue, green, red[, alpha]) packed like GetDibPixel.
inline uint32_t At(const Bitmap& b, int x, int y) { return dibk::GetPixel(b.View(), x, y); }

inline void Put(const Bitmap& b, int x, int y, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255) {
    dibk::DibView v = b.View();
    uint8_t* p = v.Pixel(x, y);
    p[0] = blue;
    p[1] = green;
    p[2] = red;
    if (v.bpp == 32) p[3] = alpha;
}

// Pixel value as At() reports it.
inline uint32_t Px(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255) {
    return blue | (green << 8) | (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(alpha) << 24);
}

// A bottom-up section (positive height), as loaded bitmaps and BMP files often are.
inline HBITMAP CreateBottomUp(int width, int height, int bits) {
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits_ = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
}

// Sets a pixel through GDI, so that it lands where GDI shows it whatever the row order.
inline void PaintVisual(HBITMAP b, int x, int y, COLORREF colour) {
    dibaccess::MemoryDc dc(nullptr, b);
    SetPixelV(dc.Get(), x, y, colour);
    GdiFlush();
}

}  // namespace dibtest
