// Rebuilds enhanced metafiles from their safe records (see MetafileCheck.h).
#include "imaging/MetafileCheck.h"

#include <cstring>

namespace {

const uint32_t kEmrHeader = 1;
const uint32_t kEmrEof = 14;
const uint32_t kEmfSignature = 0x464D4520;  // " EMF"
const uint32_t kEmfMinHeader = 88;

// Smallest size of each fixed-layout record type (0: variable or not played).
uint32_t EmfFixedSize(uint32_t type)
{
    switch (type) {
    case 9: case 10: case 11: case 12: case 13: case 26: case 27: case 54: return 16;
    case 15: return 20;
    case 16: case 17: case 18: case 19: case 20: case 21: case 22: case 24: case 25: case 34:
    case 57: case 58: case 67: case 98: case 115: return 12;
    case 23: return 32;
    case 28: case 33: case 52: case 59: case 60: case 61: case 65: case 66: case 68: return 8;
    case 29: case 30: case 31: case 32: case 42: case 43: case 53: case 62: case 63: case 64: return 24;
    case 35: return 32;
    case 36: return 36;
    case 41: return 28;
    case 44: return 32;
    case 45: case 46: case 47: case 55: return 40;
    case 120: return 16;
    default: return 0;
    }
}

class EmfRecordCheck {
public:
    EmfRecordCheck(const uint8_t* r, uint32_t size, uint32_t handles) : m_r(r), m_Size(size), m_Handles(handles) {}

    bool Safe(uint32_t type) const { return Layout(type) && Magnitudes(type); }

private:
    // Every count, offset and object index lies inside the record and the object table.
    bool Layout(uint32_t type) const
    {
        if (uint32_t fixed = EmfFixedSize(type))
            return m_Size >= fixed;
        switch (type) {
        case 2: case 3: case 4: case 5: case 6:  // poly lines and Béziers, 32-bit points
            return Points(24, 28, 8);
        case 85: case 86: case 87: case 88: case 89:  // the same with 16-bit points
            return Points(24, 28, 4);
        case 7: case 8:
            return PolyPoly(8);
        case 90: case 91:
            return PolyPoly(4);
        case 56:  // PolyDraw: points then one type byte each
            return Points(24, 28, 9);
        case 92:
            return Points(24, 28, 5);
        case 37:  // SelectObject: a stock object or one of ours
            return m_Size >= 12 && (Word(8) & 0x80000000u ? (Word(8) & 0x7FFFFFFFu) <= 31 : Handle(8));
        case 40:  // DeleteObject
            return m_Size >= 12 && Handle(8);
        case 38:
            return m_Size >= 28 && Handle(8);
        case 39:
            return m_Size >= 24 && Handle(8);
        case 48:  // SelectPalette
            return m_Size >= 12 && (Word(8) & 0x80000000u ? true : Handle(8));
        case 49:  // CreatePalette: LOGPALETTE follows the index
            return m_Size >= 16 && Handle(8) && Fits(16, uint64_t(MetafileLE16(m_r + 14)) * 4);
        case 50:  // SetPaletteEntries
            return m_Size >= 20 && Handle(8) && Fits(20, uint64_t(Word(16)) * 4);
        case 51:
            return m_Size >= 16 && Handle(8);
        case 82:  // ExtCreateFontIndirectW: a LOGFONTW at least
            return m_Size >= 12 + 92 && Handle(8);
        case 71:  // FillRgn
            return m_Size >= 32 && Handle(28) && Region(24, 32);
        case 72:  // FrameRgn
            return m_Size >= 40 && Handle(28) && Region(24, 40);
        case 73: case 74:
            return m_Size >= 28 && Region(24, 28);
        case 75:  // ExtSelectClipRgn: no region data resets the clip
            return m_Size >= 16 && (Word(8) == 0 || Region(8, 16));
        case 76:
            return m_Size >= 100 && Bitmap(84, Word(80) == 1, true);
        case 77: case 114: case 116:
            return m_Size >= 108 && Bitmap(84, Word(80) == 1, true);
        case 78:  // MaskBlt: source and mask
            return m_Size >= 128 && Bitmap(84, Word(80) == 1, true) && Bitmap(112, Word(108) == 1, true);
        case 80:  // SetDIBitsToDevice
            return m_Size >= 76 && Bitmap(48, Word(64) == 1, false);
        case 81:  // StretchDIBits
            return m_Size >= 80 && Bitmap(48, Word(64) == 1, false);
        case 93: case 94:  // mono and DIB pattern brushes
            return m_Size >= 32 && Handle(8) && Bitmap(16, Word(12) == 1, false);
        case 95:  // ExtCreatePen: optional pattern bitmap, then the style entries
            return m_Size >= 52 && Handle(8) && Bitmap(12, false, true) && Fits(52, uint64_t(Word(48)) * 4);
        case 83: case 84:
            return Text(type == 84 ? 2 : 1);
        case 118:
            return GradientFill();
        default:
            // Comments, escapes, colour spaces, OpenGL and the rarely used text and blit
            // variants are not played.
            return false;
        }
    }

