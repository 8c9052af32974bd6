#pragma once
// What one picture may cost in memory, whatever its format: the one rule every decoder applies
// (from the size its header claims, before anything of that size is allocated) and every
// caller relies on.
#include <cstdint>

// A decoded bitmap holds at most this many pixels. They are counted as 32 bits each whatever
// the depth asked for, since the program shows and scales every picture at 32 bits. The views
// keep a few copies of a picture (decoded, on screen, scaled), so this stays well inside what
// a 32-bit process can hold; a larger picture is refused as "too large" (PL_ERRNO_MEMORY).
const uint64_t kMaxPicturePixels = 50u * 1000u * 1000u;
// The same rule in bytes: the largest pixel block allocated for one bitmap (200 MB). Format
// libraries get it as their own memory cap too (JPEG coefficient buffers, TIFF strips).
const uint64_t kMaxPictureBytes = kMaxPicturePixels * 4u;

// The largest picture file read whole into memory to be decoded there (a 50-megapixel
// uncompressed bitmap with room for its headers); a larger file is refused as too large.
const uint64_t kMaxPictureFileBytes = 256u * 1024u * 1024u;

// True when width and height are at least 1 and the picture keeps to kMaxPicturePixels.
bool IsPictureSizeAllowed(int64_t width, int64_t height);

// Raises CTextException(PL_ERRNO_MEMORY) unless IsPictureSizeAllowed(width, height).
// bpp (1, 8 or 32) does not matter: the rule counts pixels.
void ValidatePictureSize(int64_t width, int64_t height, int bpp);

// Bytes of one unpadded row at bpp bits per pixel (1, 8, 32), computed in 64 bits.
uint64_t PictureRowBytes(int64_t width, int bpp);
