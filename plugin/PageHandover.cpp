#include "plugin/PageHandover.h"
#include "plugin/PluginIds.h"
#include "resources/plugin_handover.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace plugin {

namespace {

const int kOpenAttempts = 10;
const DWORD kOpenPauseMs = 30;

bool IsAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (static_cast<unsigned>(c) >= 0x80) return false;
    return true;
}

void AppendPercentEscaped(unsigned char byte, std::string& out) {
    const char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

// ASCII as it is; everything else as percent-escaped UTF-8. False on a broken UTF-16 pair.
bool AppendEscaped(const std::wstring& text, std::string& out) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned unit = static_cast<unsigned>(text[i]);
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        unsigned long code = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const unsigned low = i + 1 < text.size() ? static_cast<unsigned>(text[i + 1]) : 0;
            if (low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((static_cast<unsigned long>(unit) - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        if (code < 0x800) {
            AppendPercentEscaped(static_cast<unsigned char>(0xC0 | (code >> 6)), out);
        } else if (code < 0x10000) {
            AppendPercentEscaped(static_cast<unsigned char>(0xE0 | (code >> 12)), out);
            AppendPercentEscaped(static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F)), out);
        } else {
            AppendPercentEscaped(static_cast<unsigned char>(0xF0 | (code >> 18)), out);
            AppendPercentEscaped(static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F)), out);
            AppendPercentEscaped(static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F)), out);
        }
        AppendPercentEscaped(static_cast<unsigned char>(0x80 | (code & 0x3F)), out);
    }
    return true;
}

// A host name goes to the name service, not to the server's path: outside ASCII it takes its
// IDNA form.
bool AppendHost(const std::wstring& host, std::string& out) {
    if (IsAscii(host)) return AppendEscaped(host, out);
    wchar_t ascii[256] = {};
    const int length = IdnToAscii(0, host.c_str(), static_cast<int>(host.size()), ascii, 255);
    if (length <= 0) return false;
    const std::wstring converted(ascii, static_cast<size_t>(length));
    return IsAscii(converted) && AppendEscaped(converted, out);
}

}  // namespace

bool AddressForProgram(const std::wstring& location, std::string& address) {
    address.clear();
    if (location.size() > 65536) return false;
    // The host sits after "http:" and its slashes (or at the start of a "www." address), up to the
    // first "/", "?" or "#"; a user name before an "@" and a port after a ":" are no part of it.
    size_t hostStart = 0;
    if (_wcsnicmp(location.c_str(), L"http:", 5) == 0) {
        hostStart = 5;
        while (hostStart < location.size() && (location[hostStart] == L'/' || location[hostStart] == L'\\'))
            ++hostStart;
    }
    size_t hostEnd = location.find_first_of(L"/?#\\", hostStart);
    if (hostEnd == std::wstring::npos) hostEnd = location.size();
    const std::wstring authority = location.substr(hostStart, hostEnd - hostStart);
    const size_t at = authority.rfind(L'@');
    const size_t hostFrom = at == std::wstring::npos ? 0 : at + 1;
    std::wstring host = authority.substr(hostFrom);
    std::wstring port;
    const size_t colon = host.rfind(L':');
    if (colon != std::wstring::npos && host.find(L']', colon) == std::wstring::npos) {
        port = host.substr(colon);
        host.erase(colon);
    }
    return AppendEscaped(location.substr(0, hostStart) + authority.substr(0, hostFrom), address) &&
           AppendHost(host, address) && AppendEscaped(port + location.substr(hostEnd), address);
}

bool ToAnsiExactly(const std::wstring& text, std::string& ansi) {
    ansi.clear();
    if (text.empty()) return true;
    if (text.size() > INT_MAX / 4) return false;
    const int units = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefaultFlag = &usedDefault;
    int bytes = WideCharToMultiByte(CP_THREAD_ACP, flags, text.c_str(), units, nullptr, 0, nullptr, usedDefaultFlag);
    if (bytes <= 0) {
        // A code page that takes neither (UTF-8 as the system's ANSI code page) is exact anyway;
        // the round trip below still checks.
        flags = 0;
        usedDefaultFlag = nullptr;
        bytes = WideCharToMultiByte(CP_THREAD_ACP, flags, text.c_str(), units, nullptr, 0, nullptr, nullptr);
    }
    if (bytes <= 0 || usedDefault) return false;
    std::string out(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_THREAD_ACP, flags, text.c_str(), units, &out[0], bytes, nullptr, usedDefaultFlag) !=
            bytes ||
        usedDefault)
        return false;
    // What the program will read back must be the text itself.
    const int back = MultiByteToWideChar(CP_THREAD_ACP, 0, out.data(), bytes, nullptr, 0);
    if (back != units) return false;
    std::wstring roundTrip(static_cast<size_t>(back), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, out.data(), bytes, &roundTrip[0], back);
    if (roundTrip != text) return false;
    ansi.swap(out);
    return true;
}

std::string ToAnsi(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes) - 1);  // the converted NUL
    return out;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX / 2) return std::wstring();
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], units);
    return out;
}

bool IsAcceptedPageAddress(const std::string& address) {
    return handover::IsPageAddress(address.c_str());
}

std::string MakeHandoverText(const std::string& address, const std::string& cookies) {
    return address + handover::kAddressEnd + cookies;
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    // Sized from the converted bytes, so a multi-byte code page never cuts the text or writes
    // past the block.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    if (!block) return false;
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    // Another program may hold the clipboard for a moment (reading the page before this one).
    bool opened = OpenClipboard(owner) != FALSE;
    for (int attempt = 0; !opened && attempt < kOpenAttempts; ++attempt) {
        Sleep(kOpenPauseMs);
        opened = OpenClipboard(owner) != FALSE;
    }
    if (!opened) {
        GlobalFree(block);
        return false;
    }
    // Only a clipboard this window owns holds our text alone: when it cannot be emptied (another
    // thread took it in between) the data given would not be what the program reads.
    const bool given = EmptyClipboard() && SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    if (!given) GlobalFree(block);
    return given;
}

std::string ProgramBesidePlugin(const std::string& pluginPath) {
    const size_t slash = pluginPath.find_last_of('\\');
    if (slash == std::string::npos) return std::string();
    const std::string program = pluginPath.substr(0, slash + 1) + handover::kProgramFile;
    return program.size() < MAX_PATH ? program : std::string();
}

bool ReadRegisteredPluginPath(std::string& path) {
    const std::string keyName = std::string("CLSID\\") + kButtonClassIdText + "\\InprocServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;  // one byte short of the buffer: the NUL below always fits
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    buffer[size < MAX_PATH ? size : MAX_PATH] = '\0';
    path = buffer;
    return !path.empty();
}

}  // namespace plugin
