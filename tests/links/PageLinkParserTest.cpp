#include <gtest/gtest.h>

#include "core/HtmlTagEntry.h"
#include "core/PageLinkParser.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/RepeatableRandom.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Links = std::vector<std::string>;

Links Extract(const std::string& pageUrl, const std::string& html, int kind = kPageKindHtml,
              const std::string& referrer = std::string()) {
    PageLinkParser parser;
    parser.SetPage(pageUrl, referrer, kind, html.data(), html.size(), DefaultHtmlTagEntries());
    Links out{"stale"};
    parser.GetResults(out);
    return out;
}

Links ExtractFile(const std::string& pageUrl, const std::string& name) {
    return Extract(pageUrl, testsupport::FixtureBytes(name));
}

}  // namespace

TEST(PageLinkParser, GalleryWithBaseTagResolvesAgainstBaseFolder) {
    const std::string b = "http://photos.example.org:8080/Albums/Summer2004/";
    const Links expected = {
        b + "Beach_01.html", b + "Beach_02.html", b + "index.html?page=2", b + "index.html",
        b + "old/Archive.html", "http://static.example.net/Banners/Ad.gif", "http://photos.example.org:8080/Albums/",
        b + "thumbs/Beach_01.JPG", b + "thumbs/Beach_02.JPG", "http://photos.example.org:8080/js/Popup.js",
        b + "img/Paper.gif", b + "img/cell.png", b + "img/table-bg.jpg",
    };
    EXPECT_EQ(expected, ExtractFile("http://photos.example.org/redirect/gallery.html", "gallery.html"));
}

TEST(PageLinkParser, FramesAndIframesWithOddWhitespace) {
    const std::string b = "http://site.example.com/Start/";
    const Links expected = {b + "noframes.html", b + "menu.html", b + "main/Welcome.html", b + "ads/Banner.html"};
    EXPECT_EQ(expected, ExtractFile("http://site.example.com/Start/frames.html", "frames.html"));
}

TEST(PageLinkParser, ScriptRegionsAreScannedAsScriptsNotAsTags) {
    const std::string b = "http://www.example.com/Gallery/View/";
    const Links expected = {
        b + "Counter/Hit.GIF", b + "Pre/Loaded.JPG",            // src assignments, in page order
        b + "Escaped/Link.html", b + "Frames/Top.html",         // href assignments
        "http://www.example.com/Viewer/Show.php?Pic=", b + "Large/Photo_01.jpg",  // open() calls
        b + "Photo_01.jpg", b + "Photo_03.jpg",                 // img tags outside scripts
    };
    EXPECT_EQ(expected, ExtractFile("http://www.example.com/Gallery/View/page.html", "scripts.html"));
}

TEST(PageLinkParser, SloppyMarkupAndUnterminatedAttributes) {
    const std::string b = "http://old.example.com/~user/";
    const Links expected = {
        b + "Sub",  // a blank ends even a quoted value
        b + "Pics/Back/Slash.jpg",
        b + "Pics/One.gif", b + "Pics/Two.gif",
        b + "Pics/Hidden.gif",  // plain text search: a tag inside a quoted value is found too
        b + "Last.jpg",         // the page ends inside the tag
    };
    EXPECT_EQ(expected, ExtractFile("http://old.example.com/~user/index.htm", "broken.html"));
}

TEST(PageLinkParser, RelativeLinksResolveAsInBrowsers) {
    const std::string page = "http://Host.example:8080/dir/Page.php?id=1#frag";
    const std::string html =
        "<a href=\"?p=2\"> <a href='#top'> <a href=//cdn.example/X/i.jpg> <a href=\"/Root/A.JPG\">"
        " <a href=../Up.html> <a href=./Sub/P.jpg#x> <a href=\"HTTP://Other.example/Keep#frag\">"
        " <a href=\"https://secure.example/s\"> <a href=\"http:Same.html\">";
    const Links expected = {
        "http://Host.example:8080/dir/Page.php?p=2",
        "http://Host.example:8080/dir/Page.php?id=1",
        "http://cdn.example/X/i.jpg",
        "http://Host.example:8080/Root/A.JPG",
        "http://Host.example:8080/Up.html",
        "http://Host.example:8080/dir/Sub/P.jpg",
        "HTTP://Other.example/Keep#frag",  // written out in full: kept as it is
        "https://secure.example/s",
        "http://Host.example:8080/dir/Same.html",
    };
    EXPECT_EQ(expected, Extract(page, html));
}

