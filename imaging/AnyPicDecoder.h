#pragma once
// Decoder of every supported format: detects the format of its input by content (and the
// WMF/EMF names) and hands the source to the decoder of that format.
#include <memory>
#include <vector>
#include "imaging/PicDecoder.h"

// Format codes of CAnyPicDecoder::DetectFileType.
enum PLFileType {
    PL_FT_UNKNOWN = 0,
    PL_FT_WINBMP = 1,
    PL_FT_MACPICT = 2,
    PL_FT_TARGA = 3,
    PL_FT_TIFF = 4,
    PL_FT_JPEG = 5,
    PL_FT_PNG = 6,
    PL_FT_EPSTIFF = 7,
    PL_FT_WMF = 8,
    PL_FT_EMF = 9,
    PL_FT_PCX = 10,
    PL_FT_PGM = 11,
    PL_FT_GIF = 12
};

class CAnyPicDecoder : public CPicDecoder {
public:
    // Creates one decoder per format, in the order of the format table (PicFormatTable.cpp).
    CAnyPicDecoder();
    ~CAnyPicDecoder() override;

    void DecodeSource(CDataSource* pSource, CBmp* pBmp, int wantedBpp) override;

    // Format of a picture from its first bytes (header must hold at least 512 readable bytes)
    // and its total size.
    static int DetectFileType(const uint8_t* header, size_t sourceSize);

    // The decoder this object holds for a format code, or null when the format is not built.
    CPicDecoder* GetDecoderFor(int fileType) const;

private:
    CAnyPicDecoder(const CAnyPicDecoder&) = delete;
    CAnyPicDecoder& operator=(const CAnyPicDecoder&) = delete;

    std::vector<std::unique_ptr<CPicDecoder>> m_Decoders;
    CPicDecoder* m_ByType[PL_FT_GIF + 1] = {};
};
