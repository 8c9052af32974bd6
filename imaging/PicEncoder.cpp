#include "imaging/PicEncoder.h"
#include "imaging/Bmp.h"
#include "imaging/DataSink.h"
#include "imaging/DecoderError.h"
#include "imaging/TextException.h"

void CPicEncoder::EncodeFile(const char* path, CBmp* pBmp)
{
    TraceF(1, "--- Encoding file %s. ---\n", path);
    size_t used = static_cast<size_t>(pBmp->GetMemUsed());
    size_t size = used > 19999 ? static_cast<size_t>(used * 1.2) : used + 4096;
    CFileSink sink;
    if (sink.Open(path, size) != 0)
        RaiseDecoderErrorF(PL_ERROPEN_FAILED, "Opening %s failed", path);
    MakeFileFromBmp(pBmp, &sink);
    sink.Close();
}

void CPicEncoder::MakeFileFromBmp(CBmp* pBmp, CDataSink* pSink)
{
    EncodeImage(pBmp, pSink);
}
