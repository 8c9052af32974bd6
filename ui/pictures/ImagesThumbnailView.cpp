#include "ui/pictures/ImagesThumbnailView.h"

#include "core/ImageRecord.h"
#include "core/TaskOptions.h"
#include "resources/command_ids.h"
#include "resources/monitor_ids.h"
#include "resources/pictures_ids.h"
#include "resources/thumbnails_ids.h"
#include "core/LocalText.h"
#include "ui/pictures/ImagesContainer.h"
#include "ui/pictures/ImagesListView.h"
#include "framework/AppModule.h"

namespace {
const size_t kMaxItemText = 1023;

RECT BitmapRect(HBITMAP bitmap, RECT fallback) {
    BITMAP info = {};
    if (bitmap && ::GetObjectA(bitmap, sizeof(info), &info)) return RECT{0, 0, info.bmWidth, info.bmHeight};
    return fallback;
}
}  // namespace

std::string ThumbnailTipText(int32_t bytes, int width, int height) {
    std::string tip = LocalText(IDS_TIP_SIZE) + std::to_string(PictureKilobytes(bytes)) + LocalText(IDS_KB_SUFFIX) +
                      LocalText(IDS_TIP_DIMENSIONS) + std::to_string(width) + " x " + std::to_string(height);
    if (tip.size() > kMaxItemText) tip.resize(kMaxItemText);
    return tip;
}

ImagesThumbnailView::ImagesThumbnailView() {
    cache_.SetEvictionHandler([this](HBITMAP page) {
        if (control_.m_hWnd) control_.ReturnItemsDrawnFrom(page);
    });
}

ImagesThumbnailView::~ImagesThumbnailView() {
    if (control_.m_hWnd) control_.DestroyWindow();
    cache_.Clear();
}

LRESULT ImagesThumbnailView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    control_.Create(m_hWnd, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
    control_.SetListener(this);
    HINSTANCE module = g_Module.GetModuleInstance();
    waiting_.Reset(
        static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(IDB_THUMBNAIL_WAITING), IMAGE_BITMAP, 0, 0, 0)));
    failed_.Reset(
        static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(IDB_THUMBNAIL_FAILED), IMAGE_BITMAP, 0, 0, 0)));
    waitingRect_ = BitmapRect(waiting_.Get(), waitingRect_);
    failedRect_ = BitmapRect(failed_.Get(), failedRect_);
    return 1;
}

LRESULT ImagesThumbnailView::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (control_.m_hWnd) ::MoveWindow(control_.m_hWnd, 0, 0, client.right, client.bottom, TRUE);
    return 0;
}

const ImageRecord* ImagesThumbnailView::RecordAt(int index) const {
    TaskOptions* task = container_ ? container_->GetTask() : nullptr;
    if (!task || index < 0 || index >= task->DownloadedImages.GetCount()) return nullptr;
    return &task->DownloadedImages.GetAt(index);
}

ThumbnailItemData ImagesThumbnailView::Describe(const ImageRecord& record) const {
    ThumbnailItemData data;
    data.pending = true;
    data.ownsBitmap = false;
    data.bitmap = waiting_.Get();
    data.source = waitingRect_;
    data.path = record.localPath.substr(0, kMaxItemText);
    data.caption = record.fileName.substr(0, kMaxItemText);
    return data;
}

void ImagesThumbnailView::LoadTask() {
    TaskOptions* task = container_ ? container_->GetTask() : nullptr;
    if (!task) {
        control_.SetItems({}, true);
        cache_.Clear();
        UpdateCommandStates();
        return;
    }
    // The items are descriptions in memory; their captions are measured and their pictures
    // fetched only as they come into sight.
    std::vector<ThumbnailItemData> items;
    const int count = task->DownloadedImages.GetCount();
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) items.push_back(Describe(task->DownloadedImages.GetAt(i)));
    control_.SetItems(items, loadingStarted_);
    UpdateCommandStates();
}

void ImagesThumbnailView::AddItems(int first, int count) {
    std::vector<ThumbnailItemData> items;
    for (int i = first; i < first + count; ++i)
        if (const ImageRecord* record = RecordAt(i)) items.push_back(Describe(*record));
    control_.AddItems(items, loadingStarted_);
    UpdateCommandStates();
}

void ImagesThumbnailView::Clear() {
    control_.SetItems({}, loadingStarted_);
    UpdateCommandStates();
}

void ImagesThumbnailView::RemoveItem(int index) { control_.RemoveItem(index); }

void ImagesThumbnailView::RemoveIndices(const PictureIndexList& indices) {
    if (indices.empty()) return;
    // No step per picture: each is a repaint of the bar, and the cut takes milliseconds.
    control_.RemoveItems(indices);
    UpdateCommandStates();
}

void ImagesThumbnailView::Show(bool show) {
    visible_ = show;
    if (show) {
        if (!loadingStarted_) control_.StartLoading();
        loadingStarted_ = true;
        if (container_) {
            // The list's states come over as one selection change and one focus move.
            ImagesListView& list = container_->ListView();
            PictureIndexList selected;
            list.GetSelected(selected);
            control_.SetSelection(selected);
            const int focused = list.GetFocusedIndex();
            if (focused >= 0 && focused < control_.GetItemCount())
                control_.SetItemState(focused, kThumbnailFocused | (control_.GetItemState(focused) & kThumbnailSelected));
        }
        UpdateCommandStates();
        ::SetFocus(control_.m_hWnd);
    } else {
        loadingStarted_ = false;
    }
    ShowWindow(show ? SW_SHOWNORMAL : SW_HIDE);
}

