// Decoding from a file: apart from the decoder base, since files are read through Windows.
#include "imaging/PicDecoder.h"
#include "imaging/DecoderError.h"
#include "imaging/FileSource.h"
#include "imaging/TextException.h"

#include <memory>

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
