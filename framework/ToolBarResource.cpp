#include "framework/ToolBarResource.h"
#include <commctrl.h>
#include <cstring>
#include "framework/AppModule.h"

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

HWND CreateToolBarFromLayout(HWND parent, HWND owner, const ToolBarLayout& layout, HIMAGELIST normal,
                             HIMAGELIST disabled, DWORD extraStyle) {
    HWND bar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                     TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 0, 0, 0, 0, parent, nullptr, g_Module.GetModuleInstance(), nullptr);
    if (!bar) return nullptr;
    ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (owner) ::SendMessageA(bar, TB_SETPARENT, reinterpret_cast<WPARAM>(owner), 0);
    if (extraStyle) ::SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, extraStyle);
    ::SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(layout.buttonWidth, layout.buttonHeight));
    ::SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
    if (disabled) ::SendMessageA(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (WORD command : layout.commands) {
        TBBUTTON button = {};
        if (command == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    if (!buttons.empty())
        ::SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    return bar;
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
