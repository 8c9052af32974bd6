// Mapping pixels to palette indices: plain, ordered dither, and serpentine error diffusion.
#include <algorithm>
#include <vector>

#include "imaging/QuantizeKernel.h"

namespace quant {

namespace {

inline int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline double ClampDouble(double v) { return v < 0.0 ? 0.0 : (v > 255.0 ? 255.0 : v); }

void MapPlain(const uint8_t* const* src, int w, int h, uint8_t* const* dst, const Entry* palette,
              ColourHistogram& histogram) {
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = src[y];
        for (int x = 0; x < w; ++x, p += 4) dst[y][x] = static_cast<uint8_t>(histogram.Nearest(p[2], p[1], p[0], palette));
    }
}

void MapOrdered(const uint8_t* const* src, int w, int h, uint8_t* const* dst, const Entry* palette,
                ColourHistogram& histogram) {
    static const int kMatrix[16] = {-7, 1, -5, 3, 5, -3, 7, -1, -4, 4, -6, 2, 8, 0, 6, -2};
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = src[y];
        for (int x = 0; x < w; ++x, p += 4) {
            const int m = 2 * kMatrix[((w - 1 - x) % 4) * 4 + (y % 4)];
            dst[y][x] = static_cast<uint8_t>(
                histogram.Nearest(ClampByte(p[2] + m), ClampByte(p[1] + m), ClampByte(p[0] + m), palette));
        }
    }
}

void MapDiffused(const uint8_t* const* src, int w, int h, uint8_t* const* dst, const Entry* palette,
                 ColourHistogram& histogram) {
    // Two rows of errors, one cell either side of the picture so neighbours always exist.
    const size_t cells = static_cast<size_t>(w) + 2;
    std::vector<double> rowA(cells * 3, 0.0), rowB(cells * 3, 0.0);
    double* cur = rowA.data();
    double* next = rowB.data();
    for (int y = 0; y < h; ++y) {
        const bool leftToRight = (y % 2) == 0;
        const int dir = leftToRight ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = leftToRight ? i : w - 1 - i;
            const uint8_t* p = src[y] + 4 * x;
            const int component[3] = {p[2], p[1], p[0]};
            double value[3];
            double* here = cur + 3 * (x + 1);
            for (int k = 0; k < 3; ++k) value[k] = ClampDouble(component[k] + here[k]);
            const int index = histogram.Nearest(static_cast<int>(value[0]), static_cast<int>(value[1]),
                                                static_cast<int>(value[2]), palette);
            dst[y][x] = static_cast<uint8_t>(index);
            const int entry[3] = {EntryRed(palette[index]), EntryGreen(palette[index]), EntryBlue(palette[index])};
            double* ahead = cur + 3 * (x + 1 + dir);
            double* belowBehind = next + 3 * (x + 1 - dir);
            double* below = next + 3 * (x + 1);
            double* belowAhead = next + 3 * (x + 1 + dir);
            for (int k = 0; k < 3; ++k) {
                const double e = (value[k] - entry[k]) / 16.0;
                ahead[k] += 7.0 * e;
                belowBehind[k] += 3.0 * e;
                below[k] += 5.0 * e;
                belowAhead[k] += e;
            }
        }
        std::swap(cur, next);
        std::fill(next, next + cells * 3, 0.0);
    }
}

}  // namespace

void MapPixels(const uint8_t* const* srcLines, int width, int height, uint8_t* const* dstLines, int ditherMode,
               const Entry* palette, ColourHistogram& histogram) {
    if (ditherMode == 1)
        MapOrdered(srcLines, width, height, dstLines, palette, histogram);
    else if (ditherMode == 2)
        MapDiffused(srcLines, width, height, dstLines, palette, histogram);
    else
        MapPlain(srcLines, width, height, dstLines, palette, histogram);
}

bool Quantize(const uint8_t* const* srcLines, int width, int height, uint8_t* const* dstLines, int paletteMode,
              int ditherMode, Entry* palette) {
    ColourHistogram histogram;
    if (paletteMode == 2) {
        BuildFixedPalette(palette);
    } else {
        histogram.Count(srcLines, width, height);
        if (paletteMode == 1)
            BuildPopularityPalette(histogram, palette);
        else if (!BuildMedianCutPalette(histogram, palette))
            return false;
    }
    MapPixels(srcLines, width, height, dstLines, ditherMode, palette, histogram);
    return true;
}

}  // namespace quant
