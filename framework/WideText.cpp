#include "framework/WideText.h"
#include <climits>

std::wstring AnsiToWide(const std::string& text, UINT codePage) {
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return std::wstring();
    const int inLength = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), inLength, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), inLength, &wide[0], length);
    return wide;
}

std::string WideToAnsi(const wchar_t* text, size_t length, UINT codePage) {
    if (!text || length == 0 || length > static_cast<size_t>(INT_MAX / 4)) return std::string();
    const int inLength = static_cast<int>(length);
    const int size = ::WideCharToMultiByte(codePage, 0, text, inLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text, inLength, &ansi[0], size, nullptr, nullptr);
    return ansi;
}
