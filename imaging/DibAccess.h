#pragma once
// Reaching the pixel memory of a DIB section, and scoped GDI device contexts for the helpers.
#include <windows.h>
#include "framework/GdiHolders.h"
#include "imaging/DibKernels.h"

namespace dibaccess {

// The section's description; false for a null handle, a device-dependent bitmap or a section
// without pixel memory.
bool GetDibSection(HBITMAP bitmap, DIBSECTION& ds);

// The section's pixels; row y is the y-th row in pixel memory (the top row for the top-down
// sections this library makes).
bool GetDibView(HBITMAP bitmap, dibk::DibView& view);

// Whether the section keeps its rows bottom-up in memory. GetObject reports a positive height
// for both orders, so this asks GDI which memory row it shows at the top. A section that cannot
// be selected into a device context (selected elsewhere) counts as top-down.
bool IsBottomUpSection(HBITMAP bitmap);

// GetDibView that also demands 24 or 32 bits per pixel (or exactly `bpp` when given).
bool GetTrueColourView(HBITMAP bitmap, dibk::DibView& view, int bpp = 0);

// The helpers' device contexts are the program's own holders.
using ::MemoryDc;

// The desktop window's device context, released on every path.
class DesktopDc : public WindowDc {
public:
    DesktopDc() : WindowDc(::GetDesktopWindow()) {}
};

// HALFTONE StretchBlt of the source part (sx, sy, sw, sh) into dst at (dx, dy, dw, dh); the
// source's size is read from the bitmap itself. True when the drawing ran.
bool StretchInto(HBITMAP dst, int dx, int dy, int dw, int dh, HBITMAP src, int sx, int sy, int sw, int sh);

inline dibk::DibRect ToDibRect(const RECT& r) { return dibk::DibRect{r.left, r.top, r.right, r.bottom}; }

// Converts an optional RECT for the kernels: null stays null.
class OptRect {
public:
    explicit OptRect(const RECT* r) : has_(r != nullptr), r_{0, 0, 0, 0} {
        if (r) r_ = ToDibRect(*r);
    }
    const dibk::DibRect* Get() const { return has_ ? &r_ : nullptr; }

private:
    bool has_;
    dibk::DibRect r_;
};

// Width and height of any bitmap; false on failure.
bool GetBitmapSize(HBITMAP bitmap, int& width, int& height);

}  // namespace dibaccess
