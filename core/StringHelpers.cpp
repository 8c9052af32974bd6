#include "core/StringHelpers.h"

#include <cstring>
#include <mbstring.h>
#include <vector>

char* SafeStrNCopy(char* destination, const char* source, size_t n)
{
    if (n == 0)
        return destination;
    strncpy(destination, source, n);
    destination[n - 1] = '\0';
    return destination;
}

uint32_t ByteSwap32(uint32_t* value)
{
    unsigned char* b = reinterpret_cast<unsigned char*>(value);
    unsigned char t = b[0];
    b[0] = b[3];
    b[3] = t;
    t = b[1];
    b[1] = b[2];
    b[2] = t;
    return *value;
}

namespace {
// A lower-cased, terminated copy; _mbslwr keeps double-byte characters intact.
std::vector<unsigned char> LowerCopy(const std::string& s)
{
    std::vector<unsigned char> copy(s.begin(), s.end());
    copy.push_back(0);
    _mbslwr(copy.data());
    return copy;
}
}  // namespace

bool ContainsNoCase(const std::string& text, const std::string& part)
{
    std::vector<unsigned char> t = LowerCopy(text);
    std::vector<unsigned char> p = LowerCopy(part);
    return strstr(reinterpret_cast<const char*>(t.data()), reinterpret_cast<const char*>(p.data())) != nullptr;
}

std::string ToLowerAsciiCopy(const std::string& text)
{
    std::string lower(text);
    for (char& c : lower)
        c = ToLowerAscii(c);
    return lower;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendPercentEscape(std::string& out, unsigned char c)
{
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

std::string TrimText(const std::string& text, TrimSet set)
{
    auto trimmed = [set](char c) {
        return set == TrimSet::SpaceAndTab ? (c == ' ' || c == '\t') : static_cast<unsigned char>(c) <= 0x20;
    };
    size_t b = 0, e = text.size();
    while (b < e && trimmed(text[b]))
        ++b;
    while (e > b && trimmed(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    // In place: the link reader asks this of every attribute of a page.
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (ToLowerAscii(text[i]) != ToLowerAscii(prefix[i]))
            return false;
    }
    return true;
}

bool CopyOutText(const std::string& text, char* buffer, uint32_t* length)
{
    const uint32_t needed = static_cast<uint32_t>(text.size() + 1);
    if (!buffer || *length < needed) {
        *length = needed;
        return false;
    }
    memcpy(buffer, text.c_str(), needed);
    *length = static_cast<uint32_t>(text.size());
    return true;
}
