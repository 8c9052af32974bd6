#pragma once
// Letting windows work in tests: this thread's messages dispatched for a while.
#include <windows.h>

class CMessageLoop;

namespace testsupport {

// Dispatches messages for about `ms` milliseconds, waiting for new ones in between.
void PumpFor(DWORD ms);
// The same through the program's loop: its message filters (the frame's accelerators and key
// filter) before dispatch and its idle handlers after each batch. WM_QUIT is dropped.
void PumpLoopFor(CMessageLoop& loop, DWORD ms);

}  // namespace testsupport
