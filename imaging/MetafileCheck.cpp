#include "imaging/MetafileCheck.h"

uint32_t MetafileLE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t MetafileLE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

namespace {
const uint32_t kEmrHeader = 1;
const uint32_t kEmrEof = 14;
const uint32_t kEmfSignature = 0x464D4520;  // " EMF"
const size_t kEmfMinHeader = 88;
}  // namespace

bool HasEmfSignature(const uint8_t* data, size_t size)
{
    return size >= 44 && MetafileLE32(data) == kEmrHeader && MetafileLE32(data + 40) == kEmfSignature;
}

bool HasWmfSignature(const uint8_t* data, size_t size)
{
    if (size >= 4 && MetafileLE32(data) == kPlaceableWmfKey)
        return true;
    if (size < 18)
        return false;
    uint16_t type = MetafileLE16(data), headerWords = MetafileLE16(data + 2), version = MetafileLE16(data + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

bool IsWellFormedEmf(const uint8_t* data, size_t size)
{
    if (!HasEmfSignature(data, size))
        return false;
    uint32_t headerSize = MetafileLE32(data + 4);
    uint32_t totalBytes = MetafileLE32(data + 48);
    if (headerSize < kEmfMinHeader || headerSize > size || totalBytes > size || totalBytes < headerSize)
        return false;
    size_t pos = 0;
    while (pos + 8 <= totalBytes) {
        uint32_t type = MetafileLE32(data + pos);
        uint32_t recordSize = MetafileLE32(data + pos + 4);
        if (recordSize < 8 || (recordSize & 3) || recordSize > totalBytes - pos)
            return false;
        pos += recordSize;
        if (type == kEmrEof)
            return true;
    }
    return false;
}

bool IsWellFormedWmf(const uint8_t* data, size_t size)
{
    if (size < 18)
        return false;
    uint16_t type = MetafileLE16(data), headerWords = MetafileLE16(data + 2), version = MetafileLE16(data + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return false;
    uint64_t totalBytes = static_cast<uint64_t>(MetafileLE32(data + 6)) * 2;
    if (totalBytes > size || totalBytes < 18)
        return false;
    size_t pos = 18;
    while (pos + 6 <= totalBytes) {
        uint64_t recordBytes = static_cast<uint64_t>(MetafileLE32(data + pos)) * 2;
        uint16_t function = MetafileLE16(data + pos + 4);
        if (recordBytes < 6 || recordBytes > totalBytes - pos)
            return false;
        pos += static_cast<size_t>(recordBytes);
        if (function == 0)
            return true;
    }
    return false;
}