TEST(PageLinkParser, BaseTagForms) {
    // A base naming a folder, a file, and a relative base; only the first base counts.
    EXPECT_EQ(Links{"http://h/pics/a.jpg"},
              Extract("http://x/y.html", "<BASE\tHREF=\"http://h/pics/\"><base href=http://z/><img src=a.jpg>"));
    EXPECT_EQ(Links{"http://h/dir/b.jpg"}, Extract("http://x/y.html", "<base href='http://h/dir/file.htm'><img src=b.jpg>"));
    EXPECT_EQ(Links{"http://x/other/c.jpg"}, Extract("http://x/y/z.html", "<base href=\"../other/\"><img src=c.jpg>"));
    // "<basefont" is no base tag.
    EXPECT_EQ(Links{"http://x/y/d.jpg"}, Extract("http://x/y/z.html", "<basefont href=\"/no/\"><img src=d.jpg>"));
}

TEST(PageLinkParser, NonWebSchemesNeverBecomeHttpAddresses) {
    const std::string html =
        "<A HREF=\"MailTo:me@example.org\"><a href=\"JAVASCRIPT:go()\"><a href=\"news:comp.lang\">"
        "<img src=\"data:image/png;base64,iVBOR\"><img src=\"javascript:alert(1)\"><iframe src=\"about:blank\">"
        "<a href=\"tel:+123\"><script>x.src='mailto:a@b'; window.open('javascript:void(0)');</script>"
        "<a href=\"\"><img src=>";
    EXPECT_TRUE(Extract("http://h/p.html", html).empty());
}

TEST(PageLinkParser, AttributeReadingRules) {
    const std::string page = "http://h/d/p.html";
    // Names and values may be separated by blanks; a blank inside quotes ends the value.
    EXPECT_EQ(Links{"http://h/d/my"}, Extract(page, "<img src = \"my pic.jpg\">"));
    // A '>' inside a quoted value does not end the tag.
    EXPECT_EQ(Links{"http://h/d/c.gif"}, Extract(page, "<img alt=\"a > b\" src=c.gif>"));
    // The attribute must lie inside the tag: the next tag's src is not this tag's.
    EXPECT_EQ(Links{"http://h/d/e.gif"}, Extract(page, "<img alt=x><img src=e.gif>"));
    // An attribute without '=' gives nothing.
    EXPECT_TRUE(Extract(page, "<img src><b>src=f.gif</b>").empty());
    // A tag name must be followed by white space.
    EXPECT_TRUE(Extract(page, "<imgx src=a.gif><img/src=b.gif>").empty());
    // A commented-out tag is found like any other.
    EXPECT_EQ(Links{"http://h/d/old.jpg"}, Extract(page, "<!-- <img src=old.jpg> -->"));
}

TEST(PageLinkParser, ScriptValues) {
    const std::string page = "http://h/d/p.html";
    EXPECT_EQ(Links{"http://h/Popup/Big.html"}, Extract(page, "<script>window.open('/Popup/Big.html')</script>"));
    EXPECT_TRUE(Extract(page, "<script>location = nextPage;</script>").empty());
    EXPECT_TRUE(Extract(page, "<script>x.src = \"a b.jpg\"; y.src = \"unclosed</script>").empty());
    // A script page takes the referring page as its base.
    EXPECT_EQ(Links{"http://h/gallery/Next.html"},
              Extract("http://cdn/js/app.js", "document.location = \"Next.html\";", kPageKindScript,
                      "http://h/gallery/index.html"));
    // Neither HTML nor script: nothing.
    EXPECT_TRUE(Extract(page, "<img src=a.jpg>", kPageKindNone).empty());
}

