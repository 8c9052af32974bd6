#pragma once
// The one way the program turns a bitmap strip of its resources into a masked image list.
#include <windows.h>
#include <commctrl.h>
#include "framework/ImageList.h"

const COLORREF kWhiteTransparent = RGB(255, 255, 255);

// Images of width x height side by side in bitmap `bitmapId`; pixels of `transparent` colour are
// masked out. Empty when no list could be made; a missing bitmap gives a list without images.
ImageList LoadImageListStrip(unsigned bitmapId, int width, int height, COLORREF transparent = kWhiteTransparent,
                             int grow = 4);
