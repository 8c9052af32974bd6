#pragma once
// The "View Log File" and "Clear Log File" buttons: they act on "errors.log" of the program
// folder and on nothing else.
#include <windows.h>
#include <string>

// The log file of a program folder (trailing backslash).
std::string LogFilePath(const std::string& programFolder);
// Opens the log in notepad from the Windows folder (never a notepad.exe found elsewhere on the
// search path); without notepad, through the shell's "open" of the log itself. A missing log
// opens nothing: the user is told there is no log yet. True when something was opened.
bool ViewLogFile(HWND owner, const std::string& programFolder);
// Deletes the log at once, without asking; a missing log is no error.
void ClearLogFile(const std::string& programFolder);