TEST(PageLinkParser, FindTagEndSkipsQuotedRuns) {
    const std::string html = "<a title='x>y' alt=\"it's\">after";
    PageLinkParser parser;
    parser.SetPage("http://h/", "", kPageKindNone, html.data(), html.size(), DefaultHtmlTagEntries());
    EXPECT_EQ(html.find(">after"), parser.FindTagEnd(0));
    const std::string open = "<a title='never closed>";
    parser.SetPage("http://h/", "", kPageKindNone, open.data(), open.size(), DefaultHtmlTagEntries());
    EXPECT_EQ(open.size(), parser.FindTagEnd(0));
    EXPECT_EQ(open.size(), parser.FindTagEnd(open.size() + 5));
}

TEST(PageLinkParser, ManyUnterminatedTagsStillFindEveryLink) {
    // Each tag opens a quote that the next tag closes; every tag's value is still read, and the
    // page is scanned once per tag rule, not once per tag.
    std::string html;
    for (int i = 0; i < 2000; ++i) html += "<a href=p" + std::to_string(i) + ".html title='x>\n";
    const Links links = Extract("http://h/", html);
    ASSERT_EQ(2000u, links.size());
    EXPECT_EQ("http://h/p0.html", links.front());
    EXPECT_EQ("http://h/p1999.html", links.back());
}

TEST(PageLinkParser, CustomTagListAndContentKinds) {
    // Names typed in capitals in the settings still match; a tag named like its attribute
    // does not take its own name for the attribute.
    std::vector<HtmlTagEntry> tags(2);
    tags[0].tag = "LINK";
    tags[0].attributes = {"HREF"};
    tags[0].excludedPrefixes = {"Styles/"};
    tags[1].tag = "src";
    tags[1].attributes = {"src"};
    const std::string html = "<link href=feed.xml><LINK HREF=styles/a.css><src src=x.jpg><img src=no.jpg>";
    PageLinkParser parser;
    parser.SetPage("http://h/", "", kPageKindHtml, html.data(), html.size(), tags);
    EXPECT_EQ((Links{"http://h/feed.xml", "http://h/x.jpg"}), parser.Results());

    EXPECT_EQ(kPageKindHtml, PageKindFromContentType("Text/HTML; charset=utf-8"));
    EXPECT_EQ(kPageKindScript, PageKindFromContentType("application/x-javascript"));
    EXPECT_EQ(kPageKindScript, PageKindFromContentType("text/html+javascript"));
    EXPECT_EQ(kPageKindNone, PageKindFromContentType("image/jpeg"));
    EXPECT_EQ(kPageKindNone, PageKindFromContentType(""));
}

TEST(PageLinkParser, CharacterReferencesInAttributesAreDecoded) {
    const std::string html =
        "<a href=\"view.php?id=7&amp;size=big&AMP;x=&#49;&#x32;\"><a href=\"http://h/a.php?q=1&copy;&#0;&#x110000;&amp\">"
        "<script>w.location = \"s.php?a=1&amp;b=2\";</script>";
    EXPECT_EQ((Links{"http://h/s.php?a=1&amp;b=2",  // script text is no HTML: left as written
                     "http://h/view.php?id=7&size=big&x=12", "http://h/a.php?q=1&copy;&#0;&#x110000;&amp"}),
              Extract("http://h/", html));
    // A reference can spell out an excluded prefix; it is decoded before the test.
    EXPECT_TRUE(Extract("http://h/", "<a href=\"&#106;avascript:x()\">").empty());
}

