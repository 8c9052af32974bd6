// One program folder, one running copy: the real program started twice on one folder, the way the
// browser button starts it ("-c") while it runs or while it is still starting. The second start
// hands its request to the running copy and ends; the running copy comes to the front and opens
// the New Task dialog with the page from the clipboard; the stored files hold what the one copy
// wrote. A copy that died frees its folder, and another folder runs its own copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/ProgramInstance.h"
#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "tests/startup/ProgramRun.h"
#include "tests/support/TestSupport.h"
#include "ui/tasks/TreeFile.h"

namespace {

using Bytes = std::vector<uint8_t>;
using startuptest::ProgramRun;

const char kFrameClass[] = "Brackenfly_MainFrame";
const char kNewTaskTitle[] = "Normal Task Options";
const char kPage[] = "http://gallery.example.com/cats/";

void NoReport(const std::string&) {}

void PutClipboardText(const std::string& text) {
    for (int attempt = 0; attempt < 50; ++attempt, ::Sleep(20)) {
        if (!::OpenClipboard(nullptr)) continue;
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
        return;
    }
    ADD_FAILURE() << "the clipboard stayed busy";
}

BOOL CALLBACK CountFrame(HWND window, LPARAM count) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == kFrameClass) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Main windows of the program in any process.
int MainWindows() {
    int count = 0;
    ::EnumWindows(&CountFrame, reinterpret_cast<LPARAM>(&count));
    return count;
}

BOOL CALLBACK CollectEdit(HWND child, LPARAM texts) {
    char className[16] = {}, text[512] = {};
    ::GetClassNameA(child, className, sizeof(className));
    if (_stricmp(className, "Edit") == 0) {
        // Another process's edit box tells its text only when asked with the message.
        DWORD_PTR copied = 0;
        ::SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                              &copied);
        reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
    }
    return TRUE;
}

// Whether one of the dialog's edit boxes (its pages' included) shows the text.
bool ShowsText(HWND dialog, const std::string& wanted) {
    for (int look = 0; look < 100; ++look, ::Sleep(50)) {
        std::vector<std::string> texts;
        ::EnumChildWindows(dialog, &CollectEdit, reinterpret_cast<LPARAM>(&texts));
        for (const std::string& text : texts)
            if (text == wanted) return true;
    }
    return false;
}

void WaitUntilGone(HWND window) {
    for (int look = 0; look < 600 && ::IsWindow(window); ++look) ::Sleep(50);
}

class OneCopyRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileA(startuptest::BuiltProgramPath().c_str(), dir_.File("Brackenfly.exe").c_str(), FALSE));
        SetTaskProgramFolder(dir_.Path());
        SaveSettings(dir_.Path(), "");
        SearchLinkTask alpha;
        alpha.TaskName = "Alpha";
        ASSERT_TRUE(alpha.Save());
        ASSERT_TRUE(alpha.SaveDownloads());
        TreeFileNode node;
        node.name = alpha.TaskFileName;
        ASSERT_TRUE(SaveTreeFile(Tasks("Tree.config"), {node}));
        for (const char* name : {"Alpha.task", "Alpha.task.downloads"})
            ASSERT_TRUE(testsupport::ReadFileBytes(Tasks(name), before_[name]));
    }
    void TearDown() override { SetTaskProgramFolder(""); }

    // No tip at start (its dialog would stand in front of the one looked for); a language, when
    // given, whose file is missing makes the program speak before its window exists.
    static void SaveSettings(const std::string& folder, const std::string& language) {
        ProgramSettings settings(nullptr, folder, &NoReport);
        settings.ShowTip = false;
        if (!language.empty()) settings.LangName = language;
        ASSERT_TRUE(settings.Save());
    }
    std::string Tasks(const std::string& name) const { return dir_.Path() + "Tasks\\" + name; }
    std::vector<std::string> TreeNames() const {
        std::vector<TreeFileNode> nodes;
        LoadTreeFile(Tasks("Tree.config"), nodes);
        std::vector<std::string> names;
        for (const TreeFileNode& node : nodes) names.push_back(node.name);
        return names;
    }
    void ExpectAlphaUntouched() {
        for (const char* name : {"Alpha.task", "Alpha.task.downloads"}) {
            Bytes now;
            ASSERT_TRUE(testsupport::ReadFileBytes(Tasks(name), now)) << name;
            EXPECT_EQ(before_[name], now) << name;
        }
    }
    static void Close(ProgramRun& run, HWND frame) {
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, run.WaitForExit());
    }

    testsupport::ScratchDir dir_;
    std::map<std::string, Bytes> before_;
};

