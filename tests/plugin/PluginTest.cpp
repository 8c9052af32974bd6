// The browser plug-in as the browser and the system use it: registered and unregistered by the
// system's regsvr32, its button created through the library's class object, given a stand-in
// browser site, and pressed with and without the program running.
#include <gtest/gtest.h>
#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <ocidl.h>

#include <cstdlib>
#include <string>

#include "tests/plugin/FakeBrowser.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

namespace {

const char kClassKey[] = "CLSID\\{977E7339-278F-4E9E-8DB6-71CBE493760A}";
const char kExtensionKey[] = "Software\\Microsoft\\Internet Explorer\\Extensions\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}";
const CLSID kButtonClass = {0x977E7339, 0x278F, 0x4E9E, {0x8D, 0xB6, 0x71, 0xCB, 0xE4, 0x93, 0x76, 0x0A}};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool KeyExists(HKEY root, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string StringValue(HKEY root, const std::string& keyName, const char* valueName) {
    char buffer[1024] = {};
    DWORD size = sizeof(buffer) - 1;
    if (RegGetValueA(root, keyName.c_str(), valueName, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}

// Runs the system's regsvr32 silently on the library and returns its exit code.
DWORD RunRegsvr32(const std::string& dll, bool unregister) {
    std::string command = std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + dll + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string ClipboardText() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr)) {
            std::string text;
            HANDLE data = GetClipboardData(CF_TEXT);
            if (const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
                text.assign(bytes, strnlen(bytes, GlobalSize(data)));
                GlobalUnlock(data);
            }
            CloseClipboard();
            return text;
        }
        Sleep(20);  // another test program may hold the clipboard for a moment
    }
    return "<clipboard busy>";
}

void SetClipboardText(const std::string& text) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
            memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
            GlobalUnlock(block);
            SetClipboardData(CF_TEXT, block);
            CloseClipboard();
            return;
        }
        Sleep(20);
    }
}

