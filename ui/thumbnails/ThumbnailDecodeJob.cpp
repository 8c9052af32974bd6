#include "ui/thumbnails/ThumbnailDecodeJob.h"

#include <utility>
#include "framework/MillisecondClock.h"
#include "ui/thumbnails/ThumbnailPictureLoader.h"

void ThumbnailDecodeJob::Add(const std::string& path, const CThumbnailItem* item) {
    Picture picture;
    picture.path = path;
    picture.item = item;
    pictures.push_back(std::move(picture));
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
        HBITMAP bitmap = nullptr;
        picture.loaded =
            LoadThumbnailPicture(picture.path.c_str(), boxWidth_, boxHeight_, &picture.width, &picture.height, &bitmap);
        picture.bitmap.Reset(bitmap);
        picture.decoded = true;
    }
}

GdiObject<HBITMAP> ThumbnailDecodeJob::TakeBitmap(size_t i) {
    if (i >= pictures.size()) return GdiObject<HBITMAP>();
    return std::move(pictures[i].bitmap);
}
