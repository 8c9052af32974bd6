// Fills, gradients, alpha ramps, thresholds and colour replacement over plain pixel memory.
#include "imaging/DibKernels.h"

namespace dibk {

namespace {

inline void PutColour(uint8_t* p, int bytes, uint32_t colour) {
    p[0] = Blue(colour);
    p[1] = Green(colour);
    p[2] = Red(colour);
    if (bytes == 4) p[3] = 255;
}

inline bool SameColour(const uint8_t* p, uint32_t colour) {
    return p[0] == Blue(colour) && p[1] == Green(colour) && p[2] == Red(colour);
}

inline int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Calls f(pixel, column index within rect, row index within rect) for every pixel of the rect.
template <class F>
void ForRect(const DibView& v, const DibRect& r, F f) {
    const int bytes = v.bpp / 8;
    for (int y = r.top; y <= r.bottom; ++y) {
        uint8_t* p = v.Pixel(r.left, y);
        for (int x = r.left; x <= r.right; ++x, p += bytes) f(p, x - r.left, y - r.top);
    }
}

// Per-channel float ramp from a to b over `span` steps; a span of 0 (one row or column) keeps a.
struct Ramp {
    float value[3];
    float step[3];
    Ramp(uint32_t a, uint32_t b, int span) {
        const int from[3] = {Blue(a), Green(a), Red(a)};
        const int to[3] = {Blue(b), Green(b), Red(b)};
        for (int i = 0; i < 3; ++i) {
            value[i] = static_cast<float>(from[i]);
            step[i] = span > 0 ? static_cast<float>(to[i] - from[i]) / static_cast<float>(span) : 0.0f;
        }
    }
    void Advance() {
        for (int i = 0; i < 3; ++i) value[i] += step[i];
    }
    uint8_t Channel(int i) const { return static_cast<uint8_t>(ClampByte(static_cast<int>(value[i]))); }
};

}  // namespace

int RowBytes(int width, int bpp) {
    const int bytes = width * ((bpp + 7) / 8);
    if (bpp < 8) return ((width * bpp + 31) / 32) * 4;
    return bytes <= 0 ? 0 : ((bytes - 1) & ~3) + 4;
}

bool ClampRect(const DibView& v, const DibRect* in, DibRect& out) {
    if (!in) {
        out = DibRect{0, 0, v.width - 1, v.height - 1};
    } else {
        out = *in;
        if (out.left < 0) out.left = 0;
        if (out.top < 0) out.top = 0;
        if (out.right > v.width - 1) out.right = v.width - 1;
        if (out.bottom > v.height - 1) out.bottom = v.height - 1;
    }
    return out.left <= out.right && out.top <= out.bottom;
}

uint32_t GetPixel(const DibView& v, int x, int y) {
    if (!v.IsTrueColour() || x < 0 || y < 0 || x >= v.width || y >= v.height) return 0;
    const uint8_t* p = v.Pixel(x, y);
    const uint32_t alpha = v.bpp == 32 ? p[3] : 255u;
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16) | (alpha << 24);
}

void FillRect(const DibView& v, const DibRect* rect, uint32_t colour) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    const int bytes = v.bpp / 8;
    ForRect(v, r, [&](uint8_t* p, int, int) { PutColour(p, bytes, colour); });
}

void XorRect(const DibView& v, const DibRect* rect, uint32_t colour) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    const bool alpha = v.bpp == 32;
    ForRect(v, r, [&](uint8_t* p, int, int) {
        p[0] ^= Blue(colour);
        p[1] ^= Green(colour);
        p[2] ^= Red(colour);
        if (alpha) p[3] = static_cast<uint8_t>(~p[3]);
    });
}

void InvertRect(const DibView& v, const DibRect* rect) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    ForRect(v, r, [](uint8_t* p, int, int) {
        p[0] = static_cast<uint8_t>(255 - p[0]);
        p[1] = static_cast<uint8_t>(255 - p[1]);
        p[2] = static_cast<uint8_t>(255 - p[2]);
    });
}

