#include "dialogs/options/LogFileActions.h"
#include "core/LocalText.h"
#include "framework/UserPrompts.h"
#include "resources/frame_ids.h"
#include "resources/options_ids.h"

namespace {
std::string NotepadPath() {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    path += "notepad.exe";
    return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : path;
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::string LogFilePath(const std::string& programFolder) { return programFolder + "errors.log"; }

bool ViewLogFile(HWND owner, const std::string& programFolder) {
    const std::string log = LogFilePath(programFolder);
    if (!IsExistingFile(log)) {
        // Nothing was logged yet: an editor on an empty new file would tell the user nothing.
        UserPrompts().MessageBox(owner, LocalText(IDS_LOG_FILE_NONE), LocalText(IDS_CAPTION_INFORMATION),
                                 MB_OK | MB_ICONINFORMATION);
        return false;
    }
    const std::string notepad = NotepadPath();
    // Quoted: a program folder with spaces is one argument.
    if (!notepad.empty() && UserPrompts().ShellExecute(owner, "open", notepad, "\"" + log + "\"", "", SW_SHOW))
        return true;
    return UserPrompts().ShellExecute(owner, "open", log, "", "", SW_SHOW);
}

void ClearLogFile(const std::string& programFolder) { ::DeleteFileA(LogFilePath(programFolder).c_str()); }
