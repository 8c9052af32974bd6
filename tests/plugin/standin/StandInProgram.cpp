// Stands in for the program in the plug-in's tests: writes its own command line into
// "arguments.txt" beside itself, so a test can see how the plug-in started it; then does what the
// program does with a page. One copy runs: a later start hands its "-c" to the running copy's
// window and ends. The window, under the program's class name and with its property, takes each
// New Task command by reading the clipboard, appending the text and a NUL to "pages.txt" beside
// the program, and giving the program's word that it read it. It runs until it is closed.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

const char kFrameClass[] = "Brackenfly_MainFrame";
const WORD kNewTaskCommand = 217;
std::string g_folder;

bool AppendToFile(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA((g_folder + name).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == bytes.size();
}

void TakePage(HWND window) {
    std::string text;
    if (!OpenClipboard(window)) return;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text.assign(bytes, strnlen(bytes, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    AppendToFile("pages.txt", text + '\0');
    if (HANDLE read = OpenEventA(EVENT_MODIFY_STATE, FALSE, "Local\\Brackenfly.PageHandoverRead")) {
        SetEvent(read);
        CloseHandle(read);
    }
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) SetPropA(window, "Brackenfly.SaysPageRead", reinterpret_cast<HANDLE>(1));
    if (message == WM_COMMAND && LOWORD(wParam) == kNewTaskCommand) TakePage(window);
    if (message == WM_DESTROY) {
        RemovePropA(window, "Brackenfly.SaysPageRead");
        PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return 1;
    g_folder.assign(path, static_cast<size_t>(slash + 1 - path));
    const std::string line = GetCommandLineA();
    HANDLE file = CreateFileA((g_folder + "arguments.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    const bool newTask = line.size() >= 2 && line.compare(line.size() - 2, 2, "-c") == 0;

    HANDLE one = CreateMutexA(nullptr, TRUE, "Local\\Brackenfly.PluginTestStandIn");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // The running copy takes the request once its window is there.
        WaitForSingleObject(one, 30000);
        HWND running = FindWindowA(kFrameClass, nullptr);
        if (running && newTask) PostMessageA(running, WM_COMMAND, kNewTaskCommand, 0);
        ReleaseMutex(one);
        CloseHandle(one);
        return 0;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    HWND window = CreateWindowA(kFrameClass, "Stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                instance, nullptr);
    ReleaseMutex(one);
    if (!window) return 1;
    if (newTask) PostMessageA(window, WM_COMMAND, kNewTaskCommand, 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    CloseHandle(one);
    return 0;
}
