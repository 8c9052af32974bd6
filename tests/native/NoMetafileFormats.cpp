// This build plays no metafiles: they need GDI.
#include "imaging/PicFormatTable.h"

const PicFormatEntry* GetMetafileFormatEntry()
{
    return nullptr;
}
