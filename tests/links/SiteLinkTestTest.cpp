#include <gtest/gtest.h>

#include "core/FileTypes.h"
#include "core/SearchLinkTask.h"
#include "core/LinkEnqueuer.h"
#include "core/SiteLinkTest.h"
#include "core/UrlQueueEntry.h"

#include <string>

namespace {

UrlQueueEntry Page(const std::string& url, int32_t level = 1, const std::string& referrer = "http://site.example/") {
    UrlQueueEntry e;
    e.url = url;
    e.referrer = referrer;
    e.level = level;
    return e;
}

UrlQueueEntry Picture(const std::string& url, const std::string& referrer = "http://site.example/gallery/index.html") {
    UrlQueueEntry e = Page(url, 2, referrer);
    e.isImage = 1;
    IsKnownFileType(DefaultFileTypeGroups(), url, &e.extension);
    if (e.extension.empty()) {
        const size_t dot = url.rfind('.');
        e.extension = dot == std::string::npos ? "" : url.substr(dot);
    }
    return e;
}

void AddStart(SearchLinkTask& task, const std::string& url) {
    StartingAddress a;
    a.Url = url;
    task.StartingAddresses.push_back(a);
}

class SiteLinkTestF : public ::testing::Test {
protected:
    SiteLinkTestF() { AddStart(task, "http://Site.Example:8080/gallery/index.html"); }
    bool Accepts(const UrlQueueEntry& e) { return AcceptSiteLink(task, e, groups); }

    SearchLinkTask task;
    std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
};

}  // namespace

TEST_F(SiteLinkTestF, PageDepthIsComparedUnsigned) {
    task.Levels = 2;
    EXPECT_FALSE(Accepts(Page("http://site.example/a.html", 3)));
    EXPECT_TRUE(Accepts(Page("http://site.example/a.html", 2)));
    task.Levels = 3;
    EXPECT_TRUE(Accepts(Page("http://site.example/a.html", 3)));
    task.Levels = -1;
    EXPECT_TRUE(Accepts(Page("http://site.example/a.html", 1000000)));
    task.Levels = 0;
    EXPECT_FALSE(Accepts(Page("http://site.example/a.html", 1)));
    EXPECT_TRUE(Accepts(Page("http://site.example/a.html", 0)));
}

TEST_F(SiteLinkTestF, PageLocationRules) {
    // Same host: case and port do not matter.
    EXPECT_TRUE(Accepts(Page("http://SITE.example/other/x.html")));
    EXPECT_FALSE(Accepts(Page("http://elsewhere.example/x.html")));
    // Same host and path: the link's path must begin with the start address's whole path.
    task.PageLinksLocation = 0;
    EXPECT_TRUE(Accepts(Page("http://site.example/GALLERY/index.html?page=2")));
    EXPECT_FALSE(Accepts(Page("http://site.example/gallery/other.html")));
    // Anywhere.
    task.PageLinksLocation = 2;
    EXPECT_TRUE(Accepts(Page("http://elsewhere.example/x.html")));
    // Without start addresses only "anywhere" admits a page.
    task.StartingAddresses.clear();
    EXPECT_TRUE(Accepts(Page("http://site.example/x.html")));
    task.PageLinksLocation = 1;
    EXPECT_FALSE(Accepts(Page("http://site.example/x.html")));
    // A malformed address has no host and lies nowhere.
    AddStart(task, "http://site.example/");
    EXPECT_FALSE(Accepts(Page("http:// bad host/x.html")));
}

TEST_F(SiteLinkTestF, UrlListsIgnoreCaseAndEmptyEntries) {
    task.ExcludedUrls = {"", "LOGOUT"};
    EXPECT_FALSE(Accepts(Page("http://site.example/logout.php")));
    EXPECT_TRUE(Accepts(Page("http://site.example/login.php")));
    task.IncludedUrls = {"/Gallery/"};
    EXPECT_TRUE(Accepts(Page("http://site.example/gallery/2.html")));
    EXPECT_FALSE(Accepts(Page("http://site.example/news/2.html")));
    // Picture lists are separate from page lists.
    EXPECT_TRUE(Accepts(Picture("http://site.example/news/a.jpg")));
    task.ImageExcludedUrls = {"/thumbs/"};
    task.ImageIncludedUrls = {"site.example"};
    EXPECT_FALSE(Accepts(Picture("http://site.example/Thumbs/a.jpg")));
    EXPECT_TRUE(Accepts(Picture("http://site.example/full/a.jpg")));
    EXPECT_FALSE(Accepts(Picture("http://cdn.example/full/a.jpg")));
}

TEST_F(SiteLinkTestF, PictureLocationIsJudgedOnTheReferringPage) {
    // The picture lies on the start host, but the page it was found on does not.
    EXPECT_FALSE(Accepts(Picture("http://site.example/a.jpg", "http://other.example/page.html")));
    // A picture on another host found on a page of the site is fine...
    EXPECT_TRUE(Accepts(Picture("http://cdn.example/a.jpg", "http://site.example/page.html")));
    // ...unless pictures must come from the site itself.
    task.DownloadImagesOnlyFromSite = true;
    EXPECT_FALSE(Accepts(Picture("http://cdn.example/a.jpg", "http://site.example/page.html")));
    EXPECT_TRUE(Accepts(Picture("http://site.example/b.jpg", "http://site.example/page.html")));
    task.DownloadImagesOnlyFromSite = false;
    task.ImageLinksLocation = 0;
    EXPECT_FALSE(Accepts(Picture("http://site.example/a.jpg", "http://site.example/page.html")));
    EXPECT_TRUE(Accepts(Picture("http://site.example/a.jpg", "http://site.example/gallery/index.html?p=3")));
    task.ImageLinksLocation = 2;
    EXPECT_TRUE(Accepts(Picture("http://x.example/a.jpg", "http://y.example/p.html")));
    task.StartingAddresses.clear();
    task.ImageLinksLocation = 1;
    EXPECT_FALSE(Accepts(Picture("http://site.example/a.jpg", "http://site.example/p.html")));
}

