#pragma once
// Rotation of 24- or 32-bit sections with 4 x 4 supersampling into new 32-bit sections; the
// corners outside the turned picture are transparent black.
#include <cstdint>

#ifdef _WIN32
#include <windows.h>

// Angle in radians. When `point` (a pivot in the source) is given it is replaced by where to
// draw the result so that the pivot stays in place.
// Null when the source is not a section of at least 24 bits or a section cannot be made.
HBITMAP RotateBitmap(HBITMAP bitmap, float angle, POINT* point);
// The same walk in 16.16 fixed point.
HBITMAP RotateBitmapFixed(HBITMAP bitmap, float angle, POINT* point);
#endif

namespace dibk {
struct DibView;

// Result size of a rotation of a width x height picture (0 x 0 when nothing remains).
void RotatedSize(int width, int height, float angle, int& outWidth, int& outHeight);
// Fills dst (32 bits, of RotatedSize) with src turned by the angle; `fixedPoint` picks the
// 16.16 walk. Point mappings as RotateBitmap and RotateBitmapFixed describe them.
void Rotate(const DibView& src, const DibView& dst, float angle, bool fixedPoint);
void MapRotatedPoint(int width, int height, float angle, bool fixedPoint, int& x, int& y);
}  // namespace dibk
