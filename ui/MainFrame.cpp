#include "ui/MainFrame.h"
#include "core/Application.h"

MainFrame::MainFrame(Application* app) : app_(app) {}

MainFrame::~MainFrame() {
    if (IsWindow()) DestroyWindow();
}

WindowClassInfo MainFrame::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_MainFrame";
    info.backgroundColor = COLOR_APPWORKSPACE;
    return info;
}

HWND MainFrame::CreateFrame() {
    return Create(nullptr, nullptr, "Brackenfly", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  WS_EX_APPWINDOW);
}

LRESULT MainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (app_) app_->SaveSettings();
    ::PostQuitMessage(1);
    handled = FALSE;
    return 0;
}
