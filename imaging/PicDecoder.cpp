#include "imaging/PicDecoder.h"
#include "imaging/DecoderError.h"
#include "imaging/MemSource.h"
#include "imaging/TextException.h"

#include <memory>
#include <new>

CPicDecoder::~CPicDecoder() {}

int CPicDecoder::ChooseTargetBpp(int wantedBpp, int inputBpp)
{
    if (wantedBpp == 0)
        return inputBpp <= 8 ? 8 : 32;
    return wantedBpp;
}

void CPicDecoder::DecodeMemory(const uint8_t* data, size_t size, CBmp* pBmp, int wantedBpp)
{
    TraceF(1, "--- Decoding from memory at %p. ---\n", static_cast<const void*>(data));
    std::unique_ptr<CMemSource> source(new CMemSource());
    int err = source->Open(data, size);
    if (err != 0)
        RaiseDecoderErrorF(err, "Reading from memory at %p failed", static_cast<const void*>(data));
    DecodeSource(source.get(), pBmp, wantedBpp);
    source->Close();
}

void CPicDecoder::DecodeSource(CDataSource* pSource, CBmp* pBmp, int wantedBpp)
{
    // Decoders size their buffers from the picture; running out of memory is the library's own
    // error, like a picture too large to accept.
    try {
        CPaletteTable palette;
        DecodeImage(pBmp, palette, wantedBpp, pSource);
    } catch (const std::bad_alloc&) {
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory while decoding.");
    }
}

void CPicDecoder::DecodeImage(CBmp*, CPaletteTable&, int&, CDataSource*) {}
