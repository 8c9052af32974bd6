#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/FileTypes.h"
#include "core/PathHelpers.h"
#include "core/StringHelpers.h"
#include "core/TextFormat.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(StringHelpers, SafeStrNCopyAlwaysTerminates)
{
    char buf[5];
    memset(buf, 'x', sizeof(buf));
    SafeStrNCopy(buf, "abcdefgh", sizeof(buf));
    EXPECT_STREQ("abcd", buf);
    SafeStrNCopy(buf, "ab", sizeof(buf));
    EXPECT_STREQ("ab", buf);
    char untouched = 'q';
    SafeStrNCopy(&untouched, "zz", 0);
    EXPECT_EQ('q', untouched);
}

TEST(StringHelpers, ByteSwapAndContainsNoCase)
{
    uint32_t v = 0x11223344u;
    EXPECT_EQ(0x44332211u, ByteSwap32(&v));
    EXPECT_EQ(0x44332211u, v);
    EXPECT_TRUE(ContainsNoCase("http://Host/IMAGES/a.jpg", "images"));
    EXPECT_TRUE(ContainsNoCase("abc", ""));
    EXPECT_FALSE(ContainsNoCase("abc", "abcd"));
    EXPECT_TRUE(EqualsNoCase(".JPEG", ".jpeg"));
    EXPECT_FALSE(EqualsNoCase(".jpg", ".jpeg"));
}

TEST(TextFormat, BoundedAndTerminated)
{
    char buf[8];
    memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(7u, FormatInto(buf, sizeof(buf), "%s-%d", "abcdef", 12345));
    EXPECT_STREQ("abcdef-", buf);
    const std::string longText(1000, 'z');
    EXPECT_EQ(longText + "1", FormatText("%s%d", longText.c_str(), 1));
}

TEST(PathHelpers, SplitAtLastBackslash)
{
    char folder[10000], name[10000];
    SplitPathAtLastBackslash("C:\\a\\b\\file.txt", folder, name, sizeof(folder));
    EXPECT_STREQ("C:\\a\\b", folder);
    EXPECT_STREQ("file.txt", name);
    SplitPathAtLastBackslash("nofolder.txt", folder, name, sizeof(folder));
    EXPECT_STREQ("", folder);
    EXPECT_STREQ("", name);
    char small1[4], small2[4];
    SplitPathAtLastBackslash("abcdef\\ghijkl", small1, small2, sizeof(small1));
    EXPECT_STREQ("abc", small1);
    EXPECT_STREQ("ghi", small2);
}

TEST(PathHelpers, CreateFolderPathMakesEveryLevel)
{
    testsupport::ScratchDir dir;
    const std::string deep = dir.Path() + "one\\two\\three";
    CreateFolderPath(deep);
    const DWORD attributes = GetFileAttributesA(deep.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // Existing levels and a trailing backslash are no trouble.
    CreateFolderPath(dir.Path() + "one\\two\\four\\");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir.Path() + "one\\two\\four").c_str()));
}

TEST(FileTypes, KnownTypesFromGroups)
{
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    std::string ext = "?";
    EXPECT_TRUE(IsKnownFileType(groups, "http://host/a/b.JPEG", &ext));
    EXPECT_EQ(".JPEG", ext);
    EXPECT_FALSE(IsKnownFileType(groups, "http://host/a/b.webp", &ext));
    EXPECT_EQ(".webp", ext);
    EXPECT_FALSE(IsKnownFileType(groups, "http://host/a/b.Graphics", nullptr));
    EXPECT_FALSE(IsKnownFileType(groups, "http://host/a/page", &ext));
    EXPECT_EQ("", ext);
    EXPECT_TRUE(IsKnownFileType(groups, "http://host/x.ANI?1", nullptr));

    std::vector<std::string> own = {".webp", ".jpg", "Graphics", ".TIF", ".xyz", ".png"};
    RemoveUnknownFileTypes(groups, own);
    EXPECT_EQ((std::vector<std::string>{".jpg", ".TIF", ".png"}), own);
}

}  // namespace
