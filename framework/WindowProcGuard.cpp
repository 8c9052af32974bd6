#include "framework/WindowProcGuard.h"
#include "framework/UserPrompts.h"

namespace {
std::string& Text() {
    static std::string text = "Not enough memory to complete the operation.";
    return text;
}
std::string& Caption() {
    static std::string caption = "Error";
    return caption;
}
}  // namespace

void SetOutOfMemoryMessage(const std::string& text, const std::string& caption) {
    Text() = text;
    Caption() = caption;
}

void ReportOutOfMemory(HWND window) {
    HWND owner = window && ::IsWindow(window) ? ::GetAncestor(window, GA_ROOT) : nullptr;
    try {
        UserPrompts().MessageBox(owner, Text(), Caption(), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Even the report could not be built: the operation has already failed, keep running.
    }
}
