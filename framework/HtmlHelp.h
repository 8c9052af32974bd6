#pragma once
// HTML Help without linking the help viewer: hhctrl.ocx is loaded on first use, so a system
// without the viewer, or a missing help file, only makes the call fail.
#include <windows.h>

// HtmlHelpA(owner, path, HH_DISPLAY_TOPIC, 0). path is "file.chm" or "file.chm::/topic.htm>window".
// True when the viewer opened a window.
bool DisplayHtmlHelpTopic(HWND owner, const char* path);
