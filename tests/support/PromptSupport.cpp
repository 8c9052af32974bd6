#include "tests/support/PromptSupport.h"
#include <cstring>

namespace testsupport {

ScriptedPrompts::ScriptedPrompts() : previous_(SetUserPrompts(this)) {}
ScriptedPrompts::~ScriptedPrompts() { SetUserPrompts(previous_ == this ? nullptr : previous_); }

int ScriptedPrompts::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    boxes.push_back({owner, text, caption, type});
    if (messageBoxAnswers.empty()) return IDOK;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::BrowseForFolder(HWND, const std::string&, std::string& folder) {
    ++folderRequests;
    if (folderAnswer.empty()) return false;
    folder = folderAnswer;
    return true;
}

bool ScriptedPrompts::FileDialog(OPENFILENAMEA& request, bool) {
    if (fileAnswer.empty() || !request.lpstrFile || request.nMaxFile <= fileAnswer.size()) return false;
    std::memcpy(request.lpstrFile, fileAnswer.c_str(), fileAnswer.size() + 1);
    return true;
}

bool ScriptedPrompts::PrintDialog(PRINTDLGA&) {
    ++printRequests;
    return false;
}

bool ScriptedPrompts::ShellExecute(HWND owner, const char* verb, const std::string& file,
                                   const std::string& parameters, const std::string& folder, int show) {
    shellCalls.push_back({owner, verb ? verb : "", file, parameters, folder});
    if (passShellCalls) return SystemUserPrompts().ShellExecute(owner, verb, file, parameters, folder, show);
    return shellAnswer ? shellAnswer(shellCalls.back()) : true;
}

bool ScriptedPrompts::ShowHelp(HWND owner, const std::string& path) {
    helpRequests.push_back(path);
    return passHelp ? SystemUserPrompts().ShowHelp(owner, path) : helpOpens;
}

namespace {
// A double-NUL-terminated list as "a|b".
std::string JoinList(const char* list) {
    std::string out;
    for (const char* p = list; p && *p; p += std::strlen(p) + 1) {
        if (!out.empty()) out += '|';
        out += p;
    }
    return out;
}
}  // namespace

int ScriptedPrompts::FileOperation(SHFILEOPSTRUCTA& operation) {
    std::string record = operation.wFunc == FO_DELETE ? "delete: " : operation.wFunc == FO_COPY ? "copy: " : "other: ";
    record += JoinList(operation.pFrom);
    if (operation.wFunc != FO_DELETE) record += " -> " + JoinList(operation.pTo);
    fileOperations.push_back(record);
    return passFileOperations ? SystemUserPrompts().FileOperation(operation) : 0;
}

PromptWatcher::PromptWatcher(const std::string& caption, int buttonId, DWORD timeoutMs)
    : caption_(caption), buttonId_(buttonId), timeoutMs_(timeoutMs) {
    thread_ = ::CreateThread(nullptr, 0, &PromptWatcher::Run, this, 0, nullptr);
}

PromptWatcher::~PromptWatcher() {
    if (thread_) {
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
    }
}

bool PromptWatcher::Answered() {
    if (thread_) {
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    return answered_ != 0;
}

std::string PromptWatcher::PromptText() {
    Answered();
    return text_;
}

namespace {
struct Search { const std::string* caption; HWND found; };

BOOL CALLBACK FindPrompt(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
    char cls[16] = {}, title[256] = {};
    ::GetClassNameA(window, cls, sizeof(cls));
    ::GetWindowTextA(window, title, sizeof(title));
    if (std::strcmp(cls, "#32770") == 0 && *search->caption == title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM data) {
    char cls[16] = {}, text[1024] = {};
    ::GetClassNameA(child, cls, sizeof(cls));
    if (_stricmp(cls, "Static") == 0 && ::GetWindowTextA(child, text, sizeof(text)) > 0) {
        auto* out = reinterpret_cast<std::string*>(data);
        if (!out->empty()) *out += '\n';
        *out += text;
    }
    return TRUE;
}
}  // namespace

DWORD WINAPI PromptWatcher::Run(LPVOID self) {
    auto* watcher = static_cast<PromptWatcher*>(self);
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < watcher->timeoutMs_) {
        Search search = {&watcher->caption_, nullptr};
        ::EnumWindows(&FindPrompt, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            ::EnumChildWindows(search.found, &CollectStatic, reinterpret_cast<LPARAM>(&watcher->text_));
            HWND button = ::GetDlgItem(search.found, watcher->buttonId_);
            if (button) {
                ::PostMessageA(button, BM_CLICK, 0, 0);
                ::InterlockedExchange(&watcher->answered_, 1);
                return 0;
            }
        }
        ::Sleep(20);
    }
    return 0;
}

void PumpMessages(DWORD maxMs) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < maxMs) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace testsupport
