#pragma once
// Windows bitmap decoder: 1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8, bit-field masks
// (also in V4/V5 headers), bottom-up and top-down files.
#include "imaging/PicDecoder.h"

class CBmpDecoder : public CPicDecoder {
protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;
};
