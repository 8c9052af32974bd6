#pragma once
// Small byte and text utilities shared by the engine, the views and the dialogs.
#include <cstddef>
#include <cstdint>
#include <string>

// strncpy of n characters; when n is not 0 the last character of the destination is set to the
// terminator, so the result is always terminated. Returns destination.
char* SafeStrNCopy(char* destination, const char* source, size_t n);

// Reverses the four bytes of *value in place and returns the new value (big-endian header fields).
uint32_t ByteSwap32(uint32_t* value);

// True when part occurs in text, letter case ignored (multibyte-aware lower-casing); an empty
// part occurs in every text.
bool ContainsNoCase(const std::string& text, const std::string& part);

// C-locale case mapping of one byte, independent of the current locale; safe for any char value.
inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline bool IsDigitAscii(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetterAscii(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// The text with every ASCII capital made small; other bytes stay.
std::string ToLowerAsciiCopy(const std::string& text);
// Value of a hexadecimal digit of either case, or -1 for any other character.
int HexDigitValue(char c);
// "%" and two capital hexadecimal digits for the byte, appended to out.
void AppendPercentEscape(std::string& out, unsigned char c);

// What a trim takes off both ends: header fields allow only spaces and tabs around a value (a
// control character there stays and gets the line refused); typed and stored texts lose every
// byte up to and including the space.
enum class TrimSet { SpaceAndTab, SpaceAndControls };
std::string TrimText(const std::string& text, TrimSet set);

// Byte-wise comparison that ignores ASCII letter case (the C library's stricmp in the C locale).
bool EqualsNoCase(const std::string& a, const std::string& b);
// True when text begins with prefix, ASCII letter case ignored.
bool StartsWithNoCase(const std::string& text, const std::string& prefix);

// Hands a text out through a caller's buffer of *length bytes: copies it with its NUL when it
// fits (true; *length becomes the text's length, without the NUL), else copies nothing and sets
// *length to the size needed (false, as without a buffer).
bool CopyOutText(const std::string& text, char* buffer, uint32_t* length);
