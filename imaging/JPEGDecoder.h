#pragma once
// JPEG decoder (baseline and progressive) over libjpeg.
#include "imaging/PicDecoder.h"
#include "imaging/JpegSourceBridge.h"

class CJPEGDecoder : public CPicDecoder {
public:
    CJPEGDecoder();
    ~CJPEGDecoder() override;
    // Fast (non-fancy) chroma upsampling; on by default.
    void SetFast(bool fast) { m_bFastUpsampling = fast ? 1 : 0; }

protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;

private:
    void DecodeGray(CBmp* pBmp, int targetBpp);
    void DecodeRGB(CBmp* pBmp);
    void DecodeCMYK(CBmp* pBmp);

    jpeg_decompress_struct m_cinfo;
    jpeg_error_mgr m_jerr;
    JpegSourceBridge m_source;
    int m_bFastUpsampling = 1;
};
