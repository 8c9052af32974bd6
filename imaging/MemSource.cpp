#include "imaging/MemSource.h"

int CMemSource::Open(const uint8_t* data, size_t size)
{
    return Open("Mem", data, size);
}

int CMemSource::Open(const char* name, const uint8_t* data, size_t size)
{
    OpenSource(name, data ? size : 0);
    SetData(data);
    return 0;
}
