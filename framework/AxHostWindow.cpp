#include "framework/AxHostWindow.h"
#include "framework/WindowProcGuard.h"
#include "framework/AppModule.h"
#include "framework/AxHostSite.h"
#include "framework/WideText.h"

const char kAxHostWindowClass[] = "Brackenfly_AxWin";

namespace {
CAxHostSite* SiteOf(HWND host) {
    return reinterpret_cast<CAxHostSite*>(::GetWindowLongPtrA(host, GWLP_USERDATA));
}

LRESULT HandleHostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        auto* site = new CAxHostSite(hWnd);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(site));
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const char* classText = create && create->lpszName ? create->lpszName : "";
        site->CreateControl(AnsiToWide(classText).c_str());
        return 0;
    }
    case WM_SIZE:
        if (CAxHostSite* site = SiteOf(hWnd)) site->FitToHost();
        break;
    case WM_SETFOCUS:
        if (CAxHostSite* site = SiteOf(hWnd)) {
            if (site->FocusControl()) return 0;
        }
        break;
    case WM_DESTROY:
        if (CAxHostSite* site = SiteOf(hWnd)) site->CloseControl();
        break;
    case WM_NCDESTROY:
        if (CAxHostSite* site = SiteOf(hWnd)) {
            ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
            site->Release();
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK HostWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A host whose site could not be made fails its creation.
    const LRESULT failed = msg == WM_CREATE ? -1 : 0;
    return GuardedCallback<LRESULT>(hWnd, failed, [&] { return HandleHostMessage(hWnd, msg, wParam, lParam); });
}
}  // namespace

BOOL AxWinInit() {
    HINSTANCE instance = g_Module.GetModuleInstance();
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, kAxHostWindowClass, &existing)) return TRUE;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &HostWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kAxHostWindowClass;
    return ::RegisterClassExA(&wc) != 0;
}

HRESULT AxGetControl(HWND host, IUnknown** control) {
    if (!control) return E_POINTER;
    *control = nullptr;
    char className[32] = {};
    if (!::IsWindow(host) || !::GetClassNameA(host, className, sizeof(className)) ||
        lstrcmpA(className, kAxHostWindowClass) != 0)
        return E_FAIL;
    CAxHostSite* site = SiteOf(host);
    if (!site || !site->GetControl()) return E_FAIL;
    *control = site->GetControl();
    (*control)->AddRef();
    return S_OK;
}
