#pragma once
// Wildcard patterns for URL and file-name filters:
//   '*' any run of characters (the empty run too), '?' one character, '#' one decimal digit,
//   '[set]' one character of the set, '[!set]' one character not in it; a set lists single
//   characters and ranges "first-last". Letter case is ignored unless caseSensitive is set.
// Runs in time proportional to text length x pattern length at worst; it never backtracks
// exponentially however many stars the pattern holds.
#include <string>

bool WildcardMatch(const char* text, const char* pattern, bool caseSensitive);
bool WildcardMatch(const std::string& text, const std::string& pattern, bool caseSensitive);