    // Coordinates, sizes and scale factors stay where GDI's arithmetic cannot overflow.
    bool Magnitudes(uint32_t type) const
    {
        switch (type) {
        case 35:  // SetWorldTransform
            return Floats(8, 32);
        case 36:  // ModifyWorldTransform
            return Floats(8, 32) && Within(32, 36);
        case 9: case 11:  // window and viewport extents: never zero
            return Within(8, 16) && Word(8) != 0 && Word(12) != 0;
        case 31: case 32:  // scale extents: numerators and denominators
            return Within(8, 24) && Word(12) != 0 && Word(20) != 0;
        case 2: case 3: case 4: case 5: case 6: case 85: case 86: case 87: case 88: case 89:
        case 7: case 8: case 90: case 91: case 56: case 92:
            return Within(8, m_Size & ~3u);
        case 38:  // CreatePen: style, width, colour
            return Within(12, 28) && Small(16);
        case 95:  // ExtCreatePen
            return Within(28, 52) && Small(32) && Within(52, m_Size & ~3u);
        case 82:  // font height and width
            return Small(12) && Small(16);
        case 49: case 50:  // palette entries are colours, not coordinates
            return true;
        case 71: case 73: case 74:
            return Within(8, 24) && Within(24 + (type == 71 ? 8 : 4) + 32, m_Size & ~3u);
        case 72:
            return Within(8, 24) && Within(32, 40) && Within(72, m_Size & ~3u);
        case 75:
            return Word(8) == 0 || Within(48, m_Size & ~3u);
        case 76: case 77: case 78: case 114: case 116:
            // Bounds, destination, raster operation and source; the source transform is
            // floating point; then the stretch sizes.
            return Within(8, 52) && Floats(52, 76) && (type == 76 || type == 78 || Within(100, 108));
        case 80:
            return Within(8, 48) && Within(68, 76);
        case 81:
            return Within(8, 48) && Within(68, 80);
        case 83: case 84:
            return Within(8, 28) && Floats(28, 36) && Within(36, 48) && Within(56, 72);
        case 118:
            return Within(8, 24) && GradientVertices();
        case 93: case 94:
            return true;
        default:
            return Within(8, m_Size < 64 ? m_Size & ~3u : 64);
        }
    }

    uint32_t Word(uint32_t offset) const { return ReadLittleEndian32(m_r + offset); }

    // Signed 32-bit values from `from` up to `to` within +-2^26 (colours, raster operations and
    // flags stay below that too).
    bool Within(uint32_t from, uint32_t to) const
    {
        const int32_t limit = 1 << 26;
        for (uint32_t o = from; o + 4 <= to && o + 4 <= m_Size; o += 4) {
            int32_t v = MetafileSignedLE32(m_r + o);
            if (v < -limit || v > limit)
                return false;
        }
        return true;
    }