TEST_F(OneCopyRunTest, ASecondStartHandsItsRequestToTheRunningCopyAndEnds) {
    ProgramRun first(dir_.Path(), "");
    ASSERT_TRUE(first.Started());
    HWND frame = first.WaitForWindow(kFrameClass);
    ASSERT_TRUE(frame);
    ::ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(frame));

    // The browser button, not finding the window in time, starts the program with "-c", and
    // waits for the word that the page was read before it writes another (the window's property
    // says that word will come).
    EXPECT_NE(nullptr, ::GetPropA(frame, "Brackenfly.SaysPageRead"));
    HANDLE read = ::CreateEventA(nullptr, TRUE, FALSE, "Local\\Brackenfly.PageHandoverRead");
    ASSERT_NE(nullptr, read);
    PutClipboardText(std::string(kPage) + "\nsid=42");
    ProgramRun second(dir_.Path(), "-c");
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0, second.WaitForExit());
    HWND dialog = first.WaitForWindow("#32770", kNewTaskTitle);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(ShowsText(dialog, kPage));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(read, 0));  // said before the dialog opened
    ::CloseHandle(read);
    EXPECT_FALSE(::IsIconic(frame));  // brought back for the user
    EXPECT_EQ(1, MainWindows());
    ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    WaitUntilGone(dialog);

    // A plain start only brings the running copy forward.
    ::ShowWindow(frame, SW_MINIMIZE);
    ProgramRun third(dir_.Path(), "");
    ASSERT_TRUE(third.Started());
    EXPECT_EQ(0, third.WaitForExit());
    for (int look = 0; look < 600 && ::IsIconic(frame); ++look) ::Sleep(50);
    EXPECT_FALSE(::IsIconic(frame));
    EXPECT_EQ(1, MainWindows());

    Close(first, frame);
    // The one copy wrote the tree with the new task beside the old one.
    const std::vector<std::string> names = TreeNames();
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ("Alpha.task", names[0]);
    EXPECT_TRUE(testsupport::FileExists(Tasks(names[1])));
    ExpectAlphaUntouched();
}

TEST_F(OneCopyRunTest, AStartWhileTheFirstCopyIsStillStartingReachesThatCopy) {
    SaveSettings(dir_.Path(), "Klingon");
    ProgramRun first(dir_.Path(), "");
    ASSERT_TRUE(first.Started());
    // The first copy tells of its missing language file before its window exists.
    HWND box = first.WaitForWindow("#32770");
    ASSERT_TRUE(box);
    ASSERT_EQ(nullptr, ::FindWindowA(kFrameClass, nullptr));

    PutClipboardText(std::string(kPage) + "\n");
    ProgramRun second(dir_.Path(), "-c");
    ASSERT_TRUE(second.Started());
    // However far the second start got meanwhile, the request ends in the first copy.
    ::Sleep(500);
    EXPECT_EQ(nullptr, ::FindWindowA(kFrameClass, nullptr));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND frame = first.WaitForWindow(kFrameClass);
    ASSERT_TRUE(frame);
    HWND dialog = first.WaitForWindow("#32770", kNewTaskTitle);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(ShowsText(dialog, kPage));
    EXPECT_EQ(0, second.WaitForExit());
    EXPECT_EQ(1, MainWindows());
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntilGone(dialog);
    Close(first, frame);
    EXPECT_EQ(std::vector<std::string>{"Alpha.task"}, TreeNames());
    ExpectAlphaUntouched();
}

TEST_F(OneCopyRunTest, ACopyThatDiedFreesItsFolderAndAnotherFolderRunsItsOwnCopy) {
    {
        ProgramRun crashed(dir_.Path(), "");
        ASSERT_TRUE(crashed.Started());
        ASSERT_TRUE(crashed.WaitForWindow(kFrameClass));
        crashed.Kill();
    }
    ProgramRun next(dir_.Path(), "");
    ASSERT_TRUE(next.Started());
    HWND frame = next.WaitForWindow(kFrameClass);
    ASSERT_TRUE(frame);

    testsupport::ScratchDir otherFolder;
    ASSERT_TRUE(::CopyFileA(startuptest::BuiltProgramPath().c_str(), otherFolder.File("Brackenfly.exe").c_str(), FALSE));
    SaveSettings(otherFolder.Path(), "");
    ProgramRun other(otherFolder.Path(), "");
    ASSERT_TRUE(other.Started());
    HWND otherFrame = other.WaitForWindow(kFrameClass);
    ASSERT_TRUE(otherFrame);
    EXPECT_EQ(2, MainWindows());
    Close(other, otherFrame);
    Close(next, frame);
}

TEST(ProgramInstanceName, OneFolderHowEverSpelledAndOnlyThatFolder) {
    testsupport::ScratchDir folder;
    std::string lower = folder.Path();
    for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    const std::string withoutSlash = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(ProgramInstance::NameFor(folder.Path()), ProgramInstance::NameFor(lower));
    EXPECT_EQ(ProgramInstance::NameFor(folder.Path()), ProgramInstance::NameFor(withoutSlash));
    EXPECT_EQ(ProgramInstance::NameFor(folder.Path()), ProgramInstance::NameFor(folder.Path() + "x\\..\\"));
    testsupport::ScratchDir other;
    EXPECT_NE(ProgramInstance::NameFor(folder.Path()), ProgramInstance::NameFor(other.Path()));
    EXPECT_EQ(std::string::npos, ProgramInstance::NameFor(folder.Path()).find('\\', 6));
}

}  // namespace
