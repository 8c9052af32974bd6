#pragma once
// What the viewer's windows draw of a decoded picture, made on the decode thread so that the
// window's share of showing it is a paint: the picture's own DIB section and, for a picture
// larger than the screen, a copy reduced to the screen's size, drawn from whenever the view is
// no larger than it (a fitted 40-megapixel picture is then stretched from a few megapixels).
// Both places share the sections: showing the picture in either copies nothing.
#include <windows.h>
#include <memory>

class CMyBitmap;

// A bitmap owned by whoever holds it last; DeleteObject frees it.
typedef std::shared_ptr<HBITMAP__> SharedBitmap;
SharedBitmap OwnBitmap(HBITMAP bitmap);

struct ShownPicture {
    SharedBitmap full;     // the picture at its own size
    SharedBitmap reduced;  // fitted into the screen; null when the picture fits as it is
    bool Empty() const { return !full; }
};

// Takes the picture's DIB section over (the picture keeps its pixels) and makes the reduced copy
// when the picture is larger than screen width x height.
ShownPicture MakeShownPicture(CMyBitmap& picture, int screenWidth, int screenHeight);
