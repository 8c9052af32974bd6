#include "imaging/FilterCrop.h"

#include "imaging/Bmp.h"
#include "imaging/PixelFilterKernels.h"
#include "imaging/TextException.h"

void CFilterCrop::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    const int bpp = src->GetBitsPerPixel();
    if (bpp != 8 && bpp != 32) throw CTextException(PL_ERRFORMAT_ERROR, "Cropping needs an 8- or 32-bit picture.");
    if (m_X1 < 0 || m_Y1 < 0 || m_X2 <= m_X1 || m_Y2 <= m_Y1 || m_X2 > src->GetWidth() || m_Y2 > src->GetHeight())
        throw CTextException(PL_ERRFORMAT_ERROR, "Crop rectangle outside the picture.");
    dst->Create(m_X2 - m_X1, m_Y2 - m_Y1, static_cast<uint16_t>(bpp), src->HasAlpha());
    CBmpLockScope a(src, true, false), b(dst, false, true);
    pixfilt::Crop(src->GetLineArray(), bpp / 8, m_X1, m_X2, m_Y1, m_Y2, dst->GetLineArray());
    if (bpp == 8 && src->GetPalette()) dst->SetPalette(src->GetPalette());
}
