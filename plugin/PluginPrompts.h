#pragma once
// Every word the browser button says to the user goes through here: a message box over the
// browser's window, captioned "Brackenfly", in wide text so that a page's address is quoted as the
// browser shows it.
#include <windows.h>
#include <string>

namespace plugin {

// The button the user pressed (IDOK, IDYES, IDNO...).
int TellUser(HWND owner, const std::wstring& text, UINT type);

// The system's own words for an error code, without the closing line break; the thing they speak
// of ("%1" in the system's text, as in "Bad EXE format for %1.") is `subject`.
std::wstring SystemReason(DWORD error, const std::wstring& subject = std::wstring());

}  // namespace plugin
