#include "ui/viewer/ImageViewerImagePlace.h"
#include "core/LocalText.h"
#include <cstdlib>
#include <memory>
#include "core/ProgramSettings.h"
#include "framework/GdiHolders.h"
#include "imaging/AnyPicDecoder.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerMath.h"

ImageViewerImagePlace::ImageViewerImagePlace(ImageViewer* viewer, bool fullScreen)
    : viewer_(viewer), fullScreen_(fullScreen), handler_(&window_, this) {}

ImageViewerImagePlace::~ImageViewerImagePlace() {
    if (IsWindow()) DestroyWindow();
}

WindowClassInfo ImageViewerImagePlace::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_ImageViewerPlace";
    info.backgroundColor = -1;  // painted by the place itself
    return info;
}

COLORREF ImageViewerImagePlace::BackgroundColor() const {
    return fullScreen_ ? RGB(0, 0, 0) : ::GetSysColor(COLOR_WINDOW);
}

LRESULT ImageViewerImagePlace::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    window_.Create(m_hWnd, &client, "", WS_CHILD | WS_VISIBLE);
    handler_.features = IVH_ALL;
    window_.SetHandler(&handler_);
    window_.SetCursors(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)),
                       ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
                       ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL)));
    CIVBackground& background = window_.GetBackground();
    background.color1 = BackgroundColor();
    background.gradientMode = 0;
    background.SetBitmap(nullptr);
    return 0;
}

LRESULT ImageViewerImagePlace::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (window_.IsWindow()) ::MoveWindow(window_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    if (!message_.empty()) ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT ImageViewerImagePlace::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT ImageViewerImagePlace::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDc paint(m_hWnd);
    const HDC dc = paint.Get();
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const GdiObject<HBRUSH> background(::CreateSolidBrush(BackgroundColor()));
    ::FillRect(dc, &client, background.Get());
    if (!message_.empty()) {
        SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetTextColor(dc, fullScreen_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
        ::SetBkMode(dc, TRANSPARENT);
        RECT text = client;
        text.top = client.bottom / 2 - 20;
        ::DrawTextA(dc, message_.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK);
    }
    return 0;
}

LRESULT ImageViewerImagePlace::OnContextMenu(UINT, WPARAM, LPARAM lParam, BOOL&) {
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (at.x == -1 && at.y == -1) {  // from the keyboard: the middle of the place
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        at.x = client.right / 2;
        at.y = client.bottom / 2;
        ::ClientToScreen(m_hWnd, &at);
    }
    viewer_->ShowContextMenu(at.x, at.y);
    return 0;
}

LRESULT ImageViewerImagePlace::OnDoubleClick(UINT, WPARAM, LPARAM, BOOL&) {
    viewer_->ToggleFullScreen();
    return 0;
}

LRESULT ImageViewerImagePlace::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
    // Closing the full-screen window (Alt+F4) only leaves full screen: the viewer keeps it.
    if (fullScreen_) viewer_->LeaveFullScreen();
    handled = fullScreen_;
    return 0;
}

int ImageViewerImagePlace::OnProgress(double) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return 0;
        }
        if (msg.message == WM_CLOSE) {
            ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            return 0;
        }
        ::DispatchMessageA(&msg);
    }
    return 1;
}

int ImageViewerImagePlace::ChooseEffect() {
    const int count = static_cast<int>(viewer_->Settings().EffectFiles.size());
    if (viewer_->Settings().UseRandomEffects) return RandomEffectIndex(count, std::rand());
    return NextSequentialEffect(count, effectCounter_);
}

void ImageViewerImagePlace::ShowPicture(const ShownPicture& shown) {
    window_.ShowWindow(SW_SHOW);
    CIVImage image;
    image.SetBitmap(shown);
    image.flags = IVF_VIEWER_PICTURE;
    image.opacity = 255;

    const ProgramSettings& settings = viewer_->Settings();
    if (fullScreen_ && viewer_->IsEffectTime() && window_.GetPicture().HasBitmap() && !settings.EffectFiles.empty()) {
        lastEffect_ = ChooseEffect();
        CMyBitmap mask;
        try {
            CAnyPicDecoder decoder;
            decoder.DecodeFile(settings.EffectFiles[lastEffect_].c_str(), &mask, 32);
            mask.MakeDibSection();
        } catch (...) {
            // An effect picture that does not decode only costs the transition.
        }
        TransitionEffect effect;
        effect.mask = mask.GetHandle();
        if (window_.ShowWithTransition(image, effect, this)) ++transitions_;
    } else {
        window_.SetPicture(image);
        window_.ApplyAutoZoom(false);
    }
    message_.clear();
    window_.SetZoom(ZOOM_ACTUAL);
    window_.SetZoom(ZOOM_SHRINK_ONLY);
    window_.Redraw();
}

void ImageViewerImagePlace::ShowMessage() {
    if (viewer_->GetLoadStatus() == kViewerNotFound) message_ = LocalText(IDS_VIEWER_NOT_FOUND);
    if (viewer_->GetLoadStatus() == kViewerUnknownFormat) message_ = LocalText(IDS_VIEWER_UNKNOWN_FORMAT);
    if (viewer_->GetLoadStatus() == kViewerTooLarge) message_ = LocalText(IDS_VIEWER_TOO_LARGE);
    window_.ShowWindow(SW_HIDE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ImageViewerImagePlace::Refresh() {
    if (!IsWindow()) return;
    // The decode thread made what is drawn: showing it here shares it and paints.
    const ShownPicture& shown = viewer_->GetShown();
    if (!shown.Empty())
        ShowPicture(shown);
    else
        ShowMessage();
}
