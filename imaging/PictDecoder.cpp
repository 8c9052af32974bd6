#include "imaging/PictDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/DecoderHelpers.h"
#include "imaging/JPEGDecoder.h"
#include "imaging/PictOpcodes.h"
#include "imaging/TextException.h"

#include <algorithm>
#include <cstring>
#include <vector>


namespace {

struct PictRect {
    int top, left, bottom, right;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct PixMapInfo {
    int version, packType;
    uint32_t packSize;
    int pixelType, pixelSize, cmpCount, cmpSize;
    uint32_t planeBytes;
};

// Where the rows of a bitmap opcode come from.
enum RowPacking {
    ROWS_UNPACKED,  // BitsRect / BitsRgn: every row is rowBytes raw bytes
    ROWS_PACKED     // PackBits and DirectBits: PackBits rows unless rowBytes is below 8
};

const int kMaxPaletteEntries = 256;

// Walks one picture: holds the source, the target and the colour table while the opcodes run.
class PictReader {
public:
    PictReader(CDataSource* pSource, CBmp* pBmp, CPaletteTable& palette, int& wantedBpp,
               CPicDecoder* pJpegDecoder)
        : m_pSource(pSource), m_pBmp(pBmp), m_Palette(palette), m_WantedBpp(wantedBpp),
          m_pJpegDecoder(pJpegDecoder) {}

    void Decode()
    {
        ReadHeader();
        for (;;) {
            int opcode;
            if (m_Version == 2) {
                if (m_pSource->GetPosition() & 1)
                    m_pSource->Skip(1);
                opcode = m_pSource->ReadWordBE();
            } else {
                opcode = m_pSource->ReadByte();
            }
            if (HandleOpcode(opcode))
                return;
        }
    }

private:
    void ReadHeader()
    {
        m_pSource->Skip(512);
        m_pSource->ReadWordBE();  // picture size: meaningless for pictures over 32 KB
        ReadRect();               // picture frame
        uint8_t c;
        do {
            c = m_pSource->ReadByte();
        } while (c == 0);
        if (c != 0x11)
            RaiseDecoderError(PL_ERRWRONG_SIGNATURE, "Error decoding pict: Version number missing.");
        c = m_pSource->ReadByte();
        if (c == 1) {
            m_Version = 1;
        } else if (c == 2 && m_pSource->ReadByte() == 0xFF) {
            m_Version = 2;
        } else {
            RaiseDecoderError(PL_ERRWRONG_SIGNATURE, "Illegal version number.");
        }
        TraceF(2, "PICT version %d found.\n", m_Version);
    }

    // Returns true once a bitmap has been decoded.
    bool HandleOpcode(int opcode)
    {
        switch (opcode) {
        case 0x01:
            TraceName(opcode);
            SkipRegion();
            return false;
        case 0x12:
        case 0x13:
        case 0x14:
            TraceName(opcode);
            SkipPixPat();
            return false;
        case 0xA1:
            TraceName(opcode);
            m_pSource->ReadWordBE();  // kind
            m_pSource->Skip(m_pSource->ReadWordBE());
            return false;
        case 0x90:
        case 0x98:
            TraceName(opcode);
            DecodeBitmap(false, opcode == 0x98 ? ROWS_PACKED : ROWS_UNPACKED);
            return true;
        case 0x91:
        case 0x99:
            TraceName(opcode);
            DecodeBitmap(true, opcode == 0x99 ? ROWS_PACKED : ROWS_UNPACKED);
            return true;
        case 0x9A:
        case 0x9B:
            TraceName(opcode);
            DecodeDirectBits(opcode == 0x9B);
            return true;
        case 0xFF:
        case 0xFFFF:
            Trace(2, "Opcode: End of pict.\n");
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "PICT contained only vector data!\n");
        case 0x0C00:
            Trace(2, "Opcode: Header.\n");
            m_pSource->Skip(24);
            return false;
        case 0x8200:
            Trace(2, "Opcode: JPEG.\n");
            DecodeQuickTimeJpeg();
            return true;
        default:
            break;
        }
        if (opcode <= 0xA1) {
            SkipTableOpcode(opcode);
        } else if (opcode <= 0xAF) {
            TraceF(2, "Opcode: reserved 0x%x.\n", opcode);
            m_pSource->Skip(m_pSource->ReadWordBE());
        } else if (opcode <= 0xCF) {
            // reserved, no data
        } else if (opcode <= 0xFE) {
            TraceF(2, "Opcode: reserved 0x%x.\n", opcode);
            m_pSource->Skip(m_pSource->ReadDWordBE());
        } else if (opcode <= 0x1FA3) {
            m_pSource->Skip((opcode >> 7) & 0xFF);
        } else if (opcode >= 0x8000 && opcode <= 0x80FF) {
            // reserved, no data
        } else {
            TraceF(2, "Opcode: reserved 0x%x.\n", opcode);
            m_pSource->Skip(m_pSource->ReadDWordBE());
        }
        return false;
    }

