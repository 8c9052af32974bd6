#include "ui/pictures/ImagesContainer.h"

#include "core/ImageRecord.h"
#include "core/ProgramSettings.h"
#include "core/TaskOptions.h"
#include "core/TranslatedMenu.h"
#include "resources/command_ids.h"
#include "resources/frame_ids.h"
#include "resources/pictures_ids.h"
#include "ui/frame/IFrameHost.h"
#include "core/LocalText.h"

namespace {
const DWORD kViewStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

ImagesContainer::ImagesContainer() {
    listView_.SetContainer(this);
    thumbnailView_.SetContainer(this);
}

ImagesContainer::~ImagesContainer() {
    if (thumbnailView_.m_hWnd) thumbnailView_.DestroyWindow();
    if (listView_.m_hWnd) listView_.DestroyWindow();
}

ProgramSettings* ImagesContainer::Settings() const { return frame_ ? frame_->GetSettings() : nullptr; }

void ImagesContainer::AttachFrame(IFrameHost* frame) {
    frame_ = frame;
    Viewer().AttachFrame(frame);
}

HWND ImagesContainer::CreatePane(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

LRESULT ImagesContainer::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    ProgramSettings* settings = Settings();
    SetCommandCheck(ID_IMAGES_SHOW_LAST, settings && settings->ShowLastImage);
    if (!listView_.Create(m_hWnd, nullptr, "", kViewStyle | WS_VISIBLE)) return -1;
    if (!thumbnailView_.Create(m_hWnd, nullptr, "", kViewStyle)) return -1;
    listView_.Show(true);
    selector_.SetTarget(m_hWnd, kPicturesMeasuredMessage);
    return 0;
}

LRESULT ImagesContainer::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    // A measuring still running ends on its own; its result is dropped.
    selector_.Close();
    return 0;
}

LRESULT ImagesContainer::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    FitViews();
    return 0;
}

void ImagesContainer::FitViews() {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (listView_.IsShown()) ::MoveWindow(listView_.m_hWnd, 0, 0, client.right, client.bottom, TRUE);
    if (thumbnailView_.IsShown()) ::MoveWindow(thumbnailView_.m_hWnd, 0, 0, client.right, client.bottom, TRUE);
}

void ImagesContainer::SetTask(TaskOptions* task) {
    // A Select By still measuring belongs to the task shown before.
    ++selectionGeneration_;
    if (selectionProgress_) EndProgress();
    selectionProgress_ = false;
    task_ = task;
    listView_.LoadTask();
    thumbnailView_.LoadTask();
    thumbnailView_.Cache().Clear();
}

void ImagesContainer::OnImagesAdded(TaskOptions* task, int first, int count, bool show) {
    if (!task || task != task_) return;
    // One count change for the batch: the list's cost per change does not depend on its size.
    if (count > 0) listView_.AppendRows(count);
    if (count > 0) thumbnailView_.AddItems(first, count);
    ProgramSettings* settings = Settings();
    if (show && settings && settings->ShowLastImage) {
        if (listView_.IsShown()) listView_.FocusLastRow();
        if (thumbnailView_.IsShown()) thumbnailView_.FocusLastItem();
    }
}

void ImagesContainer::OnImageRemoved(TaskOptions* task, int index) {
    if (!task || task != task_) return;
    listView_.RemoveRow(index);
    thumbnailView_.RemoveItem(index);
}

void ImagesContainer::OnImagesCleared(TaskOptions* task) {
    if (!task || task != task_) return;
    listView_.Clear();
    thumbnailView_.Clear();
}

bool ImagesContainer::HandleCommand(WORD id, WORD, HWND) {
    if (Viewer().HandleCommand(id)) return true;
    switch (id) {
    case ID_IMAGE_INFORMATION: ShowImageInformation(); return true;
    case ID_IMAGES_SORT_NAME: SortImages(0); return true;
    case ID_IMAGES_SORT_SIZE: SortImages(1); return true;
    case ID_IMAGES_INVERT_SELECTION: InvertSelection(); return true;
    case ID_VIEW_LIST: ShowListView(); return true;
    case ID_VIEW_THUMBNAILS: ShowThumbnailView(); return true;
    case ID_IMAGES_SELECT_BY: SelectByCondition(); return true;
    case ID_IMAGES_COPY_TO: CopySelectedTo(); return true;
    case ID_IMAGES_DELETE: DeleteSelected(); return true;
    case ID_IMAGES_SLIDE_SHOW: StartSlideShow(); return true;
    case ID_IMAGES_FULLSCREEN: ToggleFullScreen(); return true;
    case ID_IMAGES_SHOW_LAST: ToggleShowLastImage(); return true;
    case ID_VIEW_CHANGE: ToggleView(); return true;
    default: return false;
    }
}

bool ImagesContainer::HandleColorChange(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (thumbnailView_.Control().m_hWnd) ::SendMessageA(thumbnailView_.Control().m_hWnd, msg, wParam, lParam);
    return false;
}

