#pragma once
// Abstract encoder: writes a bitmap to a file, gathered in memory by a CFileSink.
#include "imaging/PLObject.h"

class CBmp;
class CDataSink;

class CPicEncoder : public CPLObject {
public:
    ~CPicEncoder() override {}
    // Raises CTextException (-1 when the file cannot be opened, 11 on sink overflow).
    virtual void EncodeFile(const char* path, CBmp* pBmp);
    virtual void MakeFileFromBmp(CBmp* pBmp, CDataSink* pSink);

protected:
    virtual void EncodeImage(CBmp* pBmp, CDataSink* pSink) = 0;
};
