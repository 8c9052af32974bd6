#include "core/PathHelpers.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "core/StringHelpers.h"

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
void CreateOneFolder(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (PathFileExistsA(folder.c_str()))
        return;
    CreateDirectoryA(folder.c_str(), nullptr);
}
}  // namespace

void CreateFolderPath(const std::string& folderPath)
{
    // Backslashes from the fourth character on: "C:\" itself is a root, not a folder to make.
    for (size_t i = 3; i < folderPath.size(); ++i) {
        if (folderPath[i] == '\\')
            CreateOneFolder(folderPath.substr(0, i));
    }
    if (!folderPath.empty())
        CreateOneFolder(folderPath);
}
