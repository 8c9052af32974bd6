#include "tests/startup/ProgramRun.h"

#include <gtest/gtest.h>

namespace startuptest {

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
    const char* title;
    bool hiddenToo;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char className[128] = {};
    ::GetClassNameA(hWnd, className, sizeof(className));
    char title[256] = {};
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (pid == search->processId && std::string(className) == search->className &&
        (search->hiddenToo || ::IsWindowVisible(hWnd)) &&
        (!search->title || std::string(title) == search->title)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string BuiltProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "..\\bin\\Brackenfly.exe";
}

ProgramRun::ProgramRun(const std::string& folder, const std::string& arguments) {
    const std::string program = folder + "Brackenfly.exe";
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    // Started from elsewhere: the program must find its files through its own path.
    started_ = ::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process_) != FALSE;
}

ProgramRun::~ProgramRun() {
    if (!started_) return;
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 99);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
}

HWND ProgramRun::WaitForWindow(const char* className, const char* title) {
    if (!title) {
        std::string found;
        return WaitForEither(className, className, found);
    }
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
        WindowSearch search = {process_.dwProcessId, className, nullptr, title, false};
        ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

HWND ProgramRun::WaitForEither(const char* first, const char* second, std::string& className) {
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
        for (const char* name : {first, second}) {
            WindowSearch search = {process_.dwProcessId, name, nullptr, nullptr, false};
            ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                className = name;
                return search.found;
            }
        }
        if (::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

HWND ProgramRun::FindWindowShownOrNot(const char* className) {
    WindowSearch search = {process_.dwProcessId, className, nullptr, nullptr, true};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ProgramRun::Kill() {
    if (!started_) return;
    ::TerminateProcess(process_.hProcess, 99);
    ::WaitForSingleObject(process_.hProcess, kWaitMs);
}

long ProgramRun::WaitForExit() {
    if (::WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
}

std::string BoxText(HWND box) {
    char text[2048] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

std::string BoxCaption(HWND box) {
    char caption[256] = {};
    ::GetWindowTextA(box, caption, sizeof(caption));
    return caption;
}

ToldBox RunAnsweringOneBox(const std::string& folder, testsupport::HeldFile* releaseAfterBox) {
    const char kFrameClass[] = "Brackenfly_MainFrame";
    const char kBoxClass[] = "#32770";
    ToldBox told;
    ProgramRun run(folder, "");
    EXPECT_TRUE(run.Started());
    std::string which;
    HWND first = run.WaitForEither(kBoxClass, kFrameClass, which);
    if (releaseAfterBox) releaseAfterBox->Release();
    if (first && which == kBoxClass) {
        told.text = BoxText(first);
        told.caption = BoxCaption(first);
        ::PostMessageA(first, WM_COMMAND, IDOK, 0);
    } else {
        ADD_FAILURE() << "the main window came up without a word";
    }
    HWND frame = run.WaitForWindow(kFrameClass);
    EXPECT_TRUE(frame);
    if (!frame) return told;
    // Told once: no second box.
    std::string other;
    run.WaitForEither(kBoxClass, kFrameClass, other);
    EXPECT_EQ(kFrameClass, other);
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.WaitForExit());
    return told;
}

}  // namespace startuptest
