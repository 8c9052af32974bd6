#include "imaging/TGADecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/DecoderHelpers.h"
#include "imaging/TextException.h"

#include <cstring>

namespace {

struct TgaHeader {
    int idLength;
    int mapType;
    int imageType;
    int mapFirst;
    int mapLength;
    int mapEntrySize;
    int width;
    int height;
    int depth;
    int descriptor;
};

TgaHeader ReadHeader(CDataSource* pSource)
{
    const uint8_t* b = pSource->ReadNBytes(18);
    TgaHeader h;
    h.idLength = b[0];
    h.mapType = b[1];
    h.imageType = b[2];
    h.mapFirst = b[3] | (b[4] << 8);
    h.mapLength = b[5] | (b[6] << 8);
    h.mapEntrySize = b[7];
    // b[8..11]: x and y origin, unused.
    h.width = b[12] | (b[13] << 8);
    h.height = b[14] | (b[15] << 8);
    h.depth = b[16];
    h.descriptor = b[17];
    return h;
}

int BytesPerPixel(int depth)
{
    return (depth + 7) / 8;
}

// One pixel of `depth` bits at p as blue-green-red-alpha; 8-bit pixels go through the table.
// A 16-bit pixel without attribute bits has no alpha: its spare bit is not transparency.
PLPixel32 DecodePixel(const uint8_t* p, int depth, const CPaletteTable& table, bool hasAlpha = true)
{
    switch (depth) {
    case 8:
        return table[p[0]];
    case 15:
    case 16: {
        unsigned v = p[0] | (p[1] << 8);
        uint8_t red = static_cast<uint8_t>((v >> 7) & 0xF8);
        uint8_t green = static_cast<uint8_t>((v >> 2) & 0xF8);
        uint8_t blue = static_cast<uint8_t>((v << 3) & 0xFF);
        uint8_t alpha = 255;
        if (depth == 16 && hasAlpha)
            alpha = (v & 0x8000) ? 0x80 : 0;
        return PLMakePixel(red, green, blue, alpha);
    }
    case 24:
        return PLMakePixel(p[2], p[1], p[0], 255);
    default:
        return PLMakePixel(p[2], p[1], p[0], p[3]);
    }
}

// The header's count of attribute (alpha) bits per pixel.
int AttributeBits(const TgaHeader& h)
{
    return h.descriptor & 0x0F;
}

bool IsTrueColourDepth(int depth)
{
    return depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

void CheckHeader(const TgaHeader& h)
{
    int baseType = h.imageType & 7;
    if (h.imageType != baseType && h.imageType != baseType + 8)
        baseType = 0;
    if (baseType < 1 || baseType > 3)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "Unknown TGA image type.");
    bool depthOk;
    if (baseType == 2)
        depthOk = h.depth == 8 || IsTrueColourDepth(h.depth);
    else
        depthOk = h.depth == 8;  // indices and grey levels are single bytes
    if (!depthOk)
        RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "Unsupported TGA pixel depth %d.", h.depth);
    if (h.mapType != 0 && h.mapLength > 0 && !IsTrueColourDepth(h.mapEntrySize))
        RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "Unsupported TGA colour map entry size %d.",
                           h.mapEntrySize);
    if (h.width < 1 || h.height < 1)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "TGA picture has no pixels.");
}

// Reads the colour map into the table. Entries beyond index 255 must still be consumed so the
// pixel data that follows is found, but they have no place in the table.
void ReadColourMap(const TgaHeader& h, CDataSource* pSource, CPaletteTable& table)
{
    int entryBytes = BytesPerPixel(h.mapEntrySize);
    const uint8_t* p = pSource->ReadNBytes(static_cast<size_t>(h.mapLength) * entryBytes);
    for (int i = 0; i < h.mapLength; ++i, p += entryBytes) {
        int index = h.mapFirst + i;
        if (index < 256)
            table[index] = DecodePixel(p, h.mapEntrySize, table);
    }
}

// Hands out the picture's pixels in file order, decoding RLE packets. A packet that runs past
// the end of a row continues on the next one, as several writers produce them; whatever
// would land past the last pixel of the picture is dropped.
class TgaPixelStream {
public:
    TgaPixelStream(CDataSource* pSource, int depth, bool rle)
        : m_pSource(pSource), m_PixelBytes(BytesPerPixel(depth)), m_Rle(rle) {}

