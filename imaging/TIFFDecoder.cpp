#include "imaging/TIFFDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/PictureLimits.h"
#include "imaging/TIFFMemClient.h"
#include "imaging/TextException.h"

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
    pBmp->Create(static_cast<int>(width), static_cast<int>(height), 32, alpha);

    std::vector<uint32_t> raster;
    try {
        raster.resize(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory allocating TIFF buffer.");
    }
    img.req_orientation = ORIENTATION_TOPLEFT;
    if (!TIFFRGBAImageGet(&img, raster.data(), width, height))
        RaiseTiffError(PL_ERRWRONG_SIGNATURE);

    pBmp->Lock(false, true);
    uint8_t** lines = pBmp->GetLineArray();
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* src = raster.data() + static_cast<size_t>(y) * width;
        PLPixel32* dst = reinterpret_cast<PLPixel32*>(lines[y]);
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t v = src[x];
            dst[x] = PLMakePixel(static_cast<uint8_t>(TIFFGetR(v)), static_cast<uint8_t>(TIFFGetG(v)),
                                 static_cast<uint8_t>(TIFFGetB(v)), static_cast<uint8_t>(TIFFGetA(v)));
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
