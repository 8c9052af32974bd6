#include "imaging/PNGDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <png.h>
#include <cstring>

namespace {

void PngError(png_structp, png_const_charp message)
{
    RaiseDecoderError(PL_ERRFORMAT_ERROR, message);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep data, png_size_t length)
{
    CDataSource* src = static_cast<CDataSource*>(png_get_io_ptr(png));
    memcpy(data, src->ReadNBytes(length), length);
}

// Frees the libpng structures on every way out.
struct PngReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadGuard()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

}  // namespace

const png_alloc_size_t kMaxPngChunkBytes = 8 * 1024 * 1024;

void CPNGDecoder::DecodeImage(CBmp* pBmp, CPaletteTable&, int& wantedBpp, CDataSource* pSource)
{
    PngReadGuard guard;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!guard.png)
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory creating PNG reader.");
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info)
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory creating PNG reader.");
    png_structp png = guard.png;
    png_infop info = guard.info;
    png_set_read_fn(png, pSource, PngRead);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    // Ancillary chunks we never read (texts, profiles, histograms, ...) are skipped unread, so a
    // chunk claiming a gigabyte costs nothing; libpng still warns about any chunk above this size.
    png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
    static const png_byte kUnreadChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0pCAL\0sCAL\0hIST\0tIME\0";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnreadChunks,
                                static_cast<int>((sizeof(kUnreadChunks) - 1) / 5));

    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    ValidatePictureSize(width, height, 32);

    bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    int target = 32;
    bool alpha = false;
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        if (wantedBpp == 32) {
            png_set_gray_to_rgb(png);
            png_set_expand(png);
            alpha = hasTrns;
        } else {
            target = 8;
        }
        break;
    case PNG_COLOR_TYPE_RGB:
        break;
    case PNG_COLOR_TYPE_PALETTE:
        if (bitDepth == 16 || wantedBpp == 32) {
            png_set_expand(png);
            alpha = hasTrns;
        } else {
            target = 8;
        }
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        png_set_gray_to_rgb(png);
        png_set_expand(png);
        alpha = true;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        alpha = true;
        break;
    default:
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "PNG decoder: unknown colour type.");
    }
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (bitDepth < 8)
        png_set_packing(png);
    if (target == 32) {
        png_set_bgr(png);
        if (!alpha)
            png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    if (interlace != PNG_INTERLACE_NONE)
        png_set_interlace_handling(png);
    png_read_update_info(png, info);

    size_t rowBytes = png_get_rowbytes(png, info);
    size_t wanted = target == 32 ? static_cast<size_t>(width) * 4 : static_cast<size_t>(width);
    if (rowBytes != wanted)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "PNG decoder: unexpected row layout.");

    wantedBpp = target;
    pBmp->Create(static_cast<int>(width), static_cast<int>(height), static_cast<uint16_t>(target), alpha);
    if (target == 8) {
        PLPixel32 table[256];
        for (int i = 0; i < 256; ++i)
            table[i] = PLMakePixel(0, 0, 0, 255);
        if (colorType == PNG_COLOR_TYPE_GRAY) {
            // Depth after stripping: 16-bit grey arrives as 8-bit samples.
            int depth = bitDepth > 8 ? 8 : bitDepth;
            int n = 1 << depth;
            for (int i = 0; i < n; ++i) {
                uint8_t v = static_cast<uint8_t>(i * 255 / (n - 1));
                table[i] = PLMakePixel(v, v, v, 255);
            }
        } else {
            png_colorp entries = nullptr;
            int count = 0;
            if (png_get_PLTE(png, info, &entries, &count) && entries) {
                if (count > 256)
                    count = 256;
                for (int i = 0; i < count; ++i)
                    table[i] = PLMakePixel(entries[i].red, entries[i].green, entries[i].blue, 255);
            }
        }
        pBmp->SetPalette(table);
    }
    pBmp->Lock(false, true);
    png_read_image(png, pBmp->GetLineArray());
    pBmp->Unlock();
    png_read_end(png, nullptr);
}
