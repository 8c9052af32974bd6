#include "ui/viewer/IVImage.h"
#include <algorithm>
#include "core/OsVersion.h"
#include "framework/GdiHolders.h"
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

namespace {
SIZE BitmapSize(HBITMAP bitmap) {
    SIZE size = {0, 0};
    BITMAP info = {};
    if (bitmap && ::GetObjectA(bitmap, sizeof(info), &info)) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    return size;
}
}  // namespace

void CIVImage::SetBitmap(HBITMAP bitmap) {
    ShownPicture own;
    // Setting the bitmap already held must not free it.
    own.full = bitmap && bitmap == bitmap_.get() ? bitmap_ : OwnBitmap(bitmap);
    SetBitmap(own);
}

void CIVImage::SetBitmap(const ShownPicture& shown) {
    bitmap_ = shown.full;
    reduced_ = shown.full ? shown.reduced : SharedBitmap();
    size_ = BitmapSize(bitmap_.get());
    reducedSize_ = BitmapSize(reduced_.get());
}

void CIVImage::TakeFrom(CIVImage& other) {
    bitmap_ = std::move(other.bitmap_);
    reduced_ = std::move(other.reduced_);
    size_ = other.size_;
    reducedSize_ = other.reducedSize_;
    other.size_.cx = other.size_.cy = other.reducedSize_.cx = other.reducedSize_.cy = 0;
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

void CIVImage::DrawBitmap(HDC dc, const RECT& target, const RECT& area, int useOpacity) const {
    const int w = target.right - target.left, h = target.bottom - target.top;
    RECT visible;
    if (w <= 0 || h <= 0 || !::IntersectRect(&visible, &target, &area)) return;
    // A view no larger than the reduced copy is drawn from it; a larger one only from the part of
    // the picture that lies in the area, so zoomed in a paint costs what is seen.
    const bool reduced = reduced_ && w <= reducedSize_.cx && h <= reducedSize_.cy;
    HBITMAP source = reduced ? reduced_.get() : bitmap_.get();
    const SIZE sourceSize = reduced ? reducedSize_ : size_;
    const PictureSpan spanX = VisibleSpan(target.left, w, visible.left, visible.right, sourceSize.cx);
    const PictureSpan spanY = VisibleSpan(target.top, h, visible.top, visible.bottom, sourceSize.cy);
    MemoryDc memory(dc, source);
    if (!memory.Ok()) return;
    if (useOpacity < 255 && alphaBlend_) {
        BITMAP info = {};
        ::GetObjectA(source, sizeof(info), &info);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(useOpacity),
                               static_cast<BYTE>(info.bmBitsPixel == 32 ? AC_SRC_ALPHA : 0)};
        alphaBlend_(dc, spanX.targetStart, spanY.targetStart, spanX.targetLength, spanY.targetLength, memory.Get(),
                    spanX.sourceStart, spanY.sourceStart, spanX.sourceLength, spanY.sourceLength, blend);
    } else {
        const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, spanX.targetStart, spanY.targetStart, spanX.targetLength, spanY.targetLength, memory.Get(),
                     spanX.sourceStart, spanY.sourceStart, spanX.sourceLength, spanY.sourceLength, SRCCOPY);
        ::SetStretchBltMode(dc, oldMode);
    }
}

void CIVImage::Draw(HDC dc, const RECT& area, float zoom, int x, int y, int useOpacity) {
    if (!bitmap_ || size_.cx <= 0 || size_.cy <= 0) return;
    if (useOpacity < 0) useOpacity = opacity;
    if (!IsTiled()) {
        DrawBitmap(dc, FullPlacement(area, zoom, x, y), area, useOpacity);
        return;
    }
    const int tileW = std::max(1, ScaledLength(size_.cx, zoom)), tileH = std::max(1, ScaledLength(size_.cy, zoom));
    const int areaW = area.right - area.left, areaH = area.bottom - area.top;
    for (int row = 0; row < (areaH + tileH - 1) / tileH; ++row)
        for (int col = 0; col < (areaW + tileW - 1) / tileW; ++col) {
            RECT tile = {area.left + col * tileW, area.top + row * tileH, 0, 0};
            tile.right = tile.left + tileW;
            tile.bottom = tile.top + tileH;
            DrawBitmap(dc, tile, area, useOpacity);
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
        const GdiObject<HBRUSH> brush(::CreateSolidBrush(color1));
        ::FillRect(dc, &area, brush.Get());
    }
    CIVImage::Draw(dc, area, 1.0f, kPlaceByFlags, kPlaceByFlags, useOpacity);
}
