#include "ui/pictures/PictureFiles.h"

#include <windows.h>

std::string CopyDestination(const std::string& localPath, const std::string& fileName, const std::string& saveFolder,
                            const std::string& chosenFolder, std::string* folderToCreate) {
    std::string destination = chosenFolder;
    if (!saveFolder.empty() && localPath.compare(0, saveFolder.size(), saveFolder) == 0) {
        destination += localPath.substr(saveFolder.size());
        const size_t slash = destination.find_last_of('\\');
        if (folderToCreate) *folderToCreate = slash == std::string::npos ? chosenFolder : destination.substr(0, slash);
    } else {
        destination += "\\";
        if (folderToCreate) *folderToCreate = destination;
        destination += fileName;
    }
    return destination;
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
