#include "dialogs/common/SemicolonList.h"

std::string JoinWithSemicolons(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) text += entry + ";";
    return text;
}

std::vector<std::string> SplitAtSemicolons(const std::string& text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::vector<std::string> ParseExtensionList(const std::string& text) {
    std::vector<std::string> extensions = SplitAtSemicolons(text);
    for (std::string& extension : extensions) {
        if (extension[0] != '.') extension.insert(0, 1, '.');
    }
    return extensions;
}
