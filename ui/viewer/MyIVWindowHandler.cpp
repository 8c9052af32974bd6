#include "ui/viewer/MyIVWindowHandler.h"
#include <cstdlib>
#include <ctime>
#include "ui/viewer/IImageViewerListener.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/ImageViewerImagePlace.h"

CMyIVWindowHandler::CMyIVWindowHandler(CIVWindow* window, ImageViewerImagePlace* place)
    : CIVWindowHandler(window), place_(place) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

BOOL CMyIVWindowHandler::OnMouse(UINT msg, int x, int y, WPARAM wParam) {
    if (msg == WM_LBUTTONDBLCLK) {
        if (IImageViewerListener* listener = place_->GetViewer()->GetListener()) listener->ToggleFullScreen();
        return TRUE;
    }
    return CIVWindowHandler::OnMouse(msg, x, y, wParam);
}
