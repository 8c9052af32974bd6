#pragma once
// Per-pixel kernels of the bitmap filters, over plain row pointers (32-bit rows are blue,
// green, red, alpha bytes), so they run without the bitmap classes.
#include <cstdint>

namespace pixfilt {

inline int ClampToByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline void SetPixelRed(uint8_t* pixel, uint8_t v) { pixel[2] = v; }
inline void SetPixelGreen(uint8_t* pixel, uint8_t v) { pixel[1] = v; }
inline void SetPixelBlue(uint8_t* pixel, uint8_t v) { pixel[0] = v; }

// 8-bit destination rows from 32-bit source rows.
void Grayscale(const uint8_t* const* src, int width, int height, uint8_t* const* dst);
void ExtractAlpha(const uint8_t* const* src, int width, int height, uint8_t* const* dst);
// The byte at `channel` (0 blue .. 3 alpha) when lower < byte < upper, else 0.
void Threshold(const uint8_t* const* src, int width, int height, uint8_t* const* dst, int lower, int upper,
               int channel);
// Columns x1 .. x2 - 1 of rows y1 .. y2 - 1, `bytesPerPixel` bytes each.
void Crop(const uint8_t* const* src, int bytesPerPixel, int x1, int x2, int y1, int y2, uint8_t* const* dst);
// Value inversion through the HSV model, 32-bit to 32-bit; the alpha bytes are not written.
void VideoInvert(const uint8_t* const* src, int width, int height, uint8_t* const* dst);

// Rotation by `angle` radians about the origin into a bounding box (1, 8 or 32 bits per pixel).
struct RotationBox {
    int minX, minY, width, height;
};
RotationBox RotationBounds(int width, int height, double angle);
// `fill` is a pixel value in the bitmap's own format (a bit, an index or a 32-bit pixel).
void Rotate(const uint8_t* const* src, int width, int height, int bpp, double angle, uint32_t fill,
            const RotationBox& box, uint8_t* const* dst);

}  // namespace pixfilt
