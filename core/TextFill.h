#pragma once
// Texts filled in without trusting the format: a language file may carry any text in place of
// "%s" or "%d", so no printf ever sees it.
#include <string>
#include <vector>

// Replaces each "%s" of `format` by the next of `values` and each "%d" by the next number; "%%"
// stays one percent sign; anything else after a percent sign is copied as it is. The result is
// cut to `maxLength` characters.
std::string FillInTexts(const std::string& format, const std::vector<std::string>& values, size_t maxLength);
std::string FillInNumber(const std::string& format, long long number, size_t maxLength);
// The same with each "%d" taking the next of `numbers`.
std::string FillInNumbers(const std::string& format, const std::vector<long long>& numbers, size_t maxLength);
