#pragma once
// A 16 x 16 image list made from a bitmap strip of the program, white being transparent.
#include <windows.h>
#include <commctrl.h>

HIMAGELIST LoadImageStrip(unsigned bitmapId, int count);
