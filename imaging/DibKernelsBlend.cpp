// Transition blending through a mask and the 4 x 4 averaging used by supersampled rotation.
#include "imaging/DibKernels.h"

namespace dibk {

void BlendTransition(const DibView& dst, const DibView& src, const DibView& mask, int level, int edgeWidth,
                     unsigned flags) {
    const bool soft = (flags & 1) != 0;
    const bool copy = (flags & 2) != 0;
    if (!soft && !copy) return;
    int w = dst.width < src.width ? dst.width : src.width;
    if (mask.width < w) w = mask.width;
    int h = dst.height < src.height ? dst.height : src.height;
    if (mask.height < h) h = mask.height;

    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst.Row(y);
        const uint8_t* s = src.Row(y);
        const uint8_t* m = mask.Row(y);
        for (int x = 0; x < w; ++x, d += 3, s += 3, m += 3) {
            if (copy && !soft) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                continue;
            }
            const int diff = m[2] - level;
            if (copy && diff < 0) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                continue;
            }
            // An edge width of 0 or less has no soft band, so no division happens.
            if (diff >= edgeWidth) continue;
            if (copy) {
                const int c = diff * 256 / edgeWidth;
                for (int i = 0; i < 3; ++i) d[i] = static_cast<uint8_t>((c * d[i] + (256 - c) * s[i]) >> 8);
            } else if (diff > 0) {
                const int c = diff * 256 / edgeWidth;
                for (int i = 0; i < 3; ++i)
                    d[i] = static_cast<uint8_t>((c * d[i] + (256 - c) * s[i] + 128) >> 8);
            }
        }
    }
}

uint32_t AverageBlock4x4(const uint8_t* block, ptrdiff_t stride) {
    unsigned sum[4] = {0, 0, 0, 0};
    for (int y = 0; y < 4; ++y) {
        const uint8_t* p = block + y * stride;
        for (int x = 0; x < 4; ++x, p += 4) {
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
            sum[3] += p[3];
        }
    }
    return (sum[0] >> 4) | ((sum[1] >> 4) << 8) | ((sum[2] >> 4) << 16) | ((sum[3] >> 4) << 24);
}

}  // namespace dibk
