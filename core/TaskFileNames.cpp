#include "core/TaskFileNames.h"

#include <windows.h>

#include "core/AppDirectory.h"
#include "core/PathHelpers.h"
#include "core/StringHelpers.h"

namespace {

std::string g_programFolderOverride;

// The system's limit of characters per name.
const size_t kMaxFileNameLength = 255;
// Longest name base made from a display name: room for a number, an extension and the side
// files' suffixes (".downloads") within the limit above.
const size_t kMaxNameBaseLength = 100;

bool IsForbiddenFileNameChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127)
        return true;
    switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return true;
    default:
        return false;
    }
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool IsReservedDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* reserved : kNames)
        if (EqualsNoCase(stem, reserved))
            return true;
    if (stem.size() != 4 || !(StartsWithNoCase(stem, "COM") || StartsWithNoCase(stem, "LPT")))
        return false;
    // The digits, and the superscript one, two and three of the ANSI code page (0xB9 0xB2 0xB3).
    const unsigned char digit = static_cast<unsigned char>(stem[3]);
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

std::string GetTaskProgramFolder()
{
    return g_programFolderOverride.empty() ? GetAppDirectory() : g_programFolderOverride;
}

void SetTaskProgramFolder(const std::string& folder)
{
    g_programFolderOverride = folder;
    if (!g_programFolderOverride.empty() && g_programFolderOverride.back() != '\\')
        g_programFolderOverride += '\\';
}

std::string GetTasksFolder()
{
    return GetTaskProgramFolder() + "Tasks\\";
}

std::string GetProfilesFolder()
{
    return GetTaskProgramFolder() + "Profiles\\";
}

bool IsSafeFileName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxFileNameLength)
        return false;
    for (char c : name)
        if (IsForbiddenFileNameChar(c))
            return false;
    if (name.back() == '.' || name.back() == ' ')
        return false;  // also rules out "." and ".."
    return !IsReservedDeviceName(name);
}

std::string MakeSafeFileNameBase(const std::string& name)
{
    std::string base = name.substr(0, kMaxNameBaseLength);
    // A cut inside a double-byte character would leave a lone lead byte.
    if (base.size() < name.size() && !base.empty()) {
        size_t i = 0, lastStart = 0;
        while (i < base.size()) {
            lastStart = i;
            i += IsDBCSLeadByte(static_cast<BYTE>(base[i])) ? 2 : 1;
        }
        if (i > base.size())
            base.resize(lastStart);
    }
    for (char& c : base)
        if (IsForbiddenFileNameChar(c))
            c = '_';
    while (!base.empty() && (base.back() == '.' || base.back() == ' '))
        base.pop_back();
    if (base.empty())
        return "_";
    if (IsReservedDeviceName(base))
        base.insert(base.begin(), '_');
    return base;
}

std::string CreateUniqueFile(const std::string& path, const std::vector<std::string>& takenSuffixes)
{
    std::string folder, name;
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) {
        name = path;
    } else {
        folder = path.substr(0, slash);
        name = path.substr(slash + 1);
        CreateFolderPath(folder);
    }
    if (name.empty())
        return std::string();
    const std::string prefix = folder.empty() ? std::string() : folder + "\\";
    const size_t dot = name.find_last_of('.');

    // A bounded search: a folder holding this many variants of one name is not worth waiting for.
    const unsigned kMaxAttempts = 100000;
    for (unsigned n = 0; n < kMaxAttempts; ++n) {
        std::string candidate = name;
        if (n > 0) {
            const std::string number = std::to_string(n);
            if (dot == std::string::npos)
                candidate += number;
            else
                candidate.insert(dot, number);
        }
        const std::string full = prefix + candidate;
        bool taken = PathExists(full);
        for (size_t i = 0; !taken && i < takenSuffixes.size(); ++i)
            taken = PathExists(full + takenSuffixes[i]);
        if (taken)
            continue;
        HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return candidate;
        }
        const DWORD error = GetLastError();
        // Someone took the name between the look and the creation: try the next one.
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}
