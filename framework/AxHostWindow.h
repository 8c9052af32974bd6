#pragma once
// The window class that hosts ActiveX controls (the embedded web browser). Registered once at
// start-up, before any window that could hold such a control is created.
#include <windows.h>

// Class name of the host window.
extern const char kAxHostWindowClass[];

// Registers the host window class; TRUE when it is registered (also when it already was).
BOOL AxWinInit();