void GradientFillV(const DibView& v, const DibRect* rect, uint32_t top, uint32_t bottom) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    const int bytes = v.bpp / 8;
    Ramp ramp(top, bottom, r.bottom - r.top);
    for (int y = r.top; y <= r.bottom; ++y, ramp.Advance()) {
        uint8_t* p = v.Pixel(r.left, y);
        for (int x = r.left; x <= r.right; ++x, p += bytes) {
            p[0] = ramp.Channel(0);
            p[1] = ramp.Channel(1);
            p[2] = ramp.Channel(2);
            if (bytes == 4) p[3] = 255;
        }
    }
}

namespace {

// Runs the horizontal ramp once per row of the rect and hands each pixel its gradient colour.
template <class F>
void ForHorizontalRamp(const DibView& v, const DibRect& r, uint32_t left, uint32_t right, F f) {
    const int bytes = v.bpp / 8;
    for (int y = r.top; y <= r.bottom; ++y) {
        Ramp ramp(left, right, r.right - r.left);
        uint8_t* p = v.Pixel(r.left, y);
        for (int x = r.left; x <= r.right; ++x, p += bytes, ramp.Advance()) f(p, ramp);
    }
}

}  // namespace

void GradientFillH(const DibView& v, const DibRect* rect, uint32_t left, uint32_t right) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    const bool alpha = v.bpp == 32;
    ForHorizontalRamp(v, r, left, right, [&](uint8_t* p, const Ramp& ramp) {
        p[0] = ramp.Channel(0);
        p[1] = ramp.Channel(1);
        p[2] = ramp.Channel(2);
        if (alpha) p[3] = 255;
    });
}

void GradientBlendH(const DibView& v, const DibRect* rect, uint32_t left, uint32_t right, uint32_t opacity) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    const bool alpha = v.bpp == 32;
    const int o = static_cast<int>(opacity & 0xFF);
    ForHorizontalRamp(v, r, left, right, [&](uint8_t* p, const Ramp& ramp) {
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>((ramp.Channel(i) * o + p[i] * (255 - o)) / 255);
        if (alpha) p[3] = 255;
    });
}

void ScaleAlpha(const DibView& v, const DibRect* rect, uint32_t level) {
    DibRect r;
    if (!v.bits || v.bpp != 32 || !ClampRect(v, rect, r)) return;
    const uint32_t l = level & 0xFF;
    ForRect(v, r, [&](uint8_t* p, int, int) { p[3] = static_cast<uint8_t>(p[3] * l / 255); });
}

void AlphaGradient(const DibView& v, const DibRect* rect, uint32_t leftLevel, uint32_t rightLevel) {
    DibRect r;
    if (!v.bits || v.bpp != 32 || !ClampRect(v, rect, r)) return;
    const float start = static_cast<float>(leftLevel) / 255.0f;
    const int span = r.right - r.left;
    // A one-column rect has no ramp to spread over: it keeps the left level.
    const float step = span > 0 ? (static_cast<float>(rightLevel) - static_cast<float>(leftLevel)) /
                                      (static_cast<float>(span) * 255.0f)
                                : 0.0f;
    for (int y = r.top; y <= r.bottom; ++y) {
        float factor = start;
        uint8_t* p = v.Pixel(r.left, y);
        for (int x = r.left; x <= r.right; ++x, p += 4, factor += step) {
            const int a = static_cast<int>(p[3] * factor);
            p[3] = static_cast<uint8_t>(ClampByte(a));
        }
    }
}

void Threshold(const DibView& v, uint32_t dark, uint32_t light, int threshold) {
    if (!v.IsTrueColour()) return;
    const int bytes = v.bpp / 8;
    ForRect(v, DibRect{0, 0, v.width - 1, v.height - 1}, [&](uint8_t* p, int, int) {
        PutColour(p, bytes, Luminance(p[2], p[1], p[0]) < threshold ? dark : light);
    });
}

