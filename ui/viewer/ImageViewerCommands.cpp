// The viewer's commands (toolbar IDR_VIEWER_TOOLBAR and context menu IDR_VIEWER_MENU) and the context
// menu itself.
#include "core/TranslatedMenu.h"
#include "framework/AppModule.h"
#include "resources/command_ids.h"
#include "ui/frame/IFrameHost.h"
#include "ui/frame/IPictureContainer.h"
#include "ui/viewer/IImageViewerListener.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerMath.h"

void ImageViewer::Zoom(float code) {
    CIVWindow& window = VisiblePlace().GetWindow();
    window.SetZoom(code);
    window.Redraw();
}

bool ImageViewer::HandleCommand(UINT id) {
    switch (id) {
    case ID_VIEWER_PREVIOUS: if (listener_) listener_->ShowPrevious(); break;
    case ID_VIEWER_NEXT: if (listener_) listener_->ShowNext(); break;
    case ID_VIEWER_BEST_FIT: Zoom(ZOOM_FIT); break;
    case ID_VIEWER_ACTUAL_SIZE: Zoom(ZOOM_ACTUAL); break;
    case ID_VIEWER_FULLSCREEN: ToggleFullScreen(); break;
    case ID_VIEWER_ZOOM_IN: Zoom(ZOOM_IN); break;
    case ID_VIEWER_ZOOM_OUT: Zoom(ZOOM_OUT); break;
    case ID_VIEWER_DELETE: if (listener_) listener_->DeleteCurrent(); break;
    case ID_VIEWER_PRINT: Print(); break;
    case ID_VIEWER_COPY_TO: CopyTo(); break;
    case ID_VIEWER_EXTERNAL: OpenWithShell(path_); break;
    case ID_VIEWER_BROWSE_FOLDER: OpenWithShell(folder_); break;
    case ID_VIEWER_WALLPAPER: SetAsWallpaper(); break;
    default: return false;
    }
    // The keyboard goes back to the picture view the user browses with; in full screen the
    // picture keeps it (the view lies behind), and stays in front of the frame its menu raised.
    if (IsFullScreen())
        BringFullScreenToFront();
    else if (IPictureContainer* pictures = frame_ ? frame_->GetImagesContainer() : nullptr)
        pictures->FocusShownView();
    return true;
}

void ImageViewer::BringFullScreenToFront() {
    ::SetWindowPos(fullScreen_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(fullScreen_);
    ::SetFocus(fullScreen_.GetWindow());
}

void ImageViewer::ShowContextMenu(int x, int y) {
    if (path_.empty()) return;
    TranslatedMenu menu(IDR_VIEWER_MENU);
    HMENU popup = menu.Popup();
    if (!popup) return;
    ::SetMenuDefaultItem(popup, ID_VIEWER_FULLSCREEN, FALSE);
    const UINT pictureItems[] = {ID_VIEWER_BEST_FIT, ID_VIEWER_ACTUAL_SIZE, ID_VIEWER_ZOOM_IN,
                                 ID_VIEWER_ZOOM_OUT, ID_VIEWER_PRINT,       ID_VIEWER_WALLPAPER};
    if (!picture_)
        for (UINT id : pictureItems) ::EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
    if (status_ == kViewerNotFound) {
        ::EnableMenuItem(popup, ID_VIEWER_COPY_TO, MF_BYCOMMAND | MF_GRAYED);
        ::EnableMenuItem(popup, ID_VIEWER_EXTERNAL, MF_BYCOMMAND | MF_GRAYED);
    }
    if (frame_) frame_->TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y);
    // Tracking brought the frame forward; a menu left without a command leaves it there too.
    if (IsFullScreen()) BringFullScreenToFront();
}
