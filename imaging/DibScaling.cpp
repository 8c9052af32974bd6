// Scaling bitmaps into new 24-bit sections with HALFTONE StretchBlt.
#include "imaging/DibHelpers.h"

#include <algorithm>
#include <cmath>

#include "imaging/DibAccess.h"

using dibaccess::DesktopDc;
using dibaccess::GetBitmapSize;
using dibaccess::StretchInto;

namespace {

HBITMAP NewSection(int width, int height) {
    DesktopDc desktop;
    return CreateDibSection24(desktop.Get(), width, height);
}

// The size a bitmap takes when fitted into max width x max height (never above either).
bool FitSize(int w, int h, int maxW, int maxH, bool mayEnlarge, int& outW, int& outH, double& scale) {
    if (w <= 0 || h <= 0 || maxW <= 0 || maxH <= 0) return false;
    scale = std::min(static_cast<double>(maxW) / w, static_cast<double>(maxH) / h);
    if (!mayEnlarge && w <= maxW && h <= maxH) scale = 1.0;
    outW = std::min(static_cast<int>(std::ceil(w * scale)), maxW);
    outH = std::min(static_cast<int>(std::ceil(h * scale)), maxH);
    return outW > 0 && outH > 0;
}

HBITMAP FitWithMargin(HBITMAP bitmap, int maxW, int maxH, int margin, bool mayEnlarge) {
    int w, h, nw, nh;
    double scale;
    if (!GetBitmapSize(bitmap, w, h) || !FitSize(w, h, maxW, maxH, mayEnlarge, nw, nh, scale)) return nullptr;
    HBITMAP result = NewSection(nw, nh);
    if (result) StretchInto(result, margin, margin, nw - 2 * margin, nh - 2 * margin, bitmap, 0, 0, w, h);
    return result;
}

}  // namespace

HBITMAP ScaleBitmapToSizeMargin(HBITMAP bitmap, int width, int height, int margin) {
    HBITMAP result = NewSection(width, height);
    if (!result) return nullptr;
    int w, h;
    GetBitmapSize(bitmap, w, h);
    StretchInto(result, margin, margin, width - 2 * margin, height - 2 * margin, bitmap, 0, 0, w, h);
    return result;
}

HBITMAP ScaleBitmapToSize(HBITMAP bitmap, int width, int height) {
    return ScaleBitmapToSizeMargin(bitmap, width, height, 0);
}

HBITMAP ScaleBitmapToFill(HBITMAP bitmap, int width, int height, int anchor, int margin) {
    HBITMAP result = NewSection(width, height);
    if (!result) return nullptr;
    const int innerW = width - 2 * margin;
    const int innerH = height - 2 * margin;
    int sw, sh;
    // A margin of half the size or more leaves no inner area: nothing is drawn (and no ratio
    // is formed from a zero size).
    if (innerW <= 0 || innerH <= 0 || !GetBitmapSize(bitmap, sw, sh) || sw <= 0 || sh <= 0) return result;
    const double ratio = std::min(static_cast<double>(sw) / innerW, static_cast<double>(sh) / innerH);
    const int partW = std::min(static_cast<int>(std::ceil(innerW * ratio)), sw);
    const int partH = std::min(static_cast<int>(std::ceil(innerH * ratio)), sh);
    int x = 0, y = 0;
    if (anchor == 4) {
        x = sw - partW;
        y = sh - partH;
    } else if (anchor == 8) {
        x = (sw - partW) / 2;
        y = (sh - partH) / 2;
    }
    StretchInto(result, margin, margin, innerW, innerH, bitmap, x, y, partW, partH);
    return result;
}

HBITMAP ScaleBitmapCompatible(HBITMAP bitmap, float scale) {
    const SIZE target = GetScaledBitmapSize(bitmap, scale);
    const SIZE source = GetScaledBitmapSize(bitmap, 1.0f);
    if (target.cx <= 0 || target.cy <= 0) return nullptr;
    HBITMAP result;
    {
        DesktopDc desktop;
        result = CreateCompatibleBitmap(desktop.Get(), target.cx, target.cy);
    }
    if (result) StretchInto(result, 0, 0, target.cx, target.cy, bitmap, 0, 0, source.cx, source.cy);
    return result;
}

HBITMAP ScaleBitmapToFit(HBITMAP bitmap, int maxWidth, int maxHeight, int margin) {
    return FitWithMargin(bitmap, maxWidth, maxHeight, margin, true);
}

HBITMAP ShrinkBitmapToFit(HBITMAP bitmap, int maxWidth, int maxHeight, int margin) {
    return FitWithMargin(bitmap, maxWidth, maxHeight, margin, false);
}

HBITMAP FitBitmapOnBackground(HBITMAP bitmap, int width, int height, int sysColorIndex) {
    HBITMAP result = NewSection(width, height);
    if (!result) return nullptr;
    {
        DesktopDc desktop;
        dibaccess::MemoryDc dc(desktop.Get(), result);
        if (dc.Ok()) {
            RECT all = {0, 0, width, height};
            FillRect(dc.Get(), &all, GetSysColorBrush(sysColorIndex));
        }
    }
    int w, h, nw, nh;
    double scale;
    if (GetBitmapSize(bitmap, w, h) && FitSize(w, h, width, height, false, nw, nh, scale)) {
        const int left = (width - static_cast<int>(std::ceil(w * scale))) / 2;
        const int top = (height - static_cast<int>(std::ceil(h * scale))) / 2;
        StretchInto(result, left, top, nw, nh, bitmap, 0, 0, w, h);
    }
    return result;
}

HBITMAP CopyBitmapRect(HBITMAP bitmap, const RECT* rect) {
    if (!bitmap || !rect) return nullptr;
    const int w = rect->right - rect->left;
    const int h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0) return nullptr;
    HBITMAP result = NewSection(w, h);
    if (!result) return nullptr;
    bool ok;
    {
        DesktopDc desktop;
        dibaccess::MemoryDc from(desktop.Get(), bitmap);
        dibaccess::MemoryDc to(desktop.Get(), result);
        ok = from.Ok() && to.Ok() && BitBlt(to.Get(), 0, 0, w, h, from.Get(), rect->left, rect->top, SRCCOPY);
    }
    if (!ok) {
        DeleteObject(result);
        return nullptr;
    }
    return result;
}

HBITMAP CopyBitmapAs24(HBITMAP bitmap) {
    DIBSECTION ds;
    if (!dibaccess::GetDibSection(bitmap, ds) || ds.dsBmih.biBitCount < 24) return nullptr;
    return ScaleBitmapToSize(bitmap, ds.dsBm.bmWidth, ds.dsBm.bmHeight);
}
