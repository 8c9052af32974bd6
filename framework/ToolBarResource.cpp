#include "framework/ToolBarResource.h"
#include <commctrl.h>
#include <cstring>

bool ParseToolBarLayout(const BYTE* data, size_t size, ToolBarLayout& layout) {
    if (!data || size < 8) return false;
    WORD header[4];
    std::memcpy(header, data, sizeof(header));
    if (header[0] != 1 || header[1] == 0 || header[2] == 0) return false;
    const size_t count = header[3];
    if (size < 8 + count * 2) return false;
    layout.buttonWidth = header[1];
    layout.buttonHeight = header[2];
    layout.commands.resize(count);
    if (count) std::memcpy(layout.commands.data(), data + 8, count * 2);
    return true;
}

bool LoadToolBarLayout(HINSTANCE module, UINT id, ToolBarLayout& layout) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kToolBarResourceType));
    if (!found) return false;
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data && ParseToolBarLayout(static_cast<const BYTE*>(data), ::SizeofResource(module, found), layout);
}

void SetToolBarButtonDropDown(HWND toolBar, UINT command) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE;
    // The answer is the button's index, -1 when there is none.
    if (::SendMessageA(toolBar, TB_GETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info)) < 0) return;
    info.fsStyle |= BTNS_DROPDOWN;
    ::SendMessageA(toolBar, TB_SETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info));
}
