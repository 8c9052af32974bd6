#pragma once
// The alpha bytes of a 32-bit bitmap as an 8-bit bitmap.
#include "imaging/Filter.h"

class CFilterGetAlpha : public CFilter {
public:
    CFilterGetAlpha() {}
    void Apply(CBmp* src, CBmp* dst) override;
};
