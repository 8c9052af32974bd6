#include "ui/pictures/PictureFiles.h"

#include <windows.h>
#include <cstring>

#include "core/TaskFileNames.h"

namespace {

// Splits a relative path at either separator into names that must each be plain; empty names
// (doubled separators) are dropped. False when any name is not plain or there is none.
bool SplitIntoPlainNames(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        if (!name.empty()) {
            if (!IsPlainFileName(name)) return false;
            names.push_back(name);
        }
        start = end + 1;
    }
    return !names.empty();
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') return false;
    for (unsigned char c : name)
        if (c < 32 || strchr("<>:\"/\\|?*", c)) return false;
    return !IsReservedDeviceName(name);
}

std::string CopyDestination(const std::string& localPath, const std::string& fileName, const std::string& saveFolder,
                            const std::string& chosenFolder, std::string* folderToCreate) {
    std::string saveRoot = saveFolder;
    while (!saveRoot.empty() && (saveRoot.back() == '\\' || saveRoot.back() == '/')) saveRoot.pop_back();
    // Below the save folder only when a separator follows it (C:\save2 is not below C:\save).
    const bool belowSaveFolder = !saveRoot.empty() && localPath.size() > saveRoot.size() + 1 &&
                                 localPath.compare(0, saveRoot.size(), saveRoot) == 0 &&
                                 (localPath[saveRoot.size()] == '\\' || localPath[saveRoot.size()] == '/');
    std::vector<std::string> names;
    if (belowSaveFolder) {
        if (!SplitIntoPlainNames(localPath.substr(saveRoot.size() + 1), names)) return std::string();
    } else {
        if (!IsPlainFileName(fileName)) return std::string();
        names.push_back(fileName);
    }
    std::string folder = chosenFolder;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    for (size_t i = 0; i + 1 < names.size(); ++i) folder += "\\" + names[i];
    if (folderToCreate) *folderToCreate = folder;
    return folder + "\\" + names.back();
}

std::string DoubleNulList(const std::vector<std::string>& paths) {
    size_t total = 1;
    for (const std::string& path : paths) total += path.size() + 1;
    std::string list;
    list.reserve(total + 1);
    for (const std::string& path : paths) {
        list += path;
        list += '\0';
    }
    list += '\0';
    return list;
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
