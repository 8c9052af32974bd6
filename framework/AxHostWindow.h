#pragma once
// The window class that hosts ActiveX controls (the embedded web browser). Registered once at
// start-up, before any window that could hold such a control is created.
//
// The host's window text at creation names the control's class: "{clsid}" or a ProgID. A dialog
// template embeds a control as
//     CONTROL "{8856F961-340A-11D0-A96B-00C04FD705A2}", id, "Brackenfly_AxWin", WS_CHILD | ..., x, y, cx, cy
// The host makes the control when it is created, keeps it filling its client area, and closes
// it when it is destroyed. A class that cannot be made leaves an empty host.
#include <windows.h>
#include <unknwn.h>

// Class name of the host window.
extern const char kAxHostWindowClass[];

// Registers the host window class; TRUE when it is registered (also when it already was).
BOOL AxWinInit();

// The hosted control's IUnknown, with a reference for the caller. E_FAIL when host is no host
// window or holds no control.
HRESULT AxGetControl(HWND host, IUnknown** control);
