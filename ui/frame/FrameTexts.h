#pragma once
// Texts of the main window: looked up through the localization service, and filled in without
// trusting the format (a language file may carry any text in place of "%s" or "%d").
#include <string>
#include <vector>

// The translated text of a string id of the program.
std::string FrameText(unsigned id);
// Replaces each "%s" of `format` by the next of `values` and each "%d" by the next number; "%%"
// stays one percent sign; anything else after a percent sign is copied as it is. The result is
// cut to `maxLength` characters.
std::string FillInTexts(const std::string& format, const std::vector<std::string>& values, size_t maxLength);
std::string FillInNumber(const std::string& format, long long number, size_t maxLength);
