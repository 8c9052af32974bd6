#pragma once
// Answers for the program's prompts in tests: scripted answers that never show a window, and a
// watcher thread that presses a button in a real prompt once it appears.
#include <windows.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>
#include "framework/UserPrompts.h"

namespace testsupport {

// Installed for its lifetime. Message boxes take the queued answers in order (IDOK once the queue
// is empty); every call is recorded. Shell calls and file operations are recorded, not run,
// unless passShellCalls / passFileOperations is set.
class ScriptedPrompts : public IUserPrompts {
public:
    ScriptedPrompts();
    ~ScriptedPrompts();
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    struct Box { HWND owner; std::string text, caption; UINT type; };
    struct Shell { HWND owner; std::string verb, file, parameters, folder; };

    std::deque<int> messageBoxAnswers;
    std::vector<Box> boxes;
    std::vector<Shell> shellCalls;
    std::vector<std::string> fileOperations;  // "delete: a|b", "copy: a|b -> to"
    // Folder browser: answered with this folder, or cancelled when empty.
    std::string folderAnswer;
    int folderRequests = 0;
    // File dialogs: answered with this full path, or cancelled when empty.
    std::string fileAnswer;
    int printRequests = 0;
    // Help paths asked for; shown only when passHelp is set.
    std::vector<std::string> helpRequests;
    bool passHelp = false;
    // What a help request not passed on answers: false as when the help file is missing.
    bool helpOpens = true;
    bool passShellCalls = false;
    // When set, answers each recorded shell call that is not passed on (else it succeeds).
    std::function<bool(const Shell&)> shellAnswer;
    bool passFileOperations = false;

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    bool BrowseForFolder(HWND owner, const std::string& title, std::string& folder) override;
    bool FileDialog(OPENFILENAMEA& request, bool open) override;
    bool PrintDialog(PRINTDLGA& request) override;
    bool ShellExecute(HWND owner, const char* verb, const std::string& file, const std::string& parameters,
                      const std::string& folder, int show) override;
    int FileOperation(SHFILEOPSTRUCTA& operation) override;
    bool ShowHelp(HWND owner, const std::string& path) override;

private:
    IUserPrompts* previous_;
};

// Waits on its own thread for a visible dialog-class window of this process whose title is
// `caption` and presses the button `buttonId` in it (BM_CLICK); gives up after `timeoutMs`.
// Used where a test lets the real prompt appear.
class PromptWatcher {
public:
    PromptWatcher(const std::string& caption, int buttonId, DWORD timeoutMs = 10000);
    ~PromptWatcher();  // joins the thread
    PromptWatcher(const PromptWatcher&) = delete;
    PromptWatcher& operator=(const PromptWatcher&) = delete;
    // True once the prompt was found and its button pressed. Waits for the thread first.
    bool Answered();
    // The text of the prompt's static control(s), read before it was answered.
    std::string PromptText();

private:
    static DWORD WINAPI Run(LPVOID self);
    std::string caption_;
    int buttonId_;
    DWORD timeoutMs_;
    HANDLE thread_ = nullptr;
    volatile LONG answered_ = 0;
    std::string text_;
};

// Pumps this thread's messages until the queue is empty, or at most `maxMs`.
void PumpMessages(DWORD maxMs = 200);

}  // namespace testsupport
