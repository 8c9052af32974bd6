#include "imaging/BmpEncoder.h"
#include "imaging/Bmp.h"
#include "imaging/DataSink.h"

namespace {

// Row and header sizes of the file written for a bitmap.
struct BmpLayout {
    uint32_t rowBytes, padded, offBits;
    explicit BmpLayout(CBmp* pBmp)
    {
        const int bpp = pBmp->GetBitsPerPixel();
        const uint32_t width = static_cast<uint32_t>(pBmp->GetWidth());
        // Unpadded picture row: 3 bytes a pixel above 8 bits, else the packed index row.
        rowBytes = bpp > 8 ? width * 3 : bpp == 1 ? (width + 7) / 8 : width;
        padded = (rowBytes + 3) & ~3u;
        offBits = 54 + (bpp <= 8 ? 4u << bpp : 0);
    }
};

}  // namespace

size_t CBmpEncoder::GetMaxEncodedSize(CBmp* pBmp)
{
    const BmpLayout layout(pBmp);
    return layout.offBits + static_cast<size_t>(layout.padded) * static_cast<size_t>(pBmp->GetHeight());
}

void CBmpEncoder::EncodeImage(CBmp* pBmp, CDataSink* pSink)
{
    int bpp = pBmp->GetBitsPerPixel();
    int width = pBmp->GetWidth();
    int height = pBmp->GetHeight();
    int fileBpp = bpp > 8 ? 24 : bpp;
    const BmpLayout layout(pBmp);
    const uint32_t rowBytes = layout.rowBytes, padded = layout.padded, offBits = layout.offBits;

    pSink->WriteByte('B');
    pSink->WriteByte('M');
    pSink->WriteDWordLE(offBits + padded * static_cast<uint32_t>(height));
    pSink->WriteWordLE(0);
    pSink->WriteWordLE(0);
    pSink->WriteDWordLE(offBits);

    pSink->WriteDWordLE(40);
    pSink->WriteDWordLE(static_cast<uint32_t>(width));
    pSink->WriteDWordLE(static_cast<uint32_t>(height));
    pSink->WriteWordLE(1);
    pSink->WriteWordLE(static_cast<uint16_t>(fileBpp));
    for (int i = 0; i < 6; ++i)  // compression, image size, resolutions, colours used/important
        pSink->WriteDWordLE(0);

    pBmp->Lock(true, false);
    uint8_t** lines = pBmp->GetLineArray();
    if (bpp > 8) {
        for (int y = height - 1; y >= 0; --y) {
            const PLPixel32* src = reinterpret_cast<const PLPixel32*>(lines[y]);
            for (int x = 0; x < width; ++x) {
                uint8_t bgr[3] = {PLPixelBlue(src[x]), PLPixelGreen(src[x]), PLPixelRed(src[x])};
                pSink->WriteNBytes(3, bgr);
            }
            pSink->Skip(padded - rowBytes);
        }
    } else {
        pSink->WriteNBytes(4u << bpp, pBmp->GetPalette());
        for (int y = height - 1; y >= 0; --y) {
            pSink->WriteNBytes(rowBytes, lines[y]);
            pSink->Skip(padded - rowBytes);
        }
    }
    pBmp->Unlock();
}
