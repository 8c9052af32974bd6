#pragma once
// Thumbnails' pictures decoded and reduced on the thumbnail control's thread, several per job:
// each job costs the window a message, a redraw and a timer, which under Wine each wait their
// turn at the server, so a screenful comes in a few jobs rather than one per picture.
#include <windows.h>
#include <string>
#include <vector>
#include "framework/GdiHolders.h"
#include "framework/OneJobThread.h"

class CThumbnailItem;

class ThumbnailDecodeJob : public BackgroundJob {
public:
    struct Picture {
        std::string path;
        const CThumbnailItem* item;  // only compared, never followed: the item may be gone
        bool decoded = false;        // false: the job's time ran out first, it waits for the next
        bool loaded = false;
        int width = 0;  // the picture's own size once loaded
        int height = 0;
        GdiObject<HBITMAP> bitmap;
    };

    ThumbnailDecodeJob(int boxWidth, int boxHeight) : boxWidth_(boxWidth), boxHeight_(boxHeight) {}
    void Add(const std::string& path, const CThumbnailItem* item);
    bool Holds(const CThumbnailItem* item) const;
    // Decodes in order and stops after the first picture once kTimeBudgetMs have passed, so the
    // first of a screenful shows soon.
    void Run() override;
    // The bitmap of picture i, now the caller's (empty when the load failed).
    GdiObject<HBITMAP> TakeBitmap(size_t i);

    static constexpr size_t kMostPictures = 16;
    static constexpr double kTimeBudgetMs = 30.0;
    std::vector<Picture> pictures;

private:
    int boxWidth_;
    int boxHeight_;
};
