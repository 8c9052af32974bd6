#pragma once
// One thumbnail's picture decoded and reduced on the thumbnail control's thread.
#include <windows.h>
#include <string>
#include "framework/OneJobThread.h"

class CThumbnailItem;

class ThumbnailDecodeJob : public BackgroundJob {
public:
    ThumbnailDecodeJob(const std::string& file, int boxWidth, int boxHeight, const CThumbnailItem* forItem)
        : path(file), width(boxWidth), height(boxHeight), item(forItem) {}
    ~ThumbnailDecodeJob() override;
    void Run() override;
    // The bitmap, which the caller then owns (null when the load failed).
    HBITMAP TakeBitmap();

    const std::string path;
    int width;   // the box before Run, the picture's own size after
    int height;
    const CThumbnailItem* item;  // only compared, never followed: the item may be gone
    bool loaded = false;

private:
    HBITMAP bitmap_ = nullptr;
};
