#include "ui/tasks/TaskFolder.h"
#include <windows.h>
#include <cctype>
#include <cstring>
#include "core/ProgramSettings.h"
#include "core/StringHelpers.h"
#include "core/TaskOptions.h"
#include "core/UrlParts.h"

namespace {
const int kMaxClearDepth = 128;

std::string Normalized(const std::string& path) {
    std::string result = path;
    for (char& c : result)
        if (c == '/') c = '\\';
    while (result.size() > 1 && result.back() == '\\') result.pop_back();
    return result;
}

// Counts the path's parts below its drive or share; -1 when it is not absolute or has a "."
// or ".." part.
int PartsBelowRoot(const std::string& path) {
    size_t start = 0;
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
        start = 3;
    } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share\...: the server and the share are the root.
        size_t server = path.find('\\', 2);
        if (server == std::string::npos || server == 2) return -1;
        size_t share = path.find('\\', server + 1);
        if (share == std::string::npos) return 0;
        if (share == server + 1) return -1;
        start = share + 1;
    } else {
        return -1;
    }
    int parts = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return -1;
        ++parts;
        start = end + 1;
    }
    return parts;
}

bool ClearLevel(const std::string& folder, int depth) {
    if (depth > kMaxClearDepth) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    bool all = true;
    do {
        if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
        const std::string path = folder + "\\" + found.cFileName;
        const DWORD attributes = found.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_READONLY)
            ::SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link to another folder goes as a link: what it points at is not ours.
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !ClearLevel(path, depth + 1)) all = false;
            if (!::RemoveDirectoryA(path.c_str())) all = false;
        } else if (!::DeleteFileA(path.c_str())) {
            all = false;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return all;
}
}  // namespace

std::string TaskSaveFolder(const TaskOptions& task, const ProgramSettings* settings) {
    return settings ? settings->SaveFolderOf(task) : task.SaveFolder;
}

bool IsClearableFolder(const std::string& folder, const std::string& programFolder) {
    const std::string path = Normalized(folder);
    if (PartsBelowRoot(path) < 1) return false;
    const std::string program = Normalized(programFolder);
    if (program.empty()) return false;
    // The folder is the program's folder or one of its parents.
    return !(StartsWithNoCase(program, path) && (program.size() == path.size() || program[path.size()] == '\\'));
}

bool ClearFolderContents(const std::string& folder) {
    const std::string path = Normalized(folder);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return ClearLevel(path, 0);
}

bool IsWebAddress(const std::string& address) {
    if (!WebSchemeLength(address) && !StartsWithNoCase(address, "www.")) return false;
    for (char c : address)
        if (static_cast<unsigned char>(c) < 0x21 || c == '"') return false;
    return true;
}

std::string WebAddressToOpen(const std::string& address) {
    return StartsWithNoCase(address, "www.") ? "http://" + address : address;
}
