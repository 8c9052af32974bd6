#include "imaging/PicDecoder.h"
#include "imaging/DecoderError.h"
#include "imaging/FileSource.h"
#include "imaging/MemSource.h"
#include "imaging/ResourceSource.h"
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

void CPicDecoder::DecodeFile(const char* path, CBmp* pBmp, int wantedBpp, IProgressInfo* progress)
{
    TraceF(1, "--- Decoding file %s. ---\n", path);
    std::unique_ptr<CFileSource> source(new CFileSource(progress));
    int err = source->Open(path);
    if (err != 0)
        RaiseDecoderErrorF(err, "Opening %s failed", path);
    DecodeSource(source.get(), pBmp, wantedBpp);
    source->Close();
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

void CPicDecoder::DecodeResource(void* module, int resourceId, CBmp* pBmp, int wantedBpp,
                                 const char* resourceType)
{
    TraceF(1, "--- Decoding resource ID %i. ---\n", resourceId);
    std::unique_ptr<CResourceSource> source(new CResourceSource());
    int err = source->Open(module, resourceId, resourceType);
    if (err != 0)
        RaiseDecoderErrorF(err, "Opening resource %i failed", resourceId);
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