TEST(PageLinkParser, TagSoupYieldsOnlyWebAddresses) {
    // A deterministic soup of tag pieces, quotes, schemes and script fragments.
    static const char* const kPieces[] = {"<a ", "<IMG\t", "<script>", "</script>", "<base href=", "href=", "src =",
                                          "'", "\"", ">", "javascript:", "data:", "mailto:", "//", "../", "?q#f",
                                          "x.jpg", " ", "\n", "\\", "open(", "location=", "&amp;", "\0", "http:",
                                          "HTTPS://", "file:", "#", "=", "<td\r", "background"};
    const size_t pieceCount = sizeof(kPieces) / sizeof(kPieces[0]);
    testsupport::RepeatableRandom next(12345);
    std::string soup;
    while (soup.size() < 200000) {
        const char* piece = kPieces[(next() >> 8) % pieceCount];
        soup.append(piece, piece[0] ? std::char_traits<char>::length(piece) : 1);
    }
    for (int kind : {kPageKindHtml, kPageKindScript}) {
        const Links links = Extract("http://h/dir/page.html", soup, kind, "http://h/dir/");
        EXPECT_FALSE(links.empty());
        for (const std::string& link : links) {
            std::string lower = link.substr(0, 8);
            for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            const bool web = lower.compare(0, 7, "http://") == 0 || lower.compare(0, 8, "https://") == 0 ||
                             lower.compare(0, 6, "ftp://") == 0 || lower.compare(0, 7, "file://") == 0;
            EXPECT_TRUE(web) << link;
        }
    }
}

TEST(PageLinkParser, LinksOfOnePageAreCapped) {
    std::string page;
    const size_t extra = 7;
    for (size_t i = 0; i < PageLinkParser::kMaxLinks + extra; ++i) page += "<a href=p" + std::to_string(i) + ">";
    PageLinkParser parser;
    parser.SetPage("http://h/", "", kPageKindHtml, page.data(), page.size(), DefaultHtmlTagEntries());
    ASSERT_EQ(PageLinkParser::kMaxLinks, parser.Results().size());
    EXPECT_EQ("http://h/p0", parser.Results().front());
    EXPECT_EQ("http://h/p" + std::to_string(PageLinkParser::kMaxLinks - 1), parser.Results().back());
    EXPECT_GT(parser.DroppedLinks(), 0u);
    // A new page starts counting afresh.
    parser.SetPage("http://h/", "", kPageKindHtml, "<a href=x>", 10, DefaultHtmlTagEntries());
    EXPECT_EQ(1u, parser.Results().size());
    EXPECT_EQ(0u, parser.DroppedLinks());
}

TEST(PageLinkParser, PicturesKeepTheirPlaceWhenPageLinksFillTheCap) {
    // Page links past the cap come first (anchors are scanned before images), then pictures
    // both as anchors and as images, and a script's picture.
    std::string page;
    for (size_t i = 0; i < PageLinkParser::kMaxLinks + 50; ++i) page += "<a href=p" + std::to_string(i) + ".html>";
    page += "<a href='big1.JPG'><img src=i1.jpg><img src=i2.gif><script>x.src='s1.png';</script>";
    PageLinkParser parser;
    parser.SetPictureTest([](const std::string& url) {
        const std::string tail = url.substr(url.size() - 4);
        return tail == ".JPG" || tail == ".jpg" || tail == ".gif" || tail == ".png";
    });
    parser.SetPage("http://h/", "", kPageKindHtml, page.data(), page.size(), DefaultHtmlTagEntries());
    const std::vector<std::string>& found = parser.Results();
    EXPECT_EQ(PageLinkParser::kMaxLinks + 4, found.size());
    EXPECT_GE(parser.DroppedLinks(), 50u);
    for (const char* picture : {"http://h/big1.JPG", "http://h/i1.jpg", "http://h/i2.gif", "http://h/s1.png"})
        EXPECT_NE(found.end(), std::find(found.begin(), found.end(), picture)) << picture;
    EXPECT_EQ(found.end(), std::find(found.begin(), found.end(), "http://h/p" + std::to_string(PageLinkParser::kMaxLinks) + ".html"));

    // Pictures have a cap of their own too.
    std::string pictures;
    for (size_t i = 0; i < PageLinkParser::kMaxLinks + 3; ++i) pictures += "<img src=" + std::to_string(i) + ".jpg>";
    pictures += "<a href=last.html>";
    parser.SetPage("http://h/", "", kPageKindHtml, pictures.data(), pictures.size(), DefaultHtmlTagEntries());
    EXPECT_EQ(PageLinkParser::kMaxLinks + 1, parser.Results().size());
    EXPECT_EQ(3u, parser.DroppedLinks());
    EXPECT_EQ("http://h/last.html", parser.Results().front());
}
