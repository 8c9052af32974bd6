#include "ui/viewer/ShownPicture.h"
#include <algorithm>
#include <cmath>
#include "imaging/DibHelpers.h"
#include "ui/viewer/MyBitmap.h"

SharedBitmap OwnBitmap(HBITMAP bitmap) {
    if (!bitmap) return SharedBitmap();
    return SharedBitmap(bitmap, [](HBITMAP b) { ::DeleteObject(b); });
}

ShownPicture MakeShownPicture(CMyBitmap& picture, int screenWidth, int screenHeight) {
    ShownPicture shown;
    const int width = picture.GetWidth(), height = picture.GetHeight();
    shown.full = OwnBitmap(picture.DetachHandle());
    if (!shown.full || screenWidth <= 0 || screenHeight <= 0 || (width <= screenWidth && height <= screenHeight))
        return shown;
    const double scale = std::min(static_cast<double>(screenWidth) / width, static_cast<double>(screenHeight) / height);
    const int reducedWidth = std::max(1, static_cast<int>(std::ceil(width * scale)));
    const int reducedHeight = std::max(1, static_cast<int>(std::ceil(height * scale)));
    // Without the copy the view is still right, only drawn from the whole picture.
    shown.reduced = OwnBitmap(ScaleBitmapToSize(shown.full.get(), reducedWidth, reducedHeight));
    return shown;
}
