#include "framework/ImageListStrip.h"
#include "framework/AppModule.h"
#include "framework/GdiHolders.h"

ImageList LoadImageListStrip(unsigned bitmapId, int width, int height, COLORREF transparent, int grow) {
    GdiObject<HBITMAP> strip(static_cast<HBITMAP>(::LoadImageA(
        g_Module.GetModuleInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info = {};
    if (strip) ::GetObjectA(strip.Get(), sizeof(info), &info);
    const int count = width > 0 ? info.bmWidth / width : 0;
    ImageList images(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, count, grow));
    if (images && strip) ::ImageList_AddMasked(images.Get(), strip.Get(), transparent);
    return images;
}
