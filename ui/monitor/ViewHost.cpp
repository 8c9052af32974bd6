#include "ui/monitor/ViewHost.h"

#include "core/DownloadManagerTexts.h"
#include "framework/AppModule.h"
#include "framework/GdiHolders.h"
#include "framework/ImageListStrip.h"
#include "resources/monitor_ids.h"

namespace {
const UINT kMoveFlags = SWP_NOACTIVATE | SWP_NOZORDER;
}

ViewHost::~ViewHost() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND ViewHost::CreateHost(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

LRESULT ViewHost::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    ControlArgs args;
    args.parent = m_hWnd;
    args.style = WS_CLIPSIBLINGS;
    if (!tabs_.Create(args)) return -1;
    ::SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    images_ = LoadImageListStrip(IDB_VIEW_TABS, 16, 16);
    ::SendMessageA(tabs_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
    return 0;
}

LRESULT ViewHost::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kFlashTimer);
    handled = FALSE;
    return 0;
}

int ViewHost::AddView(const std::string& name, HWND view) {
    const int position = static_cast<int>(views_.size());
    std::string text = name;
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = &text[0];
    item.iImage = position;
    ::SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
    views_.push_back(view);
    Layout();
    ::SendMessageA(tabs_, TCM_SETCURSEL, 0, 0);
    ShowSelectedView();
    return position;
}

void ViewHost::AddMonitorViews(HWND connections, HWND messages, HWND errors, HWND statistics) {
    AddView(EngineText(IDS_TAB_CONNECTIONS), connections);
    AddView(EngineText(IDS_TAB_MESSAGES), messages);
    AddView(EngineText(IDS_TAB_ERRORS), errors);
    AddView(EngineText(IDS_TAB_STATISTICS), statistics);
}

HWND ViewHost::View(int tab) const {
    return tab >= 0 && tab < ViewCount() ? views_[static_cast<size_t>(tab)] : nullptr;
}

int ViewHost::SelectedTab() const { return static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)); }

int ViewHost::TabImage(int tab) const {
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = -1;
    ::SendMessageA(tabs_, TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void ViewHost::SetTabImage(int tab, int image) {
    if (tab < 0 || tab >= ViewCount()) return;
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = image;
    ::SendMessageA(tabs_, TCM_SETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
}

void ViewHost::Layout() {
    if (!m_hWnd || !tabs_) return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    ::SetWindowPos(tabs_, nullptr, client.left + 1, client.top, width - 3, height, kMoveFlags | SWP_NOREDRAW);
    RECT display = {client.left + 1, client.top, client.left + 1 + width - 3, client.bottom};
    ::SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    ::SetWindowPos(tabs_, nullptr, client.left + 2, client.top, width - 5, display.top - client.top,
                   kMoveFlags | SWP_NOREDRAW);
    for (HWND view : views_)
        ::SetWindowPos(view, nullptr, client.left, display.top, width, client.bottom - display.top, kMoveFlags);
    ::InvalidateRect(tabs_, nullptr, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ViewHost::ShowSelectedView() {
    const int selected = SelectedTab();
    for (int i = 0; i < ViewCount(); ++i) ::ShowWindow(views_[static_cast<size_t>(i)], i == selected ? SW_SHOW : SW_HIDE);
}

void ViewHost::FlashTab(int tab, int image) {
    // A message may come in while the window tree is being torn down.
    if (!m_hWnd) return;
    StopFlash();
    flashTicks_ = 0;
    flashedTab_ = tab;
    flashImage_ = image;
    ::SetTimer(m_hWnd, kFlashTimer, kFlashPeriod, nullptr);
}

void ViewHost::StopFlash() {
    if (m_hWnd) ::KillTimer(m_hWnd, kFlashTimer);
    const int selected = SelectedTab();
    if (flashedTab_ >= 0) {
        // An unselected tab stays marked until the user looks at it.
        SetTabImage(flashedTab_, flashedTab_ == selected ? flashedTab_ : flashImage_);
        flashedTab_ = -1;
    }
    SetTabImage(selected, selected);
}

LRESULT ViewHost::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kFlashTimer) {
        handled = FALSE;
        return 0;
    }
    ++flashTicks_;
    if (flashTicks_ > kFlashTicks) StopFlash();
    else SetTabImage(flashedTab_, flashTicks_ % 2 ? flashedTab_ : flashImage_);
    return 0;
}

LRESULT ViewHost::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != tabs_ || header->code != static_cast<UINT>(TCN_SELCHANGE)) {
        handled = FALSE;
        return 0;
    }
    StopFlash();
    ShowSelectedView();
    return 0;
}

LRESULT ViewHost::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    Layout();
    return 0;
}

LRESULT ViewHost::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDc dc(m_hWnd);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::DrawEdge(dc.Get(), &client, EDGE_ETCHED, BF_LEFT | BF_RIGHT | BF_ADJUST);
    return 0;
}
