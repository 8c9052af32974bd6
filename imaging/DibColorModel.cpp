// Integer HLS conversions and the colour adjustments of the DIB toolkit.
#include "imaging/DibColorModel.h"

#include <algorithm>

#include "imaging/DibKernels.h"
#ifdef _WIN32
#include "imaging/DibAccess.h"
#endif

namespace {

inline int ClampHls(int64_t v) { return static_cast<int>(std::min<int64_t>(std::max<int64_t>(v, 0), hls::kHlsMax)); }

int HueToComponent(int64_t p, int64_t q, int hue) {
    const unsigned h = static_cast<unsigned>(hue) & 0xFFFF;
    if (h <= 10921) return static_cast<int>(p + ((q - p) * h + 5461) / hls::kHueSixth);
    if (h <= 32766) return static_cast<int>(q);
    if (h <= 43689) return static_cast<int>(p + ((q - p) * (hls::kHueTwoThirds - h) + 5461) / hls::kHueSixth);
    return static_cast<int>(p);
}

inline uint8_t ToByte(int v) { return static_cast<uint8_t>((static_cast<int64_t>(v) * 255 + 32767) / 65535); }

void HlsToRgb(int hue, int lightness, int saturation, uint8_t& r, uint8_t& g, uint8_t& b) {
    const int64_t l = ClampHls(lightness);
    const int64_t s = ClampHls(saturation);
    if (s == 0) {
        r = g = b = static_cast<uint8_t>(l * 255 / 65535);
        return;
    }
    const int64_t q = l <= 32767 ? (l * (s + 65535) + 32767) / 65535 : l + s - (l * s + 32767) / 65535;
    const int64_t p = 2 * l - q;
    r = ToByte(HueToComponent(p, q, hue + hls::kHueThird));
    g = ToByte(HueToComponent(p, q, hue));
    b = ToByte(HueToComponent(p, q, hue - hls::kHueThird));
}

inline uint32_t MakeColour(uint8_t r, uint8_t g, uint8_t b) {
    return r | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

}  // namespace

void RgbToHls3(int red, int green, int blue, int* hue, int* lightness, int* saturation) {
    const int mx = std::max(red, std::max(green, blue));
    const int mn = std::min(red, std::min(green, blue));
    const int l = ((mx + mn) * 65535 + 255) / 510;
    int h, s;
    if (mx == mn) {
        s = 0;
        h = hls::kHueTwoThirds;
    } else {
        const int range = mx - mn;
        const int sum = l <= 32767 ? mx + mn : 510 - mx - mn;
        s = (range * 65535 + sum / 2) / sum;
        const int rd = ((mx - red) * hls::kHueSixth + range / 2) / range;
        const int gd = ((mx - green) * hls::kHueSixth + range / 2) / range;
        const int bd = ((mx - blue) * hls::kHueSixth + range / 2) / range;
        if (red == mx)
            h = bd - gd;
        else if (green == mx)
            h = hls::kHueThird + rd - bd;
        else
            h = hls::kHueTwoThirds + gd - rd;
        h &= 0xFFFF;
    }
    if (hue) *hue = h;
    if (lightness) *lightness = l;
    if (saturation) *saturation = s;
}

void RgbToHls(uint32_t colour, int* hue, int* lightness, int* saturation) {
    RgbToHls3(dibk::Red(colour), dibk::Green(colour), dibk::Blue(colour), hue, lightness, saturation);
}

uint32_t HlsToColor(int hue, int lightness, int saturation) {
    uint8_t r, g, b;
    HlsToRgb(hue, lightness, saturation, r, g, b);
    return MakeColour(r, g, b);
}

void HlsToTriple(int hue, int lightness, int saturation, uint8_t* out) {
    if (!out) return;
    HlsToRgb(hue, lightness, saturation, out[2], out[1], out[0]);
}

uint32_t SetColorSaturation(uint32_t colour, int perMille) {
    int h, l, s;
    RgbToHls(colour, &h, &l, &s);
    return HlsToColor(h, l, ClampHls(static_cast<int64_t>(perMille) * 65535 / 1000));
}

uint32_t AdjustColorLightness(int perMille, uint32_t colour) {
    int h, l, s;
    RgbToHls(colour, &h, &l, &s);
    l = ClampHls(l + static_cast<int64_t>(perMille) * 65535 / 1000);
    if (s > 32767) s = 32767;
    return HlsToColor(h, l, s);
}

uint32_t DarkenColorQuarter(uint32_t colour) {
    int h, l, s;
    RgbToHls(colour, &h, &l, &s);
    return HlsToColor(h, l / 4, s);
}

void GetHlsDifference(uint32_t a, uint32_t b, int* hue, int* lightness, int* saturation) {
    int ha, la, sa, hb, lb, sb;
    RgbToHls(a, &ha, &la, &sa);
    RgbToHls(b, &hb, &lb, &sb);
    if (hue) *hue = ha - hb;
    if (lightness) *lightness = la - lb;
    if (saturation) *saturation = sa - sb;
}

namespace dibk {

void AdjustHls(const DibView& v, int hueDelta, int lightnessDelta, int saturationDelta) {
    if (!v.IsTrueColour()) return;
    const int bytes = v.bpp / 8;
    for (int y = 0; y < v.height; ++y) {
        uint8_t* p = v.Row(y);
        for (int x = 0; x < v.width; ++x, p += bytes) {
            int h, l, s;
            RgbToHls3(p[2], p[1], p[0], &h, &l, &s);
            h = (h + hueDelta) & 0xFFFF;
            l = ClampHls(static_cast<int64_t>(l) + lightnessDelta);
            s = ClampHls(static_cast<int64_t>(s) + saturationDelta);
            HlsToTriple(h, l, s, p);
        }
    }
}

void Colorize(const DibView& v, uint32_t colour) {
    if (!v.IsTrueColour()) return;
    int h, l, s;
    RgbToHls(colour, &h, &l, &s);
    const int bytes = v.bpp / 8;
    for (int y = 0; y < v.height; ++y) {
        uint8_t* p = v.Row(y);
        for (int x = 0; x < v.width; ++x, p += bytes) {
            const int64_t weighted = (static_cast<int64_t>(p[2]) * 4980660 + static_cast<int64_t>(p[1]) * 9764715 +
                                      static_cast<int64_t>(p[0]) * 1966050) >>
                                     16;
            // Light pixels would pass the top of the scale; they stay at full lightness.
            HlsToTriple(h, ClampHls(weighted + 2048), s, p);
            if (bytes == 4) p[3] = 255;
        }
    }
}

}  // namespace dibk

#ifdef _WIN32
int AdjustDibHls(HBITMAP bitmap, int hueDelta, int lightnessDelta, int saturationDelta) {
    dibk::DibView v;
    if (!dibaccess::GetTrueColourView(bitmap, v)) return 0;
    dibk::AdjustHls(v, hueDelta, lightnessDelta, saturationDelta);
    return 1;
}

int ColorizeDib(HBITMAP bitmap, COLORREF colour) {
    dibk::DibView v;
    if (!dibaccess::GetTrueColourView(bitmap, v)) return 0;
    dibk::Colorize(v, colour);
    return 1;
}
#endif
