#pragma once
// Macintosh QuickDraw PICT decoder (versions 1 and 2): decodes the picture's first bitmap
// (BitMap, indexed PixMap, direct-colour PixMap or a QuickTime JPEG) and skips vector drawing.
#include "imaging/PicDecoder.h"

class CJPEGDecoder;

class CPictDecoder : public CPicDecoder {
public:
    // jpegDecoder (may be null, not owned) decodes QuickTime JPEG data inside a picture.
    explicit CPictDecoder(CJPEGDecoder* jpegDecoder);

protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;

private:
    CJPEGDecoder* m_pJpegDecoder;
};
