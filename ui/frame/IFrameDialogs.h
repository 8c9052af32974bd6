#pragma once
// The dialogs the main frame opens: program options, tip of the day, about box, and selection of
// pictures by condition (kept for the life of the frame so its criteria survive between uses).
// The dialogs issue supplies them; until then the placeholders do nothing. Plug in through
// CreateFramePieces (ui/frame/FramePieces.cpp).
#include <windows.h>

struct PictureCriteria;

class ISelectImagesDialog {
public:
    virtual ~ISelectImagesDialog() = default;
    // Runs modally over `owner`; IDOK when the user chose a selection.
    virtual INT_PTR DoModal(HWND owner) = 0;
    // The conditions chosen last (null when the dialog keeps none).
    virtual const PictureCriteria* GetCriteria() const { return nullptr; }
};

class IFrameDialogs {
public:
    virtual ~IFrameDialogs() = default;
    virtual void ShowOptions(HWND owner) = 0;
    virtual void ShowTipOfTheDay(HWND owner) = 0;
    virtual void ShowAbout(HWND owner) = 0;
    virtual ISelectImagesDialog* GetSelectImagesDialog() = 0;
};
