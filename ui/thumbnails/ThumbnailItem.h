#pragma once
// One thumbnail of a CThumbnailView: its copy of the owner's description, where its cell lies,
// its captions (one line with "..." and wrapped for the focused item), and its loading state.
#include <windows.h>
#include <string>
#include <vector>
#include "framework/GdiHolders.h"
#include "ui/thumbnails/ThumbnailItemData.h"
#include "ui/thumbnails/ThumbnailLayout.h"

class CThumbnailView;

class CThumbnailItem {
public:
    CThumbnailItem(CThumbnailView* owner, const ThumbnailItemData& data);
    virtual ~CThumbnailItem() = default;
    CThumbnailItem(const CThumbnailItem&) = delete;
    CThumbnailItem& operator=(const CThumbnailItem&) = delete;

    const ThumbnailItemData& Data() const { return data_; }
    // Takes the filled description (deleting a bitmap it owned and no longer draws).
    void TakeData(const ThumbnailItemData& data);
    // Back to the placeholder it was created with, to be asked for again.
    void ReturnToPlaceholder();

    // Captions measured with the font selected into dc. Until then the caption areas are empty.
    void BuildCaptions(HDC dc, const ThumbnailLook& look, int lineHeight);
    bool Measured() const { return measured_; }

    // Areas in content coordinates.
    RECT FrameArea(const ThumbnailLook& look, int lineHeight) const;
    RECT CaptionArea(bool wrapped, int lineHeight) const;

    // Empty until the layout places the item: a new item has no old place to redraw.
    RECT cell = {0, 0, 0, 0};
    bool selected = false;
    bool pending = true;
    // Put back after its cache page went: fetched again only when it shows.
    bool onlyWhenVisible = false;

    const std::string& OneLineCaption() const { return oneLine_; }
    const std::vector<std::string>& WrappedLines() const { return wrapped_; }
    SIZE WrappedSize() const { return wrappedSize_; }

private:
    CThumbnailView* owner_;
    ThumbnailItemData data_;
    GdiObject<HBITMAP> owned_;  // data_.bitmap while data_.ownsBitmap says it is the item's
    HBITMAP placeholder_;
    RECT placeholderSource_;
    std::string oneLine_;
    SIZE oneLineSize_ = {0, 0};
    std::vector<std::string> wrapped_;
    SIZE wrappedSize_ = {0, 0};
    bool measured_ = false;
};
