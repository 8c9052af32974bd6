#pragma once
// An image list cut from a bitmap strip of the module: count square images of size pixels side
// by side, white (0xFFFFFF) being transparent.
#include <windows.h>
#include <commctrl.h>

// The caller destroys the list (ImageList_Destroy). Null when it could not be made; a missing
// bitmap gives an empty list.
HIMAGELIST LoadImageListStrip(unsigned bitmapId, int size, int count);
