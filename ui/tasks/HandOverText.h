#pragma once
// The text a web page is handed over with (by the browser plug-in, through the clipboard): the
// page's address, a line feed, then the page's cookies.
#include <windows.h>
#include <string>

struct HandOver {
    std::string url;       // empty unless the first line begins with "http:" or "www."
    bool hasCookies = false;
    std::string cookies;   // everything after the first line feed
};

HandOver ParseHandOverText(const std::string& text);

// The clipboard's CF_TEXT, read only within its memory block and cut at maxBytes; "" when the
// clipboard cannot be opened or holds no text.
std::string ReadClipboardText(HWND owner, size_t maxBytes);
