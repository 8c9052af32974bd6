#pragma once
// The boundary between a window procedure and the system: an allocation that fails inside a
// message handler ends that one operation with a message box; the program keeps running.
#include <windows.h>
#include <string>

// The text and caption of the message box; the program sets its translated texts at start-up.
void SetOutOfMemoryMessage(const std::string& text, const std::string& caption);
// Shows the message box (through the prompt seam) over the window's top-level owner.
void ReportOutOfMemory(HWND window);
