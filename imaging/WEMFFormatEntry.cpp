// The metafile decoder's place in the format table.
#include "imaging/PicFormatTable.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/WEMFDecoder.h"

const PicFormatEntry* GetMetafileFormatEntry()
{
    static const PicFormatEntry entry = {{PL_FT_WMF, PL_FT_EMF},
                                         {"WMF file recognized.\n", "EMF file recognized.\n"},
                                         [](CAnyPicDecoder&) -> CPicDecoder* { return new CWEMFDecoder(); },
                                         &CWEMFDecoder::DetectMetafile};
    return &entry;
}
