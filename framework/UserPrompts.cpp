#include "framework/UserPrompts.h"
#include <shlobj.h>
#include "framework/HtmlHelp.h"

namespace {

class SystemPrompts final : public IUserPrompts {
public:
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
        return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
    }

    bool BrowseForFolder(HWND owner, const std::string& title, std::string& folder) override {
        char display[MAX_PATH] = {};
        BROWSEINFOA info = {};
        info.hwndOwner = owner;
        info.pszDisplayName = display;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX | BIF_STATUSTEXT;
        info.lpfn = &SystemPrompts::BrowseCallback;
        info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
        PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&info);
        if (!chosen) return false;
        char path[MAX_PATH] = {};
        const bool ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
        ::CoTaskMemFree(chosen);
        if (ok) folder = path;
        return ok;
    }

    bool FileDialog(OPENFILENAMEA& request, bool open) override {
        return (open ? ::GetOpenFileNameA(&request) : ::GetSaveFileNameA(&request)) != FALSE;
    }

    bool PrintDialog(PRINTDLGA& request) override { return ::PrintDlgA(&request) != FALSE; }

    bool ShellExecute(HWND owner, const char* verb, const std::string& file, const std::string& parameters,
                      const std::string& folder, int show) override {
        const HINSTANCE result = ::ShellExecuteA(owner, verb, file.c_str(),
                                                 parameters.empty() ? nullptr : parameters.c_str(),
                                                 folder.empty() ? nullptr : folder.c_str(), show);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }

    int FileOperation(SHFILEOPSTRUCTA& operation) override { return ::SHFileOperationA(&operation); }

    bool ShowHelp(HWND owner, const std::string& path) override {
        return DisplayHtmlHelpTopic(owner, path.c_str());
    }

private:
    // Opens the browser at the starting folder the caller gave.
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
        const char* start = reinterpret_cast<const char*>(data);
        if (message == BFFM_INITIALIZED && start && *start)
            ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
        return 0;
    }
};

SystemPrompts systemPrompts;
IUserPrompts* current = &systemPrompts;

}  // namespace

IUserPrompts& UserPrompts() { return *current; }

IUserPrompts* SetUserPrompts(IUserPrompts* prompts) {
    IUserPrompts* previous = current;
    current = prompts ? prompts : &systemPrompts;
    return previous;
}

IUserPrompts& SystemUserPrompts() { return systemPrompts; }
