#include "ui/monitor/ImageStrip.h"

#include "framework/ImageListStrip.h"

HIMAGELIST LoadImageStrip(unsigned bitmapId, int count) { return LoadImageListStrip(bitmapId, 16, count); }
