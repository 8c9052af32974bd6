#pragma once
// A thin progress bar: ranges always go through the 32-bit message, so ranges above 65535 work.
#include <windows.h>
#include <commctrl.h>
#include "framework/Window.h"

class CProgressBarCtrl : public CWindow {
public:
    HWND Create(HWND parent, const char* name, bool visible);
    void SetRange(int lower, int upper) { SendMessage(PBM_SETRANGE32, lower, upper); }
    int GetUpper() const { return static_cast<int>(SendMessage(PBM_GETRANGE, FALSE, 0)); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, pos, 0)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS, 0, 0)); }
};
