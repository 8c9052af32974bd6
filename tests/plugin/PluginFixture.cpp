#include "tests/plugin/PluginFixture.h"

#include <cstdlib>
#include <cstring>

namespace plugintest {

const char kClassKey[] = "CLSID\\{977E7339-278F-4E9E-8DB6-71CBE493760A}";
const char kExtensionKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}";
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

std::string CopyPluginInto(const std::string& folder) {
    const std::string dll = folder + "Bkf4Ie.dll";
    if (!CopyFileA(Env("BKF_PLUGIN_DLL").c_str(), dll.c_str(), FALSE)) return std::string();
    if (!CopyFileA(Env("BKF_PLUGIN_STANDIN").c_str(), (folder + "Brackenfly.exe").c_str(), FALSE))
        return std::string();
    return dll;
}

void PluginFixture::SetUp() {
    dll_ = CopyPluginInto(dir_.Path());
    ASSERT_FALSE(dll_.empty()) << Env("BKF_PLUGIN_DLL") << " " << Env("BKF_PLUGIN_STANDIN");
    module_ = LoadLibraryA(dll_.c_str());
    ASSERT_NE(nullptr, module_);
    getClassObject_ = Export<GetClassObjectFn>("DllGetClassObject");
    canUnloadNow_ = Export<CanUnloadNowFn>("DllCanUnloadNow");
    ASSERT_NE(nullptr, getClassObject_);
    ASSERT_NE(nullptr, canUnloadNow_);
}

void PluginFixture::TearDown() {
    CloseStandIns();
    if (registered_) RunRegsvr32(dll_, true);
    if (module_) FreeLibrary(module_);
}

IOleCommandTarget* PluginFixture::NewButton() {
    IClassFactory* factory = nullptr;
    if (FAILED(getClassObject_(kButtonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return nullptr;
    IOleCommandTarget* button = nullptr;
    factory->CreateInstance(nullptr, IID_IOleCommandTarget, reinterpret_cast<void**>(&button));
    factory->Release();
    return button;
}

IObjectWithSite* PluginFixture::SiteOf(IOleCommandTarget* button) {
    IObjectWithSite* withSite = nullptr;
    button->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
    return withSite;
}

HRESULT PluginFixture::ShowPage(IOleCommandTarget* button, const FakePage& page) {
    IObjectWithSite* withSite = SiteOf(button);
    IUnknown* site = MakeFakeSite(&page);
    const HRESULT hr = withSite->SetSite(site);
    site->Release();
    withSite->Release();
    return hr;
}

DWORD PluginFixture::StatusOf(IOleCommandTarget* button) {
    OLECMD command = {1, 0};
    button->QueryStatus(nullptr, 1, &command, nullptr);
    return command.cmdf;
}

HRESULT PluginFixture::Press(IOleCommandTarget* button) { return button->Exec(nullptr, 0, 0, nullptr, nullptr); }

void PluginFixture::Register() {
    ASSERT_EQ(0u, RunRegsvr32(dll_, false));
    registered_ = true;
}

void PluginFixture::UnloadOwnCopy() {
    FreeLibrary(module_);
    module_ = nullptr;
    getClassObject_ = nullptr;
    canUnloadNow_ = nullptr;
}

void ButtonOnPageFixture::SetUp() {
    ASSERT_NO_FATAL_FAILURE(PluginFixture::SetUp());
    button_ = NewButton();
    ASSERT_NE(nullptr, button_);
    page_.location = L"http://example.com/";
    ASSERT_EQ(S_OK, ShowPage(button_, page_));
}

void ButtonOnPageFixture::TearDown() {
    if (button_) button_->Release();
    PluginFixture::TearDown();
}

namespace {

BOOL CALLBACK CloseStandIn(HWND window, LPARAM) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (std::string(className) != "Brackenfly_MainFrame" || processId == GetCurrentProcessId()) return TRUE;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process) {
        WaitForSingleObject(process, 30000);
        CloseHandle(process);
    }
    return TRUE;
}

}  // namespace

void CloseStandIns() { EnumWindows(&CloseStandIn, 0); }

std::vector<std::string> StandInPages(const std::string& folder) {
    std::vector<uint8_t> bytes;
    std::vector<std::string> pages;
    if (!testsupport::ReadFileBytes(folder + "pages.txt", bytes)) return pages;
    std::string page;
    for (uint8_t byte : bytes) {
        if (byte) {
            page += static_cast<char>(byte);
            continue;
        }
        pages.push_back(page);
        page.clear();
    }
    return pages;
}

int FakeMainWindow::newTasks_ = 0;
void (*FakeMainWindow::onNewTask_)() = nullptr;

FakeMainWindow::FakeMainWindow(Kind kind) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &FakeMainWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Brackenfly_MainFrame";
    RegisterClassA(&wc);
    window_ = CreateWindowA("Brackenfly_MainFrame", "Brackenfly", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    if (kind == kSaysWhenRead) SetPropA(window_, "Brackenfly.SaysPageRead", reinterpret_cast<HANDLE>(1));
    newTasks_ = 0;
    onNewTask_ = nullptr;
}

FakeMainWindow::~FakeMainWindow() {
    RemovePropA(window_, "Brackenfly.SaysPageRead");
    DestroyWindow(window_);
    UnregisterClassA("Brackenfly_MainFrame", GetModuleHandleA(nullptr));
    onNewTask_ = nullptr;
}

LRESULT CALLBACK FakeMainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 217 && lParam == 0) {
        ++newTasks_;
        if (GetPropA(window, "Brackenfly.SaysPageRead")) {
            ClipboardText();
            if (onNewTask_) onNewTask_();
            if (HANDLE read = OpenEventA(EVENT_MODIFY_STATE, FALSE, "Local\\Brackenfly.PageHandoverRead")) {
                SetEvent(read);
                CloseHandle(read);
            }
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace plugintest
