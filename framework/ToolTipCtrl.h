#pragma once
// A tooltip window handle with typed one-line calls; owns nothing.
#include <windows.h>
#include <commctrl.h>
#include "framework/Window.h"

class CToolTipCtrl : public CWindow {
public:
    // A topmost tip window owned by owner, shown even when the owner is not active, with style
    // added (TTS_NOPREFIX, ...). Null when it could not be made.
    HWND Create(HWND owner, DWORD style = 0);
};
