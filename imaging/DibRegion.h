#pragma once
// Window regions made from bitmaps.
#include <windows.h>

// The region of every pixel that is not transparent. `key` and `tolerance` are pixel values in
// memory order (blue in the low byte, then green, then red): a pixel whose three bytes each lie
// in key .. key + tolerance (capped at 255) is transparent. Null on failure.
HRGN BitmapToRegion(HBITMAP bitmap, DWORD key, DWORD tolerance);

// The region of a window of newWidth x newHeight whose four corners keep the shape of the
// bitmap's quadrants and whose middle bands are solid.
HRGN SkinRegionFromQuadrants(HBITMAP bitmap, DWORD key, int newWidth, int newHeight, DWORD tolerance);
