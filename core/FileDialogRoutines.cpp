#include "core/FileDialogRoutines.h"

#include "core/TextFormat.h"
#include "core/WindowRoutines.h"

#include <commdlg.h>
#include <vector>

UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        // With OFN_EXPLORER the hook's window is a child of the real dialog.
        HWND box = GetParent(dialog);
        CenterWindowOver(box ? box : dialog, GetWindow(box ? box : dialog, GW_OWNER));
    }
    return 0;
}

bool ShowFileDialog(HWND owner, const char* filter, const char* title, const char* initialFolder,
                    std::string& fileName, bool open, bool multiSelect) {
    if (!fileName.empty() && GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) fileName.clear();
    std::vector<char> buffer(multiSelect ? 65536 : MAX_PATH * 4, 0);
    if (fileName.size() < buffer.size()) fileName.copy(buffer.data(), fileName.size());
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrTitle = title ? title : (open ? "Open file" : "Select file");
    ofn.lpfnHook = FileDialogHook;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                (open ? OFN_FILEMUSTEXIST : 0) | (multiSelect ? OFN_ALLOWMULTISELECT : 0);
    BOOL ok = open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (!ok) return false;
    size_t end = 0;   // keep the NUL-separated list of a multiple selection
    while (end + 1 < buffer.size() && !(buffer[end] == 0 && buffer[end + 1] == 0)) ++end;
    fileName.assign(buffer.data(), end);
    return true;
}

bool NextSelectedFile(size_t& cursor, const std::string& result, std::string& path) {
    size_t firstEnd = result.find('\0');
    if (firstEnd == std::string::npos) {   // one file: the result is its full path
        if (cursor != 0 || result.empty()) return false;
        path = result;
        cursor = result.size();
        return true;
    }
    if (cursor == 0) cursor = firstEnd + 1;
    if (cursor >= result.size()) return false;
    size_t end = result.find('\0', cursor);
    if (end == std::string::npos) end = result.size();
    if (end == cursor) return false;
    path = result.substr(0, firstEnd);
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += result.substr(cursor, end - cursor);
    cursor = end + 1;
    return true;
}

bool ConfirmOverwrite(HWND owner, const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    std::string text = FormatText("File already exists\n%s\nOverwrite ?", path.c_str());
    return MessageBoxA(owner, text.c_str(), "Warning", MB_YESNO | MB_ICONQUESTION) == IDYES;
}
