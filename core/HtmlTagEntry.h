#pragma once
// Which HTML tags and attributes carry links, for the page link extractor.
#include <string>
#include <vector>

struct HtmlTagEntry {
    std::string tag;                            // "a"
    std::vector<std::string> attributes;        // attributes whose values are links: "href"
    std::vector<std::string> excludedPrefixes;  // a value beginning with one (case ignored) is no link

    bool operator==(const HtmlTagEntry& other) const
    {
        return tag == other.tag && attributes == other.attributes && excludedPrefixes == other.excludedPrefixes;
    }
};

// The built-in table: a/href (without javascript:, mailto:, phone:, news:), img/src,
// script/src, frame/src, iframe/src, body/background, td/background, table/background.
std::vector<HtmlTagEntry> DefaultHtmlTagEntries();
