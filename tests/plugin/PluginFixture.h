#pragma once
// What the plug-in's tests share: the library and the stand-in program copied into a scratch
// folder, the system's regsvr32, registry and clipboard readers, and a window under the program's
// class name that counts the New Task commands it receives.
#include <gtest/gtest.h>
#include <windows.h>
#include <docobj.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "tests/plugin/FakeBrowser.h"
#include "tests/support/TestSupport.h"

namespace plugintest {

extern const char kClassKey[];
extern const char kExtensionKey[];
extern const CLSID kButtonClass;

std::string Env(const char* name);
bool KeyExists(HKEY root, const std::string& name);
std::string StringValue(HKEY root, const std::string& keyName, const char* valueName);
// Runs the system's regsvr32 silently on the library and returns its exit code.
DWORD RunRegsvr32(const std::string& dll, bool unregister);
std::string ClipboardText();
void SetClipboardText(const std::string& text);
// Copies the plug-in and the stand-in program (as "Brackenfly.exe") into `folder` (with its
// trailing backslash); returns the library's path, empty on failure.
std::string CopyPluginInto(const std::string& folder);

// The plug-in library and the stand-in program, copied into a folder of their own and loaded.
class PluginFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new button, as the browser makes it through the class object.
    IOleCommandTarget* NewButton();
    static IObjectWithSite* SiteOf(IOleCommandTarget* button);
    // Sets the page as the button's site; the site reference is ours to drop at once.
    static HRESULT ShowPage(IOleCommandTarget* button, const FakePage& page);
    static DWORD StatusOf(IOleCommandTarget* button);
    // A press of the button, as the browser's toolbar gives it.
    static HRESULT Press(IOleCommandTarget* button);
    void Register();
    // Drops the test's own load of the library, so only COM's load keeps it in the process.
    void UnloadOwnCopy();
    // One of the library's exports, from the test's own load.
    template <class Function>
    Function Export(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    typedef HRESULT(WINAPI* GetClassObjectFn)(REFCLSID, REFIID, void**);
    typedef HRESULT(WINAPI* CanUnloadNowFn)();
    typedef HRESULT(WINAPI* ServerFn)();
    testsupport::ScratchDir dir_;
    std::string dll_;
    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
    bool registered_ = false;
};

// What the press tests start from: a button the browser made and gave a page as its site. The
// page is read whenever the button asks, so a test changes it between presses; the button is
// released with the test.
class ButtonOnPageFixture : public PluginFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    FakePage page_;
    IOleCommandTarget* button_ = nullptr;
};

// Ends the stand-in programs that run (main windows of the program's class in other processes).
void CloseStandIns();
// The pages the stand-in program in `folder` read, in the order it read them.
std::vector<std::string> StandInPages(const std::string& folder);

// A window under the program's class name that counts the New Task commands it receives. As the
// program does, it reads the clipboard for each and says so; as an older program, it says nothing.
class FakeMainWindow {
public:
    enum Kind { kSaysWhenRead, kOlderProgram };
    explicit FakeMainWindow(Kind kind = kSaysWhenRead);
    ~FakeMainWindow();
    FakeMainWindow(const FakeMainWindow&) = delete;
    FakeMainWindow& operator=(const FakeMainWindow&) = delete;
    HWND Window() const { return window_; }
    static int NewTasks() { return newTasks_; }
    // Called on each New Task command, after the page was read and before the word is given.
    static void OnNewTask(void (*onNewTask)()) { onNewTask_ = onNewTask; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    static int newTasks_;
    static void (*onNewTask_)();
};

}  // namespace plugintest
