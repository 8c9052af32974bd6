#pragma once
// Pixel kernels of the DIB-section toolkit. They work on plain pixel memory (no GDI), so they
// can be tested and built anywhere; the HBITMAP functions are thin wrappers around them.
//
// Pixels are blue, green, red (24 bits) or blue, green, red, alpha (32 bits). Colours handed to
// the kernels are COLORREF values: red in the low byte, then green, then blue.
#include <cstddef>
#include <cstdint>

namespace dibk {

// One bitmap's pixels. Row(y) is the visual row y (0 = top); a bottom-up section is described
// with its last memory row as `bits` and a negative stride.
struct DibView {
    uint8_t* bits = nullptr;
    ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    int bpp = 0;

    uint8_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
    uint8_t* Pixel(int x, int y) const { return Row(y) + static_cast<ptrdiff_t>(x) * (bpp / 8); }
    bool IsTrueColour() const { return bits && (bpp == 24 || bpp == 32) && width > 0 && height > 0; }
};

// Inclusive rectangle: right and bottom name the last column and row.
struct DibRect {
    int left, top, right, bottom;
};

struct DibPoint {
    int x, y;
};

// Bytes in one row: width x bytes-per-pixel rounded up to a multiple of 4.
int RowBytes(int width, int bpp);

// Clamps `in` (null: the whole view) to the view; false when nothing remains.
bool ClampRect(const DibView& v, const DibRect* in, DibRect& out);

inline uint8_t Red(uint32_t c) { return static_cast<uint8_t>(c); }
inline uint8_t Green(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t Blue(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
// 76 R + 149 G + 30 B: weights summing to 255, so 0..65025.
inline int Luminance(int r, int g, int b) { return 76 * r + 149 * g + 30 * b; }
inline int ColourLuminance(uint32_t c) { return Luminance(Red(c), Green(c), Blue(c)); }

// ---- fills and per-pixel operations (24 or 32 bits; 32-bit pixels get alpha 255 where a
// colour is written unless said otherwise) ----
void FillRect(const DibView& v, const DibRect* r, uint32_t colour);
// Exclusive-or with the colour; 32-bit pixels also get their alpha complemented.
void XorRect(const DibView& v, const DibRect* r, uint32_t colour);
// 255 - channel for blue, green and red; alpha is kept.
void InvertRect(const DibView& v, const DibRect* r);
void GradientFillV(const DibView& v, const DibRect* r, uint32_t top, uint32_t bottom);
void GradientFillH(const DibView& v, const DibRect* r, uint32_t left, uint32_t right);
void GradientBlendH(const DibView& v, const DibRect* r, uint32_t left, uint32_t right, uint32_t opacity);
// 32-bit only.
void ScaleAlpha(const DibView& v, const DibRect* r, uint32_t level);
void AlphaGradient(const DibView& v, const DibRect* r, uint32_t leftLevel, uint32_t rightLevel);
void Threshold(const DibView& v, uint32_t dark, uint32_t light, int threshold);
void BandThreshold(const DibView& v, uint32_t outside, uint32_t inside, int low, int high);
void ReplaceColour(const DibView& v, uint32_t strength, uint32_t from, uint32_t to);
// Grey (76 R + 149 G + 30 B) / 255 from src into dst of the same size and depth; alpha kept.
void GreyCopy(const DibView& src, const DibView& dst);
// dst 32 bits: blue, green, red from colour, alpha from the mask's blue byte.
void CombineColourAndAlpha(const DibView& colour, const DibView& mask, const DibView& dst);
void DrawBevelFrame(const DibView& v, const DibRect* r, uint32_t fill, uint32_t light, uint32_t dark,
                    int thickness);
// Colour of a pixel as blue | green << 8 | red << 16 | alpha << 24 (alpha 255 for 24 bits).
uint32_t GetPixel(const DibView& v, int x, int y);

// ---- copies between views ----
enum class CopyMode { Plain, Keyed, Opacity, OpacityKeyed };
struct CopyArgs {
    CopyMode mode = CopyMode::Plain;
    uint32_t opacity = 255;
    uint32_t key = 0xFFFFFFFF;
};
// Clips a copy of `srcRect` (null: all of src) placed at `pos` (null: 0,0) in dst. Moves `pos`
// right/down when the source rect starts left of or above the source. False when nothing
// remains; on success outRect is the source part and outPos where it lands.
bool ClipCopy(const DibView& dst, DibPoint* pos, const DibView& src, const DibRect* srcRect,
              DibRect& outRect, DibPoint& outPos);
// Copies with the blending rules of each mode; false when the depths do not fit the mode or
// nothing remains after clipping.
bool CopyRect(const DibView& dst, DibPoint* pos, const DibView& src, const DibRect* srcRect,
              const CopyArgs& args);
typedef void (*PixelCallback)(uint8_t* srcPixel, uint8_t* dstPixel, int srcX, int srcY, int srcWidth,
                              int srcHeight);
bool ForEachPixel(const DibView& dst, DibPoint* pos, const DibView& src, const DibRect* srcRect,
                  PixelCallback callback);
// Covers the rect (null: all of dst) with copies of the pattern, starting at the rect's corner.
bool TileRect(const DibView& dst, const DibRect* r, const DibView& pattern, uint32_t opacity);
enum class NineGridCentre { Tiled, Solid };
bool PaintNineGrid(const DibView& dst, const DibRect* r, const DibView& skin, NineGridCentre centre,
                   const CopyArgs& args);

// ---- transition effects ----
// All three 24 bits; see the flags in DibTransition.h.
void BlendTransition(const DibView& dst, const DibView& src, const DibView& mask, int level,
                     int edgeWidth, unsigned flags);

// ---- rotation ----
// Bounding box (left, top, right, bottom) of 0..width x scale by 0..height x scale turned by the
// angle; the integer form truncates and then moves each edge with a fractional part outward.
void RotatedBoundsF(int width, int height, float scale, float sine, float cosine, float out[4]);
void RotatedBounds(int width, int height, float scale, float sine, float cosine, int out[4]);
// Sum of the 16 bytes of each byte position of a 4 x 4 block of 32-bit pixels, shifted right by 4.
uint32_t AverageBlock4x4(const uint8_t* block, ptrdiff_t stride);

}  // namespace dibk
