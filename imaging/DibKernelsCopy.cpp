// Copies between pixel views: clipping, the blending rules per depth, tiling and nine-grid skins.
#include "imaging/DibKernels.h"

namespace dibk {

bool ClipCopy(const DibView& dst, DibPoint* pos, const DibView& src, const DibRect* srcRect,
              DibRect& r, DibPoint& at) {
    DibPoint p = pos ? *pos : DibPoint{0, 0};
    r = srcRect ? *srcRect : DibRect{0, 0, src.width - 1, src.height - 1};
    const long long w = static_cast<long long>(r.right) - r.left + 1;
    const long long h = static_cast<long long>(r.bottom) - r.top + 1;
    if (w + p.x < 0 || h + p.y < 0 || p.x >= dst.width || p.y >= dst.height) return false;
    // A rect starting before the source moves the landing point by the same amount; the caller
    // sees where the copy really went.
    if (r.left < 0) {
        p.x -= r.left;
        r.left = 0;
    }
    if (r.top < 0) {
        p.y -= r.top;
        r.top = 0;
    }
    if (pos) *pos = p;
    if (r.right > src.width - 1) r.right = src.width - 1;
    if (r.bottom > src.height - 1) r.bottom = src.height - 1;
    if (p.x < 0) {
        r.left -= p.x;
        p.x = 0;
    }
    if (p.y < 0) {
        r.top -= p.y;
        p.y = 0;
    }
    if (p.x + (r.right - r.left) > dst.width - 1) r.right = r.left + (dst.width - 1 - p.x);
    if (p.y + (r.bottom - r.top) > dst.height - 1) r.bottom = r.top + (dst.height - 1 - p.y);
    at = p;
    return r.left <= r.right && r.top <= r.bottom;
}

namespace {

inline bool MatchesKey(const uint8_t* p, uint32_t key) {
    return p[0] == Blue(key) && p[1] == Green(key) && p[2] == Red(key);
}

inline uint8_t Mix(int s, int d, int a) { return static_cast<uint8_t>((s * a + d * (255 - a)) / 255); }

// One pixel of CopyDibRect: the rules per pair of depths.
inline void CopyPlain(uint8_t* d, int dbytes, const uint8_t* s, int sbytes) {
    if (sbytes == 4 && dbytes == 3) {
        const int a = s[3];
        d[0] = Mix(s[0], d[0], a);
        d[1] = Mix(s[1], d[1], a);
        d[2] = Mix(s[2], d[2], a);
    } else {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        if (dbytes == 4) d[3] = sbytes == 4 ? s[3] : 255;
    }
}

inline void CopyOpacity(uint8_t* d, int dbytes, const uint8_t* s, int sbytes, int o) {
    if (sbytes == 3) {
        d[0] = Mix(s[0], d[0], o);
        d[1] = Mix(s[1], d[1], o);
        d[2] = Mix(s[2], d[2], o);
        return;
    }
    const int a = s[3] * o / 255;
    d[0] = Mix(s[0], d[0], a);
    d[1] = Mix(s[1], d[1], a);
    d[2] = Mix(s[2], d[2], a);
    if (dbytes == 4) d[3] = static_cast<uint8_t>((d[3] * (255 - a) + a * s[3]) / 255);
}

}  // namespace

bool CopyRect(const DibView& dst, DibPoint* pos, const DibView& src, const DibRect* srcRect,
              const CopyArgs& args) {
    if (!dst.IsTrueColour() || !src.IsTrueColour()) return false;
    if (args.mode == CopyMode::Keyed && (dst.bpp != 24 || src.bpp != 24)) return false;
    DibRect r;
    DibPoint at;
    if (!ClipCopy(dst, pos, src, srcRect, r, at)) return false;
    const int sb = src.bpp / 8;
    const int db = dst.bpp / 8;
    const int o = static_cast<int>(args.opacity & 0xFF);
    const bool keyed = args.mode == CopyMode::Keyed ||
                       (args.mode == CopyMode::OpacityKeyed && sb == 3 && args.key != 0xFFFFFFFF);
    const bool opacity = args.mode == CopyMode::Opacity || args.mode == CopyMode::OpacityKeyed;
    for (int y = r.top; y <= r.bottom; ++y) {
        const uint8_t* s = src.Pixel(r.left, y);
        uint8_t* d = dst.Pixel(at.x, at.y + (y - r.top));
        for (int x = r.left; x <= r.right; ++x, s += sb, d += db) {
            if (keyed && MatchesKey(s, args.key)) continue;
            if (opacity)
                CopyOpacity(d, db, s, sb, o);
            else
                CopyPlain(d, db, s, sb);
        }
    }
    return true;
}

bool ForEachPixel(const DibView& dst, DibPoint* pos, const DibView& src, const DibRect* srcRect,
                  PixelCallback callback) {
    if (!callback || !dst.IsTrueColour() || !src.IsTrueColour() || dst.bpp != 24 || src.bpp != 24) return false;
    DibRect r;
    DibPoint at;
    if (!ClipCopy(dst, pos, src, srcRect, r, at)) return false;
    for (int y = r.top; y <= r.bottom; ++y) {
        uint8_t* s = src.Pixel(r.left, y);
        uint8_t* d = dst.Pixel(at.x, at.y + (y - r.top));
        for (int x = r.left; x <= r.right; ++x, s += 3, d += 3) callback(s, d, x, y, src.width, src.height);
    }
    return true;
}

namespace {

// Fills the destination area [x0..x1] x [y0..y1] with repeats of the source cell, the last
// repeat in each direction cut to fit.
void TileArea(const DibView& dst, int x0, int y0, int x1, int y1, const DibView& src, const DibRect& cell,
              const CopyArgs& args) {
    const int cw = cell.right - cell.left + 1;
    const int ch = cell.bottom - cell.top + 1;
    if (cw <= 0 || ch <= 0) return;
    // Only tiles that can touch the destination are visited: whole tiles before it are skipped
    // (keeping the pattern's phase) and nothing past its last column or row is walked.
    if (x0 < 0) x0 += (-x0 / cw) * cw;
    if (y0 < 0) y0 += (-y0 / ch) * ch;
    if (x1 > dst.width - 1) x1 = dst.width - 1;
    if (y1 > dst.height - 1) y1 = dst.height - 1;
    for (int y = y0; y <= y1; y += ch) {
        for (int x = x0; x <= x1; x += cw) {
            DibRect part = cell;
            if (x + cw - 1 > x1) part.right = cell.left + (x1 - x);
            if (y + ch - 1 > y1) part.bottom = cell.top + (y1 - y);
            DibPoint p{x, y};
            CopyRect(dst, &p, src, &part, args);
        }
    }
}

}  // namespace

bool TileRect(const DibView& dst, const DibRect* rect, const DibView& pattern, uint32_t opacity) {
    if (!dst.IsTrueColour() || !pattern.IsTrueColour()) return false;
    DibRect r;
    if (!ClampRect(dst, rect, r)) return true;
    CopyArgs args;
    args.mode = CopyMode::Opacity;
    args.opacity = opacity;
    TileArea(dst, r.left, r.top, r.right, r.bottom, pattern,
             DibRect{0, 0, pattern.width - 1, pattern.height - 1}, args);
    return true;
}

bool PaintNineGrid(const DibView& dst, const DibRect* rect, const DibView& skin, NineGridCentre centre,
                   const CopyArgs& args) {
    if (!dst.IsTrueColour() || !skin.IsTrueColour()) return false;
    const int cw = skin.width / 3;
    const int ch = skin.height / 3;
    if (cw <= 0 || ch <= 0) return false;
    const DibRect r = rect ? *rect : DibRect{0, 0, dst.width - 1, dst.height - 1};
    if (static_cast<long long>(r.right) - r.left + 1 < 2 * cw || static_cast<long long>(r.bottom) - r.top + 1 < 2 * ch)
        return false;

    auto cell = [&](int col, int row) {
        return DibRect{col * cw, row * ch, col * cw + cw - 1, row * ch + ch - 1};
    };
    const int innerLeft = r.left + cw, innerRight = r.right - cw;
    const int innerTop = r.top + ch, innerBottom = r.bottom - ch;
    const int rightX = r.right - cw + 1, bottomY = r.bottom - ch + 1;

    // Corners 1:1.
    const DibPoint corners[4] = {{r.left, r.top}, {rightX, r.top}, {r.left, bottomY}, {rightX, bottomY}};
    const int cells[4][2] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}};
    for (int i = 0; i < 4; ++i) {
        DibPoint p = corners[i];
        const DibRect c = cell(cells[i][0], cells[i][1]);
        CopyRect(dst, &p, skin, &c, args);
    }
    // Edges between the corners, centre over the interior.
    if (innerLeft <= innerRight) {
        TileArea(dst, innerLeft, r.top, innerRight, r.top + ch - 1, skin, cell(1, 0), args);
        TileArea(dst, innerLeft, bottomY, innerRight, r.bottom, skin, cell(1, 2), args);
    }
    if (innerTop <= innerBottom) {
        TileArea(dst, r.left, innerTop, r.left + cw - 1, innerBottom, skin, cell(0, 1), args);
        TileArea(dst, rightX, innerTop, r.right, innerBottom, skin, cell(2, 1), args);
    }
    if (innerLeft <= innerRight && innerTop <= innerBottom) {
        if (centre == NineGridCentre::Solid) {
            const uint8_t* p = skin.Pixel(skin.width / 2, skin.height / 2);
            const uint32_t colour = p[2] | (p[1] << 8) | (static_cast<uint32_t>(p[0]) << 16);
            const DibRect inner{innerLeft, innerTop, innerRight, innerBottom};
            FillRect(dst, &inner, colour);
        } else {
            TileArea(dst, innerLeft, innerTop, innerRight, innerBottom, skin, cell(1, 1), args);
        }
    }
    return true;
}

}  // namespace dibk
