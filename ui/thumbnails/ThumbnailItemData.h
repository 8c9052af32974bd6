#pragma once
// What the owner of a thumbnail control says about one thumbnail. The control keeps a copy per
// item and hands a copy back to the owner to be filled when the picture is wanted.
#include <windows.h>
#include <string>

struct ThumbnailItemData {
    // True while the picture has not been asked for.
    bool pending = true;
    // True when the item must delete the bitmap when it lets go of it.
    bool ownsBitmap = false;
    // What to draw: the bitmap and the rectangle within it.
    HBITMAP bitmap = nullptr;
    RECT source = {0, 0, 0, 0};
    // The owner's key for the picture (a file path for the picture views).
    std::string path;
    // Text under the thumbnail and text of its tool tip.
    std::string caption;
    std::string tip;
};
