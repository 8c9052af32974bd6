#include "imaging/BmpEncoder.h"
#include "imaging/Bmp.h"
#include "imaging/DataSink.h"

void CBmpEncoder::EncodeImage(CBmp* pBmp, CDataSink* pSink)
{
    int bpp = pBmp->GetBitsPerPixel();
    int width = pBmp->GetWidth();
    int height = pBmp->GetHeight();
    int fileBpp = bpp > 8 ? 24 : bpp;
    uint32_t rowBytes = bpp > 8 ? static_cast<uint32_t>(width) * 3 : static_cast<uint32_t>(pBmp->GetBytesPerLine());
    uint32_t padded = (rowBytes + 3) & ~3u;
    uint32_t offBits = 54 + (bpp <= 8 ? 4u << bpp : 0);

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
