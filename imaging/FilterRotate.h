#pragma once
// Rotation of a 1-, 8- or 32-bit bitmap into its bounding box; uncovered pixels get a fill colour.
#include <cstdint>
#include "imaging/Filter.h"

class CFilterRotate : public CFilter {
public:
    // angle in radians; fill is a 32-bit pixel value (blue in the low byte, then green, red).
    CFilterRotate(double angle, int32_t fill) : m_Angle(angle), m_Fill(fill) {}
    void Apply(CBmp* src, CBmp* dst) override;

private:
    double m_Angle;
    int32_t m_Fill;
};