void BandThreshold(const DibView& v, uint32_t outside, uint32_t inside, int low, int high) {
    if (!v.IsTrueColour()) return;
    const int bytes = v.bpp / 8;
    ForRect(v, DibRect{0, 0, v.width - 1, v.height - 1}, [&](uint8_t* p, int, int) {
        const int l = Luminance(p[2], p[1], p[0]);
        PutColour(p, bytes, (l < low || l > high) ? outside : inside);
    });
}

void ReplaceColour(const DibView& v, uint32_t strength, uint32_t from, uint32_t to) {
    if (!v.IsTrueColour()) return;
    const int bytes = v.bpp / 8;
    const int s = static_cast<int>(strength & 0xFF);
    const int shift[3] = {(Blue(to) - Blue(from)) * s / 255, (Green(to) - Green(from)) * s / 255,
                          (Red(to) - Red(from)) * s / 255};
    ForRect(v, DibRect{0, 0, v.width - 1, v.height - 1}, [&](uint8_t* p, int, int) {
        if (SameColour(p, from)) {
            PutColour(p, bytes, to);
        } else if (s != 0) {
            for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(ClampByte(p[i] + shift[i]));
        }
    });
}

void GreyCopy(const DibView& src, const DibView& dst) {
    if (!src.IsTrueColour() || !dst.IsTrueColour() || src.bpp != dst.bpp) return;
    const int bytes = src.bpp / 8;
    const int w = src.width < dst.width ? src.width : dst.width;
    const int h = src.height < dst.height ? src.height : dst.height;
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = src.Row(y);
        uint8_t* d = dst.Row(y);
        for (int x = 0; x < w; ++x, s += bytes, d += bytes) {
            const uint8_t grey = static_cast<uint8_t>(Luminance(s[2], s[1], s[0]) / 255);
            d[0] = d[1] = d[2] = grey;
            if (bytes == 4) d[3] = s[3];
        }
    }
}

void CombineColourAndAlpha(const DibView& colour, const DibView& mask, const DibView& dst) {
    if (!colour.IsTrueColour() || !mask.IsTrueColour() || !dst.IsTrueColour() || dst.bpp != 32) return;
    const int cb = colour.bpp / 8;
    const int mb = mask.bpp / 8;
    for (int y = 0; y < dst.height && y < colour.height && y < mask.height; ++y) {
        const uint8_t* c = colour.Row(y);
        const uint8_t* m = mask.Row(y);
        uint8_t* d = dst.Row(y);
        for (int x = 0; x < dst.width && x < colour.width && x < mask.width; ++x, c += cb, m += mb, d += 4) {
            d[0] = c[0];
            d[1] = c[1];
            d[2] = c[2];
            d[3] = m[0];
        }
    }
}

void DrawBevelFrame(const DibView& v, const DibRect* rect, uint32_t fill, uint32_t light, uint32_t dark,
                    int thickness) {
    DibRect r;
    if (!v.IsTrueColour() || !ClampRect(v, rect, r)) return;
    const int t = thickness > 0 ? thickness : 0;
    if (t > 0) {
        const DibRect top{r.left, r.top, r.right, r.top + t - 1};
        const DibRect bottom{r.left, r.bottom - t + 1, r.right, r.bottom};
        const DibRect left{r.left, r.top, r.left + t - 1, r.bottom};
        const DibRect right{r.right - t + 1, r.top, r.right, r.bottom};
        FillRect(v, &top, light);
        FillRect(v, &bottom, dark);
        FillRect(v, &left, light);
        FillRect(v, &right, dark);
    }
    if (fill != 0xFFFFFFFF) {
        const DibRect inner{r.left + t, r.top + t, r.right - t, r.bottom - t};
        if (inner.left <= inner.right && inner.top <= inner.bottom) FillRect(v, &inner, fill);
    }
}

}  // namespace dibk
