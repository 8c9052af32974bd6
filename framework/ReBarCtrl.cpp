#include "framework/ReBarCtrl.h"
#include <commctrl.h>
#include "framework/AppModule.h"

HWND CReBarCtrl::Create(HWND parent, UINT id) {
    m_hWnd = ::CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT |
                                  RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER | CCS_TOP,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              g_Module.GetModuleInstance(), nullptr);
    if (m_hWnd) {
        REBARINFO info = {};
        info.cbSize = sizeof(info);
        SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    }
    return m_hWnd;
}

bool CReBarCtrl::AddBand(HWND child, bool newRow) {
    SIZE ideal = {0, 0};
    ::SendMessageA(child, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    RECT rect;
    ::GetWindowRect(child, &rect);
    const DWORD buttonSize = static_cast<DWORD>(::SendMessageA(child, TB_GETBUTTONSIZE, 0, 0));
    const int height = HIWORD(buttonSize) ? HIWORD(buttonSize) : rect.bottom - rect.top;

    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS | (newRow ? RBBS_BREAK : 0);
    band.hwndChild = child;
    band.cxMinChild = 0;
    band.cyMinChild = height;
    band.cx = ideal.cx ? ideal.cx + 16 : 200;
    band.cxIdeal = ideal.cx;
    return SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

int CReBarCtrl::GetBandCount() const { return static_cast<int>(SendMessage(RB_GETBANDCOUNT, 0, 0)); }

HWND CReBarCtrl::GetBandChild(int band) const {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD;
    if (!SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&info)))
        return nullptr;
    return info.hwndChild;
}

int CReBarCtrl::FindBand(HWND child) const {
    for (int band = 0; band < GetBandCount(); ++band)
        if (GetBandChild(band) == child) return band;
    return -1;
}

bool CReBarCtrl::ShowBand(int band, bool show) {
    return SendMessage(RB_SHOWBAND, static_cast<WPARAM>(band), show ? TRUE : FALSE) != 0;
}

bool CReBarCtrl::IsBandVisible(int band) const {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE;
    if (!SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&info)))
        return false;
    return !(info.fStyle & RBBS_HIDDEN);
}

int CReBarCtrl::GetHeight() const {
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    return rect.bottom - rect.top;
}
