#pragma once
// Abstract encoder: writes a bitmap to a file, gathered in memory by a CFileSink.
#include <cstddef>
#include "imaging/PLObject.h"

class CBmp;
class CDataSink;

class CPicEncoder : public CPLObject {
public:
    ~CPicEncoder() override {}
    // Raises CTextException (-1 when the file cannot be opened or written completely, 11 on sink
    // overflow); a file that could not be written whole is removed.
    virtual void EncodeFile(const char* path, CBmp* pBmp);
    virtual void MakeFileFromBmp(CBmp* pBmp, CDataSink* pSink);

protected:
    virtual void EncodeImage(CBmp* pBmp, CDataSink* pSink) = 0;
    // Bytes the encoded file may take at the most; the file sink gathers that much.
    virtual size_t GetMaxEncodedSize(CBmp* pBmp);
};
