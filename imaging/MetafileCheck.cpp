#include "imaging/MetafileCheck.h"

uint16_t MetafileLE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void MetafilePutLE32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

int32_t MetafileSignedLE32(const uint8_t* p)
{
    return static_cast<int32_t>(ReadLittleEndian32(p));
}

bool MetafileBitmapFits(const uint8_t* info, uint64_t infoBytes, uint64_t bitsBytes, bool paletteIndices)
{
    if (infoBytes < 40)
        return false;
    uint32_t headerSize = ReadLittleEndian32(info);
    if (headerSize < 40 || headerSize > infoBytes)
        return false;
    int64_t width = MetafileSignedLE32(info + 4);
    int64_t height = MetafileSignedLE32(info + 8);
    if (height < 0)
        height = -height;
    uint32_t bits = MetafileLE16(info + 14);
    uint32_t compression = ReadLittleEndian32(info + 16);
    uint32_t coloursUsed = ReadLittleEndian32(info + 32);
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    uint64_t tableBytes = 0;
    if (compression == 3) {  // BI_BITFIELDS: three masks
        if (bits != 16 && bits != 32)
            return false;
        tableBytes = 12;
    } else if (compression != 0) {
        return false;
    }
    if (bits <= 8) {
        uint64_t colours = 1u << bits;
        if (coloursUsed != 0 && coloursUsed < colours)
            colours = coloursUsed;
        tableBytes += colours * (paletteIndices ? 2 : 4);
    }
    if (headerSize + tableBytes > infoBytes)
        return false;
    uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    return stride * static_cast<uint64_t>(height) <= bitsBytes;
}

bool HasEmfSignature(const uint8_t* data, size_t size)
{
    // The header record (type 1) carries " EMF" at byte 40.
    return size >= 44 && ReadLittleEndian32(data) == 1 && ReadLittleEndian32(data + 40) == 0x464D4520;
}

bool HasWmfSignature(const uint8_t* data, size_t size)
{
    if (size >= 4 && ReadLittleEndian32(data) == kPlaceableWmfKey)
        return true;
    if (size < 18)
        return false;
    uint16_t type = MetafileLE16(data), headerWords = MetafileLE16(data + 2), version = MetafileLE16(data + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}
