#pragma once
// Writes Windows bitmap files: 24 bits for true-colour bitmaps, 1 or 8 bits with the palette.
#include "imaging/PicEncoder.h"

class CBmpEncoder : public CPicEncoder {
protected:
    void EncodeImage(CBmp* pBmp, CDataSink* pSink) override;
    // Headers, palette and padded rows, exactly.
    size_t GetMaxEncodedSize(CBmp* pBmp) override;
};
