#include "core/AppDirectory.h"
#include <windows.h>

std::string AppDirectoryFromModulePath(const std::string& modulePath) {
    // The first character is never taken as the cut: a lone leading backslash is no folder.
    for (size_t i = modulePath.size(); i-- > 1;) {
        if (modulePath[i] == '\\') return modulePath.substr(0, i + 1);
    }
    return modulePath;
}

std::string GetAppDirectory() {
    char path[1024] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path) - 1);
    if (length == 0) return std::string();
    return AppDirectoryFromModulePath(std::string(path, length < sizeof(path) ? length : sizeof(path) - 1));
}
