#pragma once
// Window placement, drawing and input routines. The dialogs centre themselves with
// CenterWindowOver; the rest the program does not call at present: they are kept, with their
// tests (tests/oshelpers), as the helper module's set.
#include <windows.h>
#include <vector>

void GetWorkArea(RECT* out);
// A rectangle of that size centred in the work area; right and bottom inclusive.
void CenteredRectInWorkArea(RECT* out, int width, int height);
void CenterWindowOver(HWND window, HWND reference);
void CenterWindowInParentWidth(HWND window, HWND parent);
void KeepWindowInWorkArea(HWND window, DWORD style);
// Top-left position for the window rectangle with edges near the work area's edges snapped onto them.
POINT SnapRectToWorkArea(const RECT& windowRect, int distance, DWORD style);
void NormalizeRect(RECT* rect);
// The text when it fits the rectangle's width, else the longest prefix that fits plus "...".
bool FitTextWithEllipsis(HDC dc, const char* text, const RECT& rect, char* out, size_t outSize);
void DrawInvertedFocusFrame(HDC dc, const RECT& rect, COLORREF textColor, COLORREF backColor);
// Flags: 1 Shift, 2 Ctrl, 4 Alt, 8 extended key.
void SendKeyStroke(WORD virtualKey, unsigned flags);
bool PlayWaveResource(HMODULE module, const char* resourceName);
// The program's own string of that id in a shared buffer of 260 characters ("" when missing).
const char* LoadResourceText(UINT id);
void SelectOnlyListItem(HWND list, int index);
void SelectListItems(HWND list, const std::vector<int>& indexes, bool scrollToFirst);
