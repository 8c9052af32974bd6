#include "imaging/TIFFDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/PictureLimits.h"
#include "imaging/TIFFMemClient.h"
#include "imaging/TextException.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Closes the TIFF on every way out.
struct TiffGuard {
    TIFF* tif;
    ~TiffGuard()
    {
        if (tif)
            TIFFClose(tif);
    }
};

[[noreturn]] void RaiseTiffError(int code)
{
    const char* text = GetLastTiffError();
    RaiseDecoderError(code, *text ? text : "TIFF library error.\n");
}

}  // namespace

CTIFFDecoder::CTIFFDecoder()
{
    InstallTiffHandlers();
}

void CTIFFDecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    ClearLastTiffError();
    // For EPS previews the TIFF starts at the current position; the client gets only what
    // follows, so it cannot read past the source.
    TiffGuard guard{TIFFOpenMem(pSource->ReadEverything(), pSource->GetRemaining(), nullptr)};
    if (!guard.tif)
        RaiseTiffError(PL_ERRWRONG_SIGNATURE);

    uint16_t bitsPerSample = 1, samplesPerPixel = 1;
    TIFFGetFieldDefaulted(guard.tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(guard.tif, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    if (samplesPerPixel == 1 && bitsPerSample <= 8 && !TIFFIsTiled(guard.tif) && wantedBpp < 32)
        DecodeLowColor(guard.tif, pBmp, palette, wantedBpp);
    else {
        wantedBpp = ChooseTargetBpp(32, 32);
        DecodeRGBA(guard.tif, pBmp);
    }
}

namespace {

// True when each of the height rows starts `stride` bytes after the previous one (direction +1)
// or before it (direction -1).
bool RowsFollowEachOther(uint8_t** lines, uint32_t height, size_t stride, int direction)
{
    for (uint32_t y = 1; y < height; ++y) {
        const ptrdiff_t step = lines[y] - lines[y - 1];
        if (step != static_cast<ptrdiff_t>(stride) * direction)
            return false;
    }
    return true;
}

uint8_t Narrow16(uint16_t v)
{
    return static_cast<uint8_t>((v + 128u) / 257u);
}

// Row-copying routines for RGB with unassociated alpha, 8 or 16 bits a sample, that keep the
// colours as stored. They follow libtiff's conventions: x, y unused; fromskew counts pixels of
// the source to skip after each row, toskew raster entries.
void PutStraightContig(TIFFRGBAImage* img, uint32_t* cp, uint32_t, uint32_t, uint32_t w, uint32_t h,
                       int32_t fromskew, int32_t toskew, unsigned char* pp)
{
    const int samples = img->samplesperpixel;
    if (img->bitspersample == 16) {
        const uint16_t* wp = reinterpret_cast<const uint16_t*>(pp);
        for (; h > 0; --h) {
            for (uint32_t x = w; x > 0; --x, wp += samples)
                *cp++ = Narrow16(wp[0]) | (Narrow16(wp[1]) << 8) | (Narrow16(wp[2]) << 16) |
                        (static_cast<uint32_t>(Narrow16(wp[3])) << 24);
            cp += toskew;
            wp += static_cast<ptrdiff_t>(fromskew) * samples;
        }
        return;
    }
    for (; h > 0; --h) {
        for (uint32_t x = w; x > 0; --x, pp += samples)
            *cp++ = pp[0] | (pp[1] << 8) | (pp[2] << 16) | (static_cast<uint32_t>(pp[3]) << 24);
        cp += toskew;
        pp += static_cast<ptrdiff_t>(fromskew) * samples;
    }
}

void PutStraightSeparate(TIFFRGBAImage* img, uint32_t* cp, uint32_t, uint32_t, uint32_t w, uint32_t h,
                         int32_t fromskew, int32_t toskew, unsigned char* r, unsigned char* g, unsigned char* b,
                         unsigned char* a)
{
    if (img->bitspersample == 16) {
        const uint16_t *wr = reinterpret_cast<const uint16_t*>(r), *wg = reinterpret_cast<const uint16_t*>(g);
        const uint16_t *wb = reinterpret_cast<const uint16_t*>(b), *wa = reinterpret_cast<const uint16_t*>(a);
        for (; h > 0; --h) {
            for (uint32_t x = w; x > 0; --x)
                *cp++ = Narrow16(*wr++) | (Narrow16(*wg++) << 8) | (Narrow16(*wb++) << 16) |
                        (static_cast<uint32_t>(Narrow16(*wa++)) << 24);
            cp += toskew;
            wr += fromskew;
            wg += fromskew;
            wb += fromskew;
            wa += fromskew;
        }
        return;
    }
    for (; h > 0; --h) {
        for (uint32_t x = w; x > 0; --x)
            *cp++ = *r++ | (*g++ << 8) | (*b++ << 16) | (static_cast<uint32_t>(*a++) << 24);
        cp += toskew;
        r += fromskew;
        g += fromskew;
        b += fromskew;
        a += fromskew;
    }
}

// Replaces libtiff's premultiplying routines where ours apply (RGB, 8 or 16 bits a sample).
void UseStraightAlpha(TIFFRGBAImage& img)
{
    if (img.photometric != PHOTOMETRIC_RGB || img.samplesperpixel < 4 ||
        (img.bitspersample != 8 && img.bitspersample != 16))
        return;
    if (img.isContig)
        img.put.contig = PutStraightContig;
    else
        img.put.separate = PutStraightSeparate;
}

// Undoes a multiplication by alpha, so colours are straight as in every other format.
uint8_t Unpremultiply(uint32_t channel, uint32_t alpha)
{
    if (alpha == 0)
        return 0;
    const uint32_t value = (channel * 255 + alpha / 2) / alpha;
    return static_cast<uint8_t>(value > 255 ? 255 : value);
}

}  // namespace

void CTIFFDecoder::DecodeRGBA(void* handle, CBmp* pBmp)
{
    TIFF* tif = static_cast<TIFF*>(handle);
    char message[1024] = "";
    TIFFRGBAImage img;
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&img, tif, 0, message)) {
        if (!*GetLastTiffError() && *message)
            RaiseDecoderErrorF(PL_ERRWRONG_SIGNATURE, "%s\n", message);
        RaiseTiffError(PL_ERRWRONG_SIGNATURE);
    }
    struct ImgGuard {
        TIFFRGBAImage* p;
        ~ImgGuard() { TIFFRGBAImageEnd(p); }
    } imgGuard{&img};

    uint32_t width = img.width, height = img.height;
    ValidatePictureSize(width, height, 32);
    bool alpha = img.alpha != 0;
    // Every other format gives straight colours. libtiff hands out associated alpha as stored
    // (premultiplied), and premultiplies unassociated alpha only for RGB of 8 or 16 bits, where
    // our routines replace its own.
    const bool premultiplied = img.alpha == EXTRASAMPLE_ASSOCALPHA;
    if (img.alpha == EXTRASAMPLE_UNASSALPHA)
        UseStraightAlpha(img);
    pBmp->Create(static_cast<int>(width), static_cast<int>(height), 32, alpha);

    // The raster goes straight into the bitmap's rows when they lie one after another in memory
    // (top row first, or bottom row first), so the picture is never held twice.
    pBmp->Lock(false, true);
    uint8_t** lines = pBmp->GetLineArray();
    const size_t stride = static_cast<size_t>(width) * 4;
    uint32_t* target = nullptr;
    if (RowsFollowEachOther(lines, height, stride, +1)) {
        img.req_orientation = ORIENTATION_TOPLEFT;
        target = reinterpret_cast<uint32_t*>(lines[0]);
    } else if (RowsFollowEachOther(lines, height, stride, -1)) {
        img.req_orientation = ORIENTATION_BOTLEFT;
        target = reinterpret_cast<uint32_t*>(lines[height - 1]);
    }
    std::vector<uint32_t> raster;
    if (!target) {
        try {
            raster.resize(static_cast<size_t>(width) * height);
        } catch (const std::bad_alloc&) {
            pBmp->Unlock();
            RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory allocating TIFF buffer.");
        }
        img.req_orientation = ORIENTATION_TOPLEFT;
    }
    if (!TIFFRGBAImageGet(&img, target ? target : raster.data(), width, height)) {
        pBmp->Unlock();
        RaiseTiffError(PL_ERRWRONG_SIGNATURE);
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* src = target ? reinterpret_cast<const uint32_t*>(lines[y]) : raster.data() + static_cast<size_t>(y) * width;
        PLPixel32* dst = reinterpret_cast<PLPixel32*>(lines[y]);
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t v = src[x];
            const uint32_t a = TIFFGetA(v);
            if (premultiplied && a != 255)
                dst[x] = PLMakePixel(Unpremultiply(TIFFGetR(v), a), Unpremultiply(TIFFGetG(v), a),
                                     Unpremultiply(TIFFGetB(v), a), static_cast<uint8_t>(a));
            else
                dst[x] = PLMakePixel(static_cast<uint8_t>(TIFFGetR(v)), static_cast<uint8_t>(TIFFGetG(v)),
                                     static_cast<uint8_t>(TIFFGetB(v)), static_cast<uint8_t>(a));
        }
    }
    pBmp->Unlock();
}

