#include "imaging/GIFDecoder.h"
#include "imaging/AnyBmp.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <gif_lib.h>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>

namespace {

struct GifReadState {
    CDataSource* pSource;
    bool ranOut;
};

// Short reads at the end of the data let giflib report a read error, so that the frames
// drawn so far survive a truncated file.
int GifRead(GifFileType* gif, GifByteType* buffer, int n)
{
    GifReadState* state = static_cast<GifReadState*>(gif->UserData);
    if (n <= 0)
        return 0;
    size_t remaining = state->pSource->GetRemaining();
    size_t count = static_cast<size_t>(n) <= remaining ? static_cast<size_t>(n) : remaining;
    if (count < static_cast<size_t>(n))
        state->ranOut = true;
    if (count)
        memcpy(buffer, state->pSource->ReadNBytes(count), count);
    return static_cast<int>(count);
}

struct GifGuard {
    GifFileType* gif;
    ~GifGuard()
    {
        int err = 0;
        if (gif)
            DGifCloseFile(gif, &err);
    }
};

void ReportGifError(int code)
{
    const char* text = GifErrorString(code);
    fprintf(stderr, "\nGIF-LIB error: %s.\n", text ? text : "unknown");
}

void CopyColorMap(const ColorMapObject* map, PLPixel32* table)
{
    for (int i = 0; i < 256; ++i)
        table[i] = PLMakePixel(0, 0, 0, 255);
    int count = map->ColorCount < 256 ? map->ColorCount : 256;
    for (int i = 0; i < count; ++i)
        table[i] = PLMakePixel(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue, 255);
}

}  // namespace

void CGIFDecoder::DecodeImage(CBmp* pBmp, CPaletteTable&, int& wantedBpp, CDataSource* pSource)
{
    GifReadState state{pSource, false};
    int error = 0;
    GifGuard guard{DGifOpen(&state, GifRead, &error)};
    if (!guard.gif) {
        if (state.ranOut)
            throw CTextException(PL_ERREND_OF_FILE, "End of file reached while decoding.\n");
        const char* text = GifErrorString(error);
        RaiseDecoderErrorF(PL_ERRFORMAT_UNKNOWN, "GIF-LIB error: %s.", text ? text : "unknown");
    }
    GifFileType* gif = guard.gif;
    int screenWidth = gif->SWidth, screenHeight = gif->SHeight;
    ValidatePictureSize(screenWidth, screenHeight, 32);
    // Frames may each bring their own colour map, which one 8-bit palette cannot hold. A 32-bit
    // result is therefore drawn in colours, every frame through its own map, straight into the
    // result (no index canvas beside it).
    const bool trueColour = wantedBpp == 32;
    PLPixel32 globalTable[256];
    for (PLPixel32& entry : globalTable) entry = PLMakePixel(0, 0, 0, 255);
    if (gif->SColorMap && gif->SColorMap->Colors)
        CopyColorMap(gif->SColorMap, globalTable);
    pBmp->Create(screenWidth, screenHeight, trueColour ? 32 : 8, false);
    uint8_t** lines = pBmp->GetLineArray();
    pBmp->Lock(false, true);
    uint8_t background = static_cast<uint8_t>(gif->SBackGroundColor);
    for (int y = 0; y < screenHeight; ++y) {
        if (trueColour) {
            PLPixel32* row = reinterpret_cast<PLPixel32*>(lines[y]);
            std::fill(row, row + screenWidth, globalTable[background]);
        } else {
            memset(lines[y], background, static_cast<size_t>(screenWidth));
        }
    }

    // giflib frees a frame's local map when it reads the next frame: keep a copy.
    PLPixel32 localTable[256];
    bool lastHasLocal = false;
    bool anyFrame = false;
    int frameNumber = 0;
    std::vector<GifPixelType> line;
    bool done = false;
    while (!done) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            ReportGifError(gif->Error);
            break;
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) {
                ReportGifError(gif->Error);
                break;
            }
            ++frameNumber;
            anyFrame = true;
            const GifImageDesc& desc = gif->Image;
            lastHasLocal = desc.ColorMap && desc.ColorMap->Colors;
            if (lastHasLocal)
                CopyColorMap(desc.ColorMap, localTable);
            int left = desc.Left, top = desc.Top, width = desc.Width, height = desc.Height;
            if (width <= 0 || height <= 0)
                continue;
            if (left + width > screenWidth || top + height > screenHeight)
                fprintf(stderr, "Image %d is not confined to screen dimension, aborted.\n", frameNumber);
            line.resize(static_cast<size_t>(width));
            static const int kStart[4] = {0, 4, 2, 1};
            static const int kStep[4] = {8, 8, 4, 2};
            int passes = desc.Interlace ? 4 : 1;
            bool failed = false;
            for (int pass = 0; pass < passes && !failed; ++pass) {
                int start = desc.Interlace ? kStart[pass] : 0;
                int step = desc.Interlace ? kStep[pass] : 1;
                for (int row = start; row < height; row += step) {
                    if (DGifGetLine(gif, line.data(), width) == GIF_ERROR) {
                        ReportGifError(gif->Error);
                        failed = true;
                        break;
                    }
                    // Parts of a frame outside the screen are dropped.
                    int y = top + row;
                    if (y >= screenHeight)
                        continue;
                    int count = width;
                    if (left >= screenWidth)
                        continue;
                    if (left + count > screenWidth)
                        count = screenWidth - left;
                    if (trueColour) {
                        const PLPixel32* table = lastHasLocal ? localTable : globalTable;
                        PLPixel32* out = reinterpret_cast<PLPixel32*>(lines[y]) + left;
                        for (int i = 0; i < count; ++i)
                            out[i] = table[line[static_cast<size_t>(i)]];
                    } else {
                        memcpy(lines[y] + left, line.data(), static_cast<size_t>(count));
                    }
                }
            }
            if (failed)
                break;
        } else if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
                ReportGifError(gif->Error);
                break;
            }
            bool failed = false;
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
                    ReportGifError(gif->Error);
                    failed = true;
                    break;
                }
            }
            if (failed)
                break;
        } else if (type == TERMINATE_RECORD_TYPE) {
            done = true;
        } else {
            break;
        }
    }
    if (!anyFrame && state.ranOut)
        throw CTextException(PL_ERREND_OF_FILE, "End of file reached while decoding.\n");

    if (trueColour) {
        pBmp->Unlock();
        return;
    }
    if (lastHasLocal) {
        pBmp->SetPalette(localTable);
    } else if (gif->SColorMap && gif->SColorMap->Colors) {
        PLPixel32 table[256];
        CopyColorMap(gif->SColorMap, table);
        pBmp->SetPalette(table);
    }
    pBmp->Unlock();
    wantedBpp = 8;
}
