#include "core/PathHelpers.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "core/StringHelpers.h"
#include "core/TextFormat.h"

void SplitPathAtLastBackslash(const char* path, char* folder, char* name, size_t length)
{
    if (length == 0 || folder == nullptr || name == nullptr)
        return;
    const char* last = path ? strrchr(path, '\\') : nullptr;
    if (last == nullptr) {
        folder[0] = '\0';
        name[0] = '\0';
        return;
    }
    // The path may share a buffer with neither output, so copy the folder part through a string.
    const std::string folderPart(path, static_cast<size_t>(last - path));
    const std::string namePart(last + 1);
    SafeStrNCopy(folder, folderPart.c_str(), length);
    SafeStrNCopy(name, namePart.c_str(), length);
}

void SplitPathAtLastBackslash(const std::string& path, std::string& folder, std::string& name)
{
    const size_t last = path.rfind('\\');
    if (last == std::string::npos) {
        folder.clear();
        name.clear();
        return;
    }
    const std::string f = path.substr(0, last);
    name = path.substr(last + 1);
    folder = f;
}

namespace {
// 0 when the folder is there (or was made), else why it is not.
DWORD CreateOneFolder(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_ALREADY_EXISTS;   // a file in its place
    if (PathFileExistsA(folder.c_str()))
        return 0;
    if (CreateDirectoryA(folder.c_str(), nullptr))
        return 0;
    const DWORD error = GetLastError();
    // Made meanwhile by another thread, or a file of that name appeared.
    const DWORD now = GetFileAttributesA(folder.c_str());
    if (error == ERROR_ALREADY_EXISTS && now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return error;
}
}  // namespace

DWORD CreateFolderPath(const std::string& folderPath)
{
    // Backslashes from the fourth character on: "C:\" itself is a root, not a folder to make.
    // A level that fails is only the reason when no level below it could be reached either
    // ("\\server" is no folder to make, yet "\\server\share" is there).
    DWORD error = 0;
    for (size_t i = 3; i < folderPath.size(); ++i) {
        if (folderPath[i] == '\\') {
            const DWORD level = CreateOneFolder(folderPath.substr(0, i));
            if (level == 0 || error == 0)
                error = level;
        }
    }
    if (folderPath.empty())
        return 0;
    const DWORD last = CreateOneFolder(folderPath);
    return last == 0 ? 0 : error != 0 ? error : last;
}

unsigned long ProbeFolderForFiles(const std::string& folder)
{
    std::string probe = folder;
    if (!probe.empty() && probe.back() != '\\')
        probe += '\\';
    probe += FormatText("~brackenfly-%lu.tmp", static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A file of that name is there already: files can be made here.
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? 0 : error;
    }
    CloseHandle(h);
    return 0;
}
