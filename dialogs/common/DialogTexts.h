#pragma once
// What the dialogs show and read: texts through the localization service, the program's warning,
// error and question boxes (through the prompt seam), and control texts and numbers.
#include <windows.h>
#include <string>
#include "core/LocalText.h"

// Message boxes with the program's captions: "Warning" / MB_ICONWARNING, "Error" /
// MB_ICONERROR, "Question" / MB_ICONQUESTION | MB_YESNO (returns the button pressed).
void ShowWarningBox(HWND owner, const std::string& text);
void ShowErrorBox(HWND owner, const std::string& text);
int AskQuestionBox(HWND owner, const std::string& text);

// The whole text of a control (callers check it against the field that stores it).
std::string GetItemString(HWND dialog, int controlId);
// A control's text read as a number the way atoi reads it, except that a number beyond the
// 32-bit range gives the nearest end of the range instead of garbage.
int GetItemNumber(HWND dialog, int controlId);
int ParseNumber(const std::string& text);

bool IsItemChecked(HWND dialog, int controlId);
void SetItemChecked(HWND dialog, int controlId, bool checked);
void EnableItem(HWND dialog, int controlId, bool enabled);
