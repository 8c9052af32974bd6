#include "framework/WindowImpl.h"
#include "framework/AppModule.h"
#include <new>
#include "framework/WindowProcGuard.h"

namespace {
// Marks a window whose object has gone: its last messages must not pick up an object that is
// waiting for a window being created at the same time.
const LONG_PTR kDetached = 1;
}  // namespace

CWindowImplBase::~CWindowImplBase() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, kDetached);
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        ::DestroyWindow(hWnd);
    }
}

bool CWindowImplBase::RegisterWindowClass() {
    const WindowClassInfo info = GetWindowClassInfo();
    if (!info.name) return false;
    HINSTANCE instance = g_Module.GetModuleInstance();
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, info.name, &existing)) return true;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = info.style;
    wc.lpfnWndProc = &CWindowImplBase::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = info.backgroundColor >= 0
                           ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(info.backgroundColor + 1))
                           : nullptr;
    if (info.iconId) {
        wc.hIcon = ::LoadIconA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(info.iconId));
        wc.hIconSm = static_cast<HICON>(::LoadImageA(g_Module.GetModuleInstance(),
                                                     MAKEINTRESOURCEA(info.iconId), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0));
    }
    wc.lpszClassName = info.name;
    return ::RegisterClassExA(&wc) != 0;
}

HWND CWindowImplBase::Create(HWND parent, const RECT* rect, const char* title, DWORD style,
                             DWORD exStyle, HMENU menuOrId, void* createParam) {
    if (m_hWnd || !RegisterWindowClass()) return nullptr;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (rect) {
        x = rect->left;
        y = rect->top;
        cx = rect->right - rect->left;
        cy = rect->bottom - rect->top;
    }
    g_Module.PushCreatingObject(this);
    HWND hWnd = ::CreateWindowExA(exStyle, GetWindowClassInfo().name, title ? title : "", style, x, y,
                                  cx, cy, parent, menuOrId, g_Module.GetModuleInstance(), createParam);
    // When no message reached the new window, this object is still waiting: take it back.
    g_Module.CancelCreatingObject(this);
    if (!hWnd) m_hWnd = nullptr;
    return hWnd;
}

LRESULT CALLBACK CWindowImplBase::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LONG_PTR stored = ::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (stored == kDetached) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
    auto* self = reinterpret_cast<CWindowImplBase*>(stored);
    if (!self) {
        // The first message of a window being created by Create attaches its object.
        if (msg == WM_NCDESTROY) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
        self = static_cast<CWindowImplBase*>(g_Module.PopCreatingObject());
        if (!self) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }

    const LRESULT result = GuardedCallback<LRESULT>(hWnd, 0, [&] {
        LRESULT answer = 0;
        if (!self->ProcessWindowMessage(hWnd, msg, wParam, lParam, answer))
            answer = ::DefWindowProcA(hWnd, msg, wParam, lParam);
        return answer;
    });

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hWnd);
    }
    return result;
}