void ImagesThumbnailView::UpdateCommandStates() {
    if (!container_ || !visible_) return;
    const bool items = control_.GetItemCount() > 0;
    const bool selected = control_.GetSelectedCount() > 0;
    const bool focused = GetFocusedIndex() >= 0;
    container_->EnablePictureCommands(items, selected, focused);
}

void ImagesThumbnailView::SelectIndices(const PictureIndexList& indices) {
    control_.SetSelection(indices);
    UpdateCommandStates();
}

void ImagesThumbnailView::InvertSelection() {
    control_.InvertSelection();
    UpdateCommandStates();
}

void ImagesThumbnailView::GetSelected(PictureIndexList& indices) const { control_.GetSelection(indices); }

void ImagesThumbnailView::MoveFocus(int index) {
    control_.SetItemState(index, kThumbnailFocused | (control_.GetItemState(index) & kThumbnailSelected));
    control_.EnsureVisible(index);
}

void ImagesThumbnailView::FocusLastItem() {
    const int count = control_.GetItemCount();
    if (count > 0) MoveFocus(count - 1);
}

void ImagesThumbnailView::ApplyStates(const PictureIndexList& selected, int focused) {
    control_.SetSelection(selected);
    if (focused >= 0 && focused < control_.GetItemCount()) MoveFocus(focused);
    // Only the view the user sees speaks for the viewer.
    if (visible_ && container_) {
        const ImageRecord* record = RecordAt(GetFocusedIndex());
        container_->Viewer().SetFile(record ? record->localPath : "");
    }
    UpdateCommandStates();
}

void ImagesThumbnailView::FullScreen() {
    if (GetFocusedIndex() >= 0 && container_) container_->Viewer().ToggleFullScreen();
}

void ImagesThumbnailView::ShowPrevious() {
    const int focused = GetFocusedIndex();
    const int count = control_.GetItemCount();
    if (focused < 0 || count == 0) return;
    MoveFocus(focused == 0 ? count - 1 : focused - 1);
}

void ImagesThumbnailView::ShowNext() {
    const int focused = GetFocusedIndex();
    const int count = control_.GetItemCount();
    if (focused < 0 || count == 0) return;
    MoveFocus(focused + 1 >= count ? 0 : focused + 1);
}

void ImagesThumbnailView::DeleteCurrent() {
    int focused = GetFocusedIndex();
    if (focused < 0 || !container_) return;
    container_->DeleteFocused();
    const int count = control_.GetItemCount();
    if (count == 0) return;
    if (focused >= count) focused = count - 1;
    MoveFocus(focused);
    if (const ImageRecord* record = RecordAt(focused)) container_->Viewer().SetFile(record->localPath);
}

int ImagesThumbnailView::ToggleFullScreen() {
    if (GetFocusedIndex() < 0 || !container_) return -1;
    return container_->Viewer().ToggleFullScreen();
}

void ImagesThumbnailView::SelectShown() {
    const int focused = GetFocusedIndex();
    if (focused < 0) return;
    control_.SetSelection(PictureIndexList{focused});
    control_.EnsureVisible(focused);
    UpdateCommandStates();
    ::SetFocus(control_.m_hWnd);
}

void ImagesThumbnailView::OnContextMenu(int, bool down, UINT, POINT) {
    if (!down && container_) container_->ShowPictureMenu();
}

void ImagesThumbnailView::OnItemDoubleClick(int index, UINT, POINT) {
    if (GetFocusedIndex() >= 0 && index != -1 && container_) container_->Viewer().ToggleFullScreen();
}

void ImagesThumbnailView::GetItemTip(int index, const ThumbnailSizes&, ThumbnailItemData& data) {
    RECT cell;
    SIZE size;
    HBITMAP page = nullptr;
    // Looked up before the call: as one of its arguments the page could be read before the
    // lookup fills it in (the order of arguments is the compiler's).
    const bool shown = cache_.GetThumbnail(data.path, &cell, &size, &page);
    ShowThumbnail(index, shown, cell, size, page, data);
}

bool ImagesThumbnailView::NeedsDecode(int, const ThumbnailItemData& data) {
    // A cache hit is answered at once; anything else is decoded on the control's thread.
    return !data.path.empty() && !cache_.Contains(data.path);
}

void ImagesThumbnailView::TakeDecodedPicture(int index, const ThumbnailSizes&, HBITMAP bitmap, int width, int height,
                                             ThumbnailItemData& data) {
    RECT cell;
    SIZE size;
    HBITMAP page = nullptr;
    const bool shown = bitmap && cache_.AddThumbnail(data.path, bitmap, width, height, &cell, &size, &page);
    ShowThumbnail(index, shown, cell, size, page, data);
}

void ImagesThumbnailView::ShowThumbnail(int index, bool shown, const RECT& cell, const SIZE& size, HBITMAP page,
                                        ThumbnailItemData& data) {
    if (shown) {
        data.bitmap = page;
        data.source = cell;
        data.pending = false;
        const ImageRecord* record = RecordAt(index);
        data.tip = ThumbnailTipText(record ? record->fileSize : 0, size.cx, size.cy);
    } else {
        data.bitmap = failed_.Get();
        data.source = failedRect_;
        data.pending = false;
    }
}

void ImagesThumbnailView::OnSelectionChanged() { UpdateCommandStates(); }

void ImagesThumbnailView::OnItemStateChanged(int index, UINT oldState, UINT newState) {
    if (!(oldState & kThumbnailFocused) && (newState & kThumbnailFocused) && container_) {
        if (const ImageRecord* record = RecordAt(index)) container_->Viewer().SetFile(record->localPath);
    }
    UpdateCommandStates();
}

// Items come and go in batches that step no progress bar: each step is a repaint of the bar.
void ImagesThumbnailView::OnItemAdded(int) {}

void ImagesThumbnailView::OnItemRemoved(int) {}
