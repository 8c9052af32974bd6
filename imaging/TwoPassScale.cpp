#include "imaging/TwoPassScale.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace resize {

namespace {
// Caps on what one pass may allocate, checked in 64 bits so that 32-bit size_t cannot wrap.
const uint64_t kMaxWeights = 32ull * 1024 * 1024;
const uint64_t kMaxIntermediateBytes = 1024ull * 1024 * 1024;
}  // namespace

void ComputeContributions(CGenericFilter& kernel, int srcLength, int dstLength, ContributionTable& table) {
    const double scale = static_cast<double>(dstLength) / srcLength;
    const double width = kernel.GetWidth();
    double effective = width, factor = 1.0;
    if (scale < 1.0) {
        effective = width / scale;
        factor = scale;
    }
    // A negative or absurd kernel width must not size the window: no window needs to be wider
    // than the source line.
    if (!(effective >= 0.0)) effective = 0.0;
    if (effective > srcLength) effective = srcLength;
    table.window = 2 * static_cast<int>(std::ceil(effective)) + 1;
    if (static_cast<uint64_t>(dstLength) * static_cast<uint64_t>(table.window) > kMaxWeights) throw std::bad_alloc();
    table.weights.assign(static_cast<size_t>(dstLength) * table.window, 0.0);
    table.first.assign(dstLength, 0);
    table.last.assign(dstLength, -1);
    for (int i = 0; i < dstLength; ++i) {
        const double centre = i / scale;
        int first = static_cast<int>(std::floor(centre - effective));
        if (first < 0) first = 0;
        int last = std::min(srcLength - 1, static_cast<int>(std::ceil(centre + effective)));
        if (last - first + 1 > table.window) {
            if (first < srcLength)
                ++first;
            else
                --last;
        }
        table.first[i] = first;
        table.last[i] = last;
        double* w = table.weights.data() + static_cast<size_t>(i) * table.window;
        double sum = 0.0;
        for (int j = first; j <= last; ++j) {
            w[j - first] = factor * kernel.Filter(factor * (centre - j));
            sum += w[j - first];
        }
        // Kernels too narrow to reach any sample leave the weights (and the pixel) at zero.
        if (sum > 0.0) {
            const double inverse = 1.0 / sum;
            for (int j = first; j <= last; ++j) w[j - first] *= inverse;
        }
    }
}

namespace {

void HorizontalRow(const uint8_t* src, uint8_t* dst, int dstWidth, const ContributionTable& t) {
    CDataPaintLib32 acc;
    for (int x = 0; x < dstWidth; ++x) {
        acc.Clear();
        const double* w = t.Weights(x);
        const uint8_t* p = src + 4 * static_cast<size_t>(t.first[x]);
        for (int j = t.first[x]; j <= t.last[x]; ++j, p += 4, ++w) acc.Add(*w, p);
        acc.Store(dst + 4 * static_cast<size_t>(x));
    }
}

void VerticalPixel(uint8_t* const* rows, int x, uint8_t* out, const ContributionTable& t, int y) {
    CDataPaintLib32 acc;
    acc.Clear();
    const double* w = t.Weights(y);
    const size_t at = 4 * static_cast<size_t>(x);
    for (int j = t.first[y]; j <= t.last[y]; ++j, ++w) acc.Add(*w, rows[j] + at);
    acc.Store(out);
}

}  // namespace

uint8_t** Scale(CGenericFilter& kernel, ProgressCallback progress, bool& aborted, const uint8_t* const* src,
                int srcWidth, int srcHeight, uint8_t** dst, int dstWidth, int dstHeight) {
    aborted = false;
    if (!src || !dst || srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return dst;

    // Intermediate image: the old height, the new width.
    const size_t rowBytes = 4 * static_cast<size_t>(dstWidth);
    if (static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(srcHeight) > kMaxIntermediateBytes)
        throw std::bad_alloc();
    std::vector<uint8_t> temp(rowBytes * static_cast<size_t>(srcHeight));
    std::vector<uint8_t*> rows(srcHeight);
    for (int y = 0; y < srcHeight; ++y) rows[y] = temp.data() + rowBytes * y;

    ContributionTable table;
    ComputeContributions(kernel, srcWidth, dstWidth, table);
    for (int y = 0; y < srcHeight; ++y) {
        if (progress && !progress(static_cast<int>(static_cast<double>(y) / srcHeight * 50))) {
            aborted = true;
            return nullptr;
        }
        HorizontalRow(src[y], rows[y], dstWidth, table);
    }

    ComputeContributions(kernel, srcHeight, dstHeight, table);
    if (progress) {
        // Column by column so the progress can be reported as it goes.
        for (int x = 0; x < dstWidth; ++x) {
            if (!progress(50 + static_cast<int>(static_cast<double>(x) / dstWidth * 50))) {
                aborted = true;
                return nullptr;
            }
            for (int y = 0; y < dstHeight; ++y) VerticalPixel(rows.data(), x, dst[y] + 4 * static_cast<size_t>(x), table, y);
        }
    } else {
        // Row by row gives the same pixels and reads memory in order.
        for (int y = 0; y < dstHeight; ++y)
            for (int x = 0; x < dstWidth; ++x) VerticalPixel(rows.data(), x, dst[y] + 4 * static_cast<size_t>(x), table, y);
    }
    return dst;
}

}  // namespace resize
