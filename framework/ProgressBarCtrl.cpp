#include "framework/ProgressBarCtrl.h"
#include "framework/AppModule.h"

HWND CProgressBarCtrl::Create(HWND parent, const char* name, bool visible) {
    m_hWnd = ::CreateWindowExA(0, PROGRESS_CLASSA, name, WS_CHILD | (visible ? WS_VISIBLE : 0) | PBS_SMOOTH, 0, 0,
                              0, 0, parent, nullptr, g_Module.GetModuleInstance(), nullptr);
    return m_hWnd;
}
