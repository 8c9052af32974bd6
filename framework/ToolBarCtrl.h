#pragma once
// A toolbar control: flat buttons with images from an image list, tooltips asked of the parent
// (TTN_GETDISPINFO), commands sent to the parent as WM_COMMAND.
#include <windows.h>
#include <commctrl.h>
#include "framework/Window.h"

class CToolBarCtrl : public CWindow {
public:
    // A flat toolbar child of parent placed exactly at rect (parent's client coordinates), one
    // button per command with image 0, 1, ... of images in order. The image list stays the
    // caller's. Null when the control could not be made.
    HWND CreateOver(HWND parent, int id, const RECT& rect, HIMAGELIST images, const int* commands, int count);

    BOOL EnableButton(int command, bool enabled) {
        return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(enabled ? TRUE : FALSE, 0)));
    }
    bool IsButtonEnabled(int command) const { return SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(command)) != 0; }
};
