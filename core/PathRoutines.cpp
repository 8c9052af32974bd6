#include "core/PathRoutines.h"

#include "core/PathHelpers.h"
#include "core/StringHelpers.h"

#include <windows.h>
#include <shlobj.h>

namespace {

size_t NameStart(const std::string& path) {
    size_t p = path.find_last_of("\\/:");
    return p == std::string::npos ? 0 : p + 1;
}

size_t ExtensionDot(const std::string& path) {
    size_t start = NameStart(path);
    size_t dot = path.rfind('.');
    return (dot == std::string::npos || dot < start) ? std::string::npos : dot;
}

}  // namespace

void GetDriveAndFolder(const std::string& path, std::string& out) { out = path.substr(0, NameStart(path)); }

std::string GetExtensionLowerCase(const std::string& path) {
    size_t dot = ExtensionDot(path);
    std::string ext = dot == std::string::npos ? std::string() : path.substr(dot);
    for (char& c : ext) c = ToLowerAscii(c);
    return ext;
}

void GetFileNameOfPath(const std::string& path, std::string& out) { out = path.substr(NameStart(path)); }

void GetFileTitleOfPath(const std::string& path, std::string& out) {
    size_t start = NameStart(path), dot = ExtensionDot(path);
    out = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

void ReplaceExtensionInPlace(std::string& path, const std::string& extension) {
    size_t dot = ExtensionDot(path);
    if (dot == std::string::npos) path += '.';
    else path.erase(dot + 1);
    path += extension;
}

void CopyWithNewExtension(const std::string& source, std::string& out, const std::string& extension) {
    out = source;
    ReplaceExtensionInPlace(out, extension);
}

void AppendBackslash(std::string& path) {
    if (path.empty() || path.back() != '\\') path += '\\';
}

void JoinPath(const std::string& folder, const std::string& name, std::string& out) {
    out = folder;
    AppendBackslash(out);
    out += name;
}

bool IsExistingFolder(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesA(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Some folders (drive roots without a trailing backslash, shares) only show by entering them.
    char saved[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof(saved), saved);
    if (n == 0 || n >= sizeof(saved)) return false;
    bool ok = SetCurrentDirectoryA(path.c_str()) != FALSE;
    if (ok) SetCurrentDirectoryA(saved);
    return ok;
}

int GetPathKind(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) ? -1 : 1;
    return IsExistingFolder(path) ? -1 : 0;
}

size_t ExistingFolderPrefixLength(const std::string& path) {
    size_t best = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            std::string part = path.substr(0, i);
            if (part.size() == 2 && part[1] == ':') part += '\\';
            if (!part.empty() && IsExistingFolder(part)) best = i;
            else if (i > 2) break;
        }
    }
    return best;
}

bool GetPathWithStoredCase(const std::string& path, std::string& out) {
    out.clear();
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        out = path.substr(0, 2);
        out[0] = ToUpperAscii(out[0]);
        pos = 2;
    }
    while (pos < path.size()) {
        if (path[pos] == '\\') {
            out += '\\';
            ++pos;
            continue;
        }
        size_t end = path.find('\\', pos);
        if (end == std::string::npos) end = path.size();
        std::string element = path.substr(pos, end - pos);
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((out + element).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE || element == "." || element == "..") {
            if (h != INVALID_HANDLE_VALUE) FindClose(h);
            out += path.substr(pos);   // the rest does not exist: keep it as given
            return false;
        }
        FindClose(h);
        out += fd.cFileName;
        pos = end;
    }
    return true;
}

bool CreateFolderTree(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (folder.empty()) return false;
    CreateFolderPath(folder);
    return IsExistingFolder(folder);
}

bool CreateFolderOfFile(const std::string& filePath) {
    std::string folder;
    GetDriveAndFolder(filePath, folder);
    return CreateFolderTree(folder);
}

void ShortenPathText(const std::string& path, std::string& out, size_t maxLength) {
    if (path.size() < maxLength) {
        out = path;
        return;
    }
    std::string drive = (path.size() >= 2 && path[1] == ':') ? path.substr(0, 2) : std::string();
    std::string head = drive + "...";
    out = head;
    if (maxLength <= head.size()) return;
    size_t room = maxLength - head.size();
    for (size_t p = path.find('\\', drive.size()); p != std::string::npos; p = path.find('\\', p + 1)) {
        if (path.size() - p <= room) {
            out = head + path.substr(p);
            return;
        }
    }
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = text.empty() || (WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                               written == text.size());
    return CloseHandle(h) && ok;
}

bool ResolveShellName(const std::string& displayName, std::string& out) {
    out.clear();
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return false;
    bool ok = false;
    int wide = MultiByteToWideChar(CP_ACP, 0, displayName.c_str(), -1, nullptr, 0);
    if (wide > 0 && wide <= 1024) {
        std::wstring name(static_cast<size_t>(wide), L'\0');
        MultiByteToWideChar(CP_ACP, 0, displayName.c_str(), -1, &name[0], wide);
        LPITEMIDLIST pidl = nullptr;
        if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, &pidl, nullptr)) && pidl) {
            char buffer[MAX_PATH * 4] = {0};
            ok = SHGetPathFromIDListA(pidl, buffer) != FALSE && strnlen(buffer, sizeof(buffer)) <= 1024;
            if (ok) out = buffer;
            CoTaskMemFree(pidl);
        }
    }
    desktop->Release();
    return ok;
}