TEST_F(SiteLinkTestF, NameMasksAreCaseSensitive) {
    task.ImageLinksLocation = 2;
    task.ExcludedNames = {"*.gif", "banner*"};
    EXPECT_TRUE(Accepts(Picture("http://h/PIC.GIF")));
    EXPECT_FALSE(Accepts(Picture("http://h/pic.gif")));
    EXPECT_FALSE(Accepts(Picture("http://h/dir/banner01.jpg")));
    task.IncludedNames = {"img_###.jpg"};
    EXPECT_TRUE(Accepts(Picture("http://h/img_001.jpg")));
    EXPECT_FALSE(Accepts(Picture("http://h/IMG_001.jpg")));
    // The query belongs to the name when it follows the last slash.
    EXPECT_FALSE(Accepts(Picture("http://h/img_001.jpg?size=big")));
}

TEST_F(SiteLinkTestF, FileTypes) {
    task.ImageLinksLocation = 2;
    task.UseAllFileTypes = false;
    task.Filetypes = {".jpg"};
    EXPECT_FALSE(Accepts(Picture("http://h/A.JPG")));
    EXPECT_TRUE(Accepts(Picture("http://h/a.jpg")));
    EXPECT_FALSE(Accepts(Picture("http://h/a.png")));
    task.UseAllFileTypes = true;
    EXPECT_TRUE(Accepts(Picture("http://h/A.JPG")));
    EXPECT_TRUE(Accepts(Picture("http://h/a.png")));
    // Group names are no extensions.
    UrlQueueEntry odd = Picture("http://h/file.Graphics");
    odd.extension = ".Graphics";
    EXPECT_FALSE(Accepts(odd));
    groups.clear();
    EXPECT_FALSE(Accepts(Picture("http://h/a.jpg")));
}

namespace {

// A found link as the enqueue rules hand it to the test: in its canonical form.
std::string Found(const std::string& url) {
    std::string canonical;
    EXPECT_TRUE(MakeQueueUrl(url, canonical)) << url;
    return canonical;
}

}  // namespace

TEST(SiteLinkTestCanonical, StartAddressesAreComparedInTheFoundLinksForm) {
    SearchLinkTask task;
    task.PageLinksLocation = 0;
    // Typed with non-ASCII letters, a blank, braces and dot segments.
    AddStart(task, "http://site.example/G\xC3\xA4le rie/./{2004}/../pics/");
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    EXPECT_TRUE(AcceptSiteLink(task, Page(Found("http://site.example/G\xC3\xA4le rie/pics/a.html")), groups));
    EXPECT_TRUE(AcceptSiteLink(task, Page(Found("http://site.example/g\xC3\xA4le%20rie/pics/sub/b.html")), groups));
    EXPECT_FALSE(AcceptSiteLink(task, Page(Found("http://site.example/G\xC3\xA4le rie/other/a.html")), groups));

    SearchLinkTask braces;
    braces.PageLinksLocation = 0;
    AddStart(braces, "http://site.example/{set}/index.html");
    EXPECT_TRUE(AcceptSiteLink(braces, Page(Found("http://site.example/{set}/index.html?page=2")), groups));

    // A task under page location 0 takes its own further pages, however its address was typed.
    for (const char* typed : {"http://site.example/gallery/index.html", "site.example/gallery/index.html",
                              "HTTP://Site.Example/gallery/./index.html#top", "http://site.example/gallery/index.html?page=1",
                              "http://site.example:80/gallery/index.html"}) {
        SearchLinkTask own;
        own.PageLinksLocation = 0;
        AddStart(own, typed);
        EXPECT_TRUE(AcceptSiteLink(own, Page(Found("http://site.example/gallery/index.html?page=2")), groups)) << typed;
        EXPECT_TRUE(AcceptSiteLink(own, Page(Found("http://site.example/gallery/index.html")), groups)) << typed;
        EXPECT_FALSE(AcceptSiteLink(own, Page(Found("http://site.example/other.html")), groups)) << typed;
    }
}

TEST(SiteLinkTestCanonical, FiltersAndMasksWithNonAsciiTextMatch) {
    SearchLinkTask task;
    task.ImageLinksLocation = 2;
    task.PageLinksLocation = 2;
    task.ImageIncludedUrls = {"sch\xC3\xB6n"};
    task.IncludedUrls = {"my pics"};
    task.IncludedNames = {"Bild_\xC3\xA4*.jpg"};
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    EXPECT_TRUE(AcceptSiteLink(task, Page(Found("http://site.example/my pics/index.html")), groups));
    EXPECT_FALSE(AcceptSiteLink(task, Page(Found("http://site.example/mypics/index.html")), groups));
    EXPECT_TRUE(AcceptSiteLink(task, Picture(Found("http://site.example/sch\xC3\xB6n/Bild_\xC3\xA4x.jpg")), groups));
    EXPECT_FALSE(AcceptSiteLink(task, Picture(Found("http://site.example/sch\xC3\xB6n/Bild_ax.jpg")), groups));
    EXPECT_FALSE(AcceptSiteLink(task, Picture(Found("http://site.example/schon/Bild_\xC3\xA4x.jpg")), groups));
    task.ExcludedNames = {"*\xC3\xA4x*"};
    EXPECT_FALSE(AcceptSiteLink(task, Picture(Found("http://site.example/sch\xC3\xB6n/Bild_\xC3\xA4x.jpg")), groups));
}
