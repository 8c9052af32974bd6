#pragma once
// Building small CAnyBmp pictures for the filter tests.
#include <cstdint>
#include <vector>

#include "imaging/AnyBmp.h"

namespace bmptest {

struct Rgba {
    uint8_t r, g, b, a;
};

// A 32-bit picture from pixels given row by row.
inline void Fill32(CAnyBmp& bmp, int width, int height, const std::vector<Rgba>& pixels, bool alpha = false) {
    bmp.Create(width, height, 32, alpha);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba& p = pixels[static_cast<size_t>(y) * width + x];
            bmp.SetPixel(x, y, PLMakePixel(p.r, p.g, p.b, p.a));
        }
}

// A one-colour 32-bit picture.
inline void Solid32(CAnyBmp& bmp, int width, int height, Rgba colour) {
    Fill32(bmp, width, height, std::vector<Rgba>(static_cast<size_t>(width) * height, colour));
}

inline uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFFu; }

}  // namespace bmptest
