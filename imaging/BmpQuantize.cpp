#include "imaging/BmpQuantize.h"
#include "imaging/Bmp.h"
#include "imaging/DecoderError.h"
#include "imaging/TextException.h"

#if __has_include("imaging/FilterQuantize.h")
#include "imaging/FilterQuantize.h"

void QuantizeBmpTo8(const CBmp& source, CBmp& dest, int paletteMode, int ditherMode)
{
    CFilterQuantize filter(paletteMode, ditherMode);
    filter.Apply(const_cast<CBmp*>(&source), &dest);
}
#else
void QuantizeBmpTo8(const CBmp&, CBmp&, int, int)
{
    RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "Colour quantisation is not available.");
}
#endif
