#pragma once
// Lists typed into one edit: entries separated by ";", shown with a ";" after every entry.
#include <string>
#include <vector>

// "a", "b" gives "a;b;".
std::string JoinWithSemicolons(const std::vector<std::string>& entries);
// Split at ";" (runs count as one separator), empty pieces dropped; spaces stay in the pieces.
std::vector<std::string> SplitAtSemicolons(const std::string& text);
// The extensions of a typed list: every piece, with "." put in front where it is missing.
std::vector<std::string> ParseExtensionList(const std::string& text);
