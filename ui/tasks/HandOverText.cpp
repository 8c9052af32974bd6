#include "ui/tasks/HandOverText.h"
#include <cstring>

namespace {
bool StartsWithNoCase(const std::string& text, const char* prefix) {
    const size_t length = std::strlen(prefix);
    return text.size() >= length && ::_strnicmp(text.c_str(), prefix, length) == 0;
}
}  // namespace

HandOver ParseHandOverText(const std::string& text) {
    HandOver result;
    const size_t lineFeed = text.find('\n');
    std::string first = text.substr(0, lineFeed);
    // Text copied by hand ends its lines with CR LF.
    if (!first.empty() && first.back() == '\r') first.pop_back();
    if (!first.empty() && (StartsWithNoCase(first, "http:") || StartsWithNoCase(first, "www."))) result.url = first;
    if (lineFeed != std::string::npos) {
        result.hasCookies = true;
        result.cookies = text.substr(lineFeed + 1);
    }
    return result;
}

std::string ReadClipboardText(HWND owner, size_t maxBytes) {
    if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(owner)) return std::string();
    std::string text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        const SIZE_T blockSize = ::GlobalSize(data);
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            const size_t limit = blockSize < maxBytes ? static_cast<size_t>(blockSize) : maxBytes;
            const void* end = std::memchr(bytes, 0, limit);
            text.assign(bytes, end ? static_cast<size_t>(static_cast<const char*>(end) - bytes) : limit);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}
