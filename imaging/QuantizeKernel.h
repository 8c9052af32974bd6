#pragma once
// Colour quantisation of 32-bit pixels (blue, green, red, alpha bytes) to a 256-entry palette,
// over plain row pointers so it runs without the bitmap classes.
#include <cstdint>
#include <vector>

namespace quant {

// Palette entries as four bytes blue, green, red, fourth byte (a little-endian uint32).
typedef uint32_t Entry;

inline Entry MakeEntry(int red, int green, int blue, int fourth) {
    return static_cast<uint32_t>(blue) | (static_cast<uint32_t>(green) << 8) | (static_cast<uint32_t>(red) << 16) |
           (static_cast<uint32_t>(fourth) << 24);
}
inline int EntryRed(Entry e) { return (e >> 16) & 0xFF; }
inline int EntryGreen(Entry e) { return (e >> 8) & 0xFF; }
inline int EntryBlue(Entry e) { return e & 0xFF; }

// 15-bit cell key of a colour: the top five bits of red, green and blue.
inline int CellKey(int red, int green, int blue) { return ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3); }

// Pixel counts per 15-bit cell and the palette index each cell has been resolved to.
class ColourHistogram {
public:
    ColourHistogram();
    void Count(const uint8_t* const* lines, int width, int height);
    // Count of a cell (saturating at 65535); 0 for cells no pixel fell into.
    uint32_t CellCount(int key) const { return count_[key]; }
    uint32_t CellCount(int r5, int g5, int b5) const { return count_[(r5 << 10) | (g5 << 5) | b5]; }
    // The palette index of a colour: the first colour to reach a cell decides for the whole
    // cell; otherwise the nearest entry (least squared distance, lowest index on ties).
    int Nearest(int red, int green, int blue, const Entry* palette);

private:
    std::vector<uint32_t> count_;
    std::vector<int32_t> index_;
};

// Palette builders (all 256 entries are written).
// Median cut over 5-bit boxes; false when its box array cannot be allocated.
bool BuildMedianCutPalette(const ColourHistogram& histogram, Entry* palette);
void BuildPopularityPalette(const ColourHistogram& histogram, Entry* palette);
// The fixed table; the fourth bytes of `palette` are kept.
void BuildFixedPalette(Entry* palette);

// Maps every pixel to an index with dither mode 0 (none), 1 (ordered) or 2 (serpentine
// Floyd-Steinberg).
void MapPixels(const uint8_t* const* srcLines, int width, int height, uint8_t* const* dstLines, int ditherMode,
               const Entry* palette, ColourHistogram& histogram);

// The whole job: palette mode 0 median cut, 1 popularity, 2 fixed. False when out of memory.
bool Quantize(const uint8_t* const* srcLines, int width, int height, uint8_t* const* dstLines, int paletteMode,
              int ditherMode, Entry* palette);

}  // namespace quant