bool ImagesContainer::HasFocus() const {
    const HWND focus = ::GetFocus();
    if (!focus) return false;
    if (listView_.IsShown()) return focus == listView_.GetListControl();
    if (thumbnailView_.IsShown()) return focus == const_cast<ImagesThumbnailView&>(thumbnailView_).Control().m_hWnd;
    return false;
}

void ImagesContainer::FocusShownView() {
    if (listView_.IsShown()) ::SetFocus(listView_.GetListControl());
    else if (thumbnailView_.IsShown()) ::SetFocus(thumbnailView_.Control().m_hWnd);
}

void ImagesContainer::OnEscape() { Viewer().LeaveFullScreen(); }

void ImagesContainer::ShowNext() {
    if (thumbnailView_.IsShown()) thumbnailView_.ShowNext();
    else listView_.ShowNext();
}

void ImagesContainer::ShowPrevious() {
    if (thumbnailView_.IsShown()) thumbnailView_.ShowPrevious();
    else listView_.ShowPrevious();
}

int ImagesContainer::VisibleFocusedIndex() const {
    return thumbnailView_.IsShown() ? thumbnailView_.GetFocusedIndex() : listView_.GetFocusedIndex();
}

void ImagesContainer::VisibleSelection(PictureIndexList& indices) const {
    if (thumbnailView_.IsShown()) thumbnailView_.GetSelected(indices);
    else listView_.GetSelected(indices);
}

void ImagesContainer::ToggleFullScreen() {
    if (VisibleFocusedIndex() >= 0) Viewer().ToggleFullScreen();
}

bool ImagesContainer::IsViewerWindowVisible() const {
    return const_cast<ImagesListView&>(listView_).Viewer().IsFullScreen();
}

void ImagesContainer::StartSlideShow() {
    ProgramSettings* settings = Settings();
    Viewer().StartSlideShow(settings ? settings->SlideShowInterval : 5);
}

void ImagesContainer::ToggleShowLastImage() {
    ProgramSettings* settings = Settings();
    if (!settings) return;
    settings->ShowLastImage = !settings->ShowLastImage;
    SetCommandCheck(ID_IMAGES_SHOW_LAST, settings->ShowLastImage);
}

void ImagesContainer::ShowListView() {
    if (thumbnailView_.IsShown()) {
        listView_.Show(true);
        FitViews();
        thumbnailView_.Show(false);
    }
    SetCommandCheck(ID_VIEW_LIST, true, true);
    SetCommandCheck(ID_VIEW_THUMBNAILS, false);
}

void ImagesContainer::ShowThumbnailView() {
    if (listView_.IsShown()) {
        thumbnailView_.Show(true);
        listView_.Show(false);
        FitViews();
    }
    SetCommandCheck(ID_VIEW_LIST, false, true);
    SetCommandCheck(ID_VIEW_THUMBNAILS, true);
}

void ImagesContainer::ToggleView() {
    if (listView_.IsShown()) ShowThumbnailView();
    else ShowListView();
}

void ImagesContainer::InvertSelection() {
    listView_.InvertSelection();
    thumbnailView_.InvertSelection();
}

void ImagesContainer::BeginProgress(int range, unsigned textId) {
    if (frame_) frame_->BeginProgress(range, LocalText(textId).c_str());
}

void ImagesContainer::StepProgress() {
    if (frame_) frame_->StepProgress();
}

void ImagesContainer::EndProgress() {
    if (frame_) frame_->EndProgress();
}

void ImagesContainer::SetCommandCheck(UINT id, bool check, bool now) {
    if (frame_) frame_->CheckCommand(id, check, now);
}

void ImagesContainer::EnablePictureCommands(bool hasPictures, bool hasSelection, bool hasFocus) {
    EnableFrameCommand(ID_IMAGES_SELECT_BY, hasPictures);
    EnableFrameCommand(ID_IMAGES_INVERT_SELECTION, hasPictures);
    EnableFrameCommand(ID_IMAGES_COPY_TO, hasSelection);
    EnableFrameCommand(ID_IMAGES_DELETE, hasSelection);
    EnableFrameCommand(ID_IMAGES_FULLSCREEN, hasFocus);
    EnableFrameCommand(ID_IMAGES_SLIDE_SHOW, hasFocus);
}

void ImagesContainer::EnableFrameCommand(UINT id, bool enabled) {
    if (frame_) frame_->EnableCommand(id, enabled, false);
}

void ImagesContainer::TrackPopup(HMENU popup, int x, int y) {
    if (frame_) frame_->TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y);
}

void ImagesContainer::ShowPictureMenu() {
    TranslatedMenu menu(IDR_MENU_IMAGES);
    HMENU popup = menu.Popup();
    if (!popup) return;
    ::SetMenuDefaultItem(popup, ID_IMAGES_FULLSCREEN, FALSE);
    POINT cursor;
    ::GetCursorPos(&cursor);
    TrackPopup(popup, cursor.x, cursor.y);
}
