#pragma once
// ZSoft PCX decoder: 1-bit planar (up to 16 colours), 2/4/8-bit packed and 24-bit (three planes).
#include "imaging/PicDecoder.h"

class CPCXDecoder : public CPicDecoder {
protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;
};
