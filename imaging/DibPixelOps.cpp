// GDI face of the pixel kernels: each function finds the section's pixels and runs a kernel.
#include "imaging/DibHelpers.h"

#include <cstring>

#include "imaging/DibAccess.h"

using dibaccess::GetTrueColourView;
using dibaccess::OptRect;

uint32_t GetDibPixel(HBITMAP bitmap, int x, int y) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    return dibk::GetPixel(v, x, y);
}

int SetFirstDibPixel(HBITMAP bitmap, COLORREF colour) {
    DIBSECTION ds;
    if (!dibaccess::GetDibSection(bitmap, ds) || ds.dsBmih.biBitCount < 24) return 0;
    BYTE* p = static_cast<BYTE*>(ds.dsBm.bmBits);
    ColorRefToTriple(p, colour);
    if (ds.dsBmih.biBitCount == 32) p[3] = 255;
    return 1;
}

int ClearDib(HBITMAP bitmap) {
    DIBSECTION ds;
    if (!dibaccess::GetDibSection(bitmap, ds)) return 0;
    const size_t bytes = static_cast<size_t>(dibk::RowBytes(ds.dsBm.bmWidth, ds.dsBmih.biBitCount)) *
                         static_cast<size_t>(ds.dsBm.bmHeight);
    std::memset(ds.dsBm.bmBits, 0, bytes);
    return 1;
}

int FillDibRect(HBITMAP bitmap, const RECT* rect, COLORREF colour) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::FillRect(v, OptRect(rect).Get(), colour);
    return 1;
}

int XorDibRect(HBITMAP bitmap, const RECT* rect, COLORREF colour) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::XorRect(v, OptRect(rect).Get(), colour);
    return 1;
}

int InvertDibRect(HBITMAP bitmap, const RECT* rect) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::InvertRect(v, OptRect(rect).Get());
    return 1;
}

int GradientFillDibRect(HBITMAP bitmap, const RECT* rect, COLORREF top, COLORREF bottom) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::GradientFillV(v, OptRect(rect).Get(), top, bottom);
    return 1;
}

int GradientFillDibRectH(HBITMAP bitmap, const RECT* rect, COLORREF left, COLORREF right) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::GradientFillH(v, OptRect(rect).Get(), left, right);
    return 1;
}

int GradientBlendDibRectH(HBITMAP bitmap, const RECT* rect, COLORREF left, COLORREF right, DWORD opacity) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::GradientBlendH(v, OptRect(rect).Get(), left, right, opacity);
    return 1;
}

int ScaleAlphaDibRect(HBITMAP bitmap, const RECT* rect, DWORD level) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v, 32)) return 0;
    dibk::ScaleAlpha(v, OptRect(rect).Get(), level);
    return 1;
}

int AlphaGradientDibRect(HBITMAP bitmap, const RECT* rect, DWORD leftLevel, DWORD rightLevel) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v, 32)) return 0;
    dibk::AlphaGradient(v, OptRect(rect).Get(), leftLevel & 0xFF, rightLevel & 0xFF);
    return 1;
}

int ThresholdDib(HBITMAP bitmap, COLORREF dark, COLORREF light, int threshold) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::Threshold(v, dark, light, threshold);
    return 1;
}

int BandThresholdDib(HBITMAP bitmap, COLORREF outside, COLORREF inside, int low, int high) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::BandThreshold(v, outside, inside, low, high);
    return 1;
}

int ThresholdDibByColor(HBITMAP bitmap, COLORREF dark, COLORREF light, COLORREF threshold) {
    return ThresholdDib(bitmap, dark, light, dibk::ColourLuminance(threshold));
}

int BandThresholdDibByColor(HBITMAP bitmap, COLORREF outside, COLORREF inside, COLORREF low, COLORREF high) {
    return BandThresholdDib(bitmap, outside, inside, dibk::ColourLuminance(low), dibk::ColourLuminance(high));
}

int ReplaceDibColor(HBITMAP bitmap, DWORD strength, COLORREF from, COLORREF to) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::ReplaceColour(v, strength, from, to);
    return 1;
}

int DrawBevelFrame(HBITMAP bitmap, const RECT* rect, COLORREF fill, COLORREF light, COLORREF dark, int thickness) {
    dibk::DibView v;
    if (!GetTrueColourView(bitmap, v)) return 0;
    dibk::DrawBevelFrame(v, OptRect(rect).Get(), fill, light, dark, thickness);
    return 1;
}

int DrawBevelPanel(HBITMAP bitmap, const RECT* rect, COLORREF fill, COLORREF light, COLORREF dark, int thickness,
                   HBITMAP pattern, DWORD opacity) {
    if (!DrawBevelFrame(bitmap, rect, fill, light, dark, thickness)) return 0;
    if (!pattern) return 1;
    RECT inner;
    if (rect) {
        inner = *rect;
    } else {
        GetBitmapRect(&inner, bitmap);
    }
    const int t = thickness > 0 ? thickness : 0;
    InflateRect(&inner, -t, -t);
    if (inner.left > inner.right || inner.top > inner.bottom) return 1;
    return TileDibRect(bitmap, &inner, pattern, opacity);
}

HBITMAP MakeGreyCopy(HBITMAP bitmap) {
    dibk::DibView src;
    if (!GetTrueColourView(bitmap, src)) return nullptr;
    HBITMAP copy = src.bpp == 32 ? CreateDibSection32(nullptr, src.width, src.height)
                                 : CreateDibSection24(nullptr, src.width, src.height);
    dibk::DibView dst;
    if (!copy || !GetTrueColourView(copy, dst)) {
        if (copy) DeleteObject(copy);
        return nullptr;
    }
    dibk::GreyCopy(src, dst);
    return copy;
}

HBITMAP CombineColorAndAlpha(HBITMAP colour, HBITMAP mask) {
    dibk::DibView c, m;
    if (!GetTrueColourView(colour, c) || !GetTrueColourView(mask, m, 24)) return nullptr;
    if (c.width != m.width || c.height != m.height) return nullptr;
    HBITMAP result = CreateDibSection32(nullptr, c.width, c.height);
    dibk::DibView d;
    if (!result || !GetTrueColourView(result, d)) {
        if (result) DeleteObject(result);
        return nullptr;
    }
    dibk::CombineColourAndAlpha(c, m, d);
    return result;
}

int BlendTransitionStep(HBITMAP dst, HBITMAP src, HBITMAP mask, int level, int edgeWidth, unsigned flags) {
    dibk::DibView d, s, m;
    if (!GetTrueColourView(src, s, 24) || !GetTrueColourView(mask, m, 24) || !GetTrueColourView(dst, d, 24))
        return 0;
    dibk::BlendTransition(d, s, m, level, edgeWidth, flags);
    return 1;
}
