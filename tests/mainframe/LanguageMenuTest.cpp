// The language menu: filled from the language files, a choice stored by the file's name, and a
// restart that starts the new instance only after the old one has saved and ended.
#include <algorithm>
#include <cstdio>
#include "core/AppDirectory.h"
#include "core/InternationalSupport.h"
#include "core/ProgramSettings.h"
#include "resources/command_ids.h"
#include "tests/mainframe/FrameTestSupport.h"
#include "ui/frame/LanguageList.h"

namespace frametest {
namespace {

const char kGermanFile[] =
    "MENU 128 { \"&Task\" \"&Aufgabe\" \"English\" \"Englisch\" }\r\nSTRINGTABLE { 174 \"Aufgaben\" }\r\n";

void NoReport(const std::string&) {}

std::string StoredLanguage(const std::string& folder) {
    ProgramSettings settings(nullptr, folder, &NoReport);
    return settings.LangName;
}

class LanguageMenuTest : public FrameTest {
protected:
    void SetUp() override {
        langs_ = GetAppDirectory() + "Langs\\";
        ::CreateDirectoryA(langs_.c_str(), nullptr);
        ASSERT_TRUE(testsupport::WriteFileText(langs_ + "Deutsch.lng", kGermanFile));
        ASSERT_TRUE(testsupport::WriteFileText(langs_ + "English.lng", "STRINGTABLE { 174 \"Tasks\" }\r\n"));
        ASSERT_TRUE(testsupport::WriteFileText(langs_ + "Nederlands.lng", "STRINGTABLE { 174 \"Taken\" }\r\n"));
        FrameTest::SetUp();
    }
    void TearDown() override {
        FrameTest::TearDown();
        g_InternationalSupport.Load((langs_ + "none.lng").c_str());  // back to the program's own texts
        testsupport::RemoveTree(langs_);
    }
    HMENU LanguageMenu() {
        HMENU tools = ::GetSubMenu(frame_->GetCommandBar().GetMenu(), 3);
        return ::GetSubMenu(tools, 0);
    }
    std::string langs_;
};

TEST_F(LanguageMenuTest, OneItemPerLanguageFileEnglishOnce) {
    HMENU menu = LanguageMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(3, ::GetMenuItemCount(menu));
    EXPECT_EQ("English", MenuItemText(menu, 32830));
    EXPECT_TRUE(MenuItemChecked(menu, 32830));
    std::vector<std::string> others = {MenuItemText(menu, 32831), MenuItemText(menu, 32832)};
    std::sort(others.begin(), others.end());
    EXPECT_EQ((std::vector<std::string>{"Deutsch", "Nederlands"}), others);
    EXPECT_FALSE(MenuItemChecked(menu, 32831));
    EXPECT_EQ(32832u, frame_->GetLastLanguageCommand());

    EXPECT_EQ((std::vector<std::string>{"English", "A", "B"}), LanguageMenuNames({"A", "English", "B", "C"}, 2));
}

TEST_F(LanguageMenuTest, TranslatedMenusAndTheChoiceStoredByFileName) {
    // The program runs in German: the menu is translated, the item "English" too.
    DestroyFrame();
    app_->GetSettings()->LangName = "Deutsch";
    ASSERT_TRUE(g_InternationalSupport.Load((langs_ + "Deutsch.lng").c_str()));
    CreateFrame();
    EXPECT_EQ("&Aufgabe", frame_->GetCommandBar().ButtonTexts()[0]);
    EXPECT_EQ("Aufgaben", MainFrameTestSeam(*frame_).TasksPane().GetTitle());
    HMENU menu = LanguageMenu();
    EXPECT_EQ("Englisch", MenuItemText(menu, 32830));
    const std::vector<std::string>& names = MainFrameTestSeam(*frame_).LanguageNames();
    const UINT german = 32830 + static_cast<UINT>(std::find(names.begin(), names.end(), "Deutsch") - names.begin());
    EXPECT_TRUE(MenuItemChecked(menu, german));

    // Choosing English stores "English", not the item's text; No leaves the program running.
    testsupport::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {IDNO};
    ::SendMessageA(*frame_, WM_COMMAND, 32830, 0);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_EQ("Information", prompts.boxes[0].caption);  // the module's text: 245 is not translated here
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_YESNO), prompts.boxes[0].type);
    EXPECT_EQ("English", app_->GetSettings()->LangName);
    EXPECT_EQ("English", StoredLanguage(GetAppDirectory())) << "saved at once";
    EXPECT_FALSE(app_->IsRestartRequested());
    Pump();
    EXPECT_TRUE(::IsWindow(*frame_));

