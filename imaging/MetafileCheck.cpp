#include "imaging/MetafileCheck.h"

#include <cstring>

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

void PutLE32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

int32_t SignedLE32(const uint8_t* p)
{
    return static_cast<int32_t>(MetafileLE32(p));
}

// A packed BITMAPINFO of `infoBytes` bytes at info whose pixels are `bitsBytes` bytes: true when
// the header, colour table and every row fit. Only uncompressed (and bit-field) bitmaps pass.
bool BitmapFits(const uint8_t* info, uint64_t infoBytes, uint64_t bitsBytes, bool paletteIndices)
{
    if (infoBytes < 40)
        return false;
    uint32_t headerSize = MetafileLE32(info);
    if (headerSize < 40 || headerSize > infoBytes)
        return false;
    int64_t width = SignedLE32(info + 4);
    int64_t height = SignedLE32(info + 8);
    if (height < 0)
        height = -height;
    uint32_t bits = MetafileLE16(info + 14);
    uint32_t compression = MetafileLE32(info + 16);
    uint32_t coloursUsed = MetafileLE32(info + 32);
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

// ---- EMF ----

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

    uint32_t Word(uint32_t offset) const { return MetafileLE32(m_r + offset); }

    // Signed 32-bit values from `from` up to `to` within +-2^26 (colours, raster operations and
    // flags stay below that too).
    bool Within(uint32_t from, uint32_t to) const
    {
        const int32_t limit = 1 << 26;
        for (uint32_t o = from; o + 4 <= to && o + 4 <= m_Size; o += 4) {
            int32_t v = SignedLE32(m_r + o);
            if (v < -limit || v > limit)
                return false;
        }
        return true;
    }

    // Pen widths and font sizes: large ones make GDI build huge shapes.
    bool Small(uint32_t offset) const
    {
        int32_t v = SignedLE32(m_r + offset);
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
        return BitmapFits(m_r + offInfo, infoBytes, bitsBytes, paletteIndices);
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
            if (MetafileLE32(shape + 4 * i) >= vertices)
                return false;
        return true;
    }

    const uint8_t* m_r;
    uint32_t m_Size;
    uint32_t m_Handles;
};

// ---- WMF ----

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
        uint32_t headerSize = MetafileLE32(info);
        uint32_t bits = MetafileLE16(info + 14);
        uint64_t colours = 0;
        if (bits <= 8) {
            colours = 1u << bits;
            uint32_t used = MetafileLE32(info + 32);
            if (used != 0 && used < colours)
                colours = used;
        }
        uint64_t tableBytes = colours * 4 + (MetafileLE32(info + 16) == 3 ? 12 : 0);
        if (headerSize < 40 || headerSize + tableBytes > rest)
            return false;
        uint64_t infoBytes = headerSize + tableBytes;
        return BitmapFits(info, infoBytes, rest - infoBytes, false);
    }

    const uint8_t* m_p;
    uint64_t m_Bytes;
    uint32_t m_Objects;
};

}  // namespace

bool HasEmfSignature(const uint8_t* data, size_t size)
{
    return size >= 44 && MetafileLE32(data) == kEmrHeader && MetafileLE32(data + 40) == kEmfSignature;
}

bool HasWmfSignature(const uint8_t* data, size_t size)
{
    if (size >= 4 && MetafileLE32(data) == kPlaceableWmfKey)
        return true;
    if (size < kWmfHeaderSize)
        return false;
    uint16_t type = MetafileLE16(data), headerWords = MetafileLE16(data + 2), version = MetafileLE16(data + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

bool SanitizeEmf(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    if (!HasEmfSignature(data, size))
        return false;
    uint32_t headerSize = MetafileLE32(data + 4);
    uint32_t totalBytes = MetafileLE32(data + 48);
    if (headerSize < kEmfMinHeader || (headerSize & 3) || headerSize > size || totalBytes > size ||
        totalBytes < headerSize)
        return false;
    uint32_t handles = MetafileLE16(data + 56);

    out.assign(data, data + headerSize);
    // Description and pixel-format pointers must stay inside the header.
    uint32_t descChars = MetafileLE32(data + 60), descOffset = MetafileLE32(data + 64);
    if (descChars && (descOffset < kEmfMinHeader || uint64_t(descOffset) + uint64_t(descChars) * 2 > headerSize)) {
        PutLE32(&out[60], 0);
        PutLE32(&out[64], 0);
    }
    if (headerSize >= 100) {
        uint32_t pfBytes = MetafileLE32(data + 88), pfOffset = MetafileLE32(data + 92);
        if (pfBytes && (pfOffset < kEmfMinHeader || uint64_t(pfOffset) + pfBytes > headerSize)) {
            PutLE32(&out[88], 0);
            PutLE32(&out[92], 0);
        }
    }

    uint32_t records = 1;
    uint32_t paletteEntries = 0;
    size_t pos = headerSize;
    bool ended = false;
    while (pos + 8 <= totalBytes) {
        const uint8_t* r = data + pos;
        uint32_t type = MetafileLE32(r);
        uint32_t recordSize = MetafileLE32(r + 4);
        if (recordSize < 8 || (recordSize & 3) || recordSize > totalBytes - pos)
            return false;
        pos += recordSize;
        if (type == kEmrEof) {
            ended = true;
            // The end record may carry the picture's palette.
            uint32_t count = recordSize >= 20 ? MetafileLE32(r + 8) : 0;
            uint32_t offset = recordSize >= 20 ? MetafileLE32(r + 12) : 0;
            if (count > 256 || offset < 16 || uint64_t(offset) + uint64_t(count) * 4 + 4 > recordSize)
                count = 0;
            if (count) {
                paletteEntries = count;
                out.insert(out.end(), r, r + recordSize);
            } else {
                uint8_t eof[20];
                PutLE32(eof, kEmrEof);
                PutLE32(eof + 4, 20);
                PutLE32(eof + 8, 0);
                PutLE32(eof + 12, 16);
                PutLE32(eof + 16, 20);
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
    PutLE32(&out[48], static_cast<uint32_t>(out.size()));
    PutLE32(&out[52], records);
    PutLE32(&out[68], paletteEntries);
    return true;
}

bool SanitizeWmf(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    if (size < kWmfHeaderSize)
        return false;
    uint16_t type = MetafileLE16(data), headerWords = MetafileLE16(data + 2), version = MetafileLE16(data + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return false;
    uint64_t totalBytes = uint64_t(MetafileLE32(data + 6)) * 2;
    if (totalBytes > size || totalBytes < kWmfHeaderSize)
        return false;
    uint32_t objects = MetafileLE16(data + 10);

    out.assign(data, data + kWmfHeaderSize);
    uint32_t largest = 3;
    size_t pos = kWmfHeaderSize;
    bool ended = false;
    while (pos + 6 <= totalBytes) {
        const uint8_t* r = data + pos;
        uint64_t recordBytes = uint64_t(MetafileLE32(r)) * 2;
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
    PutLE32(&out[6], static_cast<uint32_t>(out.size() / 2));
    PutLE32(&out[12], largest);
    return true;
}
