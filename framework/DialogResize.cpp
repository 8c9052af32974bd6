#include "framework/DialogResize.h"
#include "framework/AppModule.h"

RECT ResizedControlRect(const RECT& initial, int dx, int dy, unsigned flags) {
    RECT rect = initial;
    if (flags & kResizeMoveX) {
        rect.left += dx;
        rect.right += dx;
    } else if (flags & kResizeSizeX) {
        rect.right += dx;
    }
    if (flags & kResizeMoveY) {
        rect.top += dy;
        rect.bottom += dy;
    } else if (flags & kResizeSizeY) {
        rect.bottom += dy;
    }
    return rect;
}

namespace {
RECT RectInParent(HWND control, HWND parent) {
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
}  // namespace

void CDialogResize::Init(HWND dialog, const std::vector<DialogResizeRule>& rules) {
    dialog_ = dialog;
    // Children that move must not be painted over by the dialog's background.
    ::SetWindowLongPtrA(dialog, GWL_STYLE, ::GetWindowLongPtrA(dialog, GWL_STYLE) | WS_CLIPCHILDREN);

    RECT client = {};
    ::GetClientRect(dialog, &client);
    initialClient_ = {client.right, client.bottom};
    RECT window = {};
    ::GetWindowRect(dialog, &window);
    minimumTrack_ = {window.right - window.left, window.bottom - window.top};

    const int gripWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    const int gripHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    HWND grip = ::CreateWindowExA(0, "SCROLLBAR", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                                  client.right - gripWidth, client.bottom - gripHeight, gripWidth, gripHeight, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSizeGripId)),
                                  g_Module.GetModuleInstance(), nullptr);

    placed_.clear();
    for (const DialogResizeRule& rule : rules) {
        HWND control = ::GetDlgItem(dialog, rule.controlId);
        if (control) placed_.push_back({control, RectInParent(control, dialog), rule.flags});
    }
    if (grip) placed_.push_back({grip, RectInParent(grip, dialog), kResizeMoveX | kResizeMoveY});
}

BOOL CDialogResize::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM, LPARAM lParam, LRESULT& lResult) {
    if (!dialog_ || hWnd != dialog_) return FALSE;
    if (uMsg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = minimumTrack_.cx;
        info->ptMinTrackSize.y = minimumTrack_.cy;
        lResult = 0;
        return TRUE;
    }
    if (uMsg == WM_SIZE && !placed_.empty()) {
        Layout();
        ::ShowWindow(::GetDlgItem(dialog_, kSizeGripId), ::IsZoomed(dialog_) ? SW_HIDE : SW_SHOW);
    }
    // WM_SIZE goes on to the dialog's own handling too.
    return FALSE;
}

void CDialogResize::Layout() {
    RECT client = {};
    ::GetClientRect(dialog_, &client);
    // A smaller client than at the start only happens while minimised: nothing to lay out then.
    if (::IsIconic(dialog_)) return;
    const int dx = client.right - initialClient_.cx;
    const int dy = client.bottom - initialClient_.cy;
    // Moved controls paint themselves afresh: bits copied from their old place can land where the
    // grown window had nothing yet to copy.
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(placed_.size()));
    for (const Placed& item : placed_) {
        const RECT rect = ResizedControlRect(item.initial, dx, dy, item.flags);
        if (positions)
            positions = ::DeferWindowPos(positions, item.control, nullptr, rect.left, rect.top,
                                         rect.right - rect.left, rect.bottom - rect.top,
                                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (positions) ::EndDeferWindowPos(positions);
    ::InvalidateRect(dialog_, nullptr, TRUE);
}
