#include "imaging/FilterResize.h"

#include <new>

#include "imaging/Bmp.h"
#include "imaging/TextException.h"
#include "imaging/TwoPassScale.h"

void CFilterResize::PrepareDestination(CBmp* src, CBmp* dst) {
    if (src->GetBitsPerPixel() != 32 || m_NewXSize <= 0 || m_NewYSize <= 0)
        throw CTextException(PL_ERRFORMAT_ERROR, "Resizing needs a 32-bit picture and a size of at least 1 x 1.");
    dst->Create(m_NewXSize, m_NewYSize, 32, src->HasAlpha());
}

namespace {

template <class Kernel>
void Resize(CBmp* src, CBmp* dst, double kernelWidth) {
    CBmpLockScope a(src, true, false), b(dst, false, true);
    C2PassScale<Kernel> scaler(nullptr, kernelWidth);
    try {
        scaler.Scale(src->GetLineArray(), src->GetWidth(), src->GetHeight(), dst->GetLineArray(), dst->GetWidth(),
                     dst->GetHeight());
    } catch (const std::bad_alloc&) {
        throw CTextException(PL_ERRNO_MEMORY, "Out of memory.");
    }
}

}  // namespace

void CFilterResizeBilinear::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    PrepareDestination(src, dst);
    Resize<CBilinearFilter>(src, dst, 1.0);
}

void CFilterResizeBox::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    PrepareDestination(src, dst);
    Resize<CBoxFilter>(src, dst, m_NewRadius);
}

void CFilterResizeGaussian::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    PrepareDestination(src, dst);
    Resize<CGaussianFilter>(src, dst, m_NewRadius);
}

void CFilterResizeHamming::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    PrepareDestination(src, dst);
    Resize<CHammingFilter>(src, dst, m_NewRadius);
}
