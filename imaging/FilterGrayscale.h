#pragma once
// 32-bit colour to 8-bit grey by luminance weights.
#include "imaging/Filter.h"

class CFilterGrayscale : public CFilter {
public:
    CFilterGrayscale() {}
    void Apply(CBmp* src, CBmp* dst) override;
};