void CTIFFDecoder::DecodeLowColor(void* handle, CBmp* pBmp, CPaletteTable& palette, int& wantedBpp)
{
    TIFF* tif = static_cast<TIFF*>(handle);
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISBLACK;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    ValidatePictureSize(width, height, 32);
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8) {
        Trace(2, "unexpected bit-depth in CTIFFDecoder::DoLoColor()");
        RaiseDecoderErrorF(PL_ERRFORMAT_ERROR, "TIFF decoder: %u bits per sample are not supported.", bits);
    }
    tmsize_t lineSize = TIFFScanlineSize(tif);
    size_t packedBytes = static_cast<size_t>((static_cast<uint64_t>(width) * bits + 7) / 8);
    if (lineSize <= 0 || static_cast<uint64_t>(lineSize) < packedBytes)
        RaiseTiffError(PL_ERRWRONG_SIGNATURE);

    int target = (samples == 1 && bits == 1) ? 1 : 8;
    if (wantedBpp == 0)
        wantedBpp = target;
    pBmp->Create(static_cast<int>(width), static_cast<int>(height), static_cast<uint16_t>(target), false);

    int n = 1 << bits;
    palette.assign(256, PLMakePixel(0, 0, 0, 255));
    bool paletteSet = true;
    if (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) {
        for (int i = 0; i < n; ++i) {
            uint8_t v = static_cast<uint8_t>(i * 255 / (n - 1));
            palette[photometric == PHOTOMETRIC_MINISBLACK ? i : n - 1 - i] = PLMakePixel(v, v, v, 255);
        }
    } else if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
            RaiseTiffError(PL_ERRWRONG_SIGNATURE);
        bool wide = false;
        for (int i = 0; i < n; ++i)
            if (red[i] >= 256 || green[i] >= 256 || blue[i] >= 256)
                wide = true;
        for (int i = 0; i < n; ++i) {
            auto scale = [wide](uint16_t v) {
                return static_cast<uint8_t>(wide ? static_cast<uint32_t>(v) * 255 / 65535 : v);
            };
            palette[i] = PLMakePixel(scale(red[i]), scale(green[i]), scale(blue[i]), 255);
        }
    } else {
        Trace(2, "unexpected PhotometricInterpretation in CTIFFDecoder::DoLoColor()");
        paletteSet = false;
    }

    std::vector<uint8_t> line;
    try {
        line.resize(static_cast<size_t>(lineSize));
    } catch (const std::bad_alloc&) {
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory allocating TIFF buffer.");
    }
    pBmp->Lock(false, true);
    uint8_t** lines = pBmp->GetLineArray();
    for (uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, line.data(), y, 0) < 0) {
            // An early failure means the picture is unusable; a late one keeps what we have.
            if (y < height / 3)
                RaiseTiffError(PL_ERRINTERNAL);
            break;
        }
        uint8_t* dst = lines[y];
        if (target == 1) {
            memcpy(dst, line.data(), packedBytes);
            continue;
        }
        int perByte = 8 / bits;
        int mask = n - 1;
        for (uint32_t x = 0; x < width; ++x) {
            int shift = 8 - bits * (static_cast<int>(x % perByte) + 1);
            dst[x] = static_cast<uint8_t>((line[x / perByte] >> shift) & mask);
        }
    }
    pBmp->Unlock();
    if (paletteSet)
        pBmp->SetPalette(palette.data());
}
