#include "tests/monitor/MonitorHarness.h"

#include <commctrl.h>
#include <vector>

namespace testsupport {

MonitorHarness::MonitorHarness(const std::string& programFolder)
    : settings(nullptr, programFolder, [](const std::string&) {}),
      manager(&settings, this),
      totals(&manager),
      messages(&host),
      errors(&manager),
      stats(&totals) {}

MonitorHarness::~MonitorHarness() {
    // As in the frame: the whole window tree goes while every view object still exists, since
    // the manager's window stops the run and reports to the views as it goes.
    if (frame_) ::DestroyWindow(frame_);
}

bool MonitorHarness::Create() {
    frame_ = ::CreateWindowExA(0, "STATIC", "Monitor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20,
                               820, 420, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!frame_ || !host.CreateHost(frame_)) return false;
    messages.SetMenuHost(&menus);
    errors.SetMenuHost(&menus);
    if (!manager.CreateManagerWindow(host) || !messages.CreateView(host) || !errors.CreateView(host) ||
        !stats.CreateView(host))
        return false;
    host.AddMonitorViews(manager, messages, errors, stats);
    RECT client;
    ::GetClientRect(frame_, &client);
    ::SetWindowPos(host, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(50);
    return true;
}

bool MonitorHarness::RouteCommand(UINT id) {
    return errors.OnCommand(id) || stats.OnCommand(id) || messages.OnCommand(id);
}

bool MonitorHarness::RunUntilIdle(DWORD limit) {
    const DWORD begin = ::GetTickCount();
    while (!manager.IsIdle()) {
        if (::GetTickCount() - begin > limit) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

void ClickAt(HWND window, int x, int y) {
    // The release waits in the queue: a list view watching for a drag after the press finds it there.
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PumpFor(20);
}

void ClickTab(ViewHost& host, int tab) {
    RECT place = {};
    ::SendMessageA(host.TabControl(), TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&place));
    ClickAt(host.TabControl(), (place.left + place.right) / 2, (place.top + place.bottom) / 2);
}

void ClickRow(HWND list, int row) {
    RECT place = {};
    place.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&place));
    ClickAt(list, place.left + 20, (place.top + place.bottom) / 2);
}

std::string ControlText(HWND dialog, int id) {
    char text[1024] = {0};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

}  // namespace testsupport
