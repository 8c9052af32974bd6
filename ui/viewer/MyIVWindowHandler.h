#pragma once
// The viewer's input handler: everything the window's own handler does, and a double-click
// asks the viewer's owner to toggle full screen.
#include "ui/viewer/IVWindowHandler.h"

class ImageViewerImagePlace;

class CMyIVWindowHandler : public CIVWindowHandler {
public:
    // Seeds the C random numbers that pick random transition effects.
    CMyIVWindowHandler(CIVWindow* window, ImageViewerImagePlace* place);
    BOOL OnMouse(UINT msg, int x, int y, WPARAM wParam) override;

private:
    ImageViewerImagePlace* place_;
};
