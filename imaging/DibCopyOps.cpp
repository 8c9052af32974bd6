// Copies between DIB sections, tiling and nine-grid skins (GDI face of the copy kernels).
#include "imaging/DibHelpers.h"

#include "imaging/DibAccess.h"

using dibaccess::GetTrueColourView;
using dibaccess::OptRect;

namespace {

int CopyWith(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, const dibk::CopyArgs& args) {
    dibk::DibView d, s;
    if (!GetTrueColourView(dst, d) || !GetTrueColourView(src, s)) return 0;
    dibk::DibPoint p{0, 0};
    if (position) p = dibk::DibPoint{position->x, position->y};
    const bool ok = dibk::CopyRect(d, position ? &p : nullptr, s, OptRect(srcRect).Get(), args);
    if (position) {
        position->x = p.x;
        position->y = p.y;
    }
    return ok ? 1 : 0;
}

int NineGrid(HBITMAP dst, const RECT* rect, HBITMAP skin, dibk::NineGridCentre centre, const dibk::CopyArgs& args) {
    dibk::DibView d, s;
    if (!GetTrueColourView(dst, d) || !GetTrueColourView(skin, s)) return 0;
    return dibk::PaintNineGrid(d, OptRect(rect).Get(), s, centre, args) ? 1 : 0;
}

}  // namespace

int CopyDibRect(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect) {
    return CopyWith(dst, position, src, srcRect, dibk::CopyArgs());
}

int CopyDibRectKeyed(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, COLORREF key) {
    dibk::CopyArgs args;
    args.mode = dibk::CopyMode::Keyed;
    args.key = key;
    return CopyWith(dst, position, src, srcRect, args);
}

int CopyDibRectOpacity(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, DWORD opacity) {
    dibk::CopyArgs args;
    args.mode = dibk::CopyMode::Opacity;
    args.opacity = opacity;
    return CopyWith(dst, position, src, srcRect, args);
}

int CopyDibRectOpacityKeyed(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, DWORD opacity,
                            COLORREF key) {
    dibk::CopyArgs args;
    args.mode = dibk::CopyMode::OpacityKeyed;
    args.opacity = opacity;
    args.key = key;
    return CopyWith(dst, position, src, srcRect, args);
}

int ForEachDibPixel(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, DibPixelCallback callback) {
    dibk::DibView d, s;
    if (!callback || !GetTrueColourView(dst, d, 24) || !GetTrueColourView(src, s, 24)) return 0;
    dibk::DibPoint p{0, 0};
    if (position) p = dibk::DibPoint{position->x, position->y};
    const bool ok = dibk::ForEachPixel(d, position ? &p : nullptr, s, OptRect(srcRect).Get(), callback);
    if (position) {
        position->x = p.x;
        position->y = p.y;
    }
    return ok ? 1 : 0;
}

int TileDibRect(HBITMAP dst, const RECT* rect, HBITMAP pattern, DWORD opacity) {
    dibk::DibView d, p;
    if (!GetTrueColourView(dst, d) || !GetTrueColourView(pattern, p)) return 0;
    return dibk::TileRect(d, OptRect(rect).Get(), p, opacity) ? 1 : 0;
}

int PaintNineGrid(HBITMAP dst, const RECT* rect, HBITMAP skin) {
    return NineGrid(dst, rect, skin, dibk::NineGridCentre::Tiled, dibk::CopyArgs());
}

int PaintNineGridSolidCentre(HBITMAP dst, const RECT* rect, HBITMAP skin) {
    return NineGrid(dst, rect, skin, dibk::NineGridCentre::Solid, dibk::CopyArgs());
}

int PaintNineGridOpacity(HBITMAP dst, const RECT* rect, HBITMAP skin, DWORD opacity) {
    if ((opacity & 0xFF) == 255) return PaintNineGridSolidCentre(dst, rect, skin);
    dibk::CopyArgs args;
    args.mode = dibk::CopyMode::Opacity;
    args.opacity = opacity;
    return NineGrid(dst, rect, skin, dibk::NineGridCentre::Tiled, args);
}

int TileBitmapOnDc(HDC dc, const RECT* rect, HBITMAP bitmap) {
    int tw, th;
    if (!dc || !rect || !dibaccess::GetBitmapSize(bitmap, tw, th) || tw <= 0 || th <= 0) return 0;
    const int w = rect->right - rect->left;
    const int h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0) return 1;
    dibaccess::MemoryDc from(dc, bitmap);
    if (!from.Ok()) return 0;
    const int cols = (w + tw - 1) / tw;
    const int rows = (h + th - 1) / th;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) BitBlt(dc, col * tw, row * th, tw, th, from.Get(), 0, 0, SRCCOPY);
    return 1;
}

HBITMAP TileBitmapToNew(HBITMAP pattern, int width, int height) {
    dibk::DibView p;
    if (!GetTrueColourView(pattern, p)) return nullptr;
    HBITMAP result = CreateDibSection24(nullptr, width, height);
    if (!result) return nullptr;
    if (!TileDibRect(result, nullptr, pattern, 255)) {
        DeleteObject(result);
        return nullptr;
    }
    return result;
}

HBITMAP FitAndTileBitmap(HBITMAP bitmap, int width, int height) {
    HBITMAP shrunk = ShrinkBitmapToFit(bitmap, width, height, 0);
    if (!shrunk) return nullptr;
    HBITMAP result = TileBitmapToNew(shrunk, width, height);
    DeleteObject(shrunk);
    return result;
}
