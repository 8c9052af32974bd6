#include "ui/thumbnails/ThumbnailDecodeJob.h"

#include "framework/MillisecondClock.h"
#include "ui/thumbnails/ThumbnailPictureLoader.h"

ThumbnailDecodeJob::~ThumbnailDecodeJob() {
    for (Picture& picture : pictures)
        if (picture.bitmap) ::DeleteObject(picture.bitmap);
}

void ThumbnailDecodeJob::Add(const std::string& path, const CThumbnailItem* item) {
    Picture picture;
    picture.path = path;
    picture.item = item;
    pictures.push_back(picture);
}

bool ThumbnailDecodeJob::Holds(const CThumbnailItem* item) const {
    for (const Picture& picture : pictures)
        if (picture.item == item) return true;
    return false;
}

void ThumbnailDecodeJob::Run() {
    const double start = MillisecondsNow();
    for (Picture& picture : pictures) {
        if (&picture != &pictures.front() && MillisecondsNow() - start >= kTimeBudgetMs) break;
        picture.loaded = LoadThumbnailPicture(picture.path.c_str(), boxWidth_, boxHeight_, &picture.width,
                                              &picture.height, &picture.bitmap);
        picture.decoded = true;
    }
}

HBITMAP ThumbnailDecodeJob::TakeBitmap(size_t i) {
    if (i >= pictures.size()) return nullptr;
    HBITMAP bitmap = pictures[i].bitmap;
    pictures[i].bitmap = nullptr;
    return bitmap;
}
