#include "ui/thumbnails/ThumbnailPictureLoader.h"

#include <algorithm>
#include <new>
#include <vector>
#include "imaging/AnyBmp.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/DibHelpers.h"
#include "imaging/JPEGDecoder.h"
#include "imaging/MemSource.h"
#include "imaging/PictureFileReader.h"
#include "imaging/TextException.h"
#include "ui/thumbnails/ThumbnailLayout.h"

namespace {

inline uint32_t OverWhite(uint32_t channel, uint32_t alpha) { return (channel * alpha + 255 * (255 - alpha)) / 255; }

}  // namespace

GdiObject<HBITMAP> ReduceToDibSection(const CBmp& source, int width, int height) {
    const int sw = source.GetWidth(), sh = source.GetHeight();
    if (width <= 0 || height <= 0 || sw <= 0 || sh <= 0 || source.GetBitsPerPixel() != 32) return GdiObject<HBITMAP>();
    GdiObject<HBITMAP> section(CreateDibSection32(nullptr, width, height));
    DIBSECTION dib = {};
    if (!section || !::GetObjectA(section.Get(), sizeof(dib), &dib) || !dib.dsBm.bmBits) return GdiObject<HBITMAP>();
    uint8_t* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
    const bool alpha = source.HasAlpha();
    std::vector<uint32_t> sums(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        const int y0 = static_cast<int>(static_cast<int64_t>(y) * sh / height);
        int y1 = static_cast<int>(static_cast<int64_t>(y + 1) * sh / height);
        if (y1 <= y0) y1 = y0 + 1;
        std::fill(sums.begin(), sums.end(), 0u);
        std::vector<uint32_t> counts(width, 0);
        for (int sy = y0; sy < y1; ++sy) {
            const PLPixel32* row = reinterpret_cast<const PLPixel32*>(source.GetLine(sy));
            for (int x = 0; x < width; ++x) {
                const int x0 = static_cast<int>(static_cast<int64_t>(x) * sw / width);
                int x1 = static_cast<int>(static_cast<int64_t>(x + 1) * sw / width);
                if (x1 <= x0) x1 = x0 + 1;
                uint32_t* sum = &sums[static_cast<size_t>(x) * 4];
                for (int sx = x0; sx < x1; ++sx) {
                    const PLPixel32 p = row[sx];
                    const uint32_t a = alpha ? PLPixelAlpha(p) : 255;
                    sum[0] += alpha ? OverWhite(PLPixelBlue(p), a) : PLPixelBlue(p);
                    sum[1] += alpha ? OverWhite(PLPixelGreen(p), a) : PLPixelGreen(p);
                    sum[2] += alpha ? OverWhite(PLPixelRed(p), a) : PLPixelRed(p);
                }
                counts[x] += static_cast<uint32_t>(x1 - x0);
            }
        }
        uint8_t* out = bits + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const uint32_t n = counts[x] ? counts[x] : 1;
            out[x * 4 + 0] = static_cast<uint8_t>(sums[x * 4 + 0] / n);
            out[x * 4 + 1] = static_cast<uint8_t>(sums[x * 4 + 1] / n);
            out[x * 4 + 2] = static_cast<uint8_t>(sums[x * 4 + 2] / n);
            out[x * 4 + 3] = 255;
        }
    }
    ::GdiFlush();
    return section;
}

bool LoadThumbnailPicture(const char* path, int boxWidth, int boxHeight, int* fullWidth, int* fullHeight,
                          HBITMAP* bitmap) {
    *bitmap = nullptr;
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Read whole and closed first: the picture may be deleted while it decodes on a thread.
    std::vector<uint8_t> bytes;
    if (ReadPictureFile(path, bytes) != kPictureFileRead) return false;
    std::vector<uint8_t> head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 512));
    head.resize(512, 0);
    try {
        CAnyBmp picture;
        int width = 0, height = 0;
        CMemSource source;
        source.Open(path, bytes.data(), bytes.size());  // named for the metafile extensions
        if (CAnyPicDecoder::DetectFileType(head.data(), bytes.size()) == PL_FT_JPEG) {
            CJPEGDecoder jpeg;
            jpeg.SetScaleToCover(boxWidth, boxHeight);
            jpeg.DecodeSource(&source, &picture, 32);
            width = jpeg.GetImageWidth();
            height = jpeg.GetImageHeight();
        } else {
            CAnyPicDecoder decoder;
            decoder.DecodeSource(&source, &picture, 32);
            width = picture.GetWidth();
            height = picture.GetHeight();
        }
        std::vector<uint8_t>().swap(bytes);
        const CBmp* pixels = &picture;
        CAnyBmp converted;
        if (picture.GetBitsPerPixel() != 32) {
            converted.CreateCopy(picture, 32);
            pixels = &converted;
        }
        const SIZE fitted = FitIntoCell(pixels->GetWidth(), pixels->GetHeight(), boxWidth, boxHeight);
        *bitmap = ReduceToDibSection(*pixels, fitted.cx > 0 ? fitted.cx : 1, fitted.cy > 0 ? fitted.cy : 1).Release();
        if (!*bitmap) return false;
        *fullWidth = width;
        *fullHeight = height;
        return true;
    } catch (const CTextException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
