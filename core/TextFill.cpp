#include "core/TextFill.h"

namespace {
std::string Fill(const std::string& format, const std::vector<std::string>& texts,
                 const std::vector<std::string>& numbers, size_t maxLength) {
    std::string out;
    size_t nextText = 0;
    size_t nextNumber = 0;
    for (size_t i = 0; i < format.size() && out.size() < maxLength; ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const char kind = format[i + 1];
        if (kind == 's' && nextText < texts.size()) {
            out += texts[nextText++];
            ++i;
        } else if (kind == 'd' && nextNumber < numbers.size()) {
            out += numbers[nextNumber++];
            ++i;
        } else if (kind == '%') {
            out += '%';
            ++i;
        } else {
            out += '%';
        }
    }
    if (out.size() > maxLength) out.resize(maxLength);
    return out;
}
}  // namespace

std::string FillInTexts(const std::string& format, const std::vector<std::string>& values, size_t maxLength) {
    return Fill(format, values, {}, maxLength);
}

std::string FillInNumber(const std::string& format, long long number, size_t maxLength) {
    return FillInNumbers(format, {number}, maxLength);
}

std::string FillInNumbers(const std::string& format, const std::vector<long long>& numbers, size_t maxLength) {
    std::vector<std::string> texts;
    for (long long number : numbers) texts.push_back(std::to_string(number));
    return Fill(format, {}, texts, maxLength);
}
