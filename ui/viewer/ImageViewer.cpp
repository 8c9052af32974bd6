#include "ui/viewer/ImageViewer.h"
#include "core/LocalText.h"
#include <shlwapi.h>
#include <new>
#include "core/InternationalSupport.h"
#include "core/PathHelpers.h"
#include "core/ProgramSettings.h"
#include "framework/AppModule.h"
#include "resources/command_ids.h"
#include "ui/frame/IFrameHost.h"
#include "ui/viewer/IImageViewerListener.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerMath.h"

ImageViewer::ImageViewer(IFrameHost* frame)
    : frame_(frame), embedded_(this, false), fullScreen_(this, true) {}

ImageViewer::~ImageViewer() {
    if (IsWindow()) DestroyWindow();
}

WindowClassInfo ImageViewer::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_ImageViewer";
    info.backgroundColor = COLOR_BTNFACE;
    return info;
}

ProgramSettings& ImageViewer::Settings() const { return *frame_->GetSettings(); }

bool ImageViewer::IsFullScreen() const { return fullScreen_.IsWindow() && ::IsWindowVisible(fullScreen_); }

ImageViewerImagePlace& ImageViewer::VisiblePlace() { return IsFullScreen() ? fullScreen_ : embedded_; }

HWND ImageViewer::PromptOwner() const { return IsFullScreen() ? fullScreen_.m_hWnd : m_hWnd; }

bool ImageViewer::IsEffectTime() const {
    const ProgramSettings& settings = Settings();
    if (!settings.UseEffects) return false;
    return settings.UseEffectsInSlideshowOnly ? slideShow_ : true;
}

LRESULT ImageViewer::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    embedded_.Create(m_hWnd, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    fullScreen_.Create(m_hWnd, nullptr, LocalText(IDS_VIEWER_TITLE).c_str(), WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                       WS_EX_TOPMOST);
    CreateToolbar();
    CreateTooltips();
    CreateHeader();
    EnableAllButtons(false);
    if (frame_) {
        frame_->EnableCommand(ID_IMAGES_FULLSCREEN, false, false);
        frame_->EnableCommand(ID_IMAGES_SLIDE_SHOW, false, false);
    }
    edge_.Open(m_hWnd);
    decoder_.SetTarget(m_hWnd, kViewerDecodedMessage);
    return 0;
}

LRESULT ImageViewer::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kLoadTimerId);
    ::KillTimer(m_hWnd, kSlideShowTimerId);
    loadPending_ = false;
    // A decode still running finishes on its own and its result is freed there.
    decoder_.Close();
    slideShow_ = false;
    images_.Reset();
    disabledImages_.Reset();
    edge_.Close();
    if (fullScreen_.IsWindow()) fullScreen_.DestroyWindow();
    if (tooltip_) ::DestroyWindow(tooltip_);
    tooltip_.m_hWnd = nullptr;
    handled = FALSE;
    return 0;
}

LRESULT ImageViewer::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    Layout();
    return 0;
}

LRESULT ImageViewer::OnCommand(WORD, WORD id, HWND, BOOL& handled) {
    handled = HandleCommand(id);
    return 0;
}

void ImageViewer::SetFile(const std::string& path) {
    if (path != path_ && IsFullScreen()) movedInFullScreen_ = true;
    path_ = path;
    ++generation_;  // whatever is decoding now is of no use any more
    SplitPathAtLastBackslash(path_, folder_, fileName_);
    if (!path_.empty()) {
        EnableAllButtons(true);
        loadPending_ = ::SetTimer(m_hWnd, kLoadTimerId, kLoadDelayMs, nullptr) != 0;  // restarts a pending one
        return;
    }
    // Nothing to show: a load still pending must not bring the previous file back.
    ::KillTimer(m_hWnd, kLoadTimerId);
    loadPending_ = false;
    status_ = kViewerShown;
    picture_.reset();
    shown_ = ShownPicture();
    VisiblePlace().Refresh();
    SetHeaderText("");
    EnableAllButtons(false);
}

