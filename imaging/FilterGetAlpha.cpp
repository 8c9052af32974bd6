#include "imaging/FilterGetAlpha.h"

#include "imaging/Bmp.h"
#include "imaging/FilterSupport.h"
#include "imaging/PixelFilterKernels.h"

void CFilterGetAlpha::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    RequireDepth(src, 32, "Alpha extraction needs a 32-bit picture.");
    dst->Create(src->GetWidth(), src->GetHeight(), 8, false);
    CBmpLockScope a(src, true, false), b(dst, false, true);
    pixfilt::ExtractAlpha(src->GetLineArray(), src->GetWidth(), src->GetHeight(), dst->GetLineArray());
}
