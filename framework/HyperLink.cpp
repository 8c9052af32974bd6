#include "framework/HyperLink.h"
#include "framework/GdiHolders.h"
#include "framework/WindowProcGuard.h"

#include <commctrl.h>
#include <vector>

#include "framework/UserPrompts.h"

namespace {
const UINT_PTR kSubclassId = 0x484C;   // any number unique to this subclass
}

CHyperLink::~CHyperLink() { Detach(); }

bool CHyperLink::Attach(HWND control, const std::string& target, bool pathEllipsis) {
    Detach();
    if (!control) return false;
    m_hWnd = control;
    target_ = target;
    pathEllipsis_ = pathEllipsis;
    MakeFont();
    if (!::SetWindowSubclass(m_hWnd, &CHyperLink::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return false;
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return true;
}

void CHyperLink::Detach() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::RemoveWindowSubclass(m_hWnd, &CHyperLink::ControlProc, kSubclassId);
    m_hWnd = nullptr;
    font_.Reset();
}

void CHyperLink::MakeFont() {
    HFONT base = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTA description;
    if (!::GetObjectA(base ? static_cast<HGDIOBJ>(base) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(description),
                      &description))
        return;
    description.lfUnderline = TRUE;
    font_.Reset(::CreateFontIndirectA(&description));
}

void CHyperLink::Open() {
    if (!target_.empty()) UserPrompts().ShellExecute(::GetParent(m_hWnd), "open", target_, "", "", SW_SHOWNORMAL);
}

void CHyperLink::Paint() {
    PaintDc paint(m_hWnd);
    HDC dc = paint.Get();
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // The dialog's background and colours, as for any of its statics.
    HWND parent = ::GetParent(m_hWnd);
    HBRUSH background = reinterpret_cast<HBRUSH>(
        ::SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc, &client, background ? background : ::GetSysColorBrush(COLOR_3DFACE));
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    ::SetBkMode(dc, TRANSPARENT);
    if (!target_.empty()) ::SetTextColor(dc, kLinkColor);
    SelectedObject font(dc, target_.empty() || !font_
                                ? reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0))
                                : font_.Get());
    ::DrawTextA(dc, text.data(), -1, &client,
                DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | (pathEllipsis_ ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS));
}

LRESULT CALLBACK CHyperLink::ControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    CHyperLink* link = reinterpret_cast<CHyperLink*>(self);
    return GuardedCallback<LRESULT>(hWnd, 0, [&] { return link->OnControlMessage(hWnd, msg, wParam, lParam); });
}

LRESULT CHyperLink::OnControlMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CHyperLink* link = this;
    switch (msg) {
    case WM_PAINT:
        link->Paint();
        return 0;
    case WM_SETCURSOR:
        if (!link->target_.empty()) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        link->pressed_ = true;
        return 0;
    case WM_LBUTTONUP: {
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        ::GetClientRect(hWnd, &client);
        const bool click = link->pressed_ && ::PtInRect(&client, at);
        link->pressed_ = false;
        if (click) link->Open();
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
    case WM_KEYDOWN:
        // Space or Enter on a focused link follows it, as a click does.
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            link->Open();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hWnd, &CHyperLink::ControlProc, kSubclassId);
        link->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
