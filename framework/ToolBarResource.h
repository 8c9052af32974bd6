#pragma once
// Toolbars described by a resource of type 241 (the toolbar resource layout: WORD version 1,
// button width, button height, item count, then one command id per item, 0 for a separator),
// with their pictures in bitmap strips whose mask colour is magenta.
#include <windows.h>
#include <commctrl.h>
#include <vector>

const WORD kToolBarResourceType = 241;
const COLORREF kImageMaskColor = RGB(255, 0, 255);

struct ToolBarLayout {
    int buttonWidth = 0;
    int buttonHeight = 0;
    std::vector<WORD> commands;  // 0 for a separator
};

// False when the resource is missing or malformed (short, wrong version, count past its end).
bool LoadToolBarLayout(HINSTANCE module, UINT id, ToolBarLayout& layout);
bool ParseToolBarLayout(const BYTE* data, size_t size, ToolBarLayout& layout);

// Gives the button the drop-down arrow.
void SetToolBarButtonDropDown(HWND toolBar, UINT command);
