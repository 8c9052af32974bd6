#include "imaging/FilterGrayscale.h"

#include "imaging/Bmp.h"
#include "imaging/FilterSupport.h"
#include "imaging/PixelFilterKernels.h"

void CFilterGrayscale::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    RequireDepth(src, 32, "Grey conversion needs a 32-bit picture.");
    dst->Create(src->GetWidth(), src->GetHeight(), 8, false);
    CBmpLockScope a(src, true, false), b(dst, false, true);
    pixfilt::Grayscale(src->GetLineArray(), src->GetWidth(), src->GetHeight(), dst->GetLineArray());
}
