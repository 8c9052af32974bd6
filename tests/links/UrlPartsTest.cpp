#include <gtest/gtest.h>

#include "core/UrlParts.h"
#include "core/UrlReference.h"

#include <string>

namespace {

std::string Canonical(const std::string& text) {
    std::string out = "unchanged";
    if (!UrlParts::Canonicalize(text, out)) return "<fails>";
    return out;
}

std::string Resolve(const std::string& base, const std::string& ref) {
    std::string out;
    if (!ResolveUrlReference(base, ref, out)) return "<none>";
    return out;
}

}  // namespace

TEST(UrlParts, SplitsEveryPart) {
    UrlParts u;
    ASSERT_TRUE(u.Parse("HTTP://User:Pw@Host.Example:8080/Dir/a.jpg?x=1#frag"));
    EXPECT_EQ("http", u.SchemeName());
    EXPECT_EQ(UrlSchemeKind::Http, u.SchemeKind());
    EXPECT_EQ("User", u.UserName());
    EXPECT_EQ("Pw", u.Password());
    EXPECT_EQ("Host.Example", u.HostName());
    EXPECT_EQ(8080, u.Port());
    EXPECT_EQ("/Dir/a.jpg", u.Path());
    EXPECT_EQ("?x=1#frag", u.ExtraInfo());
    EXPECT_EQ("http://User:Pw@Host.Example:8080/Dir/a.jpg?x=1#frag", u.ToString());

    // No scheme: http and port 80; "host:8080" is a host with a port, not a scheme.
    ASSERT_TRUE(u.Parse("www.example.org/x"));
    EXPECT_EQ("http", u.SchemeName());
    EXPECT_EQ("www.example.org", u.HostName());
    EXPECT_EQ(80, u.Port());
    ASSERT_TRUE(u.Parse("localhost:8080/x"));
    EXPECT_EQ("localhost", u.HostName());
    EXPECT_EQ(8080, u.Port());

    ASSERT_TRUE(u.Parse("https://h/"));
    EXPECT_EQ(443, u.Port());
    ASSERT_TRUE(u.Parse("mailto:someone@example.org"));
    EXPECT_EQ(UrlSchemeKind::Other, u.SchemeKind());
    ASSERT_TRUE(u.Parse("http://[::1]:81/v6"));
    EXPECT_EQ("[::1]", u.HostName());
    EXPECT_EQ(81, u.Port());
}

TEST(UrlParts, RefusesTextsThatAreNoAddress) {
    UrlParts u;
    for (const char* bad : {"", "/only/a/path", "http://", "http:///x", "http://h:99999/", "http://h:80x/",
                            "http://bad host/", "http://a<b>/", "http://[zz]/", "http://[::1/"}) {
        EXPECT_FALSE(u.Parse(bad)) << bad;
        EXPECT_EQ("http", u.SchemeName());  // back to the defaults
        EXPECT_EQ(80, u.Port());
        EXPECT_EQ("", u.HostName());
    }
    EXPECT_FALSE(u.Parse("http://h/" + std::string(UrlParts::kMaxUrlLength, 'a')));
}

TEST(UrlParts, CanonicalForm) {
    // Scheme and host in lower case, the path's case kept, dot segments resolved.
    EXPECT_EQ("http://host.example/A/C.jpg", Canonical("HTTP://Host.Example/A/b/../C.jpg"));
    EXPECT_EQ("http://host.example/A/C.jpg", Canonical("http://host.example/A/./C.jpg"));
    EXPECT_EQ("http://h/", Canonical("http://h/a/../.."));
    // The port is kept unless it is the default; user info is dropped.
    EXPECT_EQ("http://h:8080/x", Canonical("http://user:pw@h:8080/x"));
    EXPECT_EQ("http://h/x", Canonical("http://h:80/x"));
    // A bare host gets its "/"; a text without scheme is http.
    EXPECT_EQ("http://h/", Canonical("http://h"));
    EXPECT_EQ("http://www.h.org/p", Canonical("www.h.org/p"));
    // Path characters that may not stand in a URL are escaped; the query is left alone
    // except for blanks and control characters; the fragment goes.
    EXPECT_EQ("http://h/a%20b%22%3C%3E%7B%7D%C3%A9.jpg?q=%7B<x>%20y",
              Canonical("http://h/a b\"<>{}\xC3\xA9.jpg?q=%7B<x> y#frag"));
    EXPECT_EQ("http://h/p?a=1", Canonical("http://h/p?a=1#x"));
    EXPECT_EQ("file:///C:/pics/a.jpg", Canonical("file:///C:/pics/a.jpg"));
    EXPECT_EQ("https://h/s", Canonical("HTTPS://H/s"));
    EXPECT_EQ("<fails>", Canonical("http://"));
}

TEST(UrlReference, ResolvesLikeBrowsers) {
    const std::string base = "http://h:81/a/b/page.html?x=1#f";
    EXPECT_EQ("http://h:81/a/b/page.html?q", Resolve(base, "?q"));
    EXPECT_EQ("http://h:81/a/b/page.html?x=1#g", Resolve(base, "#g"));
    EXPECT_EQ("http://other/x", Resolve(base, "//other/x"));
    EXPECT_EQ("http://h:81/x/Y.JPG", Resolve(base, "/x/Y.JPG"));
    EXPECT_EQ("http://h:81/a/c.html", Resolve(base, "../c.html"));
    EXPECT_EQ("http://h:81/a/b/d/e.jpg", Resolve(base, "d\\e.jpg"));
    EXPECT_EQ("http://h:81/a/b/sp.html", Resolve(base, "  sp\n.html "));
    EXPECT_EQ("http://h/r.html", Resolve("http://h", "r.html"));
    EXPECT_EQ("http://h:81/a/b/s.html", Resolve(base, "http:s.html"));
    EXPECT_EQ("ftp://f/x", Resolve(base, "ftp://f/x"));
    EXPECT_EQ("<none>", Resolve(base, "javascript:x()"));
    EXPECT_EQ("<none>", Resolve(base, "Data:text/html,x"));
    EXPECT_EQ("<none>", Resolve(base, "mailto:x@y"));
    EXPECT_EQ("<none>", Resolve(base, ""));
    EXPECT_EQ("<none>", Resolve(base, "file:x"));     // another scheme without "//": no host
    EXPECT_EQ("<none>", Resolve(base, "HTTPS:page"));
    EXPECT_EQ("<none>", Resolve("not a base", "x.html"));
}
