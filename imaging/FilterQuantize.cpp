#include "imaging/FilterQuantize.h"

#include <new>
#include <vector>

#include "imaging/Bmp.h"
#include "imaging/QuantizeKernel.h"
#include "imaging/TextException.h"

void CFilterQuantize::Apply(CBmp* src, CBmp* dst) {
    if (src == dst) {
        CFilter::ApplyInPlace(dst);
        return;
    }
    if (src->GetBitsPerPixel() != 32)
        throw CTextException(PL_ERRFORMAT_ERROR, "Colour quantisation needs a 32-bit picture.");
    dst->Create(src->GetWidth(), src->GetHeight(), 8, false);
    CBmpLockScope srcLock(src, true, false);
    CBmpLockScope dstLock(dst, false, true);
    // Start from the palette the new bitmap was given: the fixed palette keeps its fourth bytes.
    std::vector<quant::Entry> palette(dst->GetPalette(), dst->GetPalette() + 256);
    bool ok;
    try {
        ok = quant::Quantize(src->GetLineArray(), src->GetWidth(), src->GetHeight(), dst->GetLineArray(),
                             m_PaletteMode, m_DitherMode, palette.data());
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) throw CTextException(PL_ERRNO_MEMORY, "Out of memory.");
    dst->SetPalette(palette.data());
}
