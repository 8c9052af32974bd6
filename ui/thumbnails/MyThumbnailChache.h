#pragma once
// The picture views' thumbnail cache: keys are file paths, pictures come from the image
// library at reduced size, and an entry counts only while its file's size and write time are
// what they were when the thumbnail was made.
#include "ui/thumbnails/ThumbnailChache.h"

class CMyThumbnailChache : public CThumbnailChache {
public:
    CMyThumbnailChache(int cellWidth = 80, int cellHeight = 100) : CThumbnailChache(cellWidth, cellHeight) {}

protected:
    bool LoadPicture(const char* path, int* width, int* height, HBITMAP* bitmap) override;
    bool ReadKeyStamp(const char* path, ThumbnailKeyStamp* stamp) override;
};