    // Fills `count` pixels of raw file bytes (m_PixelBytes each) into out.
    void ReadRow(uint8_t* out, int count)
    {
        if (!m_Rle) {
            memcpy(out, m_pSource->ReadNBytes(static_cast<size_t>(count) * m_PixelBytes),
                   static_cast<size_t>(count) * m_PixelBytes);
            return;
        }
        int done = 0;
        while (done < count) {
            if (m_Left == 0) {
                uint8_t c = m_pSource->ReadByte();
                m_IsRun = (c & 0x80) != 0;
                m_Left = (c & 0x7F) + 1;
                if (m_IsRun)
                    memcpy(m_RunPixel, m_pSource->ReadNBytes(m_PixelBytes), m_PixelBytes);
            }
            int n = m_Left < count - done ? m_Left : count - done;
            uint8_t* dst = out + static_cast<size_t>(done) * m_PixelBytes;
            if (m_IsRun) {
                for (int i = 0; i < n; ++i)
                    memcpy(dst + i * m_PixelBytes, m_RunPixel, m_PixelBytes);
            } else {
                memcpy(dst, m_pSource->ReadNBytes(static_cast<size_t>(n) * m_PixelBytes),
                       static_cast<size_t>(n) * m_PixelBytes);
            }
            m_Left -= n;
            done += n;
        }
    }

private:
    CDataSource* m_pSource;
    int m_PixelBytes;
    bool m_Rle;
    int m_Left = 0;
    bool m_IsRun = false;
    uint8_t m_RunPixel[4] = {};
};

}  // namespace

void CTGADecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    Trace(2, "Decoding TGA.\n");
    TgaHeader h = ReadHeader(pSource);
    pSource->Skip(h.idLength);
    CheckHeader(h);

    int pixelBytes = BytesPerPixel(h.depth);
    bool rle = h.imageType >= 9;
    uint64_t pixels = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    uint64_t mapBytes = h.mapType ? static_cast<uint64_t>(h.mapLength) * BytesPerPixel(h.mapEntrySize) : 0;
    // The smallest file that can hold this picture: raw pixels, or RLE packets of 128 pixels
    // each taking a header byte and one pixel.
    uint64_t minData = rle ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    RequireRemaining(pSource, mapBytes + minData);

    // An 8-bit picture without a map of its own shows grey levels.
    palette.assign(256, 0);
    for (int i = 0; i < 256; ++i)
        palette[i] = GreyPixel(i);
    if (h.mapType != 0 && h.mapLength > 0)
        ReadColourMap(h, pSource, palette);
    if ((h.imageType & 7) == 3) {
        for (int i = 0; i < 256; ++i)
            palette[i] = GreyPixel(i);
    }

    int target = ChooseTargetBpp(wantedBpp, h.depth);
    target = (target == 8 && h.depth == 8) ? 8 : 32;
    wantedBpp = target;
    // 32-bit files carry alpha whatever their attribute count says (common writers leave it 0).
    const bool hasAlpha = h.depth == 32 || (h.depth == 16 && AttributeBits(h) > 0);
    pBmp->Create(h.width, h.height, static_cast<uint16_t>(target), hasAlpha);
    if (target == 8)
        pBmp->SetPalette(palette.data());

    bool topFirst = (h.descriptor & 0x20) != 0;
    TgaPixelStream stream(pSource, h.depth, rle);
    std::vector<uint8_t> raw(static_cast<size_t>(h.width) * pixelBytes);
    uint8_t** lines = pBmp->GetLineArray();
    for (int row = 0; row < h.height; ++row) {
        stream.ReadRow(raw.data(), h.width);
        uint8_t* line = lines[topFirst ? row : h.height - 1 - row];
        if (target == 8) {
            memcpy(line, raw.data(), h.width);
        } else {
            const uint8_t* in = raw.data();
            for (int x = 0; x < h.width; ++x, in += pixelBytes)
                StorePixel(line, x, DecodePixel(in, h.depth, palette, hasAlpha));
        }
    }
}
