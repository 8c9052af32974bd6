// The application object's small pure parts: the command line and the program folder.
#include <gtest/gtest.h>
#include <windows.h>
#include "core/AppDirectory.h"
#include "core/Application.h"
#include "ui/MainFrame.h"

TEST(Application, NewTaskOnlyForDashCAtTheStart) {
    EXPECT_TRUE(Application::AsksForNewTask("-c"));
    EXPECT_TRUE(Application::AsksForNewTask("-C"));
    EXPECT_TRUE(Application::AsksForNewTask("-cookies and more"));
    EXPECT_FALSE(Application::AsksForNewTask(""));
    EXPECT_FALSE(Application::AsksForNewTask(nullptr));
    EXPECT_FALSE(Application::AsksForNewTask("/c"));
    EXPECT_FALSE(Application::AsksForNewTask(" -c"));
    EXPECT_FALSE(Application::AsksForNewTask("-"));
}

TEST(AppDirectory, FolderOfTheProgramWithTrailingBackslash) {
    EXPECT_EQ("C:\\Apps\\Prog\\", AppDirectoryFromModulePath("C:\\Apps\\Prog\\prog.exe"));
    EXPECT_EQ("C:\\", AppDirectoryFromModulePath("C:\\prog.exe"));
    EXPECT_EQ("prog.exe", AppDirectoryFromModulePath("prog.exe"));
    EXPECT_EQ("\\prog.exe", AppDirectoryFromModulePath("\\prog.exe"));  // the first character never cuts
    EXPECT_EQ("", AppDirectoryFromModulePath(""));

    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
    const std::string folder = GetAppDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ('\\', folder.back());
    EXPECT_EQ(0u, std::string(path).find(folder));
    EXPECT_EQ(std::string::npos, std::string(path).substr(folder.size()).find('\\'));
}

TEST(Application, MainFrameGoesBeforeTheSettingsItSaves) {
    // The application works in the folder of this test program.
    const std::string config = GetAppDirectory() + "Brackenfly.config";
    ::DeleteFileA(config.c_str());
    {
        Application app;
        // The loop ends while the main window still exists: its destruction then happens when
        // the application object goes, and must still find the settings to save.
        ::PostQuitMessage(5);
        EXPECT_EQ(5, app.Run("", SW_HIDE));
        ASSERT_TRUE(app.GetMainFrame()->IsWindow());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(config.c_str()));
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(config.c_str()));
    ::DeleteFileA(config.c_str());
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

namespace {
int g_newTaskPosts = 0;

LRESULT CALLBACK CountNewTaskPosts(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_COMMAND && msg->wParam == 217)
        ++g_newTaskPosts;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs the application with a command line until the loop has taken every posted message;
// returns how many "New Task" commands were posted.
int NewTaskPostsFor(const char* commandLine) {
    g_newTaskPosts = 0;
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, &CountNewTaskPosts, nullptr, ::GetCurrentThreadId());
    EXPECT_TRUE(hook);
    const std::string config = GetAppDirectory() + "Brackenfly.config";
    {
        Application app;
        // WM_QUIT comes only after the posted messages: the loop takes the command first.
        ::PostQuitMessage(0);
        app.Run(commandLine, SW_HIDE);
    }
    ::UnhookWindowsHookEx(hook);
    ::DeleteFileA(config.c_str());
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return g_newTaskPosts;
}
}  // namespace

TEST(Application, DashCPostsTheNewTaskCommandOnce) {
    EXPECT_EQ(1, NewTaskPostsFor("-c"));
    EXPECT_EQ(1, NewTaskPostsFor("-Cxyz more"));
    EXPECT_EQ(0, NewTaskPostsFor(""));
    EXPECT_EQ(0, NewTaskPostsFor("/c"));
}
