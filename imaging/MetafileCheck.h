#pragma once
// Structural checks of metafile data before it is handed to GDI: every record must lie inside
// the data, so a hostile file cannot make the system read past it.
#include <cstddef>
#include <cstdint>

const uint32_t kPlaceableWmfKey = 0x9AC6CDD7;
const size_t kPlaceableWmfHeaderSize = 22;

uint32_t MetafileLE32(const uint8_t* p);
uint16_t MetafileLE16(const uint8_t* p);

// An enhanced metafile: a header record carrying the " EMF" signature first.
bool HasEmfSignature(const uint8_t* data, size_t size);
// A placeable WMF header or a plain WMF header (type 1 or 2, 9 words, version 1 or 3).
bool HasWmfSignature(const uint8_t* data, size_t size);

// True when the records of the data are well formed and end with the end record.
bool IsWellFormedEmf(const uint8_t* data, size_t size);
bool IsWellFormedWmf(const uint8_t* data, size_t size);
