#pragma once
// The upper right pane of the main window: the pictures of one task (the current task) in a
// list view with the picture viewer beside it, or in a thumbnail view; exactly one is shown.
// It carries out the picture commands, hears the download manager's picture notices and gives
// the frame's key filter its picture keys.
//
// The tasks tree reaches it through the frame: IFrameHost::GetImagesContainer()->SetTask(task)
// when its selection changes, SetTask(nullptr) before it deletes the task shown, and
// GetDownloadView()->OnImagesCleared(task) after "Clear Task Folder".
#include <windows.h>
#include <functional>
#include "core/DownloadViews.h"
#include "framework/MessageMap.h"
#include "framework/OneJobThread.h"
#include "framework/WindowImpl.h"
#include "ui/PictureIndexList.h"
#include "ui/frame/IPictureContainer.h"
#include "ui/pictures/ImagesListView.h"
#include "ui/pictures/ImagesThumbnailView.h"

class IFrameHost;
class ProgramSettings;
class TaskOptions;
struct PictureCriteria;

class ImagesContainer : public CWindowImplBase,
                        public IPictureContainer,
                        public IImagesView {
public:
    DECLARE_WND_CLASS("Brackenfly_ImagesContainer")

    ImagesContainer();
    ~ImagesContainer() override;

    // The frame whose progress bar, command bar and update-UI table the views and the viewer use.
    void AttachFrame(IFrameHost* frame) override;
    IFrameHost* Frame() const { return frame_; }
    ProgramSettings* Settings() const;

    // Shows the pictures of `task` (none: empty views).
    void SetTask(TaskOptions* task) override;
    TaskOptions* GetTask() const { return task_; }

    // IImagesView (the download manager's notices)
    void OnImagesAdded(TaskOptions* task, int first, int count, bool show) override;
    void OnImageRemoved(TaskOptions* task, int index) override;
    void OnImagesCleared(TaskOptions* task) override;

    // IPictureContainer
    HWND CreatePane(HWND parent) override;
    HWND GetWindow() const override { return m_hWnd; }
    bool HandleCommand(WORD id, WORD notifyCode, HWND control) override;
    bool HandleColorChange(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HasFocus() const override;
    void FocusShownView() override;
    void DeleteSelected() override;
    void OnEscape() override;
    void ShowNext() override;
    void ShowPrevious() override;
    void ToggleFullScreen() override;
    bool IsListViewShown() const override { return listView_.IsShown(); }
    bool IsViewerWindowVisible() const override;
    IImagesView* GetDownloadView() override { return this; }

    // The commands.
    void SortImages(int kind);
    void InvertSelection();
    void ShowListView();
    void ShowThumbnailView();
    void ToggleView();
    void SelectByCondition();
    void SelectMatching(const PictureCriteria& criteria);
    void CopySelectedTo();
    // Tells the user which pictures Copy To left out because of their stored names.
    void TellCopiesRefused(const std::vector<std::string>& paths);
    void DeleteImages(const PictureIndexList& indices);
    void DeleteFocused();
    void StartSlideShow();
    void ShowImageInformation();
    void ToggleShowLastImage();

    // Long-operation progress and update-UI through the frame (nothing without one).
    void BeginProgress(int range, unsigned textId);
    void StepProgress();
    void EndProgress();
    void SetCommandCheck(UINT id, bool check, bool now = false);
    void EnableFrameCommand(UINT id, bool enabled);
    // The picture commands enabled from what the shown view has.
    void EnablePictureCommands(bool hasPictures, bool hasSelection, bool hasFocus);
    void TrackPopup(HMENU popup, int x, int y);
    // Pops up the picture menu IDR_MENU_IMAGES at the cursor (both views' context menu).
    void ShowPictureMenu();

    ImagesListView& ListView() { return listView_; }
    ImagesThumbnailView& ThumbnailView() { return thumbnailView_; }
    ImageViewer& Viewer() { return listView_.Viewer(); }
    bool IsSizeAscending() const { return sizeAscending_; }
    bool IsNameAscending() const { return nameAscending_; }

    // Posted by the thread that measures pictures for Select By when its result waits.
    enum { kPicturesMeasuredMessage = WM_APP + 19 };

    BEGIN_MSG_MAP(ImagesContainer)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(kPicturesMeasuredMessage, OnPicturesMeasured)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPicturesMeasured(UINT, WPARAM, LPARAM, BOOL&);
    void SelectInBothViews(const PictureIndexList& indices);
    void FitViews();
    int VisibleFocusedIndex() const;
    // Runs reorder (which changes the order of the task's records) and rebuilds both views, each
    // with its selected and focused pictures marked again wherever they went.
    void ReorderKeepingStates(const std::function<void()>& reorder);
    void VisibleSelection(PictureIndexList& indices) const;

    IFrameHost* frame_ = nullptr;
    TaskOptions* task_ = nullptr;
    ImagesListView listView_;
    ImagesThumbnailView thumbnailView_;
    bool sizeAscending_ = true;
    bool nameAscending_ = true;
    // Select By on more pictures than this, with a width or height bound, reads their files on
    // the selector's thread; fewer are read at once (a few milliseconds).
    static const int kPicturesMeasuredAtOnce = 200;
    OneJobThread selector_;
    unsigned selectionGeneration_ = 0;
    bool selectionProgress_ = false;
};
