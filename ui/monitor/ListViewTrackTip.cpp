#include "ui/monitor/ListViewTrackTip.h"
#include "framework/WindowProcGuard.h"

#include "framework/AppModule.h"

namespace {
const UINT_PTR kSubclassId = 0x4B54;   // any number unique to this subclass
}

CListViewTrackTip::~CListViewTrackTip() { Detach(); }

TTTOOLINFOA CListViewTrackTip::Tool() const {
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = parent_;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return tool;
}

bool CListViewTrackTip::Attach(HWND parent, HWND list) {
    Detach();
    parent_ = parent;
    list_ = list;
    if (!::SetWindowSubclass(list_, &CListViewTrackTip::ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    if (!Create(parent_, TTS_NOPREFIX)) return false;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TTTOOLINFOA tool = Tool();
    ::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    Track(false);
    return true;
}

void CListViewTrackTip::Detach() {
    if (list_ && ::IsWindow(list_)) ::RemoveWindowSubclass(list_, &CListViewTrackTip::ListProc, kSubclassId);
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (parent_ && ::IsWindow(parent_)) ::KillTimer(parent_, kShowTimer);
    m_hWnd = nullptr;
    list_ = nullptr;
    parent_ = nullptr;
    row_ = -1;
    showing_ = false;
    trackingMouse_ = false;
}

void CListViewTrackTip::Track(bool on) {
    if (!m_hWnd) return;
    TTTOOLINFOA tool = Tool();
    ::SendMessageA(m_hWnd, TTM_TRACKACTIVATE, on ? TRUE : FALSE, reinterpret_cast<LPARAM>(&tool));
    showing_ = on;
}

bool CListViewTrackTip::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_TIMER && wParam == kShowTimer) {
        ::KillTimer(parent_, kShowTimer);
        if (row_ >= 0) Track(true);
        return true;
    }
    // Mouse moves over the parent itself (outside the list) mean nothing here.
    return msg == WM_MOUSEMOVE;
}

void CListViewTrackTip::OnMouseMove(LPARAM lParam) {
    ::KillTimer(parent_, kShowTimer);
    if (!trackingMouse_) {
        TRACKMOUSEEVENT request = {};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_LEAVE;
        request.hwndTrack = list_;
        trackingMouse_ = ::TrackMouseEvent(&request) != FALSE;
    }
    LVHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(lParam));
    hit.pt.y = static_cast<short>(HIWORD(lParam));
    const int row = static_cast<int>(::SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0) {
        Track(false);
        return;
    }
    if (!showing_) {
        row_ = row;
        ::SetTimer(parent_, kShowTimer, kShowDelay, nullptr);
    } else if (row != row_) {
        row_ = row;
        // Re-activating makes the tip ask for the new row's text.
        Track(false);
        Track(true);
    }
    POINT screen = hit.pt;
    ::ClientToScreen(list_, &screen);
    ::SendMessageA(m_hWnd, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x + 15, screen.y + 15));
}

void CListViewTrackTip::OnMouseLeave() {
    trackingMouse_ = false;
    ::KillTimer(parent_, kShowTimer);
    Track(false);
}

LRESULT CALLBACK CListViewTrackTip::ListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    CListViewTrackTip* tip = reinterpret_cast<CListViewTrackTip*>(self);
    if (msg == WM_MOUSEMOVE || msg == WM_MOUSELEAVE) {
        GuardedCallback<bool>(hWnd, false, [&] {
            if (msg == WM_MOUSEMOVE) tip->OnMouseMove(lParam);
            else tip->OnMouseLeave();
            return true;
        });
    } else if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hWnd, &CListViewTrackTip::ListProc, kSubclassId);
        tip->list_ = nullptr;
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
