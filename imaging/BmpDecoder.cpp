#include "imaging/BmpDecoder.h"
#include "imaging/ByteOrder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <cstring>

namespace {

const uint32_t kBI_RGB = 0, kBI_RLE8 = 1, kBI_RLE4 = 2, kBI_BITFIELDS = 3, kBI_ALPHABITFIELDS = 6;

struct BmpInfo {
    uint32_t offBits;
    uint32_t headerSize;
    int32_t width;
    int32_t height;  // positive after reading; topDown tells the order
    bool topDown;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t clrUsed;
    uint32_t masks[4];  // red, green, blue, alpha
    bool hasMasks;
};


// One colour channel described by a bit mask, scaled to 8 bits.
struct MaskChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    void Init(uint32_t m)
    {
        mask = m;
        shift = 0;
        bits = 0;
        if (!m)
            return;
        while (!((m >> shift) & 1))
            ++shift;
        uint32_t v = m >> shift;
        while (v & 1) {
            ++bits;
            v >>= 1;
        }
    }
    uint8_t Get(uint32_t v, uint8_t missing) const
    {
        if (!bits)
            return missing;
        uint32_t c = (v & mask) >> shift;
        if (bits >= 8)
            return static_cast<uint8_t>(c >> (bits - 8));
        return static_cast<uint8_t>(c << (8 - bits));
    }
};

class BmpRowWriter {
public:
    BmpRowWriter(CBmp* bmp, const BmpInfo& info, const PLPixel32* table)
        : m_pBmp(bmp), m_Info(info), m_Table(table), m_b8(bmp->GetBitsPerPixel() == 8)
    {
    }
    // Bitmap row for the i-th row stored in the file.
    uint8_t* Row(int fileRow) const
    {
        int y = m_Info.topDown ? fileRow : m_Info.height - 1 - fileRow;
        return m_pBmp->GetLine(y);
    }
    void PutIndex(uint8_t* row, int x, int index) const
    {
        if (m_b8)
            row[x] = static_cast<uint8_t>(index);
        else
            reinterpret_cast<PLPixel32*>(row)[x] = m_Table[index & 0xFF];
    }
    bool Is8() const { return m_b8; }

private:
    CBmp* m_pBmp;
    const BmpInfo& m_Info;
    const PLPixel32* m_Table;
    bool m_b8;
};

