#include "imaging/PCXDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/DecoderHelpers.h"
#include "imaging/TextException.h"

#include <vector>

namespace {

// Expands PCX run-length data: bytes up to 0xBF stand for themselves, a larger byte repeats the
// next one (its low six bits) times. A run may cross scan lines but not the end of the image.
class PcxRunReader {
public:
    PcxRunReader(CDataSource* pSource, uint64_t total) : m_pSource(pSource), m_Left(total) {}

    uint8_t Next()
    {
        if (m_Repeat == 0) {
            uint8_t b = m_pSource->ReadByte();
            if (b <= 0xBF) {
                --m_Left;
                return b;
            }
            m_Repeat = b & 0x3F;
            if (m_Repeat > m_Left)
                RaiseDecoderError(PL_ERRINTERNAL, "repeat count spans end of image.");
            m_Value = m_pSource->ReadByte();
            if (m_Repeat == 0)
                return Next();  // a zero count repeats nothing
        }
        --m_Repeat;
        --m_Left;
        return m_Value;
    }

private:
    CDataSource* m_pSource;
    uint64_t m_Left;
    uint64_t m_Repeat = 0;
    uint8_t m_Value = 0;
};

void CheckLayout(int bitsPerPixel, int planes)
{
    if (bitsPerPixel == 1) {
        if (planes > 4)
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "Can't handle image with more than 4 planes.");
        if (planes >= 1)
            return;
    } else if (bitsPerPixel == 8) {
        if (planes == 1 || planes == 3)
            return;
    } else if (bitsPerPixel == 2 || bitsPerPixel == 4) {
        // Two- and four-bit pictures exist only packed into one plane.
        if (planes == 1)
            return;
    }
    RaiseDecoderError(PL_ERRFORMAT_ERROR, "Can't handle bits per pixel image with planes.");
}

}  // namespace

void CPCXDecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    Trace(2, "Decoding PCX.\n");
    const uint8_t* h = pSource->ReadNBytes(128);
    if (h[0] != 10)
        RaiseDecoderError(PL_ERRWRONG_SIGNATURE, "Error decoding pcx: Not a PCX file.");
    if (h[2] != 1)
        RaiseDecoderError(PL_ERRWRONG_SIGNATURE, "File has unknown encoding scheme.");
    int bitsPerPixel = h[3];
    int xMin = h[4] | (h[5] << 8), yMin = h[6] | (h[7] << 8);
    int xMax = h[8] | (h[9] << 8), yMax = h[10] | (h[11] << 8);
    int planes = h[65];
    int bytesPerLine = h[66] | (h[67] << 8);
    int width = xMax - xMin + 1;
    int height = yMax - yMin + 1;
    if (width < 1 || height < 1)
        RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "PCX picture has an invalid size (%dx%d).", width, height);
    CheckLayout(bitsPerPixel, planes);
    // Bytes of one plane line that hold pixels; the rest of a line is padding.
    int usedBytes = (width * bitsPerPixel + 7) / 8;
    if (bytesPerLine < usedBytes)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "PCX bytes per line too small for the width.");

    palette.assign(256, PLMakePixel(0, 0, 0));
    for (int i = 0; i < 16; ++i)
        palette[i] = PLMakePixel(h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
    if (bitsPerPixel == 1 && planes == 1) {
        palette[0] = PLMakePixel(0, 0, 0);
        palette[1] = PLMakePixel(255, 255, 255);
    }

    uint64_t total = static_cast<uint64_t>(planes) * bytesPerLine * static_cast<uint64_t>(height);
    // A run of two bytes gives at most 63: a shorter file cannot hold the picture.
    RequireRemaining(pSource, (total + 62) / 63);

    wantedBpp = 32;
    pBmp->Create(width, height, 32, false);

    // Only the bytes that carry pixels are kept; a line's padding is read and dropped.
    size_t lineSize = static_cast<size_t>(planes) * usedBytes;
    std::vector<uint8_t> image(lineSize * static_cast<size_t>(height));
    PcxRunReader reader(pSource, total);
    for (int y = 0; y < height; ++y) {
        uint8_t* line = image.data() + lineSize * y;
        for (int p = 0; p < planes; ++p) {
            uint8_t* plane = line + static_cast<size_t>(p) * usedBytes;
            for (int i = 0; i < bytesPerLine; ++i) {
                uint8_t b = reader.Next();
                if (i < usedBytes)
                    plane[i] = b;
            }
        }
    }

    if (bitsPerPixel == 8 && planes == 1) {
        if (pSource->ReadByte() != 12)
            RaiseDecoderError(PL_ERRINTERNAL, "bad color map signature.");
        const uint8_t* map = pSource->ReadNBytes(768);
        for (int i = 0; i < 256; ++i)
            palette[i] = PLMakePixel(map[3 * i], map[3 * i + 1], map[3 * i + 2]);
    }

    uint8_t** lines = pBmp->GetLineArray();
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = image.data() + lineSize * y;
        uint8_t* dst = lines[y];
        if (bitsPerPixel == 8 && planes == 3) {
            for (int x = 0; x < width; ++x)
                StorePixel(dst, x, PLMakePixel(src[x], src[usedBytes + x], src[2 * usedBytes + x]));
        } else if (planes == 1) {
            int perByte = 8 / bitsPerPixel;
            int mask = (1 << bitsPerPixel) - 1;
            for (int x = 0; x < width; ++x) {
                int shift = 8 - bitsPerPixel * (x % perByte + 1);
                int index = (src[x / perByte] >> shift) & mask;
                StorePixel(dst, x, palette[index]);
            }
        } else {
            for (int x = 0; x < width; ++x) {
                int index = 0;
                for (int p = 0; p < planes; ++p)
                    if (src[p * usedBytes + x / 8] & (0x80 >> (x % 8)))
                        index |= 1 << p;
                StorePixel(dst, x, palette[index]);
            }
        }
    }
}
