#include "framework/ToolTipCtrl.h"
#include "framework/AppModule.h"

HWND CToolTipCtrl::Create(HWND owner, DWORD style) {
    m_hWnd = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | style,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               g_Module.GetModuleInstance(), nullptr);
    return m_hWnd;
}
