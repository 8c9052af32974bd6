#include "framework/PaneContainer.h"
#include "framework/AppModule.h"
#include "framework/SystemFont.h"

namespace {
const int kTitlePadding = 3;

}  // namespace

HWND CPaneContainer::CreatePane(HWND parent, const std::string& title, UINT closeCommand) {
    title_ = title;
    closeCommand_ = closeCommand;
    RECT rect = {0, 0, 100, 100};
    return Create(parent, &rect, title.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

HGDIOBJ CPaneContainer::TitleFont() const {
    return font_ ? static_cast<HGDIOBJ>(font_.Get()) : ::GetStockObject(DEFAULT_GUI_FONT);
}

int CPaneContainer::TitleHeight() const {
    WindowDc dc(m_hWnd);
    SelectedObject font(dc.Get(), TitleFont());
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight + 2 * kTitlePadding + 1;
}

LRESULT CPaneContainer::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    font_.Reset(CreateSystemMessageFont());
    closeButton_ = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 16, 16, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(closeCommand_)),
                                     g_Module.GetModuleInstance(), nullptr);
    return 0;
}

LRESULT CPaneContainer::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    font_.Reset();
    handled = FALSE;
    return 0;
}

void CPaneContainer::SetTitle(const std::string& title) {
    title_ = title;
    if (!m_hWnd) return;
    ::SetWindowTextA(m_hWnd, title.c_str());
    RECT strip;
    ::GetClientRect(m_hWnd, &strip);
    strip.bottom = TitleHeight();
    ::InvalidateRect(m_hWnd, &strip, FALSE);
}

void CPaneContainer::SetClient(HWND client) {
    client_ = client;
    Layout();
}

void CPaneContainer::Layout() {
    if (!m_hWnd) return;
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    const int title = TitleHeight();
    const int button = title - 2 * kTitlePadding;
    ::SetWindowPos(closeButton_, nullptr, rect.right - button - kTitlePadding, kTitlePadding, button, button,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (client_)
        ::SetWindowPos(client_, nullptr, 0, title, rect.right, rect.bottom > title ? rect.bottom - title : 0,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    RECT strip = rect;
    strip.bottom = title;
    ::InvalidateRect(m_hWnd, &strip, FALSE);
}

LRESULT CPaneContainer::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    Layout();
    return 0;
}

void CPaneContainer::DrawTitle(HDC dc, const RECT& strip) {
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_3DFACE));
    RECT line = strip;
    line.top = line.bottom - 1;
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_3DSHADOW));
    RECT text = strip;
    text.left += 2 * kTitlePadding;
    text.right -= TitleHeight();
    text.bottom -= 1;
    SelectedObject font(dc, TitleFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextA(dc, title_.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT CPaneContainer::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDc paint(m_hWnd);
    HDC dc = paint.Get();
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    RECT strip = rect;
    strip.bottom = TitleHeight();
    DrawTitle(dc, strip);
    if (!client_) {
        RECT rest = rect;
        rest.top = strip.bottom;
        ::FillRect(dc, &rest, ::GetSysColorBrush(COLOR_WINDOW));
    }
    return 0;
}

LRESULT CPaneContainer::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->hwndItem != closeButton_) {
        handled = FALSE;
        return 0;
    }
    // Drawn by hand: the caption glyph font is not on every system.
    RECT r = item->rcItem;
    ::FillRect(item->hDC, &r, ::GetSysColorBrush(COLOR_3DFACE));
    if (item->itemState & ODS_SELECTED) ::DrawEdge(item->hDC, &r, BDR_SUNKENOUTER, BF_RECT);
    const int size = (r.right - r.left) / 2 - 1;
    const int cx = (r.left + r.right) / 2 - ((item->itemState & ODS_SELECTED) ? 0 : 1);
    const int cy = (r.top + r.bottom) / 2 - ((item->itemState & ODS_SELECTED) ? 0 : 1);
    const GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_BTNTEXT)));
    SelectedObject drawing(item->hDC, pen.Get());
    ::MoveToEx(item->hDC, cx - size / 2, cy - size / 2, nullptr);
    ::LineTo(item->hDC, cx + size / 2 + 1, cy + size / 2 + 1);
    ::MoveToEx(item->hDC, cx + size / 2, cy - size / 2, nullptr);
    ::LineTo(item->hDC, cx - size / 2 - 1, cy + size / 2 + 1);
    return TRUE;
}

LRESULT CPaneContainer::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    if (client_) ::SetFocus(client_);
    return 0;
}

LRESULT CPaneContainer::OnCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (reinterpret_cast<HWND>(lParam) == closeButton_ && closeButton_) {
        if (HIWORD(wParam) == BN_CLICKED)
            ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(closeCommand_, 0),
                           reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    }
    return ::SendMessageA(::GetParent(m_hWnd), msg, wParam, lParam);
}

LRESULT CPaneContainer::ForwardToParent(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    return ::SendMessageA(::GetParent(m_hWnd), msg, wParam, lParam);
}
