// The 15-bit colour histogram of the quantiser and its nearest-entry search with a per-cell cache.
#include "imaging/QuantizeKernel.h"

namespace quant {

ColourHistogram::ColourHistogram() : count_(32768, 0), index_(32768, -1) {}

void ColourHistogram::Count(const uint8_t* const* lines, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = lines[y];
        for (int x = 0; x < width; ++x, p += 4) {
            uint32_t& c = count_[CellKey(p[2], p[1], p[0])];
            if (c < 65535) ++c;
        }
    }
}

int ColourHistogram::Nearest(int red, int green, int blue, const Entry* palette) {
    int32_t& cached = index_[CellKey(red, green, blue)];
    if (cached != -1) return cached;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = red - EntryRed(palette[i]);
        const long dg = green - EntryGreen(palette[i]);
        const long db = blue - EntryBlue(palette[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    cached = best;
    return best;
}

}  // namespace quant
