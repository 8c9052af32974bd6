#pragma once
// The dialogs the main frame opens: program options, tip of the day, about box, and selection of
// pictures by condition (kept for the life of the frame so its criteria survive between uses);
// FrameDialogs is the program's, made by CreateFramePieces.
#include <windows.h>
#include "dialogs/pictures/ISelectImagesDialog.h"

class IFrameDialogs {
public:
    virtual ~IFrameDialogs() = default;
    virtual void ShowOptions(HWND owner) = 0;
    virtual void ShowTipOfTheDay(HWND owner) = 0;
    virtual void ShowAbout(HWND owner) = 0;
    virtual ISelectImagesDialog* GetSelectImagesDialog() = 0;
};
