#pragma once
// A 32-bit top-down DIB section: the canvas the tests paint into or copy the screen into, read
// back pixel by pixel (0x00RRGGBB, rows top first).
#include <windows.h>

namespace testsupport {

// Null when it cannot be made; *bits then is null too.
HBITMAP CreateDib32(int width, int height, void** bits);

}  // namespace testsupport
