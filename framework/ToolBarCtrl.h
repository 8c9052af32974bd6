#pragma once
// A toolbar control: flat buttons with images from image lists, tooltips asked of the owner
// (TTN_GETDISPINFO), commands sent to the owner as WM_COMMAND.
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "framework/ChildControl.h"
#include "framework/Window.h"

struct ToolBarArgs : ControlArgs {
    // One button per command, 0 for a separator; button i that is not a separator takes image i
    // of the images counted without separators.
    std::vector<int> commands;
    HWND owner = nullptr;  // gets the notices and commands; the parent when null
    HIMAGELIST images = nullptr;  // the image lists stay the caller's
    HIMAGELIST hotImages = nullptr;
    HIMAGELIST disabledImages = nullptr;
    SIZE bitmapSize = {};  // empty: the size of images (the control's own when there are none)
    SIZE buttonSize = {};  // empty: the control's own
    DWORD extendedStyle = 0;
    bool autoSize = false;  // fitted to its buttons once they are in
};

class CToolBarCtrl : public CWindow {
public:
    CToolBarCtrl() = default;
    explicit CToolBarCtrl(HWND hWnd) : CWindow(hWnd) {}

    // A flat toolbar with tooltips that its owner places: args.style is added to those. Null
    // when the control could not be made.
    HWND Create(const ToolBarArgs& args);

    BOOL EnableButton(int command, bool enabled) {
        return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(enabled ? TRUE : FALSE, 0)));
    }
    bool IsButtonEnabled(int command) const { return SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(command)) != 0; }
};
