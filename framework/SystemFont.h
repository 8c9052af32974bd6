#pragma once
// The one way the program reads the system's message font and the screen's resolution.
#include <windows.h>

// The system's message font; the stock GUI font's description when the system will not say.
LOGFONTA SystemMessageFont();
// Creates a font from SystemMessageFont(); the caller deletes it. Null when none could be made.
HFONT CreateSystemMessageFont();
// The screen's vertical pixels per inch (96 when it cannot be read).
int ScreenPixelsPerInchY();
