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
    // Decode at the largest DCT reduction (1/2, 1/4 or 1/8) whose result still covers the
    // picture fitted into boxWidth x boxHeight (never enlarged); 0 x 0 decodes at full size.
    // Thumbnails use it so a large picture never needs its full-size pixels.
    void SetScaleToCover(int boxWidth, int boxHeight);
    // The picture's own size from the last header read (before any reduction).
    int GetImageWidth() const { return m_ImageWidth; }
    int GetImageHeight() const { return m_ImageHeight; }
    // The reduction chosen for the last decode: 1, 2, 4 or 8.
    static int ChooseScaleDenominator(int64_t width, int64_t height, int boxWidth, int boxHeight);

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
    int m_CoverWidth = 0;
    int m_CoverHeight = 0;
    int m_ImageWidth = 0;
    int m_ImageHeight = 0;
};
