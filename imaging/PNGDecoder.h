#pragma once
// PNG decoder over libpng.
#include "imaging/PicDecoder.h"

class CPNGDecoder : public CPicDecoder {
protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;
};