// The plug-in library and the stand-in program, copied into a folder of their own.
class PluginFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dll_ = dir_.File("Bkf4Ie.dll");
        ASSERT_TRUE(CopyFileA(Env("BKF_PLUGIN_DLL").c_str(), dll_.c_str(), FALSE)) << Env("BKF_PLUGIN_DLL");
        ASSERT_TRUE(CopyFileA(Env("BKF_PLUGIN_STANDIN").c_str(), dir_.File("Brackenfly.exe").c_str(), FALSE));
        module_ = LoadLibraryA(dll_.c_str());
        ASSERT_NE(nullptr, module_);
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        ASSERT_NE(nullptr, getClassObject_);
        ASSERT_NE(nullptr, canUnloadNow_);
    }
    void TearDown() override {
        if (registered_) RunRegsvr32(dll_, true);
        if (module_) FreeLibrary(module_);
    }

    // A new button, as the browser makes it through the class object.
    IOleCommandTarget* NewButton() {
        IClassFactory* factory = nullptr;
        if (FAILED(getClassObject_(kButtonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return nullptr;
        IOleCommandTarget* button = nullptr;
        factory->CreateInstance(nullptr, IID_IOleCommandTarget, reinterpret_cast<void**>(&button));
        factory->Release();
        return button;
    }

    static IObjectWithSite* SiteOf(IOleCommandTarget* button) {
        IObjectWithSite* withSite = nullptr;
        button->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
        return withSite;
    }

    // Sets the page as the button's site; the site reference is ours to drop at once.
    static HRESULT ShowPage(IOleCommandTarget* button, const plugintest::FakePage& page) {
        IObjectWithSite* withSite = SiteOf(button);
        IUnknown* site = plugintest::MakeFakeSite(&page);
        const HRESULT hr = withSite->SetSite(site);
        site->Release();
        withSite->Release();
        return hr;
    }

    static DWORD StatusOf(IOleCommandTarget* button) {
        OLECMD command = {1, 0};
        button->QueryStatus(nullptr, 1, &command, nullptr);
        return command.cmdf;
    }

    void Register() {
        ASSERT_EQ(0u, RunRegsvr32(dll_, false));
        registered_ = true;
    }

    typedef HRESULT(WINAPI* GetClassObjectFn)(REFCLSID, REFIID, void**);
    typedef HRESULT(WINAPI* CanUnloadNowFn)();
    testsupport::ScratchDir dir_;
    std::string dll_;
    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
    bool registered_ = false;
};

// A window under the program's class name that counts the New Task commands it receives.
class FakeMainWindow {
public:
    FakeMainWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &FakeMainWindow::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Brackenfly_MainFrame";
        RegisterClassA(&wc);
        window_ = CreateWindowA("Brackenfly_MainFrame", "Brackenfly", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        newTasks_ = 0;
    }
    ~FakeMainWindow() {
        DestroyWindow(window_);
        UnregisterClassA("Brackenfly_MainFrame", GetModuleHandleA(nullptr));
    }
    HWND Window() const { return window_; }
    static int NewTasks() { return newTasks_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && LOWORD(wParam) == 217 && lParam == 0) ++newTasks_;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
    static int newTasks_;
};
int FakeMainWindow::newTasks_ = 0;

}  // namespace

TEST_F(PluginFixture, Regsvr32WritesTheRegistrationAndRemovesExactlyWhatItWrote) {
    Register();
    EXPECT_EQ(dll_, StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", nullptr));
    EXPECT_EQ("Apartment", StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ("BkfIEButton Class", StringValue(HKEY_CLASSES_ROOT, kClassKey, nullptr));
    EXPECT_EQ("{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}", StringValue(HKEY_CLASSES_ROOT, kClassKey, "AppID"));
    EXPECT_EQ("Bkf4Ie.BkfIEButton.1", StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\ProgID", nullptr));
    EXPECT_EQ("{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}",
              StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\TypeLib", nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\Programmable"));
    EXPECT_EQ("Bkf4Ie.BkfIEButton.1", StringValue(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton\\CurVer", nullptr));
    EXPECT_EQ("{977E7339-278F-4E9E-8DB6-71CBE493760A}",
              StringValue(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1\\CLSID", nullptr));
    EXPECT_EQ("Bkf4Ie", StringValue(HKEY_CLASSES_ROOT, "AppID\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}", nullptr));
    EXPECT_EQ("{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}", StringValue(HKEY_CLASSES_ROOT, "AppID\\Bkf4Ie.DLL", "AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}\\1.0"));
    EXPECT_EQ("Brackenfly", StringValue(HKEY_CURRENT_USER, kExtensionKey, "ButtonText"));
    EXPECT_EQ("Download pictires with Brackenfly", StringValue(HKEY_CURRENT_USER, kExtensionKey, "MenuText"));
    EXPECT_EQ("Download pictires with Brackenfly", StringValue(HKEY_CURRENT_USER, kExtensionKey, "MenuStatusBar"));
    EXPECT_EQ("{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}", StringValue(HKEY_CURRENT_USER, kExtensionKey, "CLSID"));
    EXPECT_EQ("{977E7339-278F-4E9E-8DB6-71CBE493760A}",
              StringValue(HKEY_CURRENT_USER, kExtensionKey, "ClsidExtension"));
    EXPECT_EQ("Yes", StringValue(HKEY_CURRENT_USER, kExtensionKey, "Default Visible"));

    ASSERT_EQ(0u, RunRegsvr32(dll_, true));
    registered_ = false;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "AppID\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "AppID\\Bkf4Ie.DLL"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtensionKey));
    // The parents marked never to be removed stay.
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Extensions"));
}

TEST_F(PluginFixture, ButtonHandsThePageAndItsCookiesToTheRunningProgram) {
    FakeMainWindow program;
    const long aliveBefore = plugintest::FakeObjectsAlive();
    IOleCommandTarget* button = NewButton();
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(S_FALSE, canUnloadNow_());

    // Before the browser gives a site, every call answers with an error instead of crashing.
    EXPECT_EQ(E_POINTER, button->QueryStatus(nullptr, 1, nullptr, nullptr));
    OLECMD command = {1, 0};
    EXPECT_EQ(E_UNEXPECTED, button->QueryStatus(nullptr, 0, &command, nullptr));
    EXPECT_TRUE(FAILED(button->QueryStatus(nullptr, 1, &command, nullptr)));
    EXPECT_TRUE(FAILED(button->Exec(nullptr, 0, 0, nullptr, nullptr)));
    IObjectWithSite* withSite = SiteOf(button);
    void* site = reinterpret_cast<void*>(1);
    EXPECT_TRUE(FAILED(withSite->GetSite(IID_IUnknown, &site)));
    EXPECT_EQ(nullptr, site);
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));

    // An address in any case of "http:" is handed over with the cookies as the browser gave them.
    plugintest::FakePage page;
    page.location = L"HTTP://Example.com/gallery?page=2";
    page.cookies = L"session=abc; theme=dark";
    ASSERT_EQ(S_OK, ShowPage(button, page));
    EXPECT_EQ(static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED), StatusOf(button));
    EXPECT_EQ(S_OK, button->Exec(nullptr, 0, 0, nullptr, nullptr));
    EXPECT_EQ("HTTP://Example.com/gallery?page=2\nsession=abc; theme=dark", ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(1, FakeMainWindow::NewTasks());

    // No cookies, or a browser that answers "no document": the text ends with the line feed.
    page.location = L"www.example.com/";
    page.cookies.clear();
    EXPECT_EQ(S_OK, button->Exec(nullptr, 0, 0, nullptr, nullptr));
    EXPECT_EQ("www.example.com/\n", ClipboardText());
    page.cookies = L"a=1";
    page.documentIsNull = true;
    EXPECT_EQ(S_OK, button->Exec(nullptr, 0, 0, nullptr, nullptr));
    EXPECT_EQ("www.example.com/\n", ClipboardText());
    page.documentIsNull = false;

    // A secure page, a file and the blank page are not handed over: the clipboard stays.
    SetClipboardText("left alone");
    for (const wchar_t* refused : {L"https://secure.example.com/", L"file:///C:/x.html", L"about:blank", L""}) {
        page.location = refused;
        EXPECT_EQ(0u, StatusOf(button));
        EXPECT_EQ(S_OK, button->Exec(nullptr, 0, 0, nullptr, nullptr));
        EXPECT_EQ("left alone", ClipboardText());
    }
    testsupport::PumpMessages(300);
    EXPECT_EQ(3, FakeMainWindow::NewTasks());

    // A new site replaces the browser held; the last release frees everything.
    plugintest::FakePage other;
    other.location = L"http://other.example/";
    ASSERT_EQ(S_OK, ShowPage(button, other));
    IWebBrowser2* held = nullptr;
    EXPECT_EQ(S_OK, withSite->GetSite(IID_IWebBrowser2, reinterpret_cast<void**>(&held)));
    ASSERT_NE(nullptr, held);
    held->Release();
    EXPECT_EQ(aliveBefore + 1, plugintest::FakeObjectsAlive());  // only the one browser
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));
    EXPECT_EQ(aliveBefore, plugintest::FakeObjectsAlive());
    withSite->Release();
    button->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(PluginFixture, WithoutTheProgramRunningTheProgramBesideThePluginStartsWithDashC) {
    Register();
    IOleCommandTarget* button = NewButton();
    ASSERT_NE(nullptr, button);
    plugintest::FakePage page;
    page.location = L"http://example.com/";
    ASSERT_EQ(S_OK, ShowPage(button, page));
    ASSERT_EQ(nullptr, FindWindowA("Brackenfly_MainFrame", nullptr));
    EXPECT_EQ(S_OK, button->Exec(nullptr, 0, 0, nullptr, nullptr));
    EXPECT_EQ("http://example.com/\n", ClipboardText());

    std::vector<uint8_t> recorded;
    for (int wait = 0; wait < 300 && !testsupport::ReadFileBytes(dir_.File("arguments.txt"), recorded); ++wait)
        Sleep(50);
    const std::string arguments(recorded.begin(), recorded.end());
    EXPECT_NE(std::string::npos, arguments.find("Brackenfly.exe")) << arguments;
    ASSERT_GE(arguments.size(), 2u);
    EXPECT_EQ("-c", arguments.substr(arguments.find_last_not_of(' ') - 1, 2)) << arguments;

    // Without its registration the plug-in cannot know its folder: it fails, starting nothing.
    ASSERT_EQ(0u, RunRegsvr32(dll_, true));
    registered_ = false;
    DeleteFileA(dir_.File("arguments.txt").c_str());
    EXPECT_EQ(E_FAIL, button->Exec(nullptr, 0, 0, nullptr, nullptr));
    Sleep(500);
    EXPECT_FALSE(testsupport::FileExists(dir_.File("arguments.txt")));
    button->Release();
}
