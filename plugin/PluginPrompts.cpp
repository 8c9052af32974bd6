#include "plugin/PluginPrompts.h"

namespace plugin {

int TellUser(HWND owner, const std::wstring& text, UINT type) {
    return MessageBoxW(owner, text.c_str(), L"Brackenfly", type | MB_SETFOREGROUND);
}

std::wstring SystemReason(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring reason = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    if (reason.empty()) reason = L"error " + std::to_wstring(error);
    return reason;
}

}  // namespace plugin
