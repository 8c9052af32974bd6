#include <gtest/gtest.h>

#include <string>

#include "core/WildcardMatch.h"

namespace {

bool Ci(const char* text, const char* pattern) { return WildcardMatch(text, pattern, false); }
bool Cs(const char* text, const char* pattern) { return WildcardMatch(text, pattern, true); }

TEST(WildcardMatch, DigitsCaseAndSets)
{
    EXPECT_TRUE(Ci("IMG_001.JPG", "img_###.jpg"));
    EXPECT_FALSE(Cs("IMG_001.JPG", "img_###.jpg"));
    EXPECT_TRUE(Cs("img_001.jpg", "img_###.jpg"));
    EXPECT_FALSE(Ci("IMG_0a1.JPG", "img_###.jpg"));
    EXPECT_TRUE(Ci("IMG_001.JPG", "*.[gj]?g"));
    EXPECT_TRUE(Ci("x.png", "*.[gjp]?g"));
    EXPECT_FALSE(Ci("x.bmp", "*.[gj]?g"));
    EXPECT_TRUE(Ci("photo", "PH?TO"));
    EXPECT_FALSE(Cs("photo", "PH?TO"));
}

TEST(WildcardMatch, StarsAndEmptyText)
{
    EXPECT_TRUE(Ci("", "*"));
    EXPECT_TRUE(Ci("", "**"));
    EXPECT_FALSE(Ci("", "?"));
    EXPECT_TRUE(Ci("", ""));
    EXPECT_FALSE(Ci("a", ""));
    EXPECT_TRUE(Ci("abc", "a*"));
    EXPECT_TRUE(Ci("abc", "*c"));
    EXPECT_TRUE(Ci("abc", "a*b*c"));
    EXPECT_TRUE(Ci("abc", "a*b*c*"));
    EXPECT_FALSE(Ci("abc", "a*b*d"));
    EXPECT_TRUE(Ci("mississippi", "m*iss*ppi"));
    EXPECT_TRUE(Ci("aaab", "*a*b"));
    EXPECT_FALSE(Ci("ab", "*a*b?"));
    EXPECT_TRUE(Ci("http://host/a/b/c.jpg", "http://*/c.jpg"));
}

TEST(WildcardMatch, SetRangesAndBrokenRanges)
{
    // [a-] admits a; any other character reaches the dangling '-' and fails.
    EXPECT_TRUE(Ci("a", "[a-]"));
    EXPECT_FALSE(Ci("b", "[a-]"));
    EXPECT_FALSE(Ci("-", "[a-]"));
    EXPECT_TRUE(Ci("d", "[!a-c]"));
    EXPECT_FALSE(Ci("b", "[!a-c]"));
    EXPECT_TRUE(Ci("q", "[a-z]"));
    EXPECT_TRUE(Ci("Q", "[a-z]"));
    EXPECT_FALSE(Cs("Q", "[a-z]"));
    EXPECT_TRUE(Ci("5", "[0-9x]"));
    EXPECT_TRUE(Ci("x", "[0-9x]"));
    // A range at the very start counts from character 0.
    EXPECT_TRUE(Cs("!", "[-z]"));
    EXPECT_FALSE(Cs("\xE9", "[-z]"));
    // After a range the next range starts at its upper bound: c..e.
    EXPECT_TRUE(Cs("d", "[a-c-e]"));
    EXPECT_FALSE(Cs("x", "[]"));
    EXPECT_FALSE(Cs("", "[]"));
    EXPECT_TRUE(Cs("x", "[!]"));
    EXPECT_FALSE(Cs("", "[!]"));
    // Dangling range behind a star fails only that attempt; a later position may still match.
    EXPECT_TRUE(Cs("xa", "*[a-]"));
    EXPECT_FALSE(Cs("xb", "*[a-]"));
}

TEST(WildcardMatch, UnclosedSetNeverReadsPastPattern)
{
    EXPECT_FALSE(Ci("a", "[a"));
    EXPECT_FALSE(Ci("a", "[!"));
    EXPECT_FALSE(Ci("a", "*[a-"));
    EXPECT_FALSE(Ci("", "["));
}

TEST(WildcardMatch, PathologicalPatternStaysFast)
{
    // A backtracking matcher needs exponential time here; this one answers at once.
    const std::string text(4000, 'a');
    std::string pattern;
    for (int i = 0; i < 60; ++i)
        pattern += "a*";
    pattern += "b";
    EXPECT_FALSE(WildcardMatch(text, pattern, false));
    EXPECT_TRUE(WildcardMatch(text + "b", pattern, false));
    EXPECT_TRUE(WildcardMatch(text, std::string(500, '*') + "a", true));
}

}  // namespace
