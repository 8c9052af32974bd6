#pragma once
// Separable resampling of 32-bit images: a horizontal pass into an image of the new width and
// the old height, then a vertical pass into the destination. Works on plain row pointers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/ResizeKernels.h"

// Four-channel accumulator of one 32-bit pixel (blue, green, red, alpha bytes).
class CDataPaintLib32 {
public:
    void Clear() { m_v[0] = m_v[1] = m_v[2] = m_v[3] = 0.0; }
    void Add(double weight, const uint8_t* pixel) {
        m_v[0] += weight * pixel[0];
        m_v[1] += weight * pixel[1];
        m_v[2] += weight * pixel[2];
        m_v[3] += weight * pixel[3];
    }
    // Each channel as truncate(value + 0.5); sums that a kernel with negative lobes pushed
    // outside 0..255 are clamped.
    void Store(uint8_t* pixel) const {
        for (int i = 0; i < 4; ++i) {
            const double v = m_v[i] + 0.5;
            pixel[i] = static_cast<uint8_t>(v <= 0.0 ? 0 : (v >= 255.0 ? 255 : static_cast<int>(v)));
        }
    }

private:
    double m_v[4];
};

namespace resize {

// Per destination index: the source range first..last and its weights.
struct ContributionTable {
    int window = 0;
    std::vector<double> weights;  // window entries per destination index
    std::vector<int> first;
    std::vector<int> last;
    const double* Weights(int i) const { return weights.data() + static_cast<std::size_t>(i) * window; }
};

// The weights of one pass from a line of srcLength to one of dstLength. Throws std::bad_alloc
// when the table would be unreasonably large.
void ComputeContributions(CGenericFilter& kernel, int srcLength, int dstLength, ContributionTable& table);

typedef bool (*ProgressCallback)(int percent);

// Both passes; returns dst, or null when the callback asked to stop (then `aborted` is set).
// Throws std::bad_alloc when the intermediate image cannot be had.
uint8_t** Scale(CGenericFilter& kernel, ProgressCallback progress, bool& aborted, const uint8_t* const* src,
                int srcWidth, int srcHeight, uint8_t** dst, int dstWidth, int dstHeight);

}  // namespace resize

// The scaler, one instantiation per kernel class.
template <class FilterClass, class DataClass = CDataPaintLib32>
class C2PassScale {
public:
    typedef resize::ProgressCallback ProgressCallback;

    explicit C2PassScale(ProgressCallback callback = nullptr, double kernelWidth = 1.0)
        : m_Callback(callback), m_bCanceled(false), m_dFilterWidth(kernelWidth) {}
    virtual ~C2PassScale() {}

    uint8_t** Scale(uint8_t** src, int srcWidth, int srcHeight, uint8_t** dst, int dstWidth, int dstHeight) {
        FilterClass kernel(m_dFilterWidth);
        return resize::Scale(kernel, m_Callback, m_bCanceled, src, srcWidth, srcHeight, dst, dstWidth, dstHeight);
    }
    bool IsCanceled() const { return m_bCanceled; }

private:
    ProgressCallback m_Callback;
    bool m_bCanceled;
    double m_dFilterWidth;
};
