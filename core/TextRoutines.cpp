#include "core/TextRoutines.h"

#include "core/StringHelpers.h"
#include "core/WildcardMatch.h"

#include <cstring>

int CompareIntsDescending(const void* a, const void* b) {
    int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
    return (y > x) - (y < x);   // no overflow for extreme values
}

void CopyStringTruncated(char* destination, const char* source, size_t size) {
    if (size == 0 || !destination) return;
    size_t n = source ? strnlen(source, size - 1) : 0;
    if (n) memcpy(destination, source, n);
    destination[n] = 0;
}

void CopyLowerCase(const std::string& source, std::string& destination) {
    destination = source;
    for (char& c : destination) c = ToLowerAscii(c);
}

char* LowerCaseInPlace(char* text) {
    for (char* p = text; p && *p; ++p) *p = ToLowerAscii(*p);
    return text;
}

void TrimTrailingChar(std::string& text, char c) {
    while (!text.empty() && text.back() == c) text.pop_back();
}

int CountLines(const char* text) {
    if (!text || !*text) return 0;
    int lines = 1;
    for (; *text; ++text)
        if (*text == '\n') ++lines;
    return lines;
}

const char* NextListString(const char* position) {
    if (!position || !*position) return nullptr;
    position += strlen(position) + 1;
    return *position ? position : nullptr;
}

void ReplaceCharInPlace(char* text, char from, char to) {
    for (char* p = text; p && *p; ++p)
        if (*p == from) *p = to;
}

void ReplaceCharInString(std::string& text, char from, char to) {
    for (char& c : text)
        if (c == from) c = to;
}

void ReplaceCharWithText(std::string& text, char c, const std::string& replacement) {
    std::string out;
    out.reserve(text.size());
    for (char x : text) {
        if (x == c) out += replacement;
        else out += x;
    }
    text.swap(out);
}

char ToUpperUnlessCaseSensitive(char c, bool caseSensitive) {
    return caseSensitive ? c : ToUpperAscii(c);
}

bool WildcardMatchText(const char* text, const char* pattern, bool caseSensitive) {
    return WildcardMatch(text ? text : "", pattern ? pattern : "", caseSensitive);
}

void AppendCharIfMissing(std::string& text, char c) {
    if (!text.empty() && text.back() != c) text += c;
}

int IncrementValue(int value) { return value + 1; }

int ComparePrefixNoCase(const char* a, const char* b, size_t length) {
    size_t la = strnlen(a, length), lb = strnlen(b, length);
    if (la < length || lb < length) return lb < la ? 1 : -1;
    for (size_t i = 0; i < length; ++i) {
        char x = ToLowerAscii(a[i]), y = ToLowerAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return 0;
}

bool AssignIfDifferent(std::string& target, const std::string& text) {
    if (target == text) return false;
    target = text;
    return true;
}

const char* NextToken(const char* text, char separator, std::string& token) {
    token.clear();
    if (!text || !*text) return nullptr;
    const char* end = strchr(text, separator);
    if (!end) {
        token.assign(text);
        return nullptr;
    }
    token.assign(text, end);
    return end + 1;
}
