#include "tests/mainframe/FrameTestSupport.h"
#include "core/AppDirectory.h"
#include "core/ProgramSettings.h"
#include "framework/AppModule.h"
#include "tests/support/MessagePump.h"

namespace frametest {

bool FakeTasksPane::HasFocus() const {
    HWND focus = ::GetFocus();
    return focus && window.m_hWnd && (focus == window.m_hWnd || ::IsChild(window.m_hWnd, focus));
}

bool FakePictureContainer::HasFocus() const {
    HWND focus = ::GetFocus();
    return focus && window.m_hWnd && (focus == window.m_hWnd || ::IsChild(window.m_hWnd, focus));
}

void Pump(CMessageLoop& loop, DWORD ms) { testsupport::PumpLoopFor(loop, ms); }

void SetKeyState(int virtualKey, bool down) {
    BYTE state[256];
    ::GetKeyboardState(state);
    state[virtualKey] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

std::string SettingsPath() { return GetAppDirectory() + "Brackenfly.config"; }

std::string MenuItemText(HMENU menu, UINT id) {
    char text[256] = {};
    ::GetMenuStringA(menu, id, text, sizeof(text) - 1, MF_BYCOMMAND);
    return text;
}

bool MenuItemChecked(HMENU menu, UINT id) {
    return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool MenuItemGrayed(HMENU menu, UINT id) {
    return (::GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
}

void FrameTest::SetUp() {
    ::DeleteFileA(SettingsPath().c_str());
    ASSERT_TRUE(g_Module.AddMessageLoop(&loop_));
    app_.reset(new Application());
    app_->GetSettings()->ShowTip = false;
    CreateFrame();
}

void FrameTest::CreateFrame() {
    FramePieces pieces;
    tasks_ = new FakeTasksPane();
    pictures_ = new FakePictureContainer();
    monitor_ = new FakeMonitorViews();
    dialogs_ = new FakeDialogs();
    pieces.tasks.reset(tasks_);
    pieces.pictures.reset(pictures_);
    pieces.monitor.reset(monitor_);
    pieces.dialogs.reset(dialogs_);
    frame_.reset(new MainFrame(app_.get(), std::move(pieces)));
    ASSERT_TRUE(frame_->CreateFrame()) << "error " << ::GetLastError();
    ::SetWindowPos(*frame_, nullptr, 10, 10, 900, 700, SWP_NOZORDER);
    ::ShowWindow(*frame_, SW_SHOW);
    ::SetForegroundWindow(*frame_);
    Pump();
}

void FrameTest::DestroyFrame() {
    frame_.reset();
    Pump(20);
}

void FrameTest::TearDown() {
    SetKeyState(VK_CONTROL, false);
    SetKeyState(VK_MENU, false);
    DestroyFrame();
    app_.reset();
    g_Module.RemoveMessageLoop();
    ::DeleteFileA(SettingsPath().c_str());
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void FrameTest::PressKey(HWND target, int virtualKey) {
    const UINT scan = ::MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
    ::PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1 | (scan << 16));
    ::PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), 1 | (scan << 16) | 0xC0000000u);
    Pump(60);
}

RECT FrameTest::WindowRectIn(HWND window, HWND parent) const {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

MenuOpening* MenuOpening::current_ = nullptr;

MenuOpening::MenuOpening(bool pickFirst) : pickFirst_(pickFirst) {
    current_ = this;
    hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
}

MenuOpening::~MenuOpening() {
    ::UnhookWindowsHookEx(hook_);
    current_ = nullptr;
}

LRESULT CALLBACK MenuOpening::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && current_) {
        ++current_->opened;
        current_->owner = message->hwnd;
        current_->foreground = ::GetForegroundWindow();
        if (current_->pickFirst_) {
            ::PostMessageA(message->hwnd, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(message->hwnd, WM_KEYDOWN, VK_RETURN, 0);
        } else {
            ::PostMessageA(message->hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace frametest
