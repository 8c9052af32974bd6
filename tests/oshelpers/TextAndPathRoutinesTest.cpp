#include <gtest/gtest.h>

#include <cstdlib>
#include <climits>

#include "core/PathRoutines.h"
#include "core/TextRoutines.h"
#include "tests/support/TestSupport.h"

TEST(TextRoutines, CopyingCountingAndTokens) {
    char buf[4];
    CopyStringTruncated(buf, "abcdef", sizeof(buf));
    EXPECT_STREQ("abc", buf);
    CopyStringTruncated(buf, "", sizeof(buf));
    EXPECT_STREQ("", buf);

    EXPECT_EQ(0, CountLines(""));
    EXPECT_EQ(1, CountLines("one"));
    EXPECT_EQ(3, CountLines("a\nb\n"));

    int v[] = {3, INT_MIN, 7, INT_MAX};
    qsort(v, 4, sizeof(int), CompareIntsDescending);
    EXPECT_EQ(INT_MAX, v[0]);
    EXPECT_EQ(INT_MIN, v[3]);

    const char list[] = "one\0two\0\0";
    EXPECT_STREQ("two", NextListString(list));
    EXPECT_EQ(nullptr, NextListString(NextListString(list)));

    std::string token;
    const char* p = NextToken("a;bb;c", ';', token);
    EXPECT_EQ("a", token);
    p = NextToken(p, ';', token);
    EXPECT_EQ("bb", token);
    EXPECT_EQ(nullptr, NextToken(p, ';', token));
    EXPECT_EQ("c", token);

    std::string s = "a-b";
    ReplaceCharWithText(s, '-', "--");
    EXPECT_EQ("a--b", s);
    std::string t = "x";
    EXPECT_FALSE(AssignIfDifferent(t, "x"));
    EXPECT_TRUE(AssignIfDifferent(t, "y"));
    std::string trail = "abc///";
    TrimTrailingChar(trail, '/');
    EXPECT_EQ("abc", trail);
    std::string empty;
    AppendCharIfMissing(empty, '\\');
    EXPECT_EQ("", empty);
}

TEST(TextRoutines, PrefixComparisonAndWildcards) {
    EXPECT_EQ(0, ComparePrefixNoCase("HTTP://x", "http://y", 7));
    EXPECT_EQ(1, ComparePrefixNoCase("abcdef", "ab", 4));
    EXPECT_EQ(-1, ComparePrefixNoCase("ab", "abcdef", 4));
    EXPECT_TRUE(WildcardMatchText("Picture12.JPG", "pic*##.jpg", false));
    EXPECT_FALSE(WildcardMatchText("Picture12.JPG", "pic*##.jpg", true));
    EXPECT_EQ('a', ToUpperUnlessCaseSensitive('a', true));
    EXPECT_EQ('A', ToUpperUnlessCaseSensitive('a', false));
}

TEST(PathRoutines, NamesAndExtensions) {
    std::string out;
    GetDriveAndFolder("C:\\pics\\cat.Photo.JPG", out);
    EXPECT_EQ("C:\\pics\\", out);
    EXPECT_EQ(".jpg", GetExtensionLowerCase("C:\\pics\\cat.Photo.JPG"));
    EXPECT_EQ("", GetExtensionLowerCase("C:\\pics.d\\readme"));
    GetFileTitleOfPath("C:\\pics\\cat.Photo.JPG", out);
    EXPECT_EQ("cat.Photo", out);
    GetFileNameOfPath("C:\\pics\\cat.jpg", out);
    EXPECT_EQ("cat.jpg", out);
    std::string p = "C:\\a.b\\name";
    ReplaceExtensionInPlace(p, "bmp");
    EXPECT_EQ("C:\\a.b\\name.bmp", p);
    ReplaceExtensionInPlace(p, "png");
    EXPECT_EQ("C:\\a.b\\name.png", p);
    JoinPath("C:\\x", "y.txt", out);
    EXPECT_EQ("C:\\x\\y.txt", out);
    ShortenPathText("C:\\very\\long\\folder\\name\\file.jpg", out, 20);
    EXPECT_EQ("C:...\\name\\file.jpg", out);
    ShortenPathText("C:\\short.jpg", out, 20);
    EXPECT_EQ("C:\\short.jpg", out);
}

TEST(PathRoutines, FoldersOnDisk) {
    testsupport::ScratchDir dir;
    std::string deep = dir.Path() + "One\\Two\\Three\\";
    EXPECT_EQ(0, GetPathKind(deep));
    ASSERT_TRUE(CreateFolderTree(deep));
    EXPECT_EQ(-1, GetPathKind(deep));
    ASSERT_TRUE(WriteTextFile(deep + "File.TXT", "hello"));
    EXPECT_EQ(1, GetPathKind(deep + "File.TXT"));
    EXPECT_TRUE(CreateFolderOfFile(dir.Path() + "Other\\x.jpg"));
    EXPECT_TRUE(IsExistingFolder(dir.Path() + "Other"));

    std::string lower = dir.Path() + "one\\two\\three\\file.txt", stored;
    ASSERT_TRUE(GetPathWithStoredCase(lower, stored));
    EXPECT_EQ(deep + "File.TXT", stored.substr(stored.size() - (deep.size() + 8)));

    std::string missing = dir.Path() + "One\\Two\\Nope\\x";
    EXPECT_EQ((dir.Path() + "One\\Two").size(), ExistingFolderPrefixLength(missing));
}
