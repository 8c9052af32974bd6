#pragma once
// The thumbnail form of the picture container: one thumbnail with its file name per record of
// the current task, in stored order. Pictures come through its own thumbnail cache; the viewer
// is the list view's.
#include <windows.h>
#include <string>
#include "framework/GdiHolders.h"
#include "framework/MessageMap.h"
#include "framework/SplitterWindow.h"
#include "framework/WindowImpl.h"
#include "ui/PictureIndexList.h"
#include "ui/pictures/IPictureRows.h"
#include "ui/thumbnails/IThumbnailViewListener.h"
#include "ui/thumbnails/MyThumbnailChache.h"
#include "ui/thumbnails/ThumbnailView.h"
#include "ui/viewer/IImageViewerListener.h"

class ImagesContainer;
struct ImageRecord;

// "Size - k KB\r\nDimensions - w x h" with the localized parts, cut to 1023 characters.
std::string ThumbnailTipText(int32_t bytes, int width, int height);

class ImagesThumbnailView : public CWindowImplBase,
                            public IImageViewerListener,
                            public IThumbnailViewListener,
                            public IPictureRows {
public:
    DECLARE_WND_CLASS("Brackenfly_ImagesThumbnailView")

    ImagesThumbnailView();
    ~ImagesThumbnailView() override;
    void SetContainer(ImagesContainer* container) { container_ = container; }

    void Show(bool show);
    bool IsShown() const { return visible_; }
    void LoadTask() override;
    void AddItem(int index) { AddItems(index, 1); }
    // Records first .. first+count-1 join the control in one go.
    void AddItems(int first, int count);
    void Clear();
    void RemoveItem(int index);
    void RemoveIndices(const PictureIndexList& indices);
    void SelectIndices(const PictureIndexList& indices);
    void InvertSelection();
    void GetSelected(PictureIndexList& indices) const override;
    int GetFocusedIndex() const override { return control_.m_hWnd ? control_.GetFocusedIndex() : -1; }
    void FocusLastItem();
    void ApplyStates(const PictureIndexList& selected, int focused) override;
    void FullScreen();
    void UpdateCommandStates();

    CThumbnailView& Control() { return control_; }
    CMyThumbnailChache& Cache() { return cache_; }

    // IImageViewerListener
    void ShowPrevious() override;
    void ShowNext() override;
    void DeleteCurrent() override;
    int ToggleFullScreen() override;
    void SelectShown() override;

    // IThumbnailViewListener
    void OnKey(int, bool, UINT, LPARAM) override {}
    void OnContextMenu(int index, bool down, UINT keyFlags, POINT point) override;
    void OnLeftButton(int, bool, UINT, POINT) override {}
    void OnItemDoubleClick(int index, UINT keyFlags, POINT point) override;
    void GetItemTip(int index, const ThumbnailSizes& sizes, ThumbnailItemData& data) override;
    bool NeedsDecode(int index, const ThumbnailItemData& data) override;
    void TakeDecodedPicture(int index, const ThumbnailSizes& sizes, HBITMAP bitmap, int width, int height,
                            ThumbnailItemData& data) override;
    void OnItemStateChanged(int index, UINT oldState, UINT newState) override;
    void OnSelectionChanged() override;
    void OnItemAdded(int index) override;
    void OnItemRemoved(int index) override;

    BEGIN_MSG_MAP(ImagesThumbnailView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SPLITTER_LAYOUT, OnSize)
    END_MSG_MAP()

private:
    // Fills data with the cached thumbnail (shown) or the failed picture.
    void ShowThumbnail(int index, bool shown, const RECT& cell, const SIZE& size, HBITMAP page, ThumbnailItemData& data);
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    ThumbnailItemData Describe(const ImageRecord& record) const;
    const ImageRecord* RecordAt(int index) const;
    void MoveFocus(int index);

    ImagesContainer* container_ = nullptr;
    CMyThumbnailChache cache_{80, 100};
    GdiObject<HBITMAP> waiting_;
    RECT waitingRect_ = {0, 0, 17, 24};
    GdiObject<HBITMAP> failed_;
    RECT failedRect_ = {0, 0, 14, 16};
    CThumbnailView control_;
    bool visible_ = false;
    bool loadingStarted_ = false;
};
