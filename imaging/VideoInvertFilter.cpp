#include "imaging/VideoInvertFilter.h"

#include "imaging/Bmp.h"
#include "imaging/FilterSupport.h"
#include "imaging/PixelFilterKernels.h"

void CVideoInvertFilter::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    RequireDepth(src, 32, "Video inversion needs a 32-bit picture.");
    dst->Create(src->GetWidth(), src->GetHeight(), 32, false);
    CBmpLockScope a(src, true, false), b(dst, false, true);
    pixfilt::VideoInvert(src->GetLineArray(), src->GetWidth(), src->GetHeight(), dst->GetLineArray());
}
