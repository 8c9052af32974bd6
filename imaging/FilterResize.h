#pragma once
// Resizing filters of 32-bit bitmaps, one per resampling kernel.
#include <cstdint>
#include "imaging/Filter.h"

class CFilterResize : public CFilter {
public:
    CFilterResize(int32_t newWidth, int32_t newHeight) : m_NewXSize(newWidth), m_NewYSize(newHeight) {}

protected:
    // Re-creates dst at the new size with the source's depth and alpha flag and checks the depth.
    void PrepareDestination(CBmp* src, CBmp* dst);

    int32_t m_NewXSize;
    int32_t m_NewYSize;
};

class CFilterResizeBilinear : public CFilterResize {
public:
    CFilterResizeBilinear(int32_t newWidth, int32_t newHeight) : CFilterResize(newWidth, newHeight) {}
    void Apply(CBmp* src, CBmp* dst) override;
};

class CFilterResizeBox : public CFilterResize {
public:
    CFilterResizeBox(int32_t newWidth, int32_t newHeight, double kernelWidth)
        : CFilterResize(newWidth, newHeight), m_NewRadius(kernelWidth) {}
    void Apply(CBmp* src, CBmp* dst) override;

private:
    double m_NewRadius;
};

class CFilterResizeGaussian : public CFilterResize {
public:
    CFilterResizeGaussian(int32_t newWidth, int32_t newHeight, double kernelWidth)
        : CFilterResize(newWidth, newHeight), m_NewRadius(kernelWidth) {}
    void Apply(CBmp* src, CBmp* dst) override;

private:
    double m_NewRadius;
};

class CFilterResizeHamming : public CFilterResize {
public:
    CFilterResizeHamming(int32_t newWidth, int32_t newHeight, double kernelWidth)
        : CFilterResize(newWidth, newHeight), m_NewRadius(kernelWidth) {}
    void Apply(CBmp* src, CBmp* dst) override;

private:
    double m_NewRadius;
};
