#pragma once
// Metafile data is checked and rebuilt before GDI sees it: GDI trusts object indices, point
// counts and bitmap offsets inside records, so a hostile file could make it read or write
// outside its tables. Only records whose every count and offset lies inside the record (and
// every object index inside the file's object table) are kept; unknown records are dropped.
#include <cstddef>
#include <cstdint>
#include <vector>
#include "imaging/ByteOrder.h"

const uint32_t kPlaceableWmfKey = 0x9AC6CDD7;
const size_t kPlaceableWmfHeaderSize = 22;

uint16_t MetafileLE16(const uint8_t* p);
int32_t MetafileSignedLE32(const uint8_t* p);
void MetafilePutLE32(uint8_t* p, uint32_t v);

// A packed BITMAPINFO of `infoBytes` bytes whose pixels are `bitsBytes` bytes: true when the
// header, colour table (2-byte palette indices or 4-byte colours) and every row fit. Only
// uncompressed and bit-field bitmaps pass.
bool MetafileBitmapFits(const uint8_t* info, uint64_t infoBytes, uint64_t bitsBytes, bool paletteIndices);

// An enhanced metafile: a header record carrying the " EMF" signature first.
bool HasEmfSignature(const uint8_t* data, size_t size);
// A placeable WMF header or a plain WMF header (type 1 or 2, 9 words, version 1 or 3).
bool HasWmfSignature(const uint8_t* data, size_t size);

// Rebuild of an EMF (header first, end record last) from its safe records into out. False
// when the header or the record chain itself is broken.
bool SanitizeEmf(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
// The same for WMF data (without a placeable header).
bool SanitizeWmf(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
