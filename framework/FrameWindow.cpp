#include "framework/FrameWindow.h"
#include <commctrl.h>
#include "framework/AppModule.h"

bool SplitCommandString(const std::string& text, std::string& prompt, std::string& tip) {
    const size_t feed = text.find('\n');
    if (feed == std::string::npos) return false;
    prompt = text.substr(0, feed);
    tip = text.substr(feed + 1, 79);
    return true;
}

std::string LoadCommandString(UINT id) {
    char text[256] = {};
    const int length = ::LoadStringA(g_Module.GetModuleInstance(), id, text, sizeof(text));
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

void CFrameWindowImplBase::UpdateLayout() {
    if (!m_hWnd) return;
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    if (barHost_ && ::IsWindowVisible(barHost_)) {
        ::SendMessageA(barHost_, WM_SIZE, 0, 0);
        RECT bars;
        ::GetWindowRect(barHost_, &bars);
        rect.top += bars.bottom - bars.top;
    }
    if (statusBar_ && ::IsWindowVisible(statusBar_)) {
        ::SendMessageA(statusBar_, WM_SIZE, 0, 0);
        RECT status;
        ::GetWindowRect(statusBar_, &status);
        rect.bottom -= status.bottom - status.top;
    }
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    if (client_)
        ::SetWindowPos(client_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CFrameWindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != SIZE_MINIMIZED) UpdateLayout();
    handled = FALSE;
    return 0;
}

LRESULT CFrameWindowImplBase::OnMenuSelect(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (!statusBar_) return 0;
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {  // the menu closed
        ::SendMessageA(statusBar_, SB_SIMPLE, FALSE, 0);
        return 0;
    }
    std::string prompt, tip;
    if (!(flags & (MF_POPUP | MF_SEPARATOR))) SplitCommandString(LoadCommandString(LOWORD(wParam)), prompt, tip);
    ::SendMessageA(statusBar_, SB_SIMPLE, TRUE, 0);
    ::SendMessageA(statusBar_, SB_SETTEXTA, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(prompt.c_str()));
    return 0;
}

LRESULT CFrameWindowImplBase::OnToolTipTextA(int, LPNMHDR header, BOOL&) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    std::string prompt, tip;
    const UINT id = (info->uFlags & TTF_IDISHWND) ? 0 : static_cast<UINT>(header->idFrom);
    tipBuffer_[0] = '\0';
    if (id && SplitCommandString(LoadCommandString(id), prompt, tip)) lstrcpynA(tipBuffer_, tip.c_str(), sizeof(tipBuffer_));
    info->lpszText = tipBuffer_;
    return 0;
}

LRESULT CFrameWindowImplBase::OnToolTipTextW(int, LPNMHDR header, BOOL&) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    std::string prompt, tip;
    const UINT id = (info->uFlags & TTF_IDISHWND) ? 0 : static_cast<UINT>(header->idFrom);
    tipBufferW_[0] = L'\0';
    if (id && SplitCommandString(LoadCommandString(id), prompt, tip))
        ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, tipBufferW_, 80);
    tipBufferW_[79] = L'\0';
    info->lpszText = tipBufferW_;
    return 0;
}

LRESULT CFrameWindowImplBase::OnBarHostHeightChange(int, LPNMHDR header, BOOL& handled) {
    if (header->hwndFrom != barHost_) {
        handled = FALSE;
        return 0;
    }
    UpdateLayout();
    return 0;
}
