#include "imaging/WEMFDecoder.h"
#include "framework/GdiHolders.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/MetafileCheck.h"
#include "imaging/TextException.h"
#include "imaging/WinBmp.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <new>
#include <vector>

namespace {

const int kTypeWmf = 8;
const int kTypeEmf = 9;
// Metafiles are drawn at their own size, but no side larger than this.
const int64_t kMaxMetafileSide = 4096;

// Extension of the file itself: what follows the last '.' after the last path separator.
int TypeFromExtension(const char* name)
{
    if (!name)
        return 0;
    const char* file = name;
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/')
            file = p + 1;
    const char* dot = strrchr(file, '.');
    if (!dot)
        return 0;
    char ext[4] = {};
    for (int i = 0; i < 3; ++i) {
        if (!dot[1 + i])
            return 0;
        ext[i] = static_cast<char>(tolower(static_cast<unsigned char>(dot[1 + i])));
    }
    if (dot[4])
        return 0;
    if (strcmp(ext, "wmf") == 0)
        return kTypeWmf;
    if (strcmp(ext, "emf") == 0)
        return kTypeEmf;
    return 0;
}

// A reference device of 1 to 100000 pixels and millimetres, 0.01 to 1000 pixels per millimetre.
bool PlausibleScale(LONG pixels, LONG millimetres)
{
    if (pixels < 1 || pixels > 100000 || millimetres < 1 || millimetres > 100000)
        return false;
    return static_cast<int64_t>(pixels) * 100 >= millimetres && pixels <= static_cast<int64_t>(millimetres) * 1000;
}

// Frame corners (hundredths of a millimetre) within a few kilometres.
bool PlausibleFrame(const RECTL& frame)
{
    const LONG limit = 1 << 28;
    for (LONG v : {frame.left, frame.top, frame.right, frame.bottom})
        if (v < -limit || v > limit)
            return false;
    return true;
}

void Refuse()
{
    RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "Windows Metafile functions failed to load this image.");
}

}  // namespace

int CWEMFDecoder::DetectMetafile(const uint8_t* header, int headerBytes, const char* name)
{
    size_t size = headerBytes > 0 ? static_cast<size_t>(headerBytes) : 0;
    if (HasEmfSignature(header, size))
        return kTypeEmf;
    if (HasWmfSignature(header, size))
        return kTypeWmf;
    return TypeFromExtension(name);
}

void CWEMFDecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    palette.clear();
    const uint8_t* data = pSource->ReadEverything();
    size_t size = pSource->GetRemaining();
    bool isEmf;
    if (HasEmfSignature(data, size))
        isEmf = true;
    else if (HasWmfSignature(data, size))
        isEmf = false;
    else
        isEmf = TypeFromExtension(pSource->GetName()) == kTypeEmf;

    // Every GDI object of the decode is held: all are given back whatever way the decode ends.
    WindowDc screen(nullptr);
    if (!screen.Get())
        RaiseDecoderError(PL_ERRNO_MEMORY, "Cannot allocate device context.");

    bool placeable = false;
    int16_t box[4] = {};
    int unitsPerInch = 0;
    std::vector<uint8_t> safe;
    EnhancedMetafile metafile;
    if (isEmf) {
        if (!SanitizeEmf(data, size, safe))
            Refuse();
        metafile.Reset(SetEnhMetaFileBits(static_cast<UINT>(safe.size()), safe.data()));
    } else {
        if (size >= kPlaceableWmfHeaderSize && ReadLittleEndian32(data) == kPlaceableWmfKey) {
            placeable = true;
            for (int i = 0; i < 4; ++i)
                box[i] = static_cast<int16_t>(MetafileLE16(data + 6 + 2 * i));
            unitsPerInch = MetafileLE16(data + 14);
            data += kPlaceableWmfHeaderSize;
            size -= kPlaceableWmfHeaderSize;
        }
        if (!SanitizeWmf(data, size, safe))
            Refuse();
        // The placeable box is the picture's extent: without it GDI would frame the picture
        // by whatever was drawn.
        METAFILEPICT extent = {MM_ANISOTROPIC, 0, 0, nullptr};
        if (placeable && unitsPerInch != 0) {
            extent.xExt = static_cast<LONG>((static_cast<int64_t>(box[2]) - box[0]) * 2540 / unitsPerInch);
            extent.yExt = static_cast<LONG>((static_cast<int64_t>(box[3]) - box[1]) * 2540 / unitsPerInch);
        }
        bool useExtent = extent.xExt > 0 && extent.yExt > 0;
        metafile.Reset(SetWinMetaFileBits(static_cast<UINT>(safe.size()), safe.data(), screen.Get(),
                                          useExtent ? &extent : nullptr));
    }
    if (!metafile.Get())
        Refuse();
    pSource->Skip(pSource->GetRemaining());

    // The first enhanced metafiles have an 88-byte header; later ones add fields after it. Fields
    // a short header lacks read as zero.
    const UINT kOriginalEmfHeaderSize = 88;
    UINT headerSize = GetEnhMetaFileHeader(metafile.Get(), 0, nullptr);
    if (headerSize < kOriginalEmfHeaderSize)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "No header information in metafile");
    std::vector<uint8_t> headerBuffer;
    try {
        headerBuffer.assign(headerSize > sizeof(ENHMETAHEADER) ? headerSize : sizeof(ENHMETAHEADER), 0);
    } catch (const std::bad_alloc&) {
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory during allocation of header.");
    }
    ENHMETAHEADER* header = reinterpret_cast<ENHMETAHEADER*>(headerBuffer.data());
    GetEnhMetaFileHeader(metafile.Get(), headerSize, header);

    int64_t width, height;
    if (placeable) {
        if (unitsPerInch == 0)
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "Metafile has zero units per inch.");
        width = (static_cast<int64_t>(box[2]) - box[0]) * GetDeviceCaps(screen.Get(), LOGPIXELSX) / unitsPerInch;
        height = (static_cast<int64_t>(box[3]) - box[1]) * GetDeviceCaps(screen.Get(), LOGPIXELSY) / unitsPerInch;
    } else {
        if (header->szlMillimeters.cx == 0 || header->szlMillimeters.cy == 0)
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "Metafile has no size in millimetres.");
        // GDI scales by these sizes when it plays the picture: absurd ones make its
        // arithmetic overflow.
        if (!PlausibleScale(header->szlDevice.cx, header->szlMillimeters.cx) ||
            !PlausibleScale(header->szlDevice.cy, header->szlMillimeters.cy) || !PlausibleFrame(header->rclFrame))
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "Metafile has an implausible size.");
        width = (static_cast<int64_t>(header->rclFrame.right) - header->rclFrame.left) * header->szlDevice.cx /
                (static_cast<int64_t>(header->szlMillimeters.cx) * 100);
        height = (static_cast<int64_t>(header->rclFrame.bottom) - header->rclFrame.top) * header->szlDevice.cy /
                 (static_cast<int64_t>(header->szlMillimeters.cy) * 100);
    }
    if (width <= 0)
        width = 320;
    if (height <= 0)
        height = 200;
    // Vector pictures scale without loss: a huge one is drawn smaller instead of refused.
    if (width > kMaxMetafileSide || height > kMaxMetafileSide) {
        int64_t larger = width > height ? width : height;
        width = width * kMaxMetafileSide / larger;
        height = height * kMaxMetafileSide / larger;
        if (width < 1)
            width = 1;
        if (height < 1)
            height = 1;
    }
    int w = static_cast<int>(width), h = static_cast<int>(height);

    GdiObject<HBITMAP> bitmap;
    GdiObject<HPALETTE> gdiPalette;
    bool hasPalette = false;
    {
        MemoryDc memory(screen.Get());
        if (!memory.Ok())
            RaiseDecoderError(PL_ERRNO_MEMORY, "Cannot allocate device context.");
        bitmap.Reset(CreateCompatibleBitmap(screen.Get(), w, h));
        if (!bitmap)
            RaiseDecoderError(PL_ERRNO_MEMORY, "Cannot allocate memory bitmap.");
        memory.Select(bitmap.Get());

        UINT paletteEntries = GetEnhMetaFilePaletteEntries(metafile.Get(), 0, nullptr);
        hasPalette = paletteEntries >= 1 && paletteEntries <= 255;
        if (hasPalette) {
            std::vector<uint8_t> logBuffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
            LOGPALETTE* logPalette = reinterpret_cast<LOGPALETTE*>(logBuffer.data());
            logPalette->palVersion = 0x300;
            logPalette->palNumEntries = static_cast<WORD>(paletteEntries);
            GetEnhMetaFilePaletteEntries(metafile.Get(), paletteEntries, logPalette->palPalEntry);
            palette.assign(256, PLMakePixel(0, 0, 0));
            for (UINT i = 0; i < paletteEntries; ++i) {
                const PALETTEENTRY& e = logPalette->palPalEntry[i];
                palette[i] = PLMakePixel(e.peRed, e.peGreen, e.peBlue);
            }
            gdiPalette.Reset(CreatePalette(logPalette));
        }
        SelectedPalette drawnWith(memory.Get(), gdiPalette.Get());
        if (gdiPalette)
            RealizePalette(memory.Get());

        RECT rect = {0, 0, w, h};
        FillRect(memory.Get(), &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        PlayEnhMetaFile(memory.Get(), metafile.Get(), &rect);
    }
    // The memory context is gone and the bitmap with it selected nowhere, as GetDIBits wants.

    // Only an indexed picture asked for at 8 bits stays indexed; otherwise 32 bits, opaque.
    int target = wantedBpp == 0 ? (hasPalette ? 8 : 32) : wantedBpp;
    target = (target == 8 && hasPalette) ? 8 : 32;
    wantedBpp = target;

    // GDI hands the pixels over as a DIB; the target's rows are copied from it.
    CWinBmp readBack;
    readBack.Create(w, h, static_cast<uint16_t>(target), false);
    if (!GetDIBits(screen.Get(), bitmap.Get(), 0, h, readBack.GetBits(),
                   reinterpret_cast<BITMAPINFO*>(readBack.GetBMI()), DIB_RGB_COLORS))
        RaiseDecoderError(PL_ERRNO_MEMORY, "Cannot allocate memory bitmap.");

    pBmp->Create(w, h, static_cast<uint16_t>(target), false);
    uint8_t** dst = pBmp->GetLineArray();
    uint8_t** src = readBack.GetLineArray();
    size_t rowBytes = static_cast<size_t>(CBmp::CalcRowBytes(w, target));
    for (int y = 0; y < h; ++y)
        memcpy(dst[y], src[y], rowBytes);
    if (target == 8) {
        PLPixel32* table = readBack.GetPalette();
        for (int i = 0; i < 256; ++i)
            table[i] |= 0xFF000000u;
        pBmp->SetPalette(table);
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dst[y][4 * x + PL_RGBA_ALPHA] = 255;
    }
}
