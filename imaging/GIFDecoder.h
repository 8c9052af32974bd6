#pragma once
// GIF decoder over giflib: every frame is painted onto one 8-bit canvas.
#include "imaging/PicDecoder.h"

class CGIFDecoder : public CPicDecoder {
protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;
};
