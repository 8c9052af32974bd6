#include "imaging/PicEncoder.h"
#include "imaging/Bmp.h"
#include "imaging/DataSink.h"
#include "imaging/DecoderError.h"
#include "imaging/TextException.h"

#include <cstdio>

void CPicEncoder::EncodeFile(const char* path, CBmp* pBmp)
{
    TraceF(1, "--- Encoding file %s. ---\n", path);
    CFileSink sink;
    if (sink.Open(path, GetMaxEncodedSize(pBmp)) != 0)
        RaiseDecoderErrorF(PL_ERROPEN_FAILED, "Opening %s failed", path);
    try {
        MakeFileFromBmp(pBmp, &sink);
    } catch (...) {
        sink.Close();
        remove(path);
        throw;
    }
    if (!sink.Finish()) {
        remove(path);
        RaiseDecoderErrorF(PL_ERROPEN_FAILED, "Writing %s failed", path);
    }
}

size_t CPicEncoder::GetMaxEncodedSize(CBmp* pBmp)
{
    size_t used = static_cast<size_t>(pBmp->GetMemUsed());
    return used > 19999 ? static_cast<size_t>(used * 1.2) : used + 4096;
}

void CPicEncoder::MakeFileFromBmp(CBmp* pBmp, CDataSink* pSink)
{
    EncodeImage(pBmp, pSink);
}
