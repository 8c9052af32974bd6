// Rotation with 4 x 4 supersampling: a canvas four times the size is sampled from the source
// and every 4 x 4 block of it averaged into one result pixel. The canvas is walked one strip
// of four rows at a time so it never exists whole.
#include "imaging/DibRotate.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/DibKernels.h"
#ifdef _WIN32
#include "imaging/DibAccess.h"
#include "imaging/DibHelpers.h"
#endif

namespace dibk {

void RotatedBoundsF(int width, int height, float scale, float sine, float cosine, float out[4]) {
    const float w = static_cast<float>(width) * scale;
    const float h = static_cast<float>(height) * scale;
    const float xs[4] = {0.0f, w, 0.0f, w};
    const float ys[4] = {0.0f, 0.0f, h, h};
    for (int i = 0; i < 4; ++i) {
        const float x = xs[i] * cosine - ys[i] * sine;
        const float y = xs[i] * sine + ys[i] * cosine;
        if (i == 0 || x < out[0]) out[0] = x;
        if (i == 0 || y < out[1]) out[1] = y;
        if (i == 0 || x > out[2]) out[2] = x;
        if (i == 0 || y > out[3]) out[3] = y;
    }
}

void RotatedBounds(int width, int height, float scale, float sine, float cosine, int out[4]) {
    float f[4];
    RotatedBoundsF(width, height, scale, sine, cosine, f);
    for (int i = 0; i < 4; ++i) {
        // Values past the int range (a nonsense angle or size) are cut to 0.
        if (!(f[i] > -1e9f && f[i] < 1e9f)) f[i] = 0.0f;
        const int t = static_cast<int>(f[i]);
        const bool fractional = static_cast<float>(t) != f[i];
        out[i] = fractional ? (i < 2 ? t - 1 : t + 1) : t;
    }
}

namespace {

struct Walk {
    int bounds[4];
    int canvasW, canvasH;
    float s, c;
};

bool PlanWalk(int width, int height, float angle, Walk& walk) {
    if (width <= 0 || height <= 0 || !std::isfinite(angle)) return false;
    walk.s = std::sin(angle);
    walk.c = std::cos(angle);
    RotatedBounds(width, height, 4.0f, walk.s, walk.c, walk.bounds);
    walk.canvasW = walk.bounds[2] - walk.bounds[0] + 1;
    walk.canvasH = walk.bounds[3] - walk.bounds[1] + 1;
    return walk.canvasW >= 4 && walk.canvasH >= 4;
}

inline void Sample(const DibView& src, int u, int v, uint8_t* out) {
    if (u < 0 || v < 0 || u >= src.width || v >= src.height) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    const uint8_t* p = src.Pixel(u, v);
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
    out[3] = src.bpp == 32 ? p[3] : 255;
}

// Float walk: per column u grows by c / 4 and v falls by s / 4; per row the start grows by
// s / 4 and c / 4.
class FloatWalker {
public:
    FloatWalker(const Walk& w)
        : u_((w.bounds[0] * w.c + w.bounds[1] * w.s) / 4.0f),
          v_((w.bounds[1] * w.c - w.bounds[0] * w.s) / 4.0f),
          c4_(w.c / 4.0f),
          s4_(w.s / 4.0f) {}
    void Line(const DibView& src, uint8_t* out, int count) {
        float u = u_, v = v_;
        for (int i = 0; i < count; ++i, out += 4, u += c4_, v -= s4_) {
            const int iu = u >= 0.0f && u < static_cast<float>(src.width) ? static_cast<int>(u) : -1;
            const int iv = v >= 0.0f && v < static_cast<float>(src.height) ? static_cast<int>(v) : -1;
            Sample(src, iu, iv, out);
        }
        u_ += s4_;
        v_ += c4_;
    }

private:
    float u_, v_, c4_, s4_;
};

// The same walk in 16.16 fixed point.
class FixedWalker {
public:
    FixedWalker(const Walk& w)
        : u_(static_cast<int64_t>((w.bounds[0] * w.c + w.bounds[1] * w.s) * 16384.0f)),
          v_(static_cast<int64_t>((w.bounds[1] * w.c - w.bounds[0] * w.s) * 16384.0f)),
          c_(static_cast<int64_t>(w.c * 16384.0f)),
          s_(static_cast<int64_t>(w.s * 16384.0f)) {}
    void Line(const DibView& src, uint8_t* out, int count) {
        int64_t u = u_, v = v_;
        for (int i = 0; i < count; ++i, out += 4, u += c_, v -= s_) {
            const int64_t iu = u >> 16;
            const int64_t iv = v >> 16;
            const bool inside = iu >= 0 && iv >= 0 && iu < src.width && iv < src.height;
            Sample(src, inside ? static_cast<int>(iu) : -1, inside ? static_cast<int>(iv) : -1, out);
        }
        u_ += s_;
        v_ += c_;
    }

private:
    int64_t u_, v_, c_, s_;
};

template <class Walker>
void RunWalk(const DibView& src, const DibView& dst, Walker walker) {
    const int lineWidth = dst.width * 4;
    std::vector<uint8_t> strip(static_cast<size_t>(lineWidth) * 4 * 4);
    const ptrdiff_t stripStride = static_cast<ptrdiff_t>(lineWidth) * 4;
    for (int y = 0; y < dst.height; ++y) {
        for (int k = 0; k < 4; ++k) walker.Line(src, strip.data() + k * stripStride, lineWidth);
        uint8_t* out = dst.Row(y);
        for (int x = 0; x < dst.width; ++x, out += 4) {
            const uint32_t v = AverageBlock4x4(strip.data() + x * 16, stripStride);
            out[0] = static_cast<uint8_t>(v);
            out[1] = static_cast<uint8_t>(v >> 8);
            out[2] = static_cast<uint8_t>(v >> 16);
            out[3] = static_cast<uint8_t>(v >> 24);
        }
    }
}

inline int RoundHalfTowardZero(double v) {
    return static_cast<int>(v >= 0.0 ? std::ceil(v - 0.5) : std::floor(v + 0.5));
}

}  // namespace

void RotatedSize(int width, int height, float angle, int& outWidth, int& outHeight) {
    Walk walk;
    if (!PlanWalk(width, height, angle, walk)) {
        outWidth = outHeight = 0;
        return;
    }
    outWidth = walk.canvasW / 4;
    outHeight = walk.canvasH / 4;
}

void Rotate(const DibView& src, const DibView& dst, float angle, bool fixedPoint) {
    Walk walk;
    if (!src.IsTrueColour() || !dst.bits || dst.bpp != 32 || !PlanWalk(src.width, src.height, angle, walk)) return;
    if (dst.width > walk.canvasW / 4 || dst.height > walk.canvasH / 4) return;
    if (fixedPoint)
        RunWalk(src, dst, FixedWalker(walk));
    else
        RunWalk(src, dst, FloatWalker(walk));
}

void MapRotatedPoint(int width, int height, float angle, bool fixedPoint, int& x, int& y) {
    Walk walk;
    if (!PlanWalk(width, height, angle, walk)) return;
    const double c = walk.c, s = walk.s;
    if (fixedPoint) {
        const double X = x + 0.5, Y = y + 0.5;
        const int nx = RoundHalfTowardZero(X - X * c + Y * s + walk.bounds[0] / 4.0);
        const int ny = RoundHalfTowardZero(Y - X * s - Y * c + walk.bounds[1] / 4.0);
        x = nx;
        y = ny;
    } else {
        const double X = x, Y = y;
        const int nx = static_cast<int>(X - X * c + Y * s + std::floor(walk.bounds[0] / 4.0) + 0.5);
        const int ny = static_cast<int>(Y - X * s - Y * c + std::floor(walk.bounds[1] / 4.0) + 0.5);
        x = nx;
        y = ny;
    }
}

}  // namespace dibk

#ifdef _WIN32
namespace {

HBITMAP RotateWith(HBITMAP bitmap, float angle, POINT* point, bool fixedPoint) {
    dibk::DibView src;
    if (!dibaccess::GetTrueColourView(bitmap, src)) return nullptr;
    int w, h;
    dibk::RotatedSize(src.width, src.height, angle, w, h);
    HBITMAP result = CreateDibSection32(nullptr, w, h);
    dibk::DibView dst;
    if (!result || !dibaccess::GetTrueColourView(result, dst, 32)) {
        if (result) DeleteObject(result);
        return nullptr;
    }
    dibk::Rotate(src, dst, angle, fixedPoint);
    if (point) {
        int x = point->x, y = point->y;
        dibk::MapRotatedPoint(src.width, src.height, angle, fixedPoint, x, y);
        point->x = x;
        point->y = y;
    }
    return result;
}

}  // namespace

HBITMAP RotateBitmap(HBITMAP bitmap, float angle, POINT* point) { return RotateWith(bitmap, angle, point, false); }

HBITMAP RotateBitmapFixed(HBITMAP bitmap, float angle, POINT* point) {
    return RotateWith(bitmap, angle, point, true);
}
#endif
