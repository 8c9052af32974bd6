#pragma once
// A rectangular part of an 8- or 32-bit bitmap.
#include <cstdint>
#include "imaging/Filter.h"

class CFilterCrop : public CFilter {
public:
    // x2 and y2 are one past the last copied column and row.
    CFilterCrop(int32_t x1, int32_t x2, int32_t y1, int32_t y2) : m_X1(x1), m_X2(x2), m_Y1(y1), m_Y2(y2) {}
    // Bounds outside the source, or an empty part, raise CTextException.
    void Apply(CBmp* src, CBmp* dst) override;

private:
    int32_t m_X1;
    int32_t m_X2;
    int32_t m_Y1;
    int32_t m_Y2;
};
