#include "tests/support/TestSupport.h"

#include <windows.h>
#include <cstdlib>

namespace testsupport {

static std::string WithSlash(std::string p) {
    if (!p.empty() && p.back() != '\\') p += '\\';
    return p;
}

std::string TestDataDir() {
    const char* d = std::getenv("BKF_TESTDATA");
    return d ? WithSlash(d) : std::string(".\\");
}

static std::string ScratchRoot() {
    const char* d = std::getenv("BKF_SCRATCH");
    if (d && *d) return WithSlash(d);
    char tmp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, tmp);
    return WithSlash(n ? std::string(tmp, n) : std::string(".\\")) + "bkf-tests\\";
}

static void MakeFolders(const std::string& path) {
    for (size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

ScratchDir::ScratchDir() {
    static LONG counter = 0;
    std::string root = ScratchRoot();
    MakeFolders(root);
    for (;;) {
        char name[64];
        wsprintfA(name, "t%lu-%ld\\", GetCurrentProcessId(), InterlockedIncrement(&counter));
        path_ = root + name;
        if (CreateDirectoryA(path_.substr(0, path_.size() - 1).c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) { MakeFolders(path_); break; }
    }
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    std::string base = WithSlash(path);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((base + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..") continue;
            std::string full = base + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(base.substr(0, base.size() - 1).c_str());
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out) {
    out.clear();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(h, nullptr);
    bool ok = size != INVALID_FILE_SIZE;
    if (ok) {
        out.resize(size);
        DWORD got = 0;
        ok = size == 0 || (ReadFile(h, out.data(), size, &got, nullptr) && got == size);
    }
    CloseHandle(h);
    return ok;
}

std::string ReadFileText(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadFileBytes(path, bytes);
    return std::string(bytes.begin(), bytes.end());
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = data.empty() || (WriteFile(h, data.data(), (DWORD)data.size(), &put, nullptr) && put == data.size());
    CloseHandle(h);
    return ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    return WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int SoakRounds(int fullRounds) {
    const char* text = std::getenv("BKF_SOAK_PERCENT");
    long percent = text && *text ? std::strtol(text, nullptr, 10) : 100;
    if (percent < 1 || percent > 100) percent = 100;
    long rounds = static_cast<long>(fullRounds) * percent / 100;
    return rounds < 1 ? 1 : static_cast<int>(rounds);
}

}  // namespace testsupport