    // The language already chosen is stored and asked about again; Yes closes for a restart.
    prompts.messageBoxAnswers = {IDYES};
    ::SendMessageA(*frame_, WM_COMMAND, german, 0);
    ::SendMessageA(*frame_, WM_COMMAND, german, 0);
    EXPECT_EQ(3u, prompts.boxes.size());
    EXPECT_EQ("Program language changed to 'Deutsch'. Restart now?", prompts.boxes[1].text);
    EXPECT_EQ("Deutsch", StoredLanguage(GetAppDirectory()));
    EXPECT_TRUE(app_->IsRestartRequested());
    EXPECT_TRUE(prompts.shellCalls.empty()) << "nothing starts while this instance runs";
    Pump();
    EXPECT_FALSE(::IsWindow(*frame_));
}

TEST_F(LanguageMenuTest, TheRealQuestionAppearsAndNoKeepsTheProgramRunning) {
    const std::vector<std::string>& names = MainFrameTestSeam(*frame_).LanguageNames();
    const UINT dutch =
        32830 + static_cast<UINT>(std::find(names.begin(), names.end(), "Nederlands") - names.begin());
    testsupport::PromptWatcher watcher("Information", IDNO);
    ::SendMessageA(*frame_, WM_COMMAND, dutch, 0);
    EXPECT_TRUE(watcher.Answered());
    EXPECT_NE(std::string::npos, watcher.PromptText().find("Program language changed to 'Nederlands'"));
    Pump();
    EXPECT_TRUE(::IsWindow(*frame_));
    EXPECT_FALSE(app_->IsRestartRequested());
}

// The real program: the new instance comes up only after the old one has closed its window and
// saved its settings.
struct ProgramWindowSearch {
    DWORD excludedProcess;
    HWND found;
    DWORD process;
};

BOOL CALLBACK FindProgramWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ProgramWindowSearch*>(lParam);
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (std::string(name) == "Brackenfly_MainFrame" && process != search->excludedProcess &&
        process != ::GetCurrentProcessId() && ::IsWindowVisible(hWnd)) {
        search->found = hWnd;
        search->process = process;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForProgramWindow(DWORD excludedProcess, DWORD& process, DWORD ms = 60000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        ProgramWindowSearch search = {excludedProcess, nullptr, 0};
        ::EnumWindows(&FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            process = search.process;
            return search.found;
        }
        ::Sleep(50);
    }
    return nullptr;
}

HWND WaitForQuestion(DWORD process, DWORD ms = 30000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        HWND box = nullptr;
        while ((box = ::FindWindowExA(nullptr, box, "#32770", "Information")) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(box, &owner);
            if (owner == process && ::IsWindowVisible(box)) return box;
        }
        ::Sleep(50);
    }
    return nullptr;
}

TEST(LanguageRestart, NewInstanceStartsAfterTheOldOneSavedAndClosed) {
    testsupport::ScratchDir dir;
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH - 1);
    std::string program(self);
    program.erase(program.find_last_of('\\') + 1);
    program += "..\\bin\\Brackenfly.exe";
    ASSERT_TRUE(::CopyFileA(program.c_str(), dir.File("Brackenfly.exe").c_str(), FALSE));
    ASSERT_TRUE(::CreateDirectoryA(dir.File("Langs").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("Langs\\Deutsch.lng"), kGermanFile));
    {
        ProgramSettings settings(nullptr, dir.Path(), &NoReport);
        settings.ShowTip = false;
        ASSERT_TRUE(settings.Save());
    }

    std::string commandLine = "\"" + dir.File("Brackenfly.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION first = {};
    ASSERT_TRUE(::CreateProcessA(dir.File("Brackenfly.exe").c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &first))
        << "error " << ::GetLastError();
    DWORD firstProcess = 0;
    HWND firstFrame = WaitForProgramWindow(0, firstProcess);
    ASSERT_TRUE(firstFrame);
    EXPECT_EQ(first.dwProcessId, firstProcess);

    ::PostMessageA(firstFrame, WM_COMMAND, 32831, 0);
    HWND question = WaitForQuestion(first.dwProcessId);
    ASSERT_TRUE(question);
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);

    DWORD secondProcess = 0;
    HWND secondFrame = WaitForProgramWindow(first.dwProcessId, secondProcess);
    ASSERT_TRUE(secondFrame) << "a new instance starts";
    EXPECT_FALSE(::IsWindow(firstFrame)) << "the old window was gone before the new one came up";
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(first.hProcess, 30000));
    DWORD code = 0;
    ::GetExitCodeProcess(first.hProcess, &code);
    EXPECT_EQ(0u, code);  // a normal end, restart or not
    EXPECT_EQ("Deutsch", StoredLanguage(dir.Path()));

    // The new instance speaks German; close it.
    HANDLE second = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, secondProcess);
    ::PostMessageA(secondFrame, WM_CLOSE, 0, 0);
    if (second) {
        if (::WaitForSingleObject(second, 30000) != WAIT_OBJECT_0) ::TerminateProcess(second, 99);
        ::CloseHandle(second);
    }
    ::CloseHandle(first.hThread);
    ::CloseHandle(first.hProcess);
    EXPECT_EQ("Deutsch", StoredLanguage(dir.Path()));
}

}  // namespace
}  // namespace frametest
