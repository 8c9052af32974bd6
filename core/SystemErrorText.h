#pragma once
// The system's own words for an error code (FormatMessage), in the user's language, on one line.
#include <windows.h>
#include <string>

// "Access denied." for ERROR_ACCESS_DENIED; a code the system has no text for reads "Error 1234.".
std::string SystemErrorText(DWORD code);
