#pragma once
// A list-view control handle with typed one-line calls; owns nothing.
#include <windows.h>
#include <commctrl.h>
#include "framework/ChildControl.h"
#include "framework/Window.h"

class CListViewCtrl : public CWindow {
public:
    CListViewCtrl() = default;
    explicit CListViewCtrl(HWND hWnd) : CWindow(hWnd) {}

    HWND Create(const ControlArgs& args) { return m_hWnd = CreateChildControl(WC_LISTVIEWA, args); }
    void SetExtendedListViewStyle(DWORD style) { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
};
