#include "core/HtmlTagEntry.h"

std::vector<HtmlTagEntry> DefaultHtmlTagEntries()
{
    return {
        {"a", {"href"}, {"javascript:", "mailto:", "phone:", "news:"}},
        {"img", {"src"}, {}},
        {"script", {"src"}, {}},
        {"frame", {"src"}, {}},
        {"iframe", {"src"}, {}},
        {"body", {"background"}, {}},
        {"td", {"background"}, {}},
        {"table", {"background"}, {}},
    };
}
