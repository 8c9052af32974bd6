#include "core/SystemProxy.h"

#include "core/StringHelpers.h"
#include "core/UrlParts.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const char kInternetSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const DWORD kMaxProxyText = 2084;

}  // namespace

bool ParseProxyServerText(const std::string& input, std::string& host, int& port) {
    std::string text = TrimText(input, TrimSet::SpaceAndControls);
    if (text.find('=') != std::string::npos) {
        // Per-protocol form: only the http entry concerns us.
        std::string found;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(';', start);
            const size_t length = end == std::string::npos ? std::string::npos : end - start;
            std::string entry = TrimText(text.substr(start, length), TrimSet::SpaceAndControls);
            if (StartsWithNoCase(entry, "http=")) {
                found = entry.substr(5);
                break;
            }
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        text = TrimText(found, TrimSet::SpaceAndControls);
    }
    if (text.empty())
        return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;

    std::string h;
    int p = 80;
    UrlParts parts;
    if (parts.Parse(text) && parts.SchemeKind() != UrlSchemeKind::Unknown && parts.SchemeKind() != UrlSchemeKind::Other &&
        !parts.HostName().empty()) {
        h = parts.HostName();
        p = parts.HasExplicitPort() ? parts.Port() : 80;
    } else {
        size_t colon = text.find(':');
        h = text.substr(0, colon);
        if (colon != std::string::npos) {
            const char* digits = text.c_str() + colon + 1;
            char* end = nullptr;
            long value = strtol(digits, &end, 10);
            if (end == digits || value <= 0 || value > 65535)
                return false;
            p = static_cast<int>(value);
        }
    }
    if (h.empty() || h.find_first_of(" /") != std::string::npos || p <= 0 || p > 65535)
        return false;
    host = h;
    port = p;
    return true;
}

bool ReadSystemProxy(std::string& host, int& port) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[kMaxProxyText + 1];
    DWORD size = kMaxProxyText;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, "ProxyServer", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    if (size > kMaxProxyText)
        size = kMaxProxyText;
    value[size] = '\0';
    return ParseProxyServerText(value, host, port);
}
