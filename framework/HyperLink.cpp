#include "framework/HyperLink.h"
#include <commctrl.h>
#include "framework/UserPrompts.h"

namespace {
const UINT_PTR kSubclassId = 2;
const COLORREF kLinkColor = RGB(0, 0, 204);
}

CHyperLink::~CHyperLink() {
    if (hwnd_ && ::IsWindow(hwnd_)) ::RemoveWindowSubclass(hwnd_, &SubclassProc, kSubclassId);
    if (font_) ::DeleteObject(font_);
}

bool CHyperLink::SubclassWindow(HWND control, const std::string& address) {
    if (!control || hwnd_) return false;
    hwnd_ = control;
    address_ = address;
    ::SetWindowLongA(control, GWL_STYLE, ::GetWindowLongA(control, GWL_STYLE) | SS_NOTIFY | WS_TABSTOP);
    HFONT base = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA font = {};
    ::GetObjectA(base ? static_cast<HGDIOBJ>(base) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfUnderline = TRUE;
    font_ = ::CreateFontIndirectA(&font);
    ::SetWindowSubclass(control, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ::InvalidateRect(control, nullptr, TRUE);
    return true;
}

bool CHyperLink::Navigate() {
    std::string target = address_;
    if (target.empty()) {
        char text[1024] = {};
        ::GetWindowTextA(hwnd_, text, sizeof(text));
        target = text;
    }
    if (target.empty()) return false;
    return UserPrompts().ShellExecute(::GetParent(hwnd_), "open", target, "", "", SW_SHOWNORMAL);
}

LRESULT CHyperLink::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT rect;
    ::GetClientRect(hwnd_, &rect);
    char text[1024] = {};
    ::GetWindowTextA(hwnd_, text, sizeof(text));
    HGDIOBJ old = ::SelectObject(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kLinkColor);
    ::DrawTextA(dc, text, -1, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (::GetFocus() == hwnd_) {
        RECT focus = rect;
        ::DrawTextA(dc, text, -1, &focus, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        ::DrawFocusRect(dc, &focus);
    }
    ::SelectObject(dc, old);
    ::EndPaint(hwnd_, &ps);
    return 0;
}

LRESULT CALLBACK CHyperLink::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<CHyperLink*>(data);
    switch (msg) {
    case WM_PAINT:
        return self->OnPaint();
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
    case WM_LBUTTONUP:
        self->Navigate();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            self->Navigate();
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(hWnd, nullptr, TRUE);
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hWnd, &SubclassProc, kSubclassId);
        self->hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
