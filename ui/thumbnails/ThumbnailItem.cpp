#include "ui/thumbnails/ThumbnailItem.h"

#include <algorithm>

CThumbnailItem::CThumbnailItem(CThumbnailView* owner, const ThumbnailItemData& data)
    : owner_(owner),
      data_(data),
      owned_(data.ownsBitmap ? data.bitmap : nullptr),
      placeholder_(data.bitmap),
      placeholderSource_(data.source) {
    data_.caption = data_.caption.substr(0, 1023);
    data_.path = data_.path.substr(0, 1023);
    data_.tip = data_.tip.substr(0, 1023);
}

void CThumbnailItem::TakeData(const ThumbnailItemData& data) {
    // The owned bitmap is deleted unless it is drawn on or is the placeholder to come back to.
    if (owned_.Get() == data.bitmap || owned_.Get() == placeholder_) owned_.Release();
    owned_.Reset(data.ownsBitmap ? data.bitmap : nullptr);
    data_ = data;
    data_.caption = data_.caption.substr(0, 1023);
    data_.tip = data_.tip.substr(0, 1023);
}

void CThumbnailItem::ReturnToPlaceholder() {
    // The bitmap drawn from is being dropped by its real owner (a cache page): not ours to delete.
    owned_.Release();
    data_.bitmap = placeholder_;
    data_.source = placeholderSource_;
    data_.ownsBitmap = false;
    data_.pending = true;
    data_.tip.clear();
    pending = true;
}

void CThumbnailItem::BuildCaptions(HDC dc, const ThumbnailLook& look, int lineHeight) {
    auto measure = [dc](const char* text, int length) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(dc, text, length, &size);
        return static_cast<int>(size.cx);
    };
    oneLine_ = FitCaptionWithEllipsis(data_.caption, look.horizontalSpacing + look.thumbnailWidth - 4 + 1, measure);
    oneLineSize_.cx = measure(oneLine_.c_str(), static_cast<int>(oneLine_.size())) + 2;
    oneLineSize_.cy = lineHeight;

    wrapped_ = WrapCaption(data_.caption, look.horizontalSpacing + look.thumbnailWidth - 4, measure);
    int widest = 0;
    for (const std::string& line : wrapped_) widest = std::max(widest, measure(line.c_str(), static_cast<int>(line.size())));
    wrappedSize_.cx = widest + 4;
    wrappedSize_.cy = 2 + static_cast<int>(wrapped_.size()) * (lineHeight - 2);
    measured_ = true;
}

RECT CThumbnailItem::FrameArea(const ThumbnailLook& look, int lineHeight) const {
    RECT area = cell;
    area.bottom -= lineHeight + look.captionGap;
    return area;
}

RECT CThumbnailItem::CaptionArea(bool wrapped, int lineHeight) const {
    const SIZE size = wrapped ? wrappedSize_ : oneLineSize_;
    RECT area;
    const int centre = (cell.left + cell.right) / 2;
    area.left = centre - size.cx / 2;
    area.right = area.left + size.cx;
    area.top = cell.bottom - lineHeight;
    area.bottom = area.top + (wrapped ? size.cy : lineHeight);
    return area;
}
