#include "imaging/FilterRotate.h"

#include <cmath>

#include "imaging/Bmp.h"
#include "imaging/PixelFilterKernels.h"
#include "imaging/TextException.h"

void CFilterRotate::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) return CFilter::ApplyInPlace(dst);
    const int bpp = src->GetBitsPerPixel();
    if ((bpp != 1 && bpp != 8 && bpp != 32) || !std::isfinite(m_Angle))
        throw CTextException(PL_ERRFORMAT_ERROR, "Cannot rotate this picture.");
    const pixfilt::RotationBox box = pixfilt::RotationBounds(src->GetWidth(), src->GetHeight(), m_Angle);
    dst->Create(box.width, box.height, static_cast<uint16_t>(bpp), src->HasAlpha());
    const uint32_t fill =
        bpp == 32 ? static_cast<uint32_t>(m_Fill) : static_cast<uint32_t>(src->FindNearestColor(static_cast<uint32_t>(m_Fill)));
    {
        CBmpLockScope a(src, true, false), b(dst, false, true);
        pixfilt::Rotate(src->GetLineArray(), src->GetWidth(), src->GetHeight(), bpp, m_Angle, fill, box,
                        dst->GetLineArray());
    }
    if (bpp < 16 && src->GetPalette()) dst->SetPalette(src->GetPalette());
}
