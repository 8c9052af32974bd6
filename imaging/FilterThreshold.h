#pragma once
// One channel of a 32-bit bitmap as an 8-bit bitmap, kept only strictly between two bounds.
#include <cstdint>
#include "imaging/Filter.h"

class CFilterThreshold : public CFilter {
public:
    // Bounds use their low byte; channel is the byte offset in the pixel: 0 blue, 1 green,
    // 2 red, 3 alpha.
    CFilterThreshold(int32_t lower, int32_t upper, int32_t channel)
        : m_Lower(lower), m_Upper(upper), m_Channel(channel) {}
    void Apply(CBmp* src, CBmp* dst) override;

private:
    int32_t m_Lower;
    int32_t m_Upper;
    int32_t m_Channel;
};
