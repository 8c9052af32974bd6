// Formats known to CAnyPicDecoder, in the order its decoders are created. A format whose
// decoder header is not in the tree yet is left out, so the library builds at every step.
#include "imaging/PicFormatTable.h"
#include "imaging/AnyPicDecoder.h"

#if __has_include("imaging/BmpDecoder.h")
#include "imaging/BmpDecoder.h"
#define HAVE_BMP_DECODER 1
#endif
#if __has_include("imaging/TGADecoder.h")
#include "imaging/TGADecoder.h"
#define HAVE_TGA_DECODER 1
#endif
#if __has_include("imaging/TIFFDecoder.h")
#include "imaging/TIFFDecoder.h"
#define HAVE_TIFF_DECODER 1
#endif
#if __has_include("imaging/JPEGDecoder.h")
#include "imaging/JPEGDecoder.h"
#define HAVE_JPEG_DECODER 1
#endif
#if __has_include("imaging/PictDecoder.h") && defined(HAVE_JPEG_DECODER)
#include "imaging/PictDecoder.h"
#define HAVE_PICT_DECODER 1
#endif
#if __has_include("imaging/PNGDecoder.h")
#include "imaging/PNGDecoder.h"
#define HAVE_PNG_DECODER 1
#endif
#if __has_include("imaging/WEMFDecoder.h")
#include "imaging/WEMFDecoder.h"
#define HAVE_WEMF_DECODER 1
#endif
#if __has_include("imaging/PCXDecoder.h")
#include "imaging/PCXDecoder.h"
#define HAVE_PCX_DECODER 1
#endif
#if __has_include("imaging/PGMDecoder.h")
#include "imaging/PGMDecoder.h"
#define HAVE_PGM_DECODER 1
#endif
#if __has_include("imaging/GIFDecoder.h")
#include "imaging/GIFDecoder.h"
#define HAVE_GIF_DECODER 1
#endif

namespace {
const PicFormatEntry kFormats[] = {
#ifdef HAVE_BMP_DECODER
    {{PL_FT_WINBMP, 0}, {"Windows bitmap recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CBmpDecoder(); }, nullptr},
#endif
#ifdef HAVE_TGA_DECODER
    {{PL_FT_TARGA, 0}, {"TGA file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CTGADecoder(); }, nullptr},
#endif
#ifdef HAVE_TIFF_DECODER
    {{PL_FT_TIFF, 0}, {"TIFF file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CTIFFDecoder(); }, nullptr},
#endif
#ifdef HAVE_JPEG_DECODER
    {{PL_FT_JPEG, 0}, {"JPEG file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CJPEGDecoder(); }, nullptr},
#endif
#ifdef HAVE_PICT_DECODER
    {{PL_FT_MACPICT, 0}, {"Mac PICT recognized.\n", nullptr},
     [](CAnyPicDecoder& owner) -> CPicDecoder* {
         return new CPictDecoder(static_cast<CJPEGDecoder*>(owner.GetDecoderFor(PL_FT_JPEG)));
     },
     nullptr},
#endif
#ifdef HAVE_PNG_DECODER
    {{PL_FT_PNG, 0}, {"PNG file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CPNGDecoder(); }, nullptr},
#endif
#ifdef HAVE_WEMF_DECODER
    {{PL_FT_WMF, PL_FT_EMF}, {"WMF file recognized.\n", "EMF file recognized.\n"},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CWEMFDecoder(); },
     &CWEMFDecoder::DetectMetafile},
#endif
#ifdef HAVE_PCX_DECODER
    {{PL_FT_PCX, 0}, {"PCX file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CPCXDecoder(); }, nullptr},
#endif
#ifdef HAVE_PGM_DECODER
    {{PL_FT_PGM, 0}, {"PGM file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CPGMDecoder(); }, nullptr},
#endif
#ifdef HAVE_GIF_DECODER
    {{PL_FT_GIF, 0}, {"GIF file recognized.\n", nullptr},
     [](CAnyPicDecoder&) -> CPicDecoder* { return new CGIFDecoder(); }, nullptr},
#endif
    {{0, 0}, {nullptr, nullptr}, nullptr, nullptr}};
}  // namespace

const PicFormatEntry* GetPicFormatTable(size_t& count)
{
    // The last entry only keeps the array non-empty.
    count = sizeof(kFormats) / sizeof(kFormats[0]) - 1;
    return kFormats;
}
