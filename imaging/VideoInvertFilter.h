#pragma once
// Inverts the value (brightness) of a 32-bit bitmap through the HSV model, keeping hue and
// saturation: black becomes white, pure colours become black.
#include "imaging/Filter.h"

class CVideoInvertFilter : public CFilter {
public:
    CVideoInvertFilter() {}
    void Apply(CBmp* src, CBmp* dst) override;
    // A per-value hook of the filter family; this filter has no parameter and answers 0.
    virtual double GetParameter(double) { return 0.0; }
};