    void TraceName(int opcode)
    {
        PictOpcodeInfo info = GetPictOpcodeInfo(opcode);
        if (info.name)
            TraceF(2, "Opcode: %s\n", info.name);
        else
            TraceF(2, "Opcode: reserved=0x%x\n", opcode);
    }

    void SkipTableOpcode(int opcode)
    {
        TraceName(opcode);
        PictOpcodeInfo info = GetPictOpcodeInfo(opcode);
        switch (info.length) {
        case PICT_LEN_VARIABLE:
            m_pSource->Skip(m_pSource->ReadWordBE());
            break;
        case PICT_LEN_REGION:
            SkipRegion();
            break;
        case PICT_LEN_TEXT:
            // LongText has a point (4), DHText and DVText one offset byte, DHDVText two.
            m_pSource->Skip(opcode == 0x28 ? 4 : opcode == 0x2B ? 2 : 1);
            m_pSource->Skip(m_pSource->ReadByte());
            break;
        case PICT_LEN_SPECIAL:
            RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "Can't handle Opcode %x.\n", opcode);
        default:
            m_pSource->Skip(info.length);
            break;
        }
    }

    // Regions and polygons start with their size, which counts the size word itself: a size
    // below 2 is corrupt (and would never advance).
    void SkipRegion()
    {
        Trace(3, "Skipping polygon or region.\n");
        int size = m_pSource->ReadWordBE();
        if (size < 2)
            RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "Illegal region or polygon size %d.", size);
        m_pSource->Skip(size - 2);
    }

    PictRect ReadRect()
    {
        PictRect r;
        r.top = static_cast<int16_t>(m_pSource->ReadWordBE());
        r.left = static_cast<int16_t>(m_pSource->ReadWordBE());
        r.bottom = static_cast<int16_t>(m_pSource->ReadWordBE());
        r.right = static_cast<int16_t>(m_pSource->ReadWordBE());
        return r;
    }

    PictRect ReadBounds()
    {
        PictRect r = ReadRect();
        TraceF(3, "%s (%d,%d) (%d,%d).\n", "  Bounds", r.left, r.top, r.right, r.bottom);
        return r;
    }

    PixMapInfo ReadPixMap()
    {
        PixMapInfo pm;
        pm.version = m_pSource->ReadWordBE();
        pm.packType = m_pSource->ReadWordBE();
        pm.packSize = m_pSource->ReadDWordBE();
        m_pSource->Skip(8);  // horizontal and vertical resolution
        pm.pixelType = m_pSource->ReadWordBE();
        pm.pixelSize = m_pSource->ReadWordBE();
        pm.cmpCount = m_pSource->ReadWordBE();
        pm.cmpSize = m_pSource->ReadWordBE();
        pm.planeBytes = m_pSource->ReadDWordBE();
        m_pSource->Skip(8);  // pmTable, pmReserved
        Trace(3, "PixMap header info:\n");
        TraceF(3, "  version: 0x%x\n", pm.version);
        TraceF(3, "  packType: %d\n", pm.packType);
        TraceF(3, "  packSize: %ld\n", static_cast<long>(pm.packSize));
        TraceF(3, "  pixelSize: %d\n", pm.pixelSize);
        TraceF(3, "  cmpCount: %d\n", pm.cmpCount);
        TraceF(3, "  cmpSize: %d.\n", pm.cmpSize);
        TraceF(3, "  planeBytes: %ld.\n", static_cast<long>(pm.planeBytes));
        return pm;
    }

    // Reads a colour table into `table` (256 entries). Tables may list more entries than an
    // index can reach: those are read past, never stored.
    void ReadColourTable(CPaletteTable& table)
    {
        Trace(3, "Getting color table info.\n");
        m_pSource->Skip(4);  // seed
        int flags = m_pSource->ReadWordBE();
        int count = m_pSource->ReadWordBE() + 1;
        TraceF(3, "Palette Size:  %d\n", count);
        Trace(3, "Reading Palette.\n");
        table.assign(kMaxPaletteEntries, PLMakePixel(0, 0, 0));
        for (int i = 0; i < count; ++i) {
            const uint8_t* e = m_pSource->ReadNBytes(8);
            int index = (flags & 0x8000) ? i : ((e[0] << 8) | e[1]);
            if (index >= kMaxPaletteEntries) {
                if (flags & 0x8000)
                    continue;
                RaiseDecoderError(PL_ERRFORMAT_ERROR, "pixel value greater than colour table size.");
            }
            table[index] = PLMakePixel(e[2], e[4], e[6]);
        }
    }

    void SkipPixPat()
    {
        int type = m_pSource->ReadWordBE();
        if (type == 1) {
            m_pSource->Skip(8);
            int rowBytes = m_pSource->ReadWordBE() & 0x7FFF;
            PictRect bounds = ReadBounds();
            PixMapInfo pm = ReadPixMap();
            CPaletteTable scratch;
            ReadColourTable(scratch);
            int height = bounds.Height();
            if (rowBytes == 0)
                rowBytes = bounds.Width() > 0 ? bounds.Width() : 0;
            bool packed = rowBytes >= 8;
            for (int y = 0; y < height; ++y) {
                if (!packed)
                    m_pSource->Skip(rowBytes);
                else
                    m_pSource->Skip(rowBytes > 250 ? m_pSource->ReadWordBE() : m_pSource->ReadByte());
            }
            (void)pm;
        } else if (type == 2) {
            m_pSource->Skip(8 + 5);
        } else {
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "Unknown pattern type in pixPat.");
        }
    }

    // Indexed pictures may stay 8 bits when the caller asks for that (or for "any", 0).
    static int TargetFor(int wanted, int pixelSize)
    {
        if (wanted == 0)
            wanted = pixelSize <= 8 ? 8 : 32;
        return wanted == 8 && pixelSize <= 8 ? 8 : 32;
    }

    void CheckSize(const PictRect& bounds)
    {
        if (bounds.Width() < 1 || bounds.Height() < 1)
            RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "PICT bitmap has an invalid size (%dx%d).",
                               bounds.Width(), bounds.Height());
    }

    void SkipRectsModeRegion(bool withRegion)
    {
        m_pSource->Skip(16);  // source and destination rectangles
        m_pSource->Skip(2);   // transfer mode
        if (withRegion)
            SkipRegion();
    }

    void DecodeBitmap(bool withRegion, RowPacking packing)
    {
        int rowBytes = m_pSource->ReadWordBE();
        if (!(rowBytes & 0x8000)) {
            Trace(2, "Reading version 1 bitmap.\n");
            PictRect bounds = ReadBounds();
            CheckSize(bounds);
            SkipRectsModeRegion(withRegion);
            m_Palette.assign(kMaxPaletteEntries, PLMakePixel(0, 0, 0));
            m_Palette[0] = PLMakePixel(255, 255, 255);
            m_Palette[1] = PLMakePixel(0, 0, 0);
            int target = TargetFor(m_WantedBpp, 1);
            CreateTarget(bounds, 1, target, false, rowBytes, packing);
            if (target == 8) {
                m_pBmp->SetPaletteEntry(0, 255, 255, 255, 255);
                m_pBmp->SetPaletteEntry(1, 0, 0, 0, 255);
            }
            ReadRows(bounds, 1, 1, 0, rowBytes, packing);
            return;
        }
        PictRect bounds = ReadBounds();
        PixMapInfo pm = ReadPixMap();
        CheckSize(bounds);
        CheckPixelSize(pm.pixelSize);
        ReadColourTable(m_Palette);
        SkipRectsModeRegion(withRegion);
        int target = TargetFor(m_WantedBpp, pm.pixelSize);
        rowBytes &= 0x7FFF;
        CreateTarget(bounds, pm.pixelSize, target, target == 32 && pm.cmpCount == 4, rowBytes, packing);
        if (target == 8)
            m_pBmp->SetPalette(m_Palette.data());
        ReadRows(bounds, pm.pixelSize, pm.cmpCount, pm.packType, rowBytes, packing);
    }

    void DecodeDirectBits(bool withRegion)
    {
        m_pSource->Skip(4);  // base address
        // The row length of this very record decides how rows are stored.
        int rowBytes = m_pSource->ReadWordBE() & 0x7FFF;
        PictRect bounds = ReadBounds();
        PixMapInfo pm = ReadPixMap();
        CheckSize(bounds);
        if (pm.pixelSize != 16 && pm.pixelSize != 32)
            RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "Illegal bpp value in unpackbits: %d\n", pm.pixelSize);
        SkipRectsModeRegion(withRegion);
        int target = 32;
        CreateTarget(bounds, pm.pixelSize, target, pm.cmpCount == 4, rowBytes, ROWS_PACKED);
        ReadRows(bounds, pm.pixelSize, pm.cmpCount, pm.packType, rowBytes, ROWS_PACKED);
    }

    static void CheckPixelSize(int pixelSize)
    {
        if (pixelSize != 1 && pixelSize != 2 && pixelSize != 4 && pixelSize != 8 &&
            pixelSize != 16 && pixelSize != 32)
            RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "Illegal bpp value in unpackbits: %d\n", pixelSize);
    }

    // Bytes of one unpacked row that carry the pixels.
    static int UsedRowBytes(int width, int pixelSize, int cmpCount)
    {
        if (pixelSize == 32)
            return width * (cmpCount == 4 ? 4 : 3);
        return (width * pixelSize + 7) / 8;
    }

    static int DefaultRowBytes(int width, int pixelSize)
    {
        if (pixelSize == 16)
            return 2 * width;
        if (pixelSize == 32)
            return 4 * width;
        return width;
    }

    // Makes the bitmap once the data is known to be long enough to describe all its rows.
    void CreateTarget(const PictRect& bounds, int pixelSize, int target, bool alpha, int& rowBytes,
                      RowPacking packing)
    {
        int width = bounds.Width(), height = bounds.Height();
        if (rowBytes == 0)
            rowBytes = DefaultRowBytes(width, pixelSize);
        bool packedRows = packing == ROWS_PACKED && rowBytes >= 8;
        // A 32-bit row may leave out the unused alpha plane; other rows must hold every pixel.
        int needed = pixelSize == 32 ? 3 * width : UsedRowBytes(width, pixelSize, 1);
        if (rowBytes < needed)
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "PICT row bytes too small for the width.");
        uint64_t perRow = packedRows ? (rowBytes > 250 ? 2 : 1) : static_cast<uint64_t>(rowBytes);
        RequireRemaining(m_pSource, perRow * static_cast<uint64_t>(height));
        m_WantedBpp = target;
        m_pBmp->Create(width, height, static_cast<uint16_t>(target), alpha);
    }

    // Expands one PackBits row into out (outSize bytes); output past the row is dropped and
    // a packet that runs past its data ends the row.
    static void UnpackBits(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, int itemBytes)
    {
        size_t i = 0, o = 0;
        while (i < inSize) {
            int flag = in[i++];
            if (flag < 128) {
                size_t n = static_cast<size_t>(flag + 1) * itemBytes;
                if (n > inSize - i)
                    n = inSize - i;
                size_t copy = n < outSize - o ? n : outSize - o;
                memcpy(out + o, in + i, copy);
                o += copy;
                i += n;
            } else if (flag > 128) {
                if (static_cast<size_t>(itemBytes) > inSize - i)
                    break;
                const uint8_t* item = in + i;
                i += itemBytes;
                for (int k = 257 - flag; k > 0 && o + itemBytes <= outSize; --k) {
                    memcpy(out + o, item, itemBytes);
                    o += itemBytes;
                }
            }
        }
    }

    void ReadRows(const PictRect& bounds, int pixelSize, int cmpCount, int packType, int rowBytes,
                  RowPacking packing)
    {
        int width = bounds.Width(), height = bounds.Height();
        // packType 1 (unpacked) and 2 (alpha dropped) store direct pixels without PackBits.
        bool unpackedDirect = pixelSize >= 16 && (packType == 1 || packType == 2);
        bool interleaved32 = pixelSize == 32 && (rowBytes < 8 || unpackedDirect);
        bool packedRows = packing == ROWS_PACKED && rowBytes >= 8 && !unpackedDirect;
        int itemBytes = (pixelSize == 16) ? 2 : 1;
        size_t rowSize = pixelSize == 32 ? static_cast<size_t>(width) * 4
                                         : static_cast<size_t>(UsedRowBytes(width, pixelSize, 1));
        std::vector<uint8_t> row(rowSize);
        uint8_t** lines = m_pBmp->GetLineArray();
        bool target8 = m_pBmp->GetBitsPerPixel() == 8;
        for (int y = 0; y < height; ++y) {
            std::fill(row.begin(), row.end(), 0);
            if (packedRows) {
                size_t count = rowBytes > 250 ? m_pSource->ReadWordBE() : m_pSource->ReadByte();
                const uint8_t* data = m_pSource->ReadNBytes(count);
                UnpackBits(data, count, row.data(), row.size(), itemBytes);
            } else {
                // Unpacked rows: rowBytes bytes (three per pixel when alpha was dropped).
                size_t size = (pixelSize == 32 && packType == 2) ? static_cast<size_t>(width) * 3
                                                                 : static_cast<size_t>(rowBytes);
                const uint8_t* data = m_pSource->ReadNBytes(size);
                memcpy(row.data(), data, size < row.size() ? size : row.size());
            }
            uint8_t* line = lines[y];
            if (pixelSize <= 8)
                ExpandIndexed(row.data(), line, width, pixelSize, target8);
            else if (pixelSize == 16)
                Expand16(row.data(), line, width);
            else if (interleaved32)
                ExpandInterleaved32(row.data(), line, width, cmpCount, packType == 2);
            else
                ExpandPlanes32(row.data(), line, width, cmpCount);
        }
    }

    void ExpandIndexed(const uint8_t* row, uint8_t* line, int width, int pixelSize, bool target8)
    {
        int perByte = 8 / pixelSize;
        int mask = (1 << pixelSize) - 1;
        for (int x = 0; x < width; ++x) {
            int shift = 8 - pixelSize * (x % perByte + 1);
            int index = (row[x / perByte] >> shift) & mask;
            if (target8)
                line[x] = static_cast<uint8_t>(index);
            else
                StorePixel(line, x, m_Palette[index]);
        }
    }

    static void Expand16(const uint8_t* row, uint8_t* line, int width)
    {
        for (int x = 0; x < width; ++x) {
            int a = row[2 * x], b = row[2 * x + 1];
            uint8_t red = static_cast<uint8_t>(((a >> 2) & 0x1F) << 3);
            uint8_t green = static_cast<uint8_t>((((a & 3) << 3) | (b >> 5)) << 3);
            uint8_t blue = static_cast<uint8_t>((b << 3) & 0xFF);
            StorePixel(line, x, PLMakePixel(red, green, blue));
        }
    }

    // Component planes: red, green, blue (alpha first when there are four).
    static void ExpandPlanes32(const uint8_t* row, uint8_t* line, int width, int cmpCount)
    {
        const uint8_t* r = row;
        const uint8_t* alpha = nullptr;
        if (cmpCount == 4) {
            alpha = row;
            r = row + width;
        }
        const uint8_t* g = r + width;
        const uint8_t* b = g + width;
        for (int x = 0; x < width; ++x)
            StorePixel(line, x, PLMakePixel(r[x], g[x], b[x], alpha ? alpha[x] : 255));
    }

    // Unpacked direct pixels: four bytes (alpha or padding first) or three (red, green, blue).
    static void ExpandInterleaved32(const uint8_t* row, uint8_t* line, int width, int cmpCount, bool threeBytes)
    {
        for (int x = 0; x < width; ++x) {
            if (threeBytes) {
                const uint8_t* p = row + 3 * x;
                StorePixel(line, x, PLMakePixel(p[0], p[1], p[2]));
            } else {
                const uint8_t* p = row + 4 * x;
                StorePixel(line, x, PLMakePixel(p[1], p[2], p[3], cmpCount == 4 ? p[0] : 255));
            }
        }
    }

    void DecodeQuickTimeJpeg()
    {
        uint32_t length = m_pSource->ReadDWordBE();
        size_t limit = length < m_pSource->GetRemaining() ? length : m_pSource->GetRemaining();
        const uint8_t* data = m_pSource->ReadEverything();
        size_t remaining = m_pSource->GetRemaining();
        size_t found = 0;
        bool hit = false;
        for (size_t i = 0; i < limit && i + 3 <= remaining; ++i) {
            if (data[i] == 0xFF && data[i + 1] == 0xD8 && data[i + 2] == 0xFF) {
                found = i;
                hit = true;
                break;
            }
        }
        if (!hit)
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "PICT file contains unrecognized quicktime data.\n");
        if (!m_pJpegDecoder)
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "Library not compiled for PICT/JPEG.");
        m_pSource->Skip(found);
        m_pJpegDecoder->DecodeSource(m_pSource, m_pBmp, 0);
        m_WantedBpp = m_pBmp->GetBitsPerPixel();
    }

    CDataSource* m_pSource;
    CBmp* m_pBmp;
    CPaletteTable& m_Palette;
    int& m_WantedBpp;
    CPicDecoder* m_pJpegDecoder;
    int m_Version = 0;
};

}  // namespace

CPictDecoder::CPictDecoder(CJPEGDecoder* jpegDecoder) : m_pJpegDecoder(jpegDecoder) {}

void CPictDecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    Trace(2, "Decoding mac pict.\n");
    PictReader reader(pSource, pBmp, palette, wantedBpp, m_pJpegDecoder);
    reader.Decode();
}
