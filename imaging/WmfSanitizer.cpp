// Rebuilds Windows metafiles from their safe records (see MetafileCheck.h).
#include "imaging/MetafileCheck.h"

#include <cstring>

namespace {

const size_t kWmfHeaderSize = 18;

// Smallest parameter bytes of the simple records that are played (-1: not played).
int WmfFixedParams(uint16_t function)
{
    switch (function) {
    case 0x001E: case 0x0035: return 0;
    case 0x0102: case 0x0103: case 0x0104: case 0x0105: case 0x0106: case 0x0107: case 0x0108:
    case 0x0127: case 0x012E: return 2;
    case 0x0201: case 0x0209: case 0x020A: case 0x020B: case 0x020C: case 0x020D: case 0x020E:
    case 0x020F: case 0x0211: case 0x0213: case 0x0214: case 0x0220: case 0x0231: case 0x0149: return 4;
    case 0x0410: case 0x0412: case 0x0415: case 0x0416: case 0x0418: case 0x0419: case 0x041B:
    case 0x041F: return 8;
    case 0x0548: return 10;
    case 0x061C: case 0x061D: return 12;
    case 0x0817: case 0x081A: case 0x0830: return 16;
    case 0x02FA: return 10;  // CreatePenIndirect
    case 0x02FC: return 8;   // CreateBrushIndirect
    default: return -1;
    }
}

bool CreatesObject(uint16_t function)
{
    switch (function) {
    case 0x02FA: case 0x02FC: case 0x02FB: case 0x00F7: case 0x06FF: case 0x0142: case 0x01F9:
        return true;
    default:
        return false;
    }
}

class WmfRecordCheck {
public:
    WmfRecordCheck(const uint8_t* params, uint64_t bytes, uint32_t objects)
        : m_p(params), m_Bytes(bytes), m_Objects(objects) {}

    bool Safe(uint16_t function) const
    {
        int fixed = WmfFixedParams(function);
        if (fixed >= 0) {
            if (m_Bytes < static_cast<uint64_t>(fixed))
                return false;
            // Extents are divided by: none may be zero (parameters are stored last first).
            if (function == 0x020C || function == 0x020E)
                return Half(0) != 0 && Half(2) != 0;
            if (function == 0x0410 || function == 0x0412)
                return Half(0) != 0 && Half(4) != 0;
            return true;
        }
        switch (function) {
        case 0x012D: case 0x01F0: case 0x012C: case 0x012A: case 0x012B:
            // Select, delete, select clip region, invert and paint region.
            return Object(0);
        case 0x0228:  // FillRegion: brush, region
            return Object(0) && Object(2);
        case 0x0429:  // FrameRegion: height, width, brush, region
            return m_Bytes >= 8 && Object(4) && Object(6);
        case 0x02FB:  // CreateFontIndirect: the face name must end inside the record
            return m_Bytes > 18 && memchr(m_p + 18, 0, static_cast<size_t>(m_Bytes - 18)) != nullptr;
        case 0x0139:  // ResizePalette
            return m_Bytes >= 2;
        case 0x0324: case 0x0325:  // Polygon, Polyline
            return m_Bytes >= 2 && uint64_t(Half(0)) * 4 + 2 <= m_Bytes;
        case 0x0538:
            return PolyPolygon();
        case 0x00F7: case 0x0037: case 0x0436:  // CreatePalette, SetPalEntries, AnimatePalette
            return m_Bytes >= 4 && uint64_t(Half(2)) * 4 + 4 <= m_Bytes;
        case 0x0521: {  // TextOut: count, string (even length), y, x
            if (m_Bytes < 2)
                return false;
            uint64_t count = Half(0);
            return 2 + ((count + 1) & ~uint64_t(1)) + 4 <= m_Bytes;
        }
        case 0x0A32:
            return ExtTextOut();
        case 0x0940:  // DIBBitBlt: nine words without a bitmap (a pattern blit)
            return m_Bytes == 18 || DibAt(16);
        case 0x0B41:  // DIBStretchBlt
            return DibAt(20);
        case 0x0F43:  // StretchDIB
            return DibAt(22);
        case 0x0D33:  // SetDIBitsToDevice
            return DibAt(18);
        case 0x0142:  // DIBCreatePatternBrush
            return DibAt(4);
        default:
            // Regions made from scan data, escapes, device-dependent bitmaps and palette
            // selection (whose parameters players read inconsistently) are dropped.
            return false;
        }
    }

private:
    uint16_t Half(uint64_t offset) const { return MetafileLE16(m_p + offset); }

