#include <gtest/gtest.h>

#include "core/FileTypes.h"
#include "core/LinkEnqueuer.h"
#include "core/TaskEnqueueHost.h"
#include "core/TaskOptions.h"
#include "core/UrlQueue.h"
#include "tests/support/TestSupport.h"

#include <string>
#include <vector>

namespace {

ImageRecord Record(const std::string& url, const std::string& path) {
    ImageRecord r;
    r.imageUrl = url;
    r.localPath = path;
    return r;
}

}  // namespace

TEST(TaskEnqueueHost, DropsRecordsOfDeletedPicturesAndTellsTheViewsInOrder) {
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("a.jpg"), "x"));
    TaskOptions task;
    task.DownloadedImages.Append(Record("http://h/a.jpg", dir.File("a.jpg")));
    task.DownloadedImages.Append(Record("http://h/b.jpg", dir.File("b.jpg")));  // file deleted
    task.DownloadedImages.Append(Record("http://h/c.jpg", dir.File("c.jpg")));  // file deleted

    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    std::vector<std::string> events;
    TaskEnqueueHost host(
        task, groups,
        [&](int index) {
            events.push_back("removing " + std::to_string(index) + " of " +
                             std::to_string(task.DownloadedImages.GetCount()));
        },
        [&]() { events.push_back("refresh " + std::to_string(task.DownloadedImages.GetCount())); });

    UrlQueue q;
    UrlQueueEntry page;
    page.url = "http://h/index.html";
    const size_t queued =
        EnqueueFoundLinks(q, {"http://h/a.jpg", "http://h/c.jpg", "http://h/next.html", "http://h/b.jpg"}, page, host);
    EXPECT_EQ(3u, queued);
    EXPECT_TRUE(q.IsProcessed("http://h/a.jpg"));
    EXPECT_EQ((std::vector<std::string>{"removing 2 of 3", "refresh 2", "removing 1 of 2", "refresh 1"}), events);
    ASSERT_EQ(1, task.DownloadedImages.GetCount());
    EXPECT_EQ("http://h/a.jpg", task.DownloadedImages.GetAt(0).imageUrl);

    const std::vector<UrlQueueEntry> entries = q.QueuedEntries();
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(1, entries[0].isImage);
    EXPECT_EQ(".jpg", entries[0].extension);
    EXPECT_EQ(0, entries[1].isImage);
    EXPECT_EQ(".html", entries[1].extension);  // stored also when it is no picture type

    // Scan in depth puts each new link at the front: the last one found comes first.
    task.ScanningType = 1;
    EnqueueFoundLinks(q, {"http://h/x1.html", "http://h/x2.html"}, page, host);
    EXPECT_EQ("http://h/x2.html", q.QueuedEntries()[0].url);
    EXPECT_EQ("http://h/x1.html", q.QueuedEntries()[1].url);
}

TEST(TaskEnqueueHost, StartEntriesAndPictureEndings) {
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    UrlQueueEntry e;
    ASSERT_TRUE(MakeStartEntry("HTTP://Site.Example:8080/Pics/../a.JPEG", groups, e));
    EXPECT_EQ("http://site.example:8080/a.JPEG", e.url);
    EXPECT_EQ(e.url, e.referrer);
    EXPECT_EQ(0, e.level);
    EXPECT_EQ(1, e.isImage);
    EXPECT_EQ(".JPEG", e.extension);
    EXPECT_FALSE(MakeStartEntry("https://site.example/", groups, e));
    EXPECT_FALSE(MakeStartEntry("", groups, e));

    const std::vector<std::string> endings = PictureEndings(groups);
    EXPECT_EQ(14u, endings.size());
    EXPECT_EQ(".gif", endings.front());
    for (const std::string& ending : endings) EXPECT_EQ('.', ending[0]);
}

TEST(TaskEnqueueHost, AHostKeptWhileThePicturesChangeFollowsTheList) {
    testsupport::ScratchDir dir;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) ASSERT_TRUE(testsupport::WriteFileText(dir.File(name), "x"));
    TaskOptions task;
    task.DownloadedImages.Append(Record("http://h/a.jpg", dir.File("a.jpg")));
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    TaskEnqueueHost host(task, groups);
    std::string path;
    EXPECT_EQ(0, host.FindDownloadedPicture("http://h/a.jpg", path));
    EXPECT_EQ(-1, host.FindDownloadedPicture("http://h/b.jpg", path));

    // Pictures saved meanwhile are found.
    task.DownloadedImages.Append(Record("http://h/b.jpg", dir.File("b.jpg")));
    EXPECT_EQ(1, host.FindDownloadedPicture("http://h/b.jpg", path));
    EXPECT_EQ(dir.File("b.jpg"), path);

    // The user deletes the first record, another picture comes: the same count, moved records.
    task.DownloadedImages.RemoveAt(0);
    task.DownloadedImages.Append(Record("http://h/c.jpg", dir.File("c.jpg")));
    EXPECT_EQ(0, host.FindDownloadedPicture("http://h/b.jpg", path));
    EXPECT_EQ(dir.File("b.jpg"), path);
    EXPECT_EQ(1, host.FindDownloadedPicture("http://h/c.jpg", path));
    EXPECT_EQ(-1, host.FindDownloadedPicture("http://h/a.jpg", path));

    // Fewer records than indexed.
    task.DownloadedImages.RemoveAt(0);
    EXPECT_EQ(0, host.FindDownloadedPicture("http://h/c.jpg", path));
    EXPECT_EQ(-1, host.FindDownloadedPicture("http://h/b.jpg", path));
}
