#pragma once
// A thin progress bar: ranges always go through the 32-bit message, so ranges above 65535 work.
#include <windows.h>
#include <commctrl.h>

class CProgressBarCtrl {
public:
    HWND Create(HWND parent, const char* name, bool visible);
    HWND GetHwnd() const { return hwnd_; }
    void SetRange(int lower, int upper) { ::SendMessageA(hwnd_, PBM_SETRANGE32, lower, upper); }
    int GetUpper() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETRANGE, FALSE, 0)); }
    int SetPos(int pos) { return static_cast<int>(::SendMessageA(hwnd_, PBM_SETPOS, pos, 0)); }
    int GetPos() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETPOS, 0, 0)); }

private:
    HWND hwnd_ = nullptr;
};
