// Decoding from a module's resource: apart from the decoder base, since resources are Windows'.
#include "imaging/PicDecoder.h"
#include "imaging/DecoderError.h"
#include "imaging/ResourceSource.h"
#include "imaging/TextException.h"

#include <memory>

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
