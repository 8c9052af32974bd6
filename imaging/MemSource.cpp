#include "imaging/MemSource.h"

int CMemSource::Open(const uint8_t* data, size_t size)
{
    OpenSource("Mem", data ? size : 0);
    SetData(data);
    return 0;
}
