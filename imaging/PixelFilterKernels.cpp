#include "imaging/PixelFilterKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/HsvModel.h"

namespace pixfilt {

void Grayscale(const uint8_t* const* src, int width, int height, uint8_t* const* dst) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = src[y];
        for (int x = 0; x < width; ++x, p += 4)
            dst[y][x] = static_cast<uint8_t>(0.212671 * p[2] + 0.71516 * p[1] + 0.072169 * p[0]);
    }
}

void ExtractAlpha(const uint8_t* const* src, int width, int height, uint8_t* const* dst) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = src[y];
        for (int x = 0; x < width; ++x, p += 4) dst[y][x] = p[3];
    }
}

void Threshold(const uint8_t* const* src, int width, int height, uint8_t* const* dst, int lower, int upper,
               int channel) {
    const int lo = lower & 0xFF, hi = upper & 0xFF, at = channel & 3;
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = src[y] + at;
        for (int x = 0; x < width; ++x, p += 4) dst[y][x] = (*p > lo && *p < hi) ? *p : 0;
    }
}

void Crop(const uint8_t* const* src, int bytesPerPixel, int x1, int x2, int y1, int y2, uint8_t* const* dst) {
    const size_t bytes = static_cast<size_t>(x2 - x1) * bytesPerPixel;
    for (int y = y1; y < y2; ++y) std::memcpy(dst[y - y1], src[y] + static_cast<size_t>(x1) * bytesPerPixel, bytes);
}

void VideoInvert(const uint8_t* const* src, int width, int height, uint8_t* const* dst) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = src[y];
        uint8_t* d = dst[y];
        for (int x = 0; x < width; ++x, p += 4, d += 4) {
            double a = p[2], b = p[1], c = p[0];
            RgbToHsv(a, b, c);
            c = 255.0 - c;
            HsvToRgb(a, b, c);
            d[0] = static_cast<uint8_t>(ClampToByte(static_cast<int>(c)));
            d[1] = static_cast<uint8_t>(ClampToByte(static_cast<int>(b)));
            d[2] = static_cast<uint8_t>(ClampToByte(static_cast<int>(a)));
        }
    }
}

RotationBox RotationBounds(int width, int height, double angle) {
    const double a = -angle, c = std::cos(a), s = std::sin(a);
    const int xs[4] = {0, width - 1, 0, width - 1};
    const int ys[4] = {0, 0, height - 1, height - 1};
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const int x = static_cast<int>(xs[i] * c - ys[i] * s + 0.5);
        const int y = static_cast<int>(xs[i] * s + ys[i] * c + 0.5);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    return RotationBox{minX, minY, maxX - minX + 1, maxY - minY + 1};
}

namespace {

inline uint32_t ReadPixel(const uint8_t* row, int x, int bpp) {
    if (bpp == 32) {
        uint32_t v;
        std::memcpy(&v, row + 4 * static_cast<size_t>(x), 4);
        return v;
    }
    if (bpp == 8) return row[x];
    return (row[x / 8] & (0x80 >> (x % 8))) ? 1u : 0u;
}

inline void WritePixel(uint8_t* row, int x, int bpp, uint32_t v) {
    if (bpp == 32) {
        std::memcpy(row + 4 * static_cast<size_t>(x), &v, 4);
    } else if (bpp == 8) {
        row[x] = static_cast<uint8_t>(v);
    } else if (v & 1) {
        row[x / 8] = static_cast<uint8_t>(row[x / 8] | (0x80 >> (x % 8)));
    } else {
        row[x / 8] = static_cast<uint8_t>(row[x / 8] & ~(0x80 >> (x % 8)));
    }
}

}  // namespace

void Rotate(const uint8_t* const* src, int width, int height, int bpp, double angle, uint32_t fill,
            const RotationBox& box, uint8_t* const* dst) {
    const double a = -angle, c = std::cos(a), s = std::sin(a);
    for (int i = 0; i < box.height; ++i) {
        const double Y = box.minY + i;
        for (int j = 0; j < box.width; ++j) {
            const double X = box.minX + j;
            const double fx = c * X + s * Y;
            const double fy = c * Y - s * X;
            const bool inside = fx > -1.0 && fy > -1.0 && fx < width && fy < height;
            const int sx = inside ? static_cast<int>(fx) : -1;
            const int sy = inside ? static_cast<int>(fy) : -1;
            const bool hit = sx >= 0 && sy >= 0 && sx < width && sy < height;
            WritePixel(dst[i], j, bpp, hit ? ReadPixel(src[sy], sx, bpp) : fill);
        }
    }
}

}  // namespace pixfilt