    bool Object(uint64_t offset) const { return m_Bytes >= offset + 2 && Half(offset) < m_Objects; }

    bool PolyPolygon() const
    {
        if (m_Bytes < 2)
            return false;
        uint64_t polys = Half(0);
        if (2 + polys * 2 > m_Bytes)
            return false;
        uint64_t points = 0;
        for (uint64_t i = 0; i < polys; ++i)
            points += Half(2 + 2 * i);
        return 2 + polys * 2 + points * 4 <= m_Bytes;
    }

    bool ExtTextOut() const
    {
        if (m_Bytes < 8)
            return false;
        uint64_t count = Half(4);
        uint16_t options = Half(6);
        uint64_t offset = 8 + ((options & 0x0006) ? 8 : 0);  // ETO_OPAQUE or ETO_CLIPPED: a rectangle
        return offset + ((count + 1) & ~uint64_t(1)) <= m_Bytes;
    }

    // A BITMAPINFO at `offset` followed by its pixels, taking the rest of the record.
    bool DibAt(uint64_t offset) const
    {
        if (m_Bytes <= offset)
            return false;
        const uint8_t* info = m_p + offset;
        uint64_t rest = m_Bytes - offset;
        if (rest < 40)
            return false;
        uint32_t headerSize = ReadLittleEndian32(info);
        uint32_t bits = MetafileLE16(info + 14);
        uint64_t colours = 0;
        if (bits <= 8) {
            colours = 1u << bits;
            uint32_t used = ReadLittleEndian32(info + 32);
            if (used != 0 && used < colours)
                colours = used;
        }
        uint64_t tableBytes = colours * 4 + (ReadLittleEndian32(info + 16) == 3 ? 12 : 0);
        if (headerSize < 40 || headerSize + tableBytes > rest)
            return false;
        uint64_t infoBytes = headerSize + tableBytes;
        return MetafileBitmapFits(info, infoBytes, rest - infoBytes, false);
    }

    const uint8_t* m_p;
    uint64_t m_Bytes;
    uint32_t m_Objects;
};

}  // namespace

bool SanitizeWmf(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    if (size < kWmfHeaderSize)
        return false;
    uint16_t type = MetafileLE16(data), headerWords = MetafileLE16(data + 2), version = MetafileLE16(data + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return false;
    uint64_t totalBytes = uint64_t(ReadLittleEndian32(data + 6)) * 2;
    if (totalBytes > size || totalBytes < kWmfHeaderSize)
        return false;
    uint32_t objects = MetafileLE16(data + 10);

    out.assign(data, data + kWmfHeaderSize);
    uint32_t largest = 3;
    size_t pos = kWmfHeaderSize;
    bool ended = false;
    while (pos + 6 <= totalBytes) {
        const uint8_t* r = data + pos;
        uint64_t recordBytes = uint64_t(ReadLittleEndian32(r)) * 2;
        uint16_t function = MetafileLE16(r + 4);
        if (recordBytes < 6 || recordBytes > totalBytes - pos)
            return false;
        pos += static_cast<size_t>(recordBytes);
        if (function == 0) {
            ended = true;
            static const uint8_t kEnd[6] = {3, 0, 0, 0, 0, 0};
            out.insert(out.end(), kEnd, kEnd + 6);
            break;
        }
        if (WmfRecordCheck(r + 6, recordBytes - 6, objects).Safe(function)) {
            out.insert(out.end(), r, r + recordBytes);
            if (recordBytes / 2 > largest)
                largest = static_cast<uint32_t>(recordBytes / 2);
        } else if (CreatesObject(function)) {
            // Objects take the lowest free slot: a dropped one is replaced by a hollow brush
            // so that the objects after it keep their numbers.
            static const uint8_t kHollowBrush[14] = {7, 0, 0, 0, 0xFC, 0x02, 1, 0, 0, 0, 0, 0, 0, 0};
            out.insert(out.end(), kHollowBrush, kHollowBrush + sizeof(kHollowBrush));
            if (largest < 7)
                largest = 7;
        }
    }
    if (!ended)
        return false;
    MetafilePutLE32(&out[6], static_cast<uint32_t>(out.size() / 2));
    MetafilePutLE32(&out[12], largest);
    return true;
}
