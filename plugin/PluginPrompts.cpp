#include "plugin/PluginPrompts.h"

namespace plugin {

int TellUser(HWND owner, const std::wstring& text, UINT type) {
    return MessageBoxW(owner, text.c_str(), L"Brackenfly", type | MB_SETFOREGROUND);
}

namespace {

// The system's texts name what they speak of as "%1" (and rarely "%2"...), maybe with a printf
// form between exclamation marks ("%1!s!"): "%1" becomes `subject`, any other insert goes.
std::wstring FillInserts(const std::wstring& text, const std::wstring& subject) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%' || i + 1 >= text.size() || text[i + 1] < L'1' || text[i + 1] > L'9') {
            out += text[i];
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') ++end;
        const bool first = end == i + 2 && text[i + 1] == L'1';
        if (end < text.size() && text[end] == L'!') {
            const size_t close = text.find(L'!', end + 1);
            if (close != std::wstring::npos) end = close + 1;
        }
        if (first) out += subject;
        i = end - 1;
    }
    return out;
}

}  // namespace

std::wstring SystemReason(DWORD error, const std::wstring& subject) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring reason = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    if (reason.empty()) return L"error " + std::to_wstring(error);
    return FillInserts(reason, subject);
}

}  // namespace plugin
