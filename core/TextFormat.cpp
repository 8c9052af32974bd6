#include "core/TextFormat.h"

#include <cstdio>
#include <vector>

size_t FormatIntoV(char* buffer, size_t size, const char* format, va_list args)
{
    if (buffer == nullptr || size == 0)
        return 0;
    int n = vsnprintf(buffer, size, format, args);
    buffer[size - 1] = '\0';
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1;
}

size_t FormatInto(char* buffer, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    size_t n = FormatIntoV(buffer, size, format, args);
    va_end(args);
    return n;
}

std::string FormatTextV(const char* format, va_list args)
{
    char small[256];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(small, sizeof(small), format, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (static_cast<size_t>(n) < sizeof(small))
        return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(n));
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}
