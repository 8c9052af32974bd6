#include "framework/ThemedClientEdge.h"
#include "framework/GdiHolders.h"

namespace {
// Part and state of an edit box's text area in the "EDIT" theme class.
const int kEditTextPart = 1;
const int kEditNormalState = 1;

template <typename Fn>
Fn Function(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}
}  // namespace

ThemedClientEdge::ThemedClientEdge() {
    // Loaded here rather than linked: systems without visual styles still start.
    library_ = ::LoadLibraryA("uxtheme.dll");
    if (!library_) return;
    openThemeData_ = Function<OpenThemeDataFn>(library_, "OpenThemeData");
    closeThemeData_ = Function<CloseThemeDataFn>(library_, "CloseThemeData");
    drawThemeBackground_ = Function<DrawThemeBackgroundFn>(library_, "DrawThemeBackground");
    isThemeActive_ = Function<IsThemeActiveFn>(library_, "IsThemeActive");
}

ThemedClientEdge::~ThemedClientEdge() {
    Close();
    if (library_) ::FreeLibrary(library_);
}

void ThemedClientEdge::Open(HWND window) {
    Close();
    if (!openThemeData_ || !closeThemeData_ || !drawThemeBackground_) return;
    if (isThemeActive_ && !isThemeActive_()) return;
    theme_ = openThemeData_(window, L"EDIT");
}

void ThemedClientEdge::Close() {
    if (theme_ && closeThemeData_) closeThemeData_(theme_);
    theme_ = nullptr;
}

LRESULT ThemedClientEdge::OnNcPaint(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcA(window, WM_NCPAINT, wParam, lParam);
    if (!theme_ || !(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return result;
    RECT outer;
    ::GetWindowRect(window, &outer);
    ::OffsetRect(&outer, -outer.left, -outer.top);
    RECT inner = outer;
    ::InflateRect(&inner, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    WindowDc whole(window, ::GetWindowDC(window));
    HDC dc = whole.Get();
    if (!dc) return result;
    ::ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    drawThemeBackground_(theme_, dc, kEditTextPart, kEditNormalState, &outer, nullptr);
    return 0;
}
