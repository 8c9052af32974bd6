#pragma once
// A header control handle with typed one-line calls; owns nothing.
#include <windows.h>
#include <commctrl.h>
#include "framework/ChildControl.h"
#include "framework/Window.h"

class CHeaderCtrl : public CWindow {
public:
    HWND Create(const ControlArgs& args) { return m_hWnd = CreateChildControl(WC_HEADERA, args); }
};