void ImageViewer::LoadPicture() {
    ::KillTimer(m_hWnd, kLoadTimerId);
    loadPending_ = false;
    if (path_.empty()) return;
    if (!::PathFileExistsA(path_.c_str()) || ::PathIsDirectoryA(path_.c_str())) {
        std::unique_ptr<ViewerDecodeResult> missing(new ViewerDecodeResult);
        missing->status = kViewerNotFound;
        ShowResult(std::move(missing));
        return;
    }
    ++decodes_;
    // Without a thread the window decodes it itself rather than show nothing.
    std::unique_ptr<ViewerDecodeJob> job(new ViewerDecodeJob(path_));
    job->generation = generation_;
    if (!decoder_.Start(std::move(job))) ShowResult(DecodeViewerPicture(path_));
}

LRESULT ImageViewer::OnDecoded(UINT, WPARAM, LPARAM, BOOL&) {
    std::unique_ptr<BackgroundJob> job = decoder_.TakeResult();
    auto* decoded = static_cast<ViewerDecodeJob*>(job.get());
    if (decoded && decoded->result && decoded->generation == generation_ && !path_.empty())
        ShowResult(std::move(decoded->result));
    return 0;
}

void ImageViewer::ShowResult(std::unique_ptr<ViewerDecodeResult> result) {
    picture_ = std::move(result->picture);
    shown_ = picture_ ? result->shown : ShownPicture();
    status_ = result->status;
    if (status_ == kViewerNotFound) {
        VisiblePlace().Refresh();
        SetHeaderText("");
        EnablePictureButtons(false);
        const UINT pathButtons[] = {ID_VIEWER_COPY_TO, ID_VIEWER_EXTERNAL};
        EnableButtons(pathButtons, 2, false);
        return;
    }
    EnablePictureButtons(picture_ != nullptr);
    VisiblePlace().Refresh();
    std::string header;
    if (status_ == kViewerShown && picture_ && !fileName_.empty())
        header = fileName_ + " - " + std::to_string(picture_->GetWidth()) + " x " + std::to_string(picture_->GetHeight());
    SetHeaderText(header);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT ImageViewer::OnTimer(UINT, WPARAM id, LPARAM, BOOL& handled) {
    if (id == kLoadTimerId)
        LoadPicture();
    else if (id == kSlideShowTimerId)
        StepSlideShow();
    else
        handled = FALSE;
    return 0;
}

int ImageViewer::ToggleFullScreen() {
    if (IsFullScreen()) {
        const bool moved = movedInFullScreen_ || slideShow_;
        movedInFullScreen_ = false;
        embedded_.Refresh();
        fullScreen_.ShowWindow(SW_HIDE);
        StopSlideShow();
        if (moved && listener_) listener_->SelectShown();
        return 0;
    }
    if (path_.empty() || !fullScreen_.IsWindow()) return 0;
    movedInFullScreen_ = false;
    fullScreen_.ShowWindow(SW_SHOWMAXIMIZED);
    fullScreen_.Refresh();
    // The keys of the picture (scrolling, numeric-pad zoom) work at once.
    ::SetFocus(fullScreen_.GetWindow());
    return 1;
}

void ImageViewer::LeaveFullScreen() {
    if (IsFullScreen()) ToggleFullScreen();
}

void ImageViewer::StopSlideShow() {
    ::KillTimer(m_hWnd, kSlideShowTimerId);
    slideShow_ = false;
}

void ImageViewer::StartSlideShow(int seconds) {
    if (path_.empty()) return;
    if (!IsFullScreen()) ToggleFullScreen();
    slideShowSeconds_ = seconds;
    ::SetTimer(m_hWnd, kSlideShowTimerId, SlideShowIntervalMs(seconds), nullptr);
    slideShow_ = true;
}

void ImageViewer::StepSlideShow() {
    // The interval counts from the moment the next picture was asked for.
    ::KillTimer(m_hWnd, kSlideShowTimerId);
    if (listener_) listener_->ShowNext();
    if (slideShow_ && IsWindow()) ::SetTimer(m_hWnd, kSlideShowTimerId, SlideShowIntervalMs(slideShowSeconds_), nullptr);
}
