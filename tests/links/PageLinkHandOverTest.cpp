// A page's links found off the window's thread (PageLinkScan) and taken into the queue a slice
// at a time (PageLinkHandOver): the same queue as taking them in one piece.
#include <gtest/gtest.h>

#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"
#include "core/LinkEnqueuer.h"
#include "core/PageLinkHandOver.h"
#include "core/PageLinkParser.h"
#include "core/PageLinkScan.h"
#include "core/SearchLinkTask.h"
#include "core/TaskEnqueueHost.h"
#include "core/UrlQueue.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

PageScanSettings DefaultScanSettings() {
    PageScanSettings settings;
    settings.tags = DefaultHtmlTagEntries();
    settings.fileTypes = DefaultFileTypeGroups();
    return settings;
}

std::vector<std::string> QueuedUrls(const UrlQueue& queue) {
    std::vector<std::string> urls;
    for (const UrlQueueEntry& e : queue.QueuedEntries()) urls.push_back(e.url);
    return urls;
}

std::string ManyLinksPage(int links) {
    std::string page = "<html><body>";
    for (int i = 0; i < links; ++i) {
        page += "<a href='Pages/../p" + std::to_string(i) + ".html#top'>x</a>";
        if (i % 97 == 0) page += "<img src='img/i" + std::to_string(i) + ".JPG'><a href='mailto:x@y'>m</a>";
        if (i % 50 == 0) page += "<a href='p0.html'>again</a><a href='https://other.example/s.html'>s</a>";
    }
    return page + "</body></html>";
}

}  // namespace

TEST(PageLinkScan, FindsQueueFormsAndPicturesOrStopsKeepingNothing) {
    const std::string page =
        "<a href='HTTP://Example.org/A/../b.html'>b</a><img src=pics/c.JPG><a href='ftp://x/y.gif'>f</a>"
        "<a href=\"d e.png\">d</a>";
    PageLinkScan scan("http://example.org/dir/index.html", "", DefaultScanSettings());
    EXPECT_EQ(PageLinkScan::Outcome::kNotRun, scan.GetOutcome());
    ASSERT_EQ(PageLinkScan::Outcome::kScanned,
              scan.Run(reinterpret_cast<const uint8_t*>(page.data()), page.size(), "text/html; charset=utf-8", nullptr));
    ASSERT_EQ(3u, scan.Links().size());   // the ftp link can never be queued
    // Tag by tag, as the settings list them: the a tags, then the img tags.
    EXPECT_EQ("http://example.org/b.html", scan.Links()[0].url);
    EXPECT_EQ("HTTP://Example.org/A/../b.html", scan.Links()[0].AsFound());
    EXPECT_FALSE(scan.Links()[0].isImage);
    EXPECT_EQ("http://example.org/dir/d", scan.Links()[1].url);   // a blank ends a value
    EXPECT_EQ("http://example.org/dir/pics/c.JPG", scan.Links()[2].url);
    EXPECT_TRUE(scan.Links()[2].asFound.empty());   // already in its queue form: kept once
    EXPECT_TRUE(scan.Links()[2].isImage);
    EXPECT_EQ(".JPG", scan.Links()[2].extension);
    EXPECT_EQ(0u, scan.DroppedLinks());

    // Neither HTML nor a script: nothing is looked for.
    EXPECT_EQ(PageLinkScan::Outcome::kScanned,
              scan.Run(reinterpret_cast<const uint8_t*>(page.data()), page.size(), "text/plain", nullptr));
    EXPECT_TRUE(scan.Links().empty());

    // A stop asked for while a long page is scanned ends the scan with nothing kept.
    const std::string big = ManyLinksPage(20000);
    int asked = 0;
    EXPECT_EQ(PageLinkScan::Outcome::kStopped,
              scan.Run(reinterpret_cast<const uint8_t*>(big.data()), big.size(), "text/html",
                       [&asked] { return ++asked >= 3; }));
    EXPECT_EQ(3, asked);
    EXPECT_TRUE(scan.Links().empty());
}

TEST(PageLinkHandOver, SlicesQueueWhatOnePieceWouldAndTheTaskFilterStillJudges) {
    const std::string pageUrl = "http://example.org/index.html";
    const std::string page = ManyLinksPage(3000);
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    SearchLinkTask task;
    StartingAddress start;
    start.Url = pageUrl;
    task.StartingAddresses.push_back(start);
    task.ExcludedUrls = {"p7"};
    UrlQueueEntry referrer;
    ASSERT_TRUE(MakeStartEntry(pageUrl, groups, referrer));
    // Every third link is dropped by the task's filter; one is made into another address.
    auto filter = [](std::vector<std::string>& links) {
        std::vector<std::string> kept;
        for (size_t i = 0; i < links.size(); ++i) {
            if (links[i].find("p2999.html") != std::string::npos) kept.push_back("http://example.org/made.html");
            else if (links[i].find("3.html") == std::string::npos) kept.push_back(links[i]);
        }
        links.swap(kept);
    };

    // In one piece, as the manager took a page before.
    PageLinkParser parser;
    parser.SetPage(pageUrl, "", kPageKindHtml, page.data(), page.size(), DefaultHtmlTagEntries());
    std::vector<std::string> found = parser.Results();
    filter(found);
    UrlQueue whole;
    TaskEnqueueHost wholeHost(task, groups);
    EnqueueFoundLinks(whole, found, referrer, wholeHost);

    // Scanned apart, then in slices of 100 links.
    PageLinkScan scan(pageUrl, "", DefaultScanSettings());
    ASSERT_EQ(PageLinkScan::Outcome::kScanned,
              scan.Run(reinterpret_cast<const uint8_t*>(page.data()), page.size(), "text/html", nullptr));
    PageLinkHandOver handOver(referrer, 7, std::move(scan.Links()));
    EXPECT_EQ(7, handOver.WorkerNumber());
    UrlQueue sliced;
    TaskEnqueueHost slicedHost(task, groups);
    int slices = 0;
    while (!handOver.Done()) {
        const size_t before = handOver.Remaining();
        handOver.Step(100, sliced, slicedHost, filter);
        EXPECT_EQ(before - std::min<size_t>(before, 100), handOver.Remaining());
        ++slices;
    }
    EXPECT_GE(slices, 30);
    EXPECT_EQ(QueuedUrls(whole), QueuedUrls(sliced));
    EXPECT_EQ(whole.ProcessedCount(), sliced.ProcessedCount());
    EXPECT_TRUE(sliced.IsQueued("http://example.org/made.html"));
    EXPECT_TRUE(sliced.IsQueued("http://example.org/img/i97.JPG"));
    EXPECT_FALSE(sliced.IsKnown("http://example.org/p13.html"));
    EXPECT_TRUE(sliced.IsProcessed("http://example.org/p7.html"));   // refused by the task
    const std::vector<UrlQueueEntry> entries = sliced.QueuedEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(pageUrl, entries.front().referrer);
    EXPECT_EQ(1, entries.front().level);

    // Given up halfway: nothing more comes.
    PageLinkScan again(pageUrl, "", DefaultScanSettings());
    again.Run(reinterpret_cast<const uint8_t*>(page.data()), page.size(), "text/html", nullptr);
    PageLinkHandOver abandoned(referrer, 8, std::move(again.Links()));
    UrlQueue part;
    abandoned.Step(10, part, slicedHost, nullptr);
    abandoned.Abandon();
    EXPECT_TRUE(abandoned.Done());
    EXPECT_EQ(0u, abandoned.Remaining());
    EXPECT_LE(part.QueueSize() + part.ProcessedCount(), 10u);
}
