#include "framework/ToolBarCtrl.h"
#include "framework/AppModule.h"
#include <vector>

HWND CToolBarCtrl::CreateOver(HWND parent, int id, const RECT& rect, HIMAGELIST images, const int* commands,
                              int count) {
    m_hWnd = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               g_Module.GetModuleInstance(), nullptr);
    if (!m_hWnd) return nullptr;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (images) {
        int width = 0, height = 0;
        ImageList_GetIconSize(images, &width, &height);
        SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
        SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count > 0 ? count : 0));
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].iBitmap = static_cast<int>(i);
        buttons[i].idCommand = commands[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    if (!buttons.empty())
        SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(buttons.size()), reinterpret_cast<LPARAM>(buttons.data()));
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return m_hWnd;
}