void DecodePlain(CDataSource* src, const BmpInfo& info, const BmpRowWriter& out, const MaskChannel* ch)
{
    int width = info.width;
    size_t rowBytes = static_cast<size_t>((static_cast<uint64_t>(width) * info.bitCount + 7) / 8);
    size_t padded = (rowBytes + 3) & ~static_cast<size_t>(3);
    // The data must be there before we spend time on it; the last row may lack its padding.
    if (static_cast<uint64_t>(padded) * (info.height - 1) + rowBytes > src->GetRemaining())
        src->ReadNBytes(static_cast<size_t>(-1));  // raises the end-of-file error
    for (int i = 0; i < info.height; ++i) {
        const uint8_t* p = src->ReadNBytes(rowBytes);
        uint8_t* row = out.Row(i);
        switch (info.bitCount) {
        case 1:
            for (int x = 0; x < width; ++x)
                out.PutIndex(row, x, (p[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        case 4:
            for (int x = 0; x < width; ++x)
                out.PutIndex(row, x, (x & 1) ? (p[x >> 1] & 0x0F) : (p[x >> 1] >> 4));
            break;
        case 8:
            for (int x = 0; x < width; ++x)
                out.PutIndex(row, x, p[x]);
            break;
        case 16: {
            PLPixel32* dst = reinterpret_cast<PLPixel32*>(row);
            for (int x = 0; x < width; ++x) {
                uint32_t v = p[2 * x] | (p[2 * x + 1] << 8);
                dst[x] = PLMakePixel(ch[0].Get(v, 0), ch[1].Get(v, 0), ch[2].Get(v, 0), ch[3].Get(v, 255));
            }
            break;
        }
        case 24: {
            PLPixel32* dst = reinterpret_cast<PLPixel32*>(row);
            for (int x = 0; x < width; ++x)
                dst[x] = PLMakePixel(p[3 * x + 2], p[3 * x + 1], p[3 * x], 255);
            break;
        }
        case 32: {
            PLPixel32* dst = reinterpret_cast<PLPixel32*>(row);
            if (!info.hasMasks) {
                // Plain 32-bit files carry no alpha; their fourth byte is usually 0.
                memcpy(dst, p, rowBytes);
                for (int x = 0; x < width; ++x)
                    dst[x] |= 0xFF000000u;
            } else {
                for (int x = 0; x < width; ++x) {
                    uint32_t v = ReadLittleEndian32(p + 4 * x);
                    dst[x] = PLMakePixel(ch[0].Get(v, 0), ch[1].Get(v, 0), ch[2].Get(v, 0), ch[3].Get(v, 255));
                }
            }
            break;
        }
        }
        if (i + 1 < info.height)
            src->ReadNBytes(padded - rowBytes);
    }
}

// RLE8 and RLE4. Runs and literals that pass the end of a row are clipped; rows past the
// picture end it. Untouched pixels keep the cleared value.
void DecodeRLE(CDataSource* src, const BmpInfo& info, const BmpRowWriter& out, bool rle4)
{
    Trace(2, rle4 ? "Decoding RLE4-compressed bitmap.\n" : "Decoding RLE8-compressed bitmap.\n");
    int width = info.width;
    int fileRow = 0;
    int x = 0;
    while (fileRow < info.height) {
        uint8_t* row = out.Row(fileRow);
        const uint8_t* pair = src->ReadNBytes(2);
        int n = pair[0];
        int e = pair[1];
        if (n > 0) {
            for (int k = 0; k < n && x < width; ++k, ++x) {
                int index = rle4 ? ((k & 1) ? (e & 0x0F) : (e >> 4)) : e;
                out.PutIndex(row, x, index);
            }
            continue;
        }
        if (e == 0) {  // end of row
            ++fileRow;
            x = 0;
        } else if (e == 1) {  // end of picture
            break;
        } else if (e == 2) {
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "Encountered delta escape.");
        } else {
            size_t bytes = rle4 ? static_cast<size_t>((e + 1) / 2) : static_cast<size_t>(e);
            const uint8_t* p = src->ReadNBytes(bytes);
            for (int k = 0; k < e && x < width; ++k, ++x) {
                int index = rle4 ? ((k & 1) ? (p[k >> 1] & 0x0F) : (p[k >> 1] >> 4)) : p[k];
                out.PutIndex(row, x, index);
            }
            if (bytes & 1)
                src->ReadNBytes(1);
        }
    }
}

}  // namespace

void CBmpDecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    const uint8_t* fh = pSource->ReadNBytes(14);
    if (fh[0] != 'B' || fh[1] != 'M')
        RaiseDecoderError(PL_ERRWRONG_SIGNATURE, "Bitmap decoder: This isn't a bitmap.");
    Trace(2, "Bitmap file signature found\n");
    BmpInfo info = {};
    info.offBits = ReadLittleEndian32(fh + 10);

    const uint8_t* ih = pSource->ReadNBytes(40);
    info.headerSize = ReadLittleEndian32(ih);
    if (info.headerSize < 40)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "Bitmap decoder: BITMAPINFOHEADER has wrong size.");
    Trace(2, "Bitmap header is ok.\n");
    int64_t width = static_cast<int32_t>(ReadLittleEndian32(ih + 4));
    int64_t height = static_cast<int32_t>(ReadLittleEndian32(ih + 8));
    info.bitCount = static_cast<uint16_t>(ih[14] | (ih[15] << 8));
    info.compression = ReadLittleEndian32(ih + 16);
    info.clrUsed = ReadLittleEndian32(ih + 32);
    info.topDown = height < 0;
    if (height < 0)
        height = -height;

    if (info.bitCount < 1 || info.bitCount > 32)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "Decoding bmp: Illegal bpp value.");
    if (info.bitCount != 1 && info.bitCount != 4 && info.bitCount != 8 && info.bitCount != 16 &&
        info.bitCount != 24 && info.bitCount != 32)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "Decoding bmp: Illegal bpp value.");
    ValidatePictureSize(width, height, 32);
    info.width = static_cast<int32_t>(width);
    info.height = static_cast<int32_t>(height);

    // Colour masks sit right after the 40-byte header: inside it for V2..V5 headers, as a
    // separate block behind a plain 40-byte header.
    info.masks[0] = 0x7C00;
    info.masks[1] = 0x03E0;
    info.masks[2] = 0x001F;
    info.masks[3] = 0;
    uint64_t afterHeader = 14 + static_cast<uint64_t>(info.headerSize);
    if ((info.compression == kBI_BITFIELDS || info.compression == kBI_ALPHABITFIELDS) &&
        (info.bitCount == 16 || info.bitCount == 32)) {
        bool withAlpha = info.compression == kBI_ALPHABITFIELDS || info.headerSize >= 56;
        const uint8_t* m = pSource->GetBufferPtr(16);
        size_t need = withAlpha ? 16 : 12;
        if (pSource->GetRemaining() < need)
            pSource->ReadNBytes(need);  // raises the end-of-file error
        for (int i = 0; i < 3; ++i)
            info.masks[i] = ReadLittleEndian32(m + 4 * i);
        info.masks[3] = withAlpha ? ReadLittleEndian32(m + 12) : 0;
        info.hasMasks = true;
        if (info.headerSize == 40)
            afterHeader += need;
    } else if (info.compression != kBI_RGB && info.compression != kBI_RLE8 && info.compression != kBI_RLE4) {
        RaiseDecoderErrorF(PL_ERRFORMAT_UNKNOWN, "Bitmap decoder: compression %u is not supported.",
                           static_cast<unsigned>(info.compression));
    }
    if ((info.compression == kBI_RLE8 && info.bitCount != 8) || (info.compression == kBI_RLE4 && info.bitCount != 4))
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "Bitmap decoder: compression does not match the bit count.");

    // Palette: at most 256 entries are used; the rest of the table stays black.
    palette.assign(256, PLMakePixel(0, 0, 0, 255));
    if (info.bitCount <= 8) {
        Trace(3, "Reading palette.\n");
        uint64_t count = info.clrUsed ? info.clrUsed : (1u << info.bitCount);
        if (count > 256)
            count = 256;
        // A count that runs into the pixel data is wrong: read only what lies before it.
        if (info.offBits >= afterHeader + 4 && (info.offBits - afterHeader) / 4 < count)
            count = (info.offBits - afterHeader) / 4;
        if (afterHeader > pSource->GetPosition()) {
            uint64_t gap = afterHeader - pSource->GetPosition();
            if (gap > pSource->GetRemaining())
                gap = pSource->GetRemaining() + 1;  // raises the end-of-file error
            pSource->Skip(static_cast<size_t>(gap));
        }
        const uint8_t* p = pSource->ReadNBytes(static_cast<size_t>(count) * 4);
        for (uint64_t i = 0; i < count; ++i)
            palette[i] = PLMakePixel(p[4 * i + 2], p[4 * i + 1], p[4 * i], 255);
    }
    // Pixel data; an offset that points back into what we read already is taken as "here".
    if (info.offBits > pSource->GetPosition())
        pSource->Skip(info.offBits - pSource->GetPosition());

    int target = (info.bitCount <= 8 && ChooseTargetBpp(wantedBpp, info.bitCount) != 32) ? 8 : 32;
    wantedBpp = target;
    pBmp->Create(info.width, info.height, static_cast<uint16_t>(target), target == 32 && info.masks[3] != 0);
    if (target == 8)
        pBmp->SetPalette(palette.data());
    pBmp->Lock(false, true);

    MaskChannel ch[4];
    for (int i = 0; i < 4; ++i)
        ch[i].Init(info.masks[i]);
    BmpRowWriter out(pBmp, info, palette.data());
    bool rle = (info.compression == kBI_RLE8 || info.compression == kBI_RLE4);
    if (rle) {
        // Pixels that no run reaches (end-of-row and end-of-picture escapes) show index 0.
        for (int y = 0; y < info.height; ++y)
            for (int x = 0; x < info.width; ++x)
                out.PutIndex(pBmp->GetLine(y), x, 0);
        DecodeRLE(pSource, info, out, info.compression == kBI_RLE4);
    } else {
        switch (info.bitCount) {
        case 1:
            Trace(2, "Decoding 1 bit per pixel bitmap.\n");
            break;
        case 4:
            Trace(2, "Decoding uncompressed 4 bit per pixel bitmap.\n");
            break;
        case 8:
            Trace(2, "Decoding uncompressed 8 bit per pixel bitmap.\n");
            break;
        default:
            Trace(2, "Decoding true-color bitmap.\n");
            break;
        }
        DecodePlain(pSource, info, out, ch);
    }
    pBmp->Unlock();
    Trace(3, "Decoding finished.\n");
}
