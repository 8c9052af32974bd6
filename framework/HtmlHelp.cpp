#include "framework/HtmlHelp.h"
#include <string>

namespace {
const UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpFunction LoadHtmlHelp() {
    static HtmlHelpFunction function = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (HMODULE viewer = ::LoadLibraryA("hhctrl.ocx"))
            function = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void (*)()>(::GetProcAddress(viewer, "HtmlHelpA")));
    }
    return function;
}
}  // namespace

bool DisplayHtmlHelpTopic(HWND owner, const char* path) {
    if (!path || !*path) return false;
    // The viewer's own complaint about a file that is not there is vague; the caller names it.
    std::string file(path);
    const size_t topic = file.find("::");
    if (topic != std::string::npos) file.erase(topic);
    if (::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    HtmlHelpFunction htmlHelp = LoadHtmlHelp();
    return htmlHelp && htmlHelp(owner, path, kDisplayTopic, 0) != nullptr;
}
