#pragma once
// Limits on picture sizes taken from file headers.
#include <cstdint>

// Largest pixel block we allocate for one bitmap: what a 32-bit process can hold next to a
// drawing copy of it (64 megapixels at 32 bits per pixel).
const uint64_t kMaxPictureBytes = 256u * 1024u * 1024u;

// Raises CTextException(10) unless width and height are at least 1 and a bitmap of that size
// at the given bits per pixel (1, 8 or 32) stays below kMaxPictureBytes.
void ValidatePictureSize(int64_t width, int64_t height, int bpp);

// Bytes of one unpadded row at bpp bits per pixel (1, 8, 32), computed in 64 bits.
uint64_t PictureRowBytes(int64_t width, int bpp);
