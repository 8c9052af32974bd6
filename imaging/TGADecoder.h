#pragma once
// Truevision TGA decoder: colour-mapped, true-colour and grey pictures, uncompressed or RLE.
#include "imaging/PicDecoder.h"

class CTGADecoder : public CPicDecoder {
protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;
};
