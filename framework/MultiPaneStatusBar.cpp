#include "framework/MultiPaneStatusBar.h"
#include "framework/WindowProcGuard.h"
#include <commctrl.h>
#include "framework/AppModule.h"

namespace {
const UINT_PTR kSubclassId = 1;
}

CMultiPaneStatusBar::~CMultiPaneStatusBar() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::RemoveWindowSubclass(m_hWnd, &SubclassProc, kSubclassId);
}

HWND CMultiPaneStatusBar::Create(HWND parent, const std::string& text, UINT id) {
    m_hWnd = ::CreateWindowExA(0, STATUSCLASSNAMEA, text.c_str(),
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP |
                                  SBARS_TOOLTIPS,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              g_Module.GetModuleInstance(), nullptr);
    if (m_hWnd) ::SetWindowSubclass(m_hWnd, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return m_hWnd;
}

std::vector<int> CMultiPaneStatusBar::PaneEdges(int width, int grip, const std::vector<int>& fixedWidths) {
    int fixed = 0;
    for (int w : fixedWidths) fixed += w;
    std::vector<int> edges;
    int edge = width - grip - fixed;
    if (edge < 0) edge = 0;
    edges.push_back(edge);
    for (int w : fixedWidths) {
        edge += w;
        edges.push_back(edge);
    }
    return edges;
}

void CMultiPaneStatusBar::SetPanes(const std::vector<int>& fixedWidths) {
    fixedWidths_ = fixedWidths;
    tips_.assign(fixedWidths.size() + 1, std::string());
    UpdateParts();
}

void CMultiPaneStatusBar::UpdateParts() {
    if (!m_hWnd) return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int grip = (::GetWindowLongA(m_hWnd, GWL_STYLE) & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
    std::vector<int> edges = PaneEdges(client.right, grip, fixedWidths_);
    ::SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void CMultiPaneStatusBar::SetPaneText(int pane, const std::string& text) {
    ::SendMessageA(m_hWnd, SB_SETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CMultiPaneStatusBar::GetPaneText(int pane) const {
    const LRESULT length = LOWORD(::SendMessageA(m_hWnd, SB_GETTEXTLENGTHA, static_cast<WPARAM>(pane), 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(m_hWnd, SB_GETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

void CMultiPaneStatusBar::SetPaneIcon(int pane, HICON icon) {
    ::SendMessageA(m_hWnd, SB_SETICON, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(icon));
}

HICON CMultiPaneStatusBar::GetPaneIcon(int pane) const {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, SB_GETICON, static_cast<WPARAM>(pane), 0));
}

void CMultiPaneStatusBar::SetPaneTip(int pane, const std::string& tip) {
    if (pane < 0 || pane >= static_cast<int>(tips_.size())) return;
    tips_[static_cast<size_t>(pane)] = tip;
    ::SendMessageA(m_hWnd, SB_SETTIPTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(tip.c_str()));
}

std::string CMultiPaneStatusBar::GetPaneTip(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(tips_.size())) return std::string();
    return tips_[static_cast<size_t>(pane)];
}

RECT CMultiPaneStatusBar::GetPaneRect(int pane) const {
    RECT rect = {0, 0, 0, 0};
    ::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void CMultiPaneStatusBar::GetBorders(int& horizontal, int& vertical) const {
    int borders[3] = {0, 0, 0};
    ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    horizontal = borders[0];
    vertical = borders[1];
}

LRESULT CALLBACK CMultiPaneStatusBar::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR data) {
    const LRESULT result = ::DefSubclassProc(hWnd, msg, wParam, lParam);
    if (msg == WM_SIZE) {
        auto* self = reinterpret_cast<CMultiPaneStatusBar*>(data);
        GuardedCallback<bool>(hWnd, false, [&] {
            self->UpdateParts();
            return true;
        });
    }
    return result;
}
