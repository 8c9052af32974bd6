#pragma once
// The names the language menu offers.
#include <string>
#include <vector>

// Names of the "*.lng" files in `folder` (with its trailing backslash), without the extension,
// in the order the file search returns them.
std::vector<std::string> ListLanguageFiles(const std::string& folder);
// "English" first, then every other name in order, at most `limit` of them after English.
std::vector<std::string> LanguageMenuNames(const std::vector<std::string>& fileNames, size_t limit);
