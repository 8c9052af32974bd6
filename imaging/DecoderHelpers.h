#pragma once
// Small helpers shared by the hand-written decoders (TGA, PCX, PGM, PICT).
#include <cstdint>
#include <cstring>
#include "imaging/Bmp.h"

class CDataSource;

// Raises the source's end-of-file exception (code 11) unless at least `bytes` bytes remain, so a
// tiny file that claims a huge picture fails before its bitmap is allocated.
void RequireRemaining(CDataSource* pSource, uint64_t bytes);

// Writes a 32-bit pixel into a row at column x.
inline void StorePixel(uint8_t* line, int x, PLPixel32 value)
{
    memcpy(line + static_cast<size_t>(x) * 4, &value, 4);
}

inline PLPixel32 GreyPixel(int level)
{
    uint8_t v = static_cast<uint8_t>(level);
    return PLMakePixel(v, v, v, 255);
}
