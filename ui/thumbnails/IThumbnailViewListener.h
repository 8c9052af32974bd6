#pragma once
// What a thumbnail control tells its owner, and how it asks for pictures. The control calls
// these on the listener it was given (CThumbnailView::SetListener).
#include <windows.h>
#include "framework/GdiHolders.h"

struct ThumbnailItemData;

// Item state bits as the control reports them.
enum : UINT {
    kThumbnailFocused = 1,
    kThumbnailSelected = 2,
};

// The look fields a listener needs to make pictures that fit the thumbnails.
struct ThumbnailSizes {
    int thumbnailWidth;
    int thumbnailHeight;
};

class IThumbnailViewListener {
public:
    // After each key press (down true) and release while the control has items; index is the
    // focused item, or 0 when none is.
    virtual void OnKey(int index, bool down, UINT virtualKey, LPARAM keyData) = 0;
    // Right button pressed (down true) and released; index is the item under point or -1.
    virtual void OnContextMenu(int index, bool down, UINT keyFlags, POINT point) = 0;
    // Left button pressed and released; also when the control loses the focus (the item at
    // (0, 0), zero flags).
    virtual void OnLeftButton(int index, bool down, UINT keyFlags, POINT point) = 0;
    // Left double-click; index may be -1.
    virtual void OnItemDoubleClick(int index, UINT keyFlags, POINT point) = 0;
    // The item's picture is wanted: fill data's bitmap, source rectangle, tip and pending flag.
    virtual void GetItemTip(int index, const ThumbnailSizes& sizes, ThumbnailItemData& data) = 0;
    // Asked before GetItemTip: true when the picture of data.path must be decoded first, which
    // the control then does on its own thread and hands to TakeDecodedPicture instead. The
    // default answers at once through GetItemTip.
    virtual bool NeedsDecode(int index, const ThumbnailItemData& data) {
        (void)index;
        (void)data;
        return false;
    }
    // A decode asked for by NeedsDecode ended: bitmap (the listener's from now; null when the
    // picture could not be loaded) and the picture's own size. Fill data as GetItemTip does.
    virtual void TakeDecodedPicture(int index, const ThumbnailSizes& sizes, HBITMAP bitmap, int width, int height,
                                    ThumbnailItemData& data) {
        (void)width;
        (void)height;
        const GdiObject<HBITMAP> unused(bitmap);
        GetItemTip(index, sizes, data);
    }
    // The item's selected flag or focus changed (state bits above).
    virtual void OnItemStateChanged(int index, UINT oldState, UINT newState) = 0;
    // The selection of many items changed in one go (select all, deselect all, a range, or the
    // owner's SetSelection): told once, not per item.
    virtual void OnSelectionChanged() {}
    // After each item is created, and for each item taken out (its index before the removal).
    virtual void OnItemAdded(int index) = 0;
    virtual void OnItemRemoved(int index) = 0;

protected:
    ~IThumbnailViewListener() = default;
};