    // Pen widths and font sizes: large ones make GDI build huge shapes.
    bool Small(uint32_t offset) const
    {
        int32_t v = MetafileSignedLE32(m_r + offset);
        return v >= -100000 && v <= 100000;
    }

    // Transform factors: finite and moderate.
    bool Floats(uint32_t from, uint32_t to) const
    {
        for (uint32_t o = from; o + 4 <= to && o + 4 <= m_Size; o += 4) {
            float f;
            memcpy(&f, m_r + o, 4);
            if (!(f >= -1.0e4f && f <= 1.0e4f))
                return false;
        }
        return true;
    }

    bool GradientVertices() const
    {
        uint32_t vertices = Word(24);
        for (uint32_t i = 0; i < vertices; ++i)
            if (!Within(36 + 16 * i, 36 + 16 * i + 8))
                return false;
        return true;
    }

    bool Fits(uint64_t offset, uint64_t bytes) const { return offset <= m_Size && bytes <= m_Size - offset; }

    // Object 0 stands for the metafile itself; the others must exist in the table.
    bool Handle(uint32_t offset) const
    {
        uint32_t index = Word(offset);
        return index >= 1 && index < m_Handles;
    }

    bool Points(uint32_t countOffset, uint32_t pointsOffset, uint32_t bytesPerPoint) const
    {
        return m_Size >= pointsOffset && Fits(pointsOffset, uint64_t(Word(countOffset)) * bytesPerPoint);
    }

    bool PolyPoly(uint32_t bytesPerPoint) const
    {
        if (m_Size < 32)
            return false;
        uint64_t polys = Word(24), points = Word(28);
        if (!Fits(32, polys * 4 + points * bytesPerPoint))
            return false;
        uint64_t total = 0;
        for (uint64_t i = 0; i < polys; ++i)
            total += Word(static_cast<uint32_t>(32 + 4 * i));
        return total <= points;
    }

    bool Region(uint32_t sizeOffset, uint32_t dataOffset) const
    {
        uint64_t bytes = Word(sizeOffset);
        if (!Fits(dataOffset, bytes) || bytes < 32)
            return false;
        uint32_t headerSize = Word(dataOffset);
        uint64_t rects = Word(dataOffset + 8);
        return headerSize == 32 && 32 + rects * 16 <= bytes;
    }

    // offBmi, cbBmi, offBits, cbBits at `offset`; no bitmap at all passes when allowed.
    bool Bitmap(uint32_t offset, bool paletteIndices, bool mayBeAbsent) const
    {
        uint32_t offInfo = Word(offset), infoBytes = Word(offset + 4);
        uint32_t offBits = Word(offset + 8), bitsBytes = Word(offset + 12);
        if (infoBytes == 0)
            return mayBeAbsent && bitsBytes == 0;
        if (offInfo < 8 || !Fits(offInfo, infoBytes) || offBits < 8 || !Fits(offBits, bitsBytes))
            return false;
        return MetafileBitmapFits(m_r + offInfo, infoBytes, bitsBytes, paletteIndices);
    }

    bool Text(uint32_t charBytes) const
    {
        if (m_Size < 76)
            return false;
        uint64_t chars = Word(44);
        uint32_t offString = Word(48), options = Word(52), offDx = Word(72);
        if (chars == 0)
            return true;
        if (offString < 76 || !Fits(offString, chars * charBytes))
            return false;
        uint64_t dxBytes = chars * ((options & 0x2000) ? 8 : 4);  // ETO_PDY: x and y advances
        return offDx == 0 || (offDx >= 76 && Fits(offDx, dxBytes));
    }

