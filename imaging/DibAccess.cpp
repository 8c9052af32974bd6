#include "imaging/DibAccess.h"

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
    if (!GetDibSection(bitmap, ds) || ds.dsBm.bmHeight < 2) return false;
    MemoryDc dc(nullptr, bitmap);
    if (!dc.Selected()) return false;
    GdiFlush();
    const COLORREF before = GetPixel(dc.Get(), 0, 0);
    if (before == CLR_INVALID) return false;
    // Change the first byte of memory and see whether the top-left pixel changes with it.
    uint8_t* first = static_cast<uint8_t*>(ds.dsBm.bmBits);
    const uint8_t saved = *first;
    *first = static_cast<uint8_t>(saved ^ 0xFF);
    const COLORREF after = GetPixel(dc.Get(), 0, 0);
    *first = saved;
    GdiFlush();
    return after == before;
}

bool GetTrueColourView(HBITMAP bitmap, dibk::DibView& view, int bpp) {
    if (!GetDibView(bitmap, view)) return false;
    if (bpp != 0) return view.bpp == bpp;
    return view.bpp == 24 || view.bpp == 32;
}

MemoryDc::MemoryDc(HDC compatibleWith, HBITMAP select) : dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_ && select) Select(select);
}

MemoryDc::~MemoryDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
}

void MemoryDc::Select(HBITMAP bitmap) {
    HGDIOBJ prev = SelectObject(dc_, bitmap);
    selected_ = prev != nullptr && prev != HGDI_ERROR;
    if (!old_ && selected_) old_ = prev;
}

DesktopDc::DesktopDc() : wnd_(GetDesktopWindow()), dc_(GetDC(wnd_)) {}

DesktopDc::~DesktopDc() {
    if (dc_) ReleaseDC(wnd_, dc_);
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
