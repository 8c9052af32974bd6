// Start-up and shut-down end to end: the real program, copied into a scratch program folder,
// started, its main window closed, its exit code and settings file checked.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "core/ProgramSettings.h"
#include "resources/command_ids.h"
#include "tests/support/TestSupport.h"

namespace {

const DWORD kWaitMs = 60000;

std::string BuiltProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "..\\bin\\Brackenfly.exe";
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char className[128] = {};
    ::GetClassNameA(hWnd, className, sizeof(className));
    if (pid == search->processId && std::string(className) == search->className) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

void NoReport(const std::string&) {}

// The settings as the program left them in a folder.
std::string StoredLanguage(const std::string& folder) {
    ProgramSettings settings(nullptr, folder, &NoReport);
    return settings.LangName;
}

// One run of the program from its own folder.
class ProgramRun {
public:
    ProgramRun(const std::string& folder, const std::string& arguments) {
        const std::string program = folder + "Brackenfly.exe";
        std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        // Started from elsewhere: the program must find its files through its own path.
        started_ = ::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, &startup, &process_) != FALSE;
    }
    ~ProgramRun() {
        if (!started_) return;
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 99);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return started_; }

    // A top-level window of the program with this class, waited for.
    HWND WaitForWindow(const char* className) {
        for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
            WindowSearch search = {process_.dwProcessId, className, nullptr};
            ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found && ::IsWindowVisible(search.found)) return search.found;
            if (::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }

    // Waits for the end of the process; its exit code, or -1 when it did not end.
    long WaitForExit() {
        if (::WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

class ProgramRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileA(BuiltProgramPath().c_str(), dir_.File("Brackenfly.exe").c_str(), FALSE))
            << "the program must be built beside the tests: " << BuiltProgramPath();
    }
    // Closes the main window and expects the normal end: exit code 1.
    void CloseAndExpectNormalEnd(ProgramRun& run, HWND frame) {
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(1, run.WaitForExit());
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

TEST_F(ProgramRunTest, FirstRunWritesSettingsAndEndsWithExitCodeOne) {
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

TEST_F(ProgramRunTest, MissingLanguageFileIsReportedAndEnglishSavedAtOnce) {
    {
        ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
        settings.LangName = "Klingon";
        ASSERT_TRUE(settings.Save());
    }
    ProgramRun run(dir_.Path(), "");
    ASSERT_TRUE(run.Started());
    HWND box = run.WaitForWindow("#32770");
    ASSERT_TRUE(box);
    char caption[64] = {}, text[256] = {};
    ::GetWindowTextA(box, caption, sizeof(caption));
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    EXPECT_STREQ("Brackenfly", caption);
    EXPECT_STREQ("Error when loading 'Klingon' language file. Default language is English.", text);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);

    HWND frame = run.WaitForWindow("Brackenfly_MainFrame");
    ASSERT_TRUE(frame);
    EXPECT_EQ("English", StoredLanguage(dir_.Path()));  // saved before the main window came up
    CloseAndExpectNormalEnd(run, frame);
}

}  // namespace
