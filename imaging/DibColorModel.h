#pragma once
// 16-bit HLS colour model (hue, lightness, saturation each 0..65535; the hue circle is 65536
// units, greys report hue 43690) and colour adjustments built on it. Colours are COLORREF
// values (red in the low byte).
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace hls {
const int kHlsMax = 65535;
const int kHueSixth = 10922;
const int kHueThird = 21845;
const int kHueTwoThirds = 43690;
}  // namespace hls

void RgbToHls3(int red, int green, int blue, int* hue, int* lightness, int* saturation);
void RgbToHls(uint32_t colour, int* hue, int* lightness, int* saturation);
uint32_t HlsToColor(int hue, int lightness, int saturation);
// Writes blue, green, red bytes.
void HlsToTriple(int hue, int lightness, int saturation, uint8_t* out);

uint32_t SetColorSaturation(uint32_t colour, int perMille);
uint32_t AdjustColorLightness(int perMille, uint32_t colour);
uint32_t DarkenColorQuarter(uint32_t colour);
void GetHlsDifference(uint32_t a, uint32_t b, int* hue, int* lightness, int* saturation);

#ifdef _WIN32
// Every pixel of a 24- or 32-bit section: hue + delta (wrapping), lightness and saturation +
// delta clamped; alpha kept. 1 on success, 0 when the bitmap is not such a section.
int AdjustDibHls(HBITMAP bitmap, int hueDelta, int lightnessDelta, int saturationDelta);
// Every pixel takes the colour's hue and saturation and keeps its own weighted lightness.
int ColorizeDib(HBITMAP bitmap, COLORREF colour);
#endif

namespace dibk {
struct DibView;
// The kernels behind AdjustDibHls and ColorizeDib.
void AdjustHls(const DibView& v, int hueDelta, int lightnessDelta, int saturationDelta);
void Colorize(const DibView& v, uint32_t colour);
}  // namespace dibk
