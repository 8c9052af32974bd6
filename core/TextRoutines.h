#pragma once
// Small text routines. The program calls none of them at present; they are kept, with their tests
// (tests/oshelpers), as the helper module's set for code that needs one.
#include <cstddef>
#include <string>

int CompareIntsDescending(const void* a, const void* b);   // qsort comparator: *b - *a
// Copies at most size - 1 characters and a terminator (nothing when size is 0).
void CopyStringTruncated(char* destination, const char* source, size_t size);
void CopyLowerCase(const std::string& source, std::string& destination);
char* LowerCaseInPlace(char* text);
void TrimTrailingChar(std::string& text, char c);
int CountLines(const char* text);                            // 0 for "", else 1 + line feeds
// In a list of terminated strings ending with an empty one: the string after position, or null.
const char* NextListString(const char* position);
void ReplaceCharInPlace(char* text, char from, char to);
void ReplaceCharInString(std::string& text, char from, char to);
void ReplaceCharWithText(std::string& text, char c, const std::string& replacement);
char ToUpperUnlessCaseSensitive(char c, bool caseSensitive);
bool WildcardMatchText(const char* text, const char* pattern, bool caseSensitive);
void AppendCharIfMissing(std::string& text, char c);         // only for a non-empty text
int IncrementValue(int value);
// Case-insensitive comparison of the first length characters; when either text is shorter than
// length: 1 when b is the shorter, else -1.
int ComparePrefixNoCase(const char* a, const char* b, size_t length);
bool AssignIfDifferent(std::string& target, const std::string& text);
// The token before the next separator goes to token; returns the position after the separator,
// or null when text holds no more tokens (the last token, if any, is still delivered).
const char* NextToken(const char* text, char separator, std::string& token);
