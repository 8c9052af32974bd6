#pragma once
// The boundary between the program and the system: every window procedure, subclass procedure,
// hook and message-loop step runs its work through GuardedCallback, so an allocation that fails
// inside ends that one operation with a message box and the program keeps running. Exceptions
// must never cross the system's frames.
#include <windows.h>
#include <new>
#include <string>

// The text and caption of the message box; the program sets its translated texts at start-up.
void SetOutOfMemoryMessage(const std::string& text, const std::string& caption);
// Shows the message box (through the prompt seam) over the window's top-level owner.
void ReportOutOfMemory(HWND window);

// Runs `work` and answers its result; when an allocation fails inside, reports it over `window`
// and answers `failed`. Whatever `work` holds is freed by its owners as the exception passes.
template <class Result, class Work>
Result GuardedCallback(HWND window, Result failed, Work&& work) noexcept {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(window);
        return failed;
    }
}
