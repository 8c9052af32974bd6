#include <gtest/gtest.h>

#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"
#include "core/LinkEnqueuer.h"
#include "core/PageLinkParser.h"
#include "core/ResumeFile.h"
#include "core/SearchLinkTask.h"
#include "core/TaskEnqueueHost.h"
#include "core/UrlQueue.h"
#include "tests/support/TestSupport.h"

#include <string>
#include <vector>

// A fetched page goes through the extractor, the task's filter and link test and the enqueue
// rules, and the resulting queue survives a save and a load of the resume file.
TEST(CrawlPipeline, GalleryPageToQueueAndBack) {
    const std::string start = "http://photos.example.org:8080/Albums/Summer2004/index.html";
    SearchLinkTask task;
    StartingAddress address;
    address.Url = start;
    task.StartingAddresses.push_back(address);
    task.ExcludedUrls = {"archive"};
    task.ImageExcludedUrls = {"/banners/"};
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();

    UrlQueue queue;
    queue.SetPreferredEndings(PictureEndings(groups));
    UrlQueueEntry page;
    ASSERT_TRUE(MakeStartEntry(start, groups, page));
    queue.MarkProcessed(page);  // the page itself has been handled

    std::vector<uint8_t> html;
    ASSERT_TRUE(testsupport::ReadFileBytes(testsupport::TestDataDir() + "gallery.html", html));
    PageLinkParser parser;
    parser.SetPage(page.url, page.referrer, kPageKindHtml, reinterpret_cast<const char*>(html.data()), html.size(),
                   DefaultHtmlTagEntries());
    std::vector<std::string> links;
    parser.GetResults(links);
    task.FilterFoundLinks(links);
    TaskEnqueueHost host(task, groups);
    EnqueueFoundLinks(queue, links, page, host);

    const std::string b = "http://photos.example.org:8080/Albums/Summer2004/";
    std::vector<std::string> queued;
    for (const UrlQueueEntry& e : queue.QueuedEntries()) queued.push_back(e.url);
    EXPECT_EQ((std::vector<std::string>{b + "Beach_01.html", b + "Beach_02.html", b + "index.html?page=2",
                                        "http://photos.example.org:8080/Albums/", b + "thumbs/Beach_01.JPG",
                                        b + "thumbs/Beach_02.JPG", "http://photos.example.org:8080/js/Popup.js",
                                        b + "img/Paper.gif", b + "img/cell.png", b + "img/table-bg.jpg"}),
              queued);
    EXPECT_TRUE(queue.IsProcessed(b + "old/Archive.html"));
    EXPECT_TRUE(queue.IsProcessed("http://static.example.net/Banners/Ad.gif"));

    // Pictures whose address ends in a configured extension are fetched first.
    UrlQueueEntry next;
    ASSERT_TRUE(queue.TakeNext(next));
    EXPECT_EQ(b + "img/Paper.gif", next.url);
    EXPECT_EQ(1, next.level);
    EXPECT_EQ(start, next.referrer);

    testsupport::ScratchDir dir;
    ASSERT_TRUE(SaveResumeFile(dir.File("t.cache"), queue, 0, nullptr));
    UrlQueue resumed;
    int32_t images = 0;
    ASSERT_EQ(ResumeLoadResult::Loaded, LoadResumeFile(dir.File("t.cache"), resumed, images, nullptr));
    std::vector<std::string> back;
    for (const UrlQueueEntry& e : resumed.QueuedEntries()) back.push_back(e.url);
    std::vector<std::string> expected(queued.begin(), queued.end());
    expected.erase(expected.begin() + 7);  // the picture in progress goes to the end
    expected.push_back(b + "img/Paper.gif");
    EXPECT_EQ(expected, back);
    EXPECT_EQ(3u, resumed.ProcessedCount());
}
