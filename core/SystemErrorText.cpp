#include "core/SystemErrorText.h"

#include "core/TextFormat.h"

std::string SystemErrorText(DWORD code) {
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             sizeof(buffer), nullptr);
    std::string text(buffer, n < sizeof(buffer) ? n : 0);
    // The system ends its texts with a line break, and some span lines: they go into one row.
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.empty()) text = FormatText("Error %lu.", static_cast<unsigned long>(code));
    return text;
}
