// A press whose text cannot be put on the clipboard ends there: the program is neither told nor
// started, since the clipboard would not hold the page it asks for, and the user is told the page
// was not taken.
#include "tests/plugin/PluginFixture.h"
#include "tests/support/PromptSupport.h"

using namespace plugintest;

namespace {

// Another thread's window owns the clipboard and, told that the clipboard is being emptied, opens
// it for itself: whoever opened it can then never own it.
class ClipboardSnatcher {
public:
    ClipboardSnatcher() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &ClipboardSnatcher::Run, this, 0, nullptr);
        WaitForSingleObject(ready_, 10000);
    }
    ~ClipboardSnatcher() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(stop_);
        CloseHandle(ready_);
    }
    ClipboardSnatcher(const ClipboardSnatcher&) = delete;
    ClipboardSnatcher& operator=(const ClipboardSnatcher&) = delete;
    static LONG Snatches() { return snatches_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROYCLIPBOARD && OpenClipboard(nullptr)) InterlockedIncrement(&snatches_);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static DWORD WINAPI Run(void* parameter) {
        ClipboardSnatcher* self = static_cast<ClipboardSnatcher*>(parameter);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &ClipboardSnatcher::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PluginTestClipboardSnatcher";
        RegisterClassA(&wc);
        HWND window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        snatches_ = 0;
        if (OpenClipboard(window)) {
            EmptyClipboard();
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
            memcpy(GlobalLock(block), "mine", 5);
            GlobalUnlock(block);
            SetClipboardData(CF_TEXT, block);
            CloseClipboard();
        }
        SetEvent(self->ready_);
        while (MsgWaitForMultipleObjects(1, &self->stop_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        if (snatches_) CloseClipboard();
        DestroyWindow(window);
        UnregisterClassA(wc.lpszClassName, wc.hInstance);
        return 0;
    }
    HANDLE ready_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    static volatile LONG snatches_;
};
volatile LONG ClipboardSnatcher::snatches_ = 0;

}  // namespace

TEST_F(ButtonOnPageFixture, APressThatCannotOwnTheClipboardNeitherTellsNorStartsTheProgram) {
    FakeMainWindow program;
    {
        ClipboardSnatcher snatcher;
        testsupport::PromptWatcher told("Brackenfly", IDOK);
        EXPECT_EQ(S_OK, Press(button_));
        ASSERT_TRUE(told.Answered());
        EXPECT_NE(std::string::npos, told.PromptText().find("did not take the page")) << told.PromptText();
        EXPECT_NE(std::string::npos, told.PromptText().find("clipboard")) << told.PromptText();
        testsupport::PumpMessages(300);
        EXPECT_EQ(1, ClipboardSnatcher::Snatches());
        EXPECT_EQ(0, FakeMainWindow::NewTasks());
    }

    // A browser that cannot name its window leaves nothing to own the clipboard with.
    SetClipboardText("left alone");
    page_.windowFails = true;
    {
        testsupport::PromptWatcher told("Brackenfly", IDOK);
        EXPECT_EQ(S_OK, Press(button_));
        ASSERT_TRUE(told.Answered());
        EXPECT_NE(std::string::npos, told.PromptText().find("did not take the page")) << told.PromptText();
    }
    testsupport::PumpMessages(300);
    EXPECT_EQ(0, FakeMainWindow::NewTasks());
    EXPECT_EQ("left alone", ClipboardText());

    // Both well again: the press goes through.
    page_.windowFails = false;
    EXPECT_EQ(S_OK, Press(button_));
    testsupport::PumpMessages(300);
    EXPECT_EQ(1, FakeMainWindow::NewTasks());
    EXPECT_EQ("http://example.com/\n", ClipboardText());
}
