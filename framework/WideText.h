#pragma once
// Conversions between the program's ANSI text and the wide text of COM interfaces. Text with
// embedded NULs converts whole; characters the code page lacks become its default character.
#include <windows.h>
#include <string>

std::wstring AnsiToWide(const std::string& text, UINT codePage = CP_THREAD_ACP);
std::string WideToAnsi(const wchar_t* text, size_t length, UINT codePage = CP_THREAD_ACP);
inline std::string WideToAnsi(const std::wstring& text, UINT codePage = CP_THREAD_ACP) {
    return WideToAnsi(text.data(), text.size(), codePage);
}
