#pragma once
// The program folder: every file the program keeps is addressed relative to it.
#include <string>

// The folder of the running program file, with its trailing backslash.
std::string GetAppDirectory();

// The folder part of a program file path, trailing backslash kept ("C:\Apps\Prog\prog.exe" gives
// "C:\Apps\Prog\"); a path without a backslash after its first character is returned whole.
std::string AppDirectoryFromModulePath(const std::string& modulePath);
