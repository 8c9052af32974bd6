#include "ui/thumbnails/ThumbnailDecodeJob.h"

#include "ui/thumbnails/ThumbnailPictureLoader.h"

ThumbnailDecodeJob::~ThumbnailDecodeJob() {
    if (bitmap_) ::DeleteObject(bitmap_);
}

void ThumbnailDecodeJob::Run() {
    int fullWidth = 0, fullHeight = 0;
    loaded = LoadThumbnailPicture(path.c_str(), width, height, &fullWidth, &fullHeight, &bitmap_);
    width = fullWidth;
    height = fullHeight;
}

HBITMAP ThumbnailDecodeJob::TakeBitmap() {
    HBITMAP bitmap = bitmap_;
    bitmap_ = nullptr;
    return bitmap;
}
