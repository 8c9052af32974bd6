// Presses close together, from many browser windows at once: each press's page reaches the
// program, one after the other, or the press is told it was not taken.
#include "tests/plugin/PluginFixture.h"
#include "tests/support/PromptSupport.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace plugintest;

namespace {

struct Presser {
    IOleCommandTarget* button = nullptr;
    FakePage page;
    HANDLE go = nullptr;
    HRESULT result = E_PENDING;
};

DWORD WINAPI PressWhenTold(void* parameter) {
    Presser* presser = static_cast<Presser*>(parameter);
    WaitForSingleObject(presser->go, INFINITE);
    presser->result = presser->button->Exec(nullptr, 0, 0, nullptr, nullptr);
    return 0;
}

IOleCommandTarget* g_pressedAgain = nullptr;
HRESULT g_againResult = E_PENDING;
std::string g_againTold;

}  // namespace

TEST_F(PluginFixture, PressesCloseTogetherInManyBrowserWindowsEachHandTheirPageOver) {
    Register();
    ASSERT_EQ(nullptr, FindWindowA("Brackenfly_MainFrame", nullptr));
    const int kPresses = 12;
    std::vector<std::string> expected;
    // First with the program closed (the first press starts it, the others come while it starts),
    // then with it running.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::vector<Presser> pressers(kPresses);
        std::vector<HANDLE> threads;
        for (int i = 0; i < kPresses; ++i) {
            Presser& presser = pressers[i];
            const std::wstring number = std::to_wstring(round * kPresses + i);
            presser.page.location = L"http://example.com/page" + number;
            presser.page.cookies = L"n=" + number;
            presser.go = go;
            presser.button = NewButton();
            ASSERT_NE(nullptr, presser.button);
            ASSERT_EQ(S_OK, ShowPage(presser.button, presser.page));
            expected.push_back("http://example.com/page" + std::to_string(round * kPresses + i) + "\nn=" +
                               std::to_string(round * kPresses + i));
            threads.push_back(CreateThread(nullptr, 0, &PressWhenTold, &presser, 0, nullptr));
        }
        SetEvent(go);
        // Only a guard against a press that never ends: every press returns once its page was read.
        ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, 300000));
        for (HANDLE thread : threads) CloseHandle(thread);
        CloseHandle(go);
        for (Presser& presser : pressers) {
            EXPECT_EQ(S_OK, presser.result);
            presser.button->Release();
        }
        std::vector<std::string> pages = StandInPages(dir_.Path());
        std::vector<std::string> wanted = expected;
        std::sort(pages.begin(), pages.end());
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(wanted, pages);
    }
}

TEST_F(ButtonOnPageFixture, APressMadeWhileThisWindowHandsAPageOverIsToldItWasNotTaken) {
    {
        FakeMainWindow program;
        // The user presses again while the program takes the first page: the browser's window
        // answers meanwhile, and that press finds a hand-over under way on its own thread.
        g_pressedAgain = button_;
        g_againResult = E_PENDING;
        FakeMainWindow::OnNewTask([] {
            FakeMainWindow::OnNewTask(nullptr);
            testsupport::PromptWatcher told("Brackenfly", IDOK);
            g_againResult = g_pressedAgain->Exec(nullptr, 0, 0, nullptr, nullptr);
            g_againTold = told.Answered() ? told.PromptText() : "<not told>";
        });
        EXPECT_EQ(S_OK, Press(button_));
        EXPECT_EQ(1, FakeMainWindow::NewTasks());  // taken before the press returned
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_TIMEOUT), g_againResult);
        EXPECT_NE(std::string::npos, g_againTold.find("did not take the page")) << g_againTold;
        EXPECT_NE(std::string::npos, g_againTold.find("http://example.com/")) << g_againTold;

        // The next press is a turn of its own again.
        EXPECT_EQ(S_OK, Press(button_));
        EXPECT_EQ(2, FakeMainWindow::NewTasks());
    }

    // An older program says nothing back: it is handed the page as before, without a wait.
    FakeMainWindow older(FakeMainWindow::kOlderProgram);
    page_.location = L"http://example.com/older";
    EXPECT_EQ(S_OK, Press(button_));
    EXPECT_EQ("http://example.com/older\n", ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(1, FakeMainWindow::NewTasks());
}
