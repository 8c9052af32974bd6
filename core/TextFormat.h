#pragma once
// Bounded printf-style formatting. Every formatted text in the program goes through these so a
// long argument can never run past a buffer or leave it unterminated.
#include <cstddef>
#include <cstdarg>
#include <string>

#if defined(__GNUC__)
#define BKF_PRINTF_FORMAT(fmtIndex, firstArg) __attribute__((format(gnu_printf, fmtIndex, firstArg)))
#else
#define BKF_PRINTF_FORMAT(fmtIndex, firstArg)
#endif

// Formats into buffer (size bytes including the terminator). The result is always terminated
// when size is not 0; a text that does not fit is cut. Returns the number of characters stored.
size_t FormatInto(char* buffer, size_t size, const char* format, ...) BKF_PRINTF_FORMAT(3, 4);
size_t FormatIntoV(char* buffer, size_t size, const char* format, va_list args);

// Formats into a new string of whatever length the text needs.
std::string FormatText(const char* format, ...) BKF_PRINTF_FORMAT(1, 2);
std::string FormatTextV(const char* format, va_list args);
