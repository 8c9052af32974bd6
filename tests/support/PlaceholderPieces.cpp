#include "tests/support/PlaceholderPieces.h"
#include "core/DownloadManager.h"

HWND EmptyPaneWindow::CreateEmpty(HWND parent) {
    RECT rect = {0, 0, 100, 100};
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  WS_EX_CLIENTEDGE);
}

bool PlaceholderTasksPane::HasFocus() const {
    HWND focus = ::GetFocus();
    return focus && window_.m_hWnd && (focus == window_.m_hWnd || ::IsChild(window_.m_hWnd, focus));
}

void CompleteFramePieces(FramePieces& pieces) {
    if (!pieces.tasks) pieces.tasks.reset(new PlaceholderTasksPane());
    if (!pieces.pictures) pieces.pictures.reset(new PlaceholderPictureContainer());
    if (!pieces.monitor) pieces.monitor.reset(new PlaceholderMonitorViews());
    if (!pieces.dialogs) pieces.dialogs.reset(new PlaceholderFrameDialogs());
}

HWND PlaceholderMonitorViews::CreateViews(HWND pane, DownloadManager& manager) {
    return manager.CreateManagerWindow(pane);
}
