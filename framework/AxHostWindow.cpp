#include "framework/AxHostWindow.h"
#include "framework/AppModule.h"

const char kAxHostWindowClass[] = "Brackenfly_AxWin";

BOOL AxWinInit() {
    HINSTANCE instance = g_Module.GetModuleInstance();
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, kAxHostWindowClass, &existing)) return TRUE;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    // The control's site is attached by the code that embeds a control; until then the host is a
    // plain child window.
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kAxHostWindowClass;
    return ::RegisterClassExA(&wc) != 0;
}