    bool GradientFill() const
    {
        if (m_Size < 36)
            return false;
        uint64_t vertices = Word(24), shapes = Word(28);
        uint32_t mode = Word(32);
        uint32_t indices = mode == 2 ? 3 : 2;  // GRADIENT_FILL_TRIANGLE or rectangles
        if (mode > 2 || !Fits(36, vertices * 16 + shapes * indices * 4))
            return false;
        const uint8_t* shape = m_r + 36 + vertices * 16;
        for (uint64_t i = 0; i < shapes * indices; ++i)
            if (ReadLittleEndian32(shape + 4 * i) >= vertices)
                return false;
        return true;
    }

    const uint8_t* m_r;
    uint32_t m_Size;
    uint32_t m_Handles;
};

}  // namespace

bool SanitizeEmf(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    if (!HasEmfSignature(data, size))
        return false;
    uint32_t headerSize = ReadLittleEndian32(data + 4);
    uint32_t totalBytes = ReadLittleEndian32(data + 48);
    if (headerSize < kEmfMinHeader || (headerSize & 3) || headerSize > size || totalBytes > size ||
        totalBytes < headerSize)
        return false;
    uint32_t handles = MetafileLE16(data + 56);

    out.assign(data, data + headerSize);
    // Description and pixel-format pointers must stay inside the header.
    uint32_t descChars = ReadLittleEndian32(data + 60), descOffset = ReadLittleEndian32(data + 64);
    if (descChars && (descOffset < kEmfMinHeader || uint64_t(descOffset) + uint64_t(descChars) * 2 > headerSize)) {
        MetafilePutLE32(&out[60], 0);
        MetafilePutLE32(&out[64], 0);
    }
    if (headerSize >= 100) {
        uint32_t pfBytes = ReadLittleEndian32(data + 88), pfOffset = ReadLittleEndian32(data + 92);
        if (pfBytes && (pfOffset < kEmfMinHeader || uint64_t(pfOffset) + pfBytes > headerSize)) {
            MetafilePutLE32(&out[88], 0);
            MetafilePutLE32(&out[92], 0);
        }
    }

    uint32_t records = 1;
    uint32_t paletteEntries = 0;
    size_t pos = headerSize;
    bool ended = false;
    while (pos + 8 <= totalBytes) {
        const uint8_t* r = data + pos;
        uint32_t type = ReadLittleEndian32(r);
        uint32_t recordSize = ReadLittleEndian32(r + 4);
        if (recordSize < 8 || (recordSize & 3) || recordSize > totalBytes - pos)
            return false;
        pos += recordSize;
        if (type == kEmrEof) {
            ended = true;
            // The end record may carry the picture's palette.
            uint32_t count = recordSize >= 20 ? ReadLittleEndian32(r + 8) : 0;
            uint32_t offset = recordSize >= 20 ? ReadLittleEndian32(r + 12) : 0;
            if (count > 256 || offset < 16 || uint64_t(offset) + uint64_t(count) * 4 + 4 > recordSize)
                count = 0;
            if (count) {
                paletteEntries = count;
                out.insert(out.end(), r, r + recordSize);
            } else {
                uint8_t eof[20];
                MetafilePutLE32(eof, kEmrEof);
                MetafilePutLE32(eof + 4, 20);
                MetafilePutLE32(eof + 8, 0);
                MetafilePutLE32(eof + 12, 16);
                MetafilePutLE32(eof + 16, 20);
                out.insert(out.end(), eof, eof + 20);
            }
            ++records;
            break;
        }
        if (type == kEmrHeader)
            continue;
        if (EmfRecordCheck(r, recordSize, handles).Safe(type)) {
            out.insert(out.end(), r, r + recordSize);
            ++records;
        }
    }
    if (!ended)
        return false;
    MetafilePutLE32(&out[48], static_cast<uint32_t>(out.size()));
    MetafilePutLE32(&out[52], records);
    MetafilePutLE32(&out[68], paletteEntries);
    return true;
}
