// Start-up and shut-down end to end: the real program, copied into a scratch program folder,
// started, its main window closed, its exit code and settings file checked.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "core/ProgramSettings.h"
#include "resources/command_ids.h"
#include "tests/startup/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using startuptest::ProgramRun;

void NoReport(const std::string&) {}

// The settings as the program left them in a folder.
std::string StoredLanguage(const std::string& folder) {
    ProgramSettings settings(nullptr, folder, &NoReport);
    return settings.LangName;
}

class ProgramRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileA(startuptest::BuiltProgramPath().c_str(), dir_.File("Brackenfly.exe").c_str(), FALSE))
            << "the program must be built beside the tests: " << startuptest::BuiltProgramPath();
    }
    // Closes the main window and expects the normal end: exit code 0.
    void CloseAndExpectNormalEnd(ProgramRun& run, HWND frame) {
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, run.WaitForExit());
    }
    testsupport::ScratchDir dir_;
};

// The state of a button of the main window's toolbar (the one carrying the picture commands),
// read from outside the program; -1 when there is no such button.
struct ToolbarSearch {
    int command;
    HWND found;
};

BOOL CALLBACK MatchToolbar(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ToolbarSearch*>(lParam);
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "ToolbarWindow32" &&
        ::SendMessageA(window, TB_COMMANDTOINDEX, static_cast<WPARAM>(search->command), 0) >= 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int ToolbarButtonState(HWND frame, int command) {
    ToolbarSearch search = {command, nullptr};
    ::EnumChildWindows(frame, &MatchToolbar, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return -1;
    return static_cast<int>(::SendMessageA(search.found, TB_GETSTATE, static_cast<WPARAM>(command), 0));
}

// What the toolbar shows while the first modal dialog is open: no picture is shown, so the
// picture commands are disabled, and "Show Last Downloaded Image" is checked as the settings say.
void ExpectStartStatesShown(HWND frame) {
    for (int command : {ID_IMAGES_COPY_TO, ID_IMAGES_DELETE, ID_IMAGES_FULLSCREEN, ID_IMAGES_SLIDE_SHOW}) {
        const int state = ToolbarButtonState(frame, command);
        ASSERT_NE(-1, state) << command;
        EXPECT_FALSE(state & TBSTATE_ENABLED) << command;
    }
    EXPECT_TRUE(ToolbarButtonState(frame, ID_IMAGES_SHOW_LAST) & TBSTATE_CHECKED);
}

TEST_F(ProgramRunTest, ToolbarShowsTheStartStatesWhileTheTipOrTheNewTaskDialogIsOpen) {
    // A run whose first window is a modal dialog: the toolbar is read while it is open.
    auto checkWhileFirstDialogIsOpen = [&](const std::string& arguments) {
        ProgramRun run(dir_.Path(), arguments);
        ASSERT_TRUE(run.Started());
        HWND dialog = run.WaitForWindow("#32770");
        ASSERT_TRUE(dialog);
        HWND frame = run.WaitForWindow("Brackenfly_MainFrame");
        ASSERT_TRUE(frame);
        ::Sleep(300);
        ExpectStartStatesShown(frame);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        CloseAndExpectNormalEnd(run, frame);
    };
    checkWhileFirstDialogIsOpen("");  // the start-up tip
    {
        ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
        settings.ShowTip = false;
        ASSERT_TRUE(settings.Save());
    }
    checkWhileFirstDialogIsOpen("-c");  // the New Task dialog
}

TEST_F(ProgramRunTest, FirstRunWritesSettingsAndEndsWithExitCodeZero) {
    ProgramRun run(dir_.Path(), "");
    ASSERT_TRUE(run.Started());
    HWND frame = run.WaitForWindow("Brackenfly_MainFrame");
    ASSERT_TRUE(frame);
    EXPECT_FALSE(testsupport::FileExists(dir_.File("Brackenfly.config")));  // written on close
    CloseAndExpectNormalEnd(run, frame);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir_.File("Brackenfly.config"), bytes));
    ASSERT_GE(bytes.size(), 7u);
    EXPECT_EQ("PROPBAG", std::string(bytes.begin(), bytes.begin() + 7));
    EXPECT_EQ("English", StoredLanguage(dir_.Path()));
}

TEST_F(ProgramRunTest, StoredSettingsSurviveTheRun) {
    {
        ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
        settings.ThreadsAmount = 9;
        settings.ProxyAddress = "proxy.example";
        ASSERT_TRUE(settings.Save());
    }
    ProgramRun run(dir_.Path(), "-C whatever follows");
    ASSERT_TRUE(run.Started());
    HWND frame = run.WaitForWindow("Brackenfly_MainFrame");
    ASSERT_TRUE(frame);
    CloseAndExpectNormalEnd(run, frame);
    ProgramSettings after(nullptr, dir_.Path(), &NoReport);
    EXPECT_EQ(9, after.ThreadsAmount);
    EXPECT_EQ("proxy.example", after.ProxyAddress);
}

TEST_F(ProgramRunTest, ReadOnlyLanguageFileLoadsWithoutComplaint) {
    ASSERT_TRUE(::CreateDirectoryA(dir_.File("Langs").c_str(), nullptr));
    const std::string langFile = dir_.File("Langs\\Deutsch.lng");
    ASSERT_TRUE(testsupport::WriteFileText(langFile, "STRINGTABLE { 57345 \"Bereit\" }\r\n"));
    ASSERT_TRUE(::SetFileAttributesA(langFile.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
        settings.LangName = "Deutsch";
        ASSERT_TRUE(settings.Save());
    }
    ProgramRun run(dir_.Path(), "");
    ASSERT_TRUE(run.Started());
    HWND frame = run.WaitForWindow("Brackenfly_MainFrame");
    ASSERT_TRUE(frame);
    CloseAndExpectNormalEnd(run, frame);
    EXPECT_EQ("Deutsch", StoredLanguage(dir_.Path()));
    ::SetFileAttributesA(langFile.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ProgramRunTest, MissingLanguageFileIsReportedAndTheChoiceKept) {
    {
        ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
        settings.LangName = "Klingon";
        ASSERT_TRUE(settings.Save());
    }
    const startuptest::ToldBox told = startuptest::RunAnsweringOneBox(dir_.Path());
    EXPECT_EQ("Brackenfly", told.caption);
    EXPECT_EQ("Error when loading 'Klingon' language file. Default language is English.", told.text);
    // The file may come back (or only have been held for a moment): the choice is the user's.
    EXPECT_EQ("Klingon", StoredLanguage(dir_.Path()));
}

TEST_F(ProgramRunTest, ALanguageFileHeldAtStartDoesNotLoseTheChoice) {
    ASSERT_TRUE(::CreateDirectoryA(dir_.File("Langs").c_str(), nullptr));
    const std::string langFile = dir_.File("Langs\\Deutsch.lng");
    ASSERT_TRUE(testsupport::WriteFileText(langFile, "STRINGTABLE { 57345 \"Bereit\" }\r\n"));
    {
        ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
        settings.LangName = "Deutsch";
        ASSERT_TRUE(settings.Save());
    }
    // Another program holds the file, without sharing, only while the program starts.
    testsupport::HeldFile holder(langFile);
    ASSERT_TRUE(holder.Held());
    EXPECT_EQ("Error when loading 'Deutsch' language file. Default language is English.",
              startuptest::RunAnsweringOneBox(dir_.Path(), &holder).text);
    EXPECT_EQ("Deutsch", StoredLanguage(dir_.Path()));
}

}  // namespace
