#include "ui/viewer/IVImage.h"
#include <algorithm>
#include "core/OsVersion.h"
#include "ui/viewer/ViewerMath.h"

CIVImage::CIVImage() {
    msimg32_ = ::LoadLibraryA("msimg32.dll");
    if (msimg32_) {
        gradientFill_ = reinterpret_cast<GradientFillFn>(
            reinterpret_cast<void*>(::GetProcAddress(msimg32_, "GradientFill")));
        if (GetWindowsVersionClass() > 3)
            alphaBlend_ = reinterpret_cast<AlphaBlendFn>(
                reinterpret_cast<void*>(::GetProcAddress(msimg32_, "AlphaBlend")));
    }
}

CIVImage::~CIVImage() {
    Reset();
    if (msimg32_) ::FreeLibrary(msimg32_);
}

void CIVImage::Reset() {
    SetBitmap(nullptr);
    flags = IVF_TILE;
}

void CIVImage::SetBitmap(HBITMAP bitmap) {
    if (bitmap_ && bitmap_ != bitmap) ::DeleteObject(bitmap_);
    bitmap_ = bitmap;
    size_.cx = size_.cy = 0;
    BITMAP info = {};
    if (bitmap_ && ::GetObjectA(bitmap_, sizeof(info), &info)) {
        size_.cx = info.bmWidth;
        size_.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

HBITMAP CIVImage::DetachBitmap() {
    HBITMAP bitmap = bitmap_;
    bitmap_ = nullptr;
    size_.cx = size_.cy = 0;
    return bitmap;
}

void CIVImage::TakeFrom(CIVImage& other) {
    SetBitmap(other.DetachBitmap());
    flags = other.flags;
    opacity = other.opacity;
}

RECT CIVImage::FullPlacement(const RECT& area, float zoom, int x, int y) const {
    const int areaW = area.right - area.left, areaH = area.bottom - area.top;
    const int w = ScaledLength(size_.cx, zoom), h = ScaledLength(size_.cy, zoom);
    const int left = x == kPlaceByFlags ? AlignedPosition(areaW, w, flags & 0xF) : x;
    const int top = y == kPlaceByFlags ? AlignedPosition(areaH, h, (flags >> 4) & 0xF) : y;
    RECT r = {area.left + left, area.top + top, area.left + left + w, area.top + top + h};
    return r;
}

RECT CIVImage::GetPlacement(const RECT& area, float zoom, int x, int y) const {
    RECT empty = {0, 0, 0, 0};
    if (!bitmap_) return empty;
    if (IsTiled()) return area;
    RECT full = FullPlacement(area, zoom, x, y), cut;
    return ::IntersectRect(&cut, &full, &area) ? cut : empty;
}

void CIVImage::DrawBitmap(HDC dc, const RECT& target, int useOpacity) const {
    HDC memory = ::CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = ::SelectObject(memory, bitmap_);
    const int w = target.right - target.left, h = target.bottom - target.top;
    if (useOpacity < 255 && alphaBlend_) {
        BITMAP info = {};
        ::GetObjectA(bitmap_, sizeof(info), &info);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(useOpacity),
                               static_cast<BYTE>(info.bmBitsPixel == 32 ? AC_SRC_ALPHA : 0)};
        alphaBlend_(dc, target.left, target.top, w, h, memory, 0, 0, size_.cx, size_.cy, blend);
    } else {
        const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, target.left, target.top, w, h, memory, 0, 0, size_.cx, size_.cy, SRCCOPY);
        ::SetStretchBltMode(dc, oldMode);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

void CIVImage::Draw(HDC dc, const RECT& area, float zoom, int x, int y, int useOpacity) {
    if (!bitmap_ || size_.cx <= 0 || size_.cy <= 0) return;
    if (useOpacity < 0) useOpacity = opacity;
    if (!IsTiled()) {
        DrawBitmap(dc, FullPlacement(area, zoom, x, y), useOpacity);
        return;
    }
    const int tileW = std::max(1, ScaledLength(size_.cx, zoom)), tileH = std::max(1, ScaledLength(size_.cy, zoom));
    const int areaW = area.right - area.left, areaH = area.bottom - area.top;
    for (int row = 0; row < (areaH + tileH - 1) / tileH; ++row)
        for (int col = 0; col < (areaW + tileW - 1) / tileW; ++col) {
            RECT tile = {area.left + col * tileW, area.top + row * tileH, 0, 0};
            tile.right = tile.left + tileW;
            tile.bottom = tile.top + tileH;
            DrawBitmap(dc, tile, useOpacity);
        }
}

void CIVBackground::Draw(HDC dc, const RECT& area, float, int, int, int useOpacity) {
    if (gradientMode != 0 && gradientFill_) {
        const bool horizontal = gradientMode == 1 || gradientMode == 4;
        const bool firstIsColor1 = gradientMode == 1 || gradientMode == 16;
        const COLORREF a = firstIsColor1 ? color1 : color2, b = firstIsColor1 ? color2 : color1;
        TRIVERTEX v[2] = {};
        v[0].x = area.left;
        v[0].y = area.top;
        v[0].Red = static_cast<COLOR16>(GetRValue(a) << 8);
        v[0].Green = static_cast<COLOR16>(GetGValue(a) << 8);
        v[0].Blue = static_cast<COLOR16>(GetBValue(a) << 8);
        v[1].x = area.right;
        v[1].y = area.bottom;
        v[1].Red = static_cast<COLOR16>(GetRValue(b) << 8);
        v[1].Green = static_cast<COLOR16>(GetGValue(b) << 8);
        v[1].Blue = static_cast<COLOR16>(GetBValue(b) << 8);
        GRADIENT_RECT r = {0, 1};
        gradientFill_(dc, v, 2, &r, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    } else {
        HBRUSH brush = ::CreateSolidBrush(color1);
        ::FillRect(dc, &area, brush);
        ::DeleteObject(brush);
    }
    CIVImage::Draw(dc, area, 1.0f, kPlaceByFlags, kPlaceByFlags, useOpacity);
}
