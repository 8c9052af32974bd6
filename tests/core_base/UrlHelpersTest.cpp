#include <gtest/gtest.h>

#include <string>

#include "core/UrlHelpers.h"

namespace {

std::string Normalized(std::string url)
{
    NormalizeUrl(url);
    return url;
}

TEST(NormalizeUrl, CleansTypedAddresses)
{
    EXPECT_EQ("http://example.com/ab/", Normalized("example.com/a b/"));
    EXPECT_EQ("http://host/x", Normalized("ftp://host/x"));
    EXPECT_EQ("http://host/x", Normalized("https://host/x"));
    EXPECT_EQ("http://host/ab.jpg", Normalized("http://host//a b.jpg"));
    EXPECT_EQ("http://host/dir/p.jpg", Normalized("http://host\\dir\\p.jpg"));
    EXPECT_EQ("http://host/", Normalized("HTTP:///host/"));
    EXPECT_EQ("http://host", Normalized("http:\\\\host"));
    EXPECT_EQ("http://host/a/b", Normalized("host\\\\a\\/b"));
    // Slash runs shrink first, then spaces go: slashes a space kept apart both stay.
    EXPECT_EQ("http://host//x", Normalized("http://host/ /x"));
    EXPECT_EQ("http://x", Normalized(" /x"));
    EXPECT_EQ("http://host/x", Normalized("  http://host/x"));
}

TEST(NormalizeUrl, KeepsPortAndQuery)
{
    EXPECT_EQ("http://example.com:8080/x", Normalized("example.com:8080/x"));
    EXPECT_EQ("http://localhost:81/", Normalized("http://localhost:81/"));
    EXPECT_EQ("http://host/a/p?u=http://b//c", Normalized("http://host//a/p?u=http://b//c"));
    EXPECT_EQ("http://host/p?t=12:30", Normalized("host/p?t=12:30"));
    EXPECT_EQ("http://host/s#a//b", Normalized("host//s#a//b"));
    // Both schemes in the text: only the backslashes change.
    EXPECT_EQ("https://a/x?r=http://b", Normalized("https://a\\x?r=http://b"));
    // Written with backslashes the first scheme is not "https://" yet: the text is cleaned.
    EXPECT_EQ("http://a/b?r=http://c", Normalized("https:\\\\a\\\\b?r=http://c"));
}

TEST(UrlPathToFilePath, CutsQueryAndTurnsSlashes)
{
    std::string p = "/a/b/c.jpg?x=1/2";
    UrlPathToFilePath(p);
    EXPECT_EQ("\\a\\b\\c.jpg", p);
    p = "dir/name";
    UrlPathToFilePath(p);
    EXPECT_EQ("dir\\name", p);
}

TEST(GetUrlFileExtension, FindsLastDotOfFileName)
{
    EXPECT_EQ("", GetUrlFileExtension("http://host/dir.old/file"));
    EXPECT_EQ(".gz", GetUrlFileExtension("http://host/p.tar.gz?x=1"));
    EXPECT_EQ(".JPEG", GetUrlFileExtension("http://host/a/b.JPEG"));
    EXPECT_EQ("", GetUrlFileExtension("http://host.com"));
    EXPECT_EQ("", GetUrlFileExtension("http://"));
    EXPECT_EQ("", GetUrlFileExtension("http://host/p?f=a.jpg"));
    EXPECT_EQ(".png", GetUrlFileExtension("https://host/x.png"));
}

TEST(SplitUrl, FolderAndName)
{
    std::string folder = "?", name = "?";
    SplitUrl("http://host/a/b.jpg", &folder, &name, true);
    EXPECT_EQ("http://host/a/", folder);
    EXPECT_EQ("b.jpg", name);
    SplitUrl("/x/y.jpg", &folder, &name, true);
    EXPECT_EQ("x/", folder);
    EXPECT_EQ("y.jpg", name);
    SplitUrl("http://host", &folder, &name, true);
    EXPECT_EQ("http://host", folder);
    EXPECT_EQ("", name);
    SplitUrl("plain", &folder, &name, true);
    EXPECT_EQ("plain", folder);
    EXPECT_EQ("", name);
    // A separator inside the query does not count.
    SplitUrl("http://host/a/p.cgi?u=x/y", &folder, &name, true);
    EXPECT_EQ("http://host/a/", folder);
    EXPECT_EQ("p.cgi?u=x/y", name);
    SplitUrl("C:\\dir\\file.jpg", &folder, nullptr, false);
    EXPECT_EQ("C:\\dir\\", folder);
    SplitUrl("C:\\dir\\file.jpg", nullptr, &name, false);
    EXPECT_EQ("file.jpg", name);
}

}  // namespace
