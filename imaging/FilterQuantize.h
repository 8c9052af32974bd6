#pragma once
// Reduces a 32-bit bitmap to 8 bits per pixel with a 256-entry palette.
#include "imaging/Filter.h"

class CFilterQuantize : public CFilter {
public:
    // paletteMode: 0 median cut, 1 popularity, 2 fixed palette.
    // ditherMode: 0 none, 1 ordered, 2 error diffusion.
    CFilterQuantize(int paletteMode, int ditherMode) : m_PaletteMode(paletteMode), m_DitherMode(ditherMode) {}

    // `src` must be 32 bits per pixel; `dst` is re-created as width x height, 8 bits, no alpha.
    void Apply(CBmp* src, CBmp* dst) override;

private:
    int m_PaletteMode;
    int m_DitherMode;
};
