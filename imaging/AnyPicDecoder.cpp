#include "imaging/AnyPicDecoder.h"
#include "imaging/ByteOrder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/PicFormatTable.h"
#include "imaging/TextException.h"

#include <cstring>

CAnyPicDecoder::CAnyPicDecoder()
{
    size_t count = 0;
    const PicFormatEntry* table = GetPicFormatTable(count);
    for (size_t i = 0; i < count; ++i) {
        CPicDecoder* decoder = table[i].create(*this);
        if (!decoder)
            continue;
        m_Decoders.emplace_back(decoder);
        for (int fileType : table[i].fileTypes)
            if (fileType > 0 && fileType <= PL_FT_GIF)
                m_ByType[fileType] = decoder;
    }
}

CAnyPicDecoder::~CAnyPicDecoder() {}

CPicDecoder* CAnyPicDecoder::GetDecoderFor(int fileType) const
{
    if (fileType <= 0 || fileType > PL_FT_GIF)
        return nullptr;
    return m_ByType[fileType];
}


int CAnyPicDecoder::DetectFileType(const uint8_t* b, size_t sourceSize)
{
    if (b[0] == 'B' && b[1] == 'M')
        return PL_FT_WINBMP;
    if (b[1] <= 1 && (b[2] <= 3 || (b[2] >= 9 && b[2] <= 11)) &&
        (b[7] == 0 || b[7] == 8 || b[7] == 15 || b[7] == 16 || b[7] == 24 || b[7] == 32) &&
        (b[16] == 8 || b[16] == 15 || b[16] == 16 || b[16] == 24 || b[16] == 32))
        return PL_FT_TARGA;
    if (memcmp(b, "GIF8", 4) == 0)
        return PL_FT_GIF;
    if ((b[0] == 0x49 && b[1] == 0x49 && b[2] == 0x2A && b[3] == 0x00) ||
        (b[0] == 0x4D && b[1] == 0x4D && b[2] == 0x00 && b[3] == 0x2A))
        return PL_FT_TIFF;
    if (sourceSize > 540) {
        const uint8_t* p = b + 522;
        if ((p[0] == 0x00 && p[1] == 0x11 && p[2] == 0x02 && p[3] == 0xFF) ||
            (p[0] == 0x00 && p[1] == 0x11 && p[2] == 0x01) ||
            (p[0] == 0x11 && p[1] == 0x01 && p[2] == 0x01 && p[3] == 0x00))
            return PL_FT_MACPICT;
    }
    if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return PL_FT_JPEG;
    if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E && b[3] == 0x47)
        return PL_FT_PNG;
    if (((b[0] == 0xC5 && b[1] == 0xD0 && b[2] == 0xD3 && b[3] == 0xC6) ||
         (b[0] == 0xC6 && b[1] == 0xD3 && b[2] == 0xD0 && b[3] == 0xC5)) &&
        ReadLittleEndian32(b + 20) != 0 && ReadLittleEndian32(b + 24) != 0)
        return PL_FT_EPSTIFF;
    if (b[0] == 0x0A && b[2] == 0x01)
        return PL_FT_PCX;
    if (b[0] == 'P' && (b[1] == '2' || b[1] == '5'))
        return PL_FT_PGM;
    return PL_FT_UNKNOWN;
}

static const char* TraceTextFor(int fileType)
{
    size_t count = 0;
    const PicFormatEntry* table = GetPicFormatTable(count);
    for (size_t i = 0; i < count; ++i)
        for (int k = 0; k < 2; ++k)
            if (table[i].fileTypes[k] == fileType && table[i].traceTexts[k])
                return table[i].traceTexts[k];
    return "";
}

void CAnyPicDecoder::DecodeSource(CDataSource* pSource, CBmp* pBmp, int wantedBpp)
{
    const uint8_t* header = pSource->GetBufferPtr(512);
    int headerBytes = static_cast<int>(pSource->GetRemaining() < 512 ? pSource->GetRemaining() : 512);

    // Formats with their own sniffer (metafiles: magic bytes, then the file's own extension)
    // come first, since their headers can pass the content tests below.
    int fileType = PL_FT_UNKNOWN;
    size_t count = 0;
    const PicFormatEntry* table = GetPicFormatTable(count);
    for (size_t i = 0; i < count && fileType == PL_FT_UNKNOWN; ++i)
        if (table[i].detect)
            fileType = table[i].detect(header, headerBytes, pSource->GetName());
    if (fileType == PL_FT_UNKNOWN)
        fileType = DetectFileType(header, pSource->GetFileSize());

    if (fileType == PL_FT_UNKNOWN)
        RaiseDecoderError(PL_ERRUNKNOWN_FILE_TYPE, "Unknown file type.");

    CPicDecoder* decoder;
    if (fileType == PL_FT_EPSTIFF) {
        Trace(2, "TIFF preview in EPS file recognized.\n");
        uint32_t previewOffset = ReadLittleEndian32(pSource->GetBufferPtr(24) + 20);
        decoder = GetDecoderFor(PL_FT_TIFF);
        if (!decoder)
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "Library not compiled for this file type.");
        // The offset counts from the start of the file; ReadNBytes refuses to pass the end.
        pSource->ReadNBytes(previewOffset);
    } else {
        Trace(2, TraceTextFor(fileType));
        decoder = GetDecoderFor(fileType);
        if (!decoder)
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "Library not compiled for this file type.");
    }
    decoder->DecodeSource(pSource, pBmp, wantedBpp);
}
