#pragma once
// TIFF decoder over libtiff, fed from memory.
#include "imaging/PicDecoder.h"

class CTIFFDecoder : public CPicDecoder {
public:
    CTIFFDecoder();

protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;

private:
    void DecodeRGBA(void* tif, CBmp* pBmp);
    void DecodeLowColor(void* tif, CBmp* pBmp, CPaletteTable& palette, int& wantedBpp);
};
