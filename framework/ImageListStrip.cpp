#include "framework/ImageListStrip.h"
#include "framework/AppModule.h"

HIMAGELIST LoadImageListStrip(unsigned bitmapId, int size, int count) {
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, count, 4);
    HBITMAP strip = static_cast<HBITMAP>(::LoadImageA(g_Module.GetResourceInstance(), MAKEINTRESOURCEA(bitmapId),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (images && strip) ImageList_AddMasked(images, strip, RGB(255, 255, 255));
    if (strip) ::DeleteObject(strip);
    return images;
}
