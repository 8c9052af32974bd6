// Formats known to CAnyPicDecoder, in the order its decoders are created.
#include "imaging/PicFormatTable.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/BmpDecoder.h"
#include "imaging/GIFDecoder.h"
#include "imaging/JPEGDecoder.h"
#include "imaging/PCXDecoder.h"
#include "imaging/PGMDecoder.h"
#include "imaging/PNGDecoder.h"
#include "imaging/PictDecoder.h"
#include "imaging/TGADecoder.h"
#include "imaging/TIFFDecoder.h"

#include <vector>

namespace {

std::vector<PicFormatEntry> BuildTable()
{
    std::vector<PicFormatEntry> table = {
        {{PL_FT_WINBMP, 0}, {"Windows bitmap recognized.\n", nullptr},
         [](CAnyPicDecoder&) -> CPicDecoder* { return new CBmpDecoder(); }, nullptr},
        {{PL_FT_TARGA, 0}, {"TGA file recognized.\n", nullptr},
         [](CAnyPicDecoder&) -> CPicDecoder* { return new CTGADecoder(); }, nullptr},
        {{PL_FT_TIFF, 0}, {"TIFF file recognized.\n", nullptr},
         [](CAnyPicDecoder&) -> CPicDecoder* { return new CTIFFDecoder(); }, nullptr},
        {{PL_FT_JPEG, 0}, {"JPEG file recognized.\n", nullptr},
         [](CAnyPicDecoder&) -> CPicDecoder* { return new CJPEGDecoder(); }, nullptr},
        {{PL_FT_MACPICT, 0}, {"Mac PICT recognized.\n", nullptr},
         [](CAnyPicDecoder& owner) -> CPicDecoder* {
             return new CPictDecoder(static_cast<CJPEGDecoder*>(owner.GetDecoderFor(PL_FT_JPEG)));
         },
         nullptr},
        {{PL_FT_PNG, 0}, {"PNG file recognized.\n", nullptr},
         [](CAnyPicDecoder&) -> CPicDecoder* { return new CPNGDecoder(); }, nullptr},
    };
    // Metafiles are played through GDI: their entry comes from the metafile decoder's own file,
    // so the raster formats build without it.
    if (const PicFormatEntry* metafiles = GetMetafileFormatEntry())
        table.push_back(*metafiles);
    table.push_back({{PL_FT_PCX, 0}, {"PCX file recognized.\n", nullptr},
                     [](CAnyPicDecoder&) -> CPicDecoder* { return new CPCXDecoder(); }, nullptr});
    table.push_back({{PL_FT_PGM, 0}, {"PGM file recognized.\n", nullptr},
                     [](CAnyPicDecoder&) -> CPicDecoder* { return new CPGMDecoder(); }, nullptr});
    table.push_back({{PL_FT_GIF, 0}, {"GIF file recognized.\n", nullptr},
                     [](CAnyPicDecoder&) -> CPicDecoder* { return new CGIFDecoder(); }, nullptr});
    return table;
}

}  // namespace

const PicFormatEntry* GetPicFormatTable(size_t& count)
{
    static const std::vector<PicFormatEntry> table = BuildTable();
    count = table.size();
    return table.data();
}
