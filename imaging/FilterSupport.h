#pragma once
// Checks shared by the filters.
#include "imaging/Bmp.h"
#include "imaging/TextException.h"

// Filters that read only one depth refuse every other one.
inline void RequireDepth(const CBmp* bmp, int bpp, const char* message) {
    if (bmp->GetBitsPerPixel() != bpp) throw CTextException(PL_ERRFORMAT_ERROR, message);
}
