#include "ui/viewer/ImageViewer.h"
#include <shlwapi.h>
#include <uxtheme.h>
#include "core/InternationalSupport.h"
#include "core/PathHelpers.h"
#include "core/ProgramSettings.h"
#include "framework/AppModule.h"
#include "resources/command_ids.h"
#include "ui/viewer/IImageViewerHost.h"
#include "ui/viewer/IImageViewerListener.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/PictureDecodeJob.h"
#include "ui/viewer/ViewerMath.h"

ImageViewer::ImageViewer(IImageViewerHost* host)
    : host_(host), embedded_(this, false), fullScreen_(this, true) {}

ImageViewer::~ImageViewer() {
    if (IsWindow()) DestroyWindow();
}

WindowClassInfo ImageViewer::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_ImageViewer";
    info.backgroundColor = COLOR_BTNFACE;
    return info;
}

ProgramSettings& ImageViewer::Settings() const { return host_->GetViewerSettings(); }

std::string ImageViewer::Text(unsigned id) const {
    const char* text = g_InternationalSupport.GetString(id, g_Module.GetResourceInstance());
    return text ? text : "";
}

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
    fullScreen_.Create(m_hWnd, nullptr, Text(IDS_VIEWER_TITLE).c_str(), WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                       WS_EX_TOPMOST);
    CreateToolbar();
    CreateTooltips();
    CreateHeader();
    EnableAllButtons(false);
    host_->EnableFrameCommand(ID_IMAGES_FULLSCREEN, false);
    host_->EnableFrameCommand(ID_IMAGES_SLIDE_SHOW, false);
    OpenTheme();
    return 0;
}

LRESULT ImageViewer::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kLoadTimerId);
    decode_.reset();
    decodeWanted_ = false;
    ::KillTimer(m_hWnd, kSlideShowTimerId);
    slideShow_ = false;
    if (images_) ::ImageList_Destroy(images_);
    if (disabledImages_) ::ImageList_Destroy(disabledImages_);
    images_ = disabledImages_ = nullptr;
    if (theme_) ::CloseThemeData(static_cast<HTHEME>(theme_));
    theme_ = nullptr;
    if (fullScreen_.IsWindow()) fullScreen_.DestroyWindow();
    if (tooltip_) ::DestroyWindow(tooltip_);
    tooltip_ = nullptr;
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
    path_ = path;
    SplitPathAtLastBackslash(path_, folder_, fileName_);
    if (!path_.empty()) {
        EnableAllButtons(true);
        ::SetTimer(m_hWnd, kLoadTimerId, kLoadDelayMs, nullptr);  // restarts a pending one
        return;
    }
    // Nothing to show: a load still pending must not bring the previous file back.
    ::KillTimer(m_hWnd, kLoadTimerId);
    status_ = kViewerShown;
    picture_.reset();
    VisiblePlace().Refresh();
    SetHeaderText("");
    EnableAllButtons(false);
}

void ImageViewer::LoadPicture() {
    ::KillTimer(m_hWnd, kLoadTimerId);
    if (path_.empty()) return;
    // One decode at a time: the newest file is taken up when the running one is done.
    if (decode_) {
        decodeWanted_ = true;
        return;
    }
    ++decodes_;
    decode_.reset(new PictureDecodeJob);
    if (!decode_->Start(path_, m_hWnd, kPictureDecodedMessage)) {
        decode_.reset();
        std::unique_ptr<CMyBitmap> picture;
        const int status = PictureDecodeJob::Decode(path_, picture);
        ShowDecoded(status, std::move(picture));
    }
}

LRESULT ImageViewer::OnPictureDecoded(UINT, WPARAM, LPARAM, BOOL&) {
    if (!decode_) return 0;
    std::unique_ptr<CMyBitmap> picture;
    const int status = decode_->TakeResult(picture);
    const bool current = decode_->Path() == path_;
    decode_.reset();
    const bool wanted = decodeWanted_;
    decodeWanted_ = false;
    // A file chosen meanwhile: this result is not what the viewer shows now.
    if (current && !path_.empty()) ShowDecoded(status, std::move(picture));
    else if (wanted && !path_.empty()) LoadPicture();
    return 0;
}

void ImageViewer::ShowDecoded(int status, std::unique_ptr<CMyBitmap> picture) {
    picture_ = std::move(picture);
    status_ = status;
    if (status_ == kViewerNotFound) {
        VisiblePlace().Refresh();
        SetHeaderText("");
        EnablePictureButtons(false);
        const UINT pathButtons[] = {ID_VIEWER_COPY_TO, ID_VIEWER_EXTERNAL};
        EnableButtons(pathButtons, 2, false);
        return;
    }
    if (!picture_) status_ = kViewerUnknownFormat;
    EnablePictureButtons(picture_ != nullptr);
    VisiblePlace().Refresh();
    std::string header;
    if (status_ == kViewerShown && !fileName_.empty())
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
        embedded_.Refresh();
        fullScreen_.ShowWindow(SW_HIDE);
        StopSlideShow();
        return 0;
    }
    if (path_.empty() || !fullScreen_.IsWindow()) return 0;
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
