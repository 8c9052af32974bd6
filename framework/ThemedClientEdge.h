#pragma once
// The sunken client edge of a window drawn as the visual theme draws an edit box's border. The
// theme library is loaded at run time: without it, or without an active theme, the window keeps
// the plain edge the system draws.
#include <windows.h>

class ThemedClientEdge {
public:
    ThemedClientEdge();
    ~ThemedClientEdge();
    ThemedClientEdge(const ThemedClientEdge&) = delete;
    ThemedClientEdge& operator=(const ThemedClientEdge&) = delete;

    // Opens (again) the "EDIT" theme for window; call at creation and on WM_THEMECHANGED.
    void Open(HWND window);
    void Close();
    // WM_NCPAINT: the system's frame first, then, with a theme and WS_EX_CLIENTEDGE, the themed
    // border over the edge (scroll bars and client area are left alone).
    LRESULT OnNcPaint(HWND window, WPARAM wParam, LPARAM lParam);

private:
    typedef HANDLE(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI* CloseThemeDataFn)(HANDLE);
    typedef HRESULT(WINAPI* DrawThemeBackgroundFn)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    typedef BOOL(WINAPI* IsThemeActiveFn)();

    HMODULE library_ = nullptr;
    OpenThemeDataFn openThemeData_ = nullptr;
    CloseThemeDataFn closeThemeData_ = nullptr;
    DrawThemeBackgroundFn drawThemeBackground_ = nullptr;
    IsThemeActiveFn isThemeActive_ = nullptr;
    HANDLE theme_ = nullptr;
};
