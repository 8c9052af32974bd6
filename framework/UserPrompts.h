#pragma once
// Every modal prompt and shell call of the program's windows goes through here: message boxes,
// the folder browser, open/save and print dialogs, shell "open" and shell file operations.
// The program uses the system's own; a test installs its own answers so that nothing blocks
// (and keeps at least one test per area where the real prompt appears).
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <string>

class IUserPrompts {
public:
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    // Path of the chosen folder in `folder` (which holds the starting folder on entry).
    virtual bool BrowseForFolder(HWND owner, const std::string& title, std::string& folder) = 0;
    virtual bool FileDialog(OPENFILENAMEA& request, bool open) = 0;
    virtual bool PrintDialog(PRINTDLGA& request) = 0;
    // ShellExecuteA; true when the shell reports success (a result above 32).
    virtual bool ShellExecute(HWND owner, const char* verb, const std::string& file,
                              const std::string& parameters, const std::string& folder, int show) = 0;
    // SHFileOperationA; 0 on success, as the shell reports it.
    virtual int FileOperation(SHFILEOPSTRUCTA& operation) = 0;
    // HTML Help at "file.chm::/topic.htm>window" (or the file's default topic). True when the
    // viewer opened; false for a missing viewer or help file (the caller tells the user).
    virtual bool ShowHelp(HWND owner, const std::string& path) = 0;
protected:
    ~IUserPrompts() = default;
};

// The prompts in force: the system's unless a test installed its own.
IUserPrompts& UserPrompts();
// Installs `prompts` (null: back to the system's). Returns the previous ones.
IUserPrompts* SetUserPrompts(IUserPrompts* prompts);

// The system's prompts, for a test's answers to fall back on.
IUserPrompts& SystemUserPrompts();
