#pragma once
// Loads a picture file as a small bitmap for a thumbnail, never at full size on a DIB section:
// a JPEG (recognised by its content) is decoded by the JPEG library at the largest DCT
// reduction that still covers the box; other formats are decoded into memory and reduced there.
// The bitmap handed out is a 32-bit DIB section no larger than the picture fitted into the box.
#include <windows.h>
#include <cstdint>
#include "framework/GdiHolders.h"

class CBmp;

// false when path is a folder, is missing or cannot be decoded. fullWidth and fullHeight get
// the picture's own size (from the JPEG header for JPEGs). The caller owns *bitmap.
bool LoadThumbnailPicture(const char* path, int boxWidth, int boxHeight, int* fullWidth, int* fullHeight,
                          HBITMAP* bitmap);

// Averages each block of source pixels into one pixel of a width x height 32-bit DIB section;
// pixels with alpha are laid over white first. Empty when the section cannot be made.
GdiObject<HBITMAP> ReduceToDibSection(const CBmp& source, int width, int height);
