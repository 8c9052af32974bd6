#pragma once
// Reads only the header of JPEG data to learn the picture's size. Use: DecodeMemory(data,
// size, nullptr, 0) or DecodeFile(path, nullptr, 0), then GetWidth/GetHeight. Throws
// CTextException when no complete header is there.
#include "imaging/PicDecoder.h"
#include "imaging/JpegSourceBridge.h"

class JpegReadHeader : public CPicDecoder {
public:
    JpegReadHeader();
    ~JpegReadHeader() override;
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }

protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;

private:
    jpeg_decompress_struct m_cinfo;
    jpeg_error_mgr m_jerr;
    JpegSourceBridge m_source;
    int m_Width = 0;
    int m_Height = 0;
};
