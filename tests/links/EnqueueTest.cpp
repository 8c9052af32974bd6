#include <gtest/gtest.h>

#include "core/LinkEnqueuer.h"
#include "core/UrlQueue.h"
#include "tests/support/TestSupport.h"

#include <map>
#include <string>
#include <vector>

namespace {

UrlQueueEntry Entry(const std::string& url, int level = 0) {
    UrlQueueEntry e;
    e.url = url;
    e.referrer = url;
    e.level = level;
    return e;
}

std::vector<std::string> Urls(const UrlQueue& q) {
    std::vector<std::string> out;
    for (const UrlQueueEntry& e : q.QueuedEntries()) out.push_back(e.url);
    return out;
}

// A task that refuses addresses containing "refuse", knows .jpg/.gif pictures, and has saved
// the pictures listed in `saved`.
class FakeHost : public IEnqueueHost {
public:
    bool ClassifyUrl(const std::string& url, std::string& extension) override {
        const size_t dot = url.rfind('.');
        extension = (dot != std::string::npos && url.find('/', dot) == std::string::npos) ? url.substr(dot) : "";
        return extension == ".jpg" || extension == ".gif";
    }
    bool AcceptLink(const UrlQueueEntry& entry) override {
        asked[entry.url]++;
        return entry.url.find("refuse") == std::string::npos;
    }
    int FindDownloadedPicture(const std::string& url, std::string& localPath) override {
        for (size_t i = 0; i < saved.size(); ++i) {
            if (saved[i].first == url) {
                localPath = saved[i].second;
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    void ForgetDownloadedPicture(int index) override {
        forgotten.push_back(saved[static_cast<size_t>(index)].first);
        saved.erase(saved.begin() + index);
    }
    bool ScanInDepth() override { return inDepth; }

    std::map<std::string, int> asked;
    std::vector<std::pair<std::string, std::string>> saved;
    std::vector<std::string> forgotten;
    bool inDepth = false;
};

}  // namespace

TEST(UrlQueue, PicturesAreTakenFirstAndEveryAddressOnce) {
    UrlQueue q;
    q.SetPreferredEndings({".jpg", ".gif"});
    EXPECT_TRUE(q.PushBack(Entry("http://h/1.html")));
    EXPECT_TRUE(q.PushBack(Entry("http://h/2.jpg")));
    EXPECT_TRUE(q.PushFront(Entry("http://h/0.gif")));
    EXPECT_TRUE(q.PushBack(Entry("http://h/3.JPG")));  // endings are compared byte for byte
    EXPECT_FALSE(q.PushBack(Entry("http://h/2.jpg")));
    EXPECT_FALSE(q.PushFront(Entry("http://h/1.html")));
    EXPECT_EQ((std::vector<std::string>{"http://h/0.gif", "http://h/1.html", "http://h/2.jpg", "http://h/3.JPG"}), Urls(q));

    std::vector<std::string> taken;
    UrlQueueEntry e;
    while (q.TakeNext(e)) {
        taken.push_back(e.url);
        EXPECT_TRUE(q.IsInProgress(e.url));
        EXPECT_FALSE(q.IsQueued(e.url));
        EXPECT_TRUE(q.IsKnown(e.url));
    }
    EXPECT_EQ((std::vector<std::string>{"http://h/0.gif", "http://h/2.jpg", "http://h/1.html", "http://h/3.JPG"}), taken);
    EXPECT_EQ(4u, q.InProgressCount());

    UrlQueueEntry out;
    EXPECT_TRUE(q.RemoveInProgress("http://h/2.jpg", &out));
    EXPECT_EQ("http://h/2.jpg", out.url);
    EXPECT_FALSE(q.RemoveInProgress("http://h/2.jpg"));
    q.MarkProcessed(out);
    EXPECT_TRUE(q.IsKnown("http://h/2.jpg"));
    // A stopped download goes back to the queue's end and can be queued again.
    EXPECT_TRUE(q.PushBack(Entry("http://h/2.jpg")));
}

TEST(LinkEnqueuer, CanonicalFormsDropDuplicatesAndOtherSchemes) {
    UrlQueue q;
    FakeHost host;
    const UrlQueueEntry page = Entry("http://h/dir/page.html", 2);
    const std::vector<std::string> links = {
        "HTTP://H/dir/../Pics/A.jpg",  // same address as the next one once canonical
        "http://h/Pics/A.jpg",
        "http://h:8080/x.html",        // the port is kept
        "http://h/x.html#part",        // fragment removed
        "http://h/x.html",
        "https://h/secure.html", "ftp://h/f.jpg", "mailto:a@h", "javascript:x()", "",
        "file:///C:/local/p.gif",
    };
    EXPECT_EQ(4u, EnqueueFoundLinks(q, links, page, host));
    const std::vector<UrlQueueEntry> queued = q.QueuedEntries();
    ASSERT_EQ(4u, queued.size());
    EXPECT_EQ("http://h/Pics/A.jpg", queued[0].url);
    EXPECT_EQ("http://h/dir/page.html", queued[0].referrer);
    EXPECT_EQ(3, queued[0].level);
    EXPECT_EQ(0, queued[0].retryCount);
    EXPECT_EQ(1, queued[0].isImage);
    EXPECT_EQ(".jpg", queued[0].extension);
    EXPECT_EQ("http://h:8080/x.html", queued[1].url);
    EXPECT_EQ(0, queued[1].isImage);
    EXPECT_EQ("http://h/x.html", queued[2].url);
    EXPECT_EQ("file:///C:/local/p.gif", queued[3].url);
    EXPECT_EQ(1, host.asked["http://h/Pics/A.jpg"]);  // asked once for the pair
}

TEST(LinkEnqueuer, RefusedLinksAreRememberedAndInDepthQueuesNewestFirst) {
    UrlQueue q;
    FakeHost host;
    host.inDepth = true;
    const UrlQueueEntry page = Entry("http://h/", 0);
    EnqueueFoundLinks(q, {"http://h/a.html", "http://h/refuse.html", "http://h/b.html"}, page, host);
    EXPECT_EQ((std::vector<std::string>{"http://h/b.html", "http://h/a.html"}), Urls(q));
    EXPECT_TRUE(q.IsProcessed("http://h/refuse.html"));
    EXPECT_EQ(0u, EnqueueFoundLinks(q, {"http://h/refuse.html", "http://h/a.html"}, page, host));
    EXPECT_EQ(1, host.asked["http://h/refuse.html"]);
    EXPECT_EQ(1, host.asked["http://h/a.html"]);
}

TEST(LinkEnqueuer, SavedPicturesAreFetchedAgainOnlyWhenTheirFileIsGone) {
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("kept.jpg"), "jpeg"));
    UrlQueue q;
    FakeHost host;
    host.saved = {{"http://h/kept.jpg", dir.File("kept.jpg")},
                  {"http://h/gone.jpg", dir.File("gone.jpg")},
                  {"http://h/folder.jpg", dir.Path()}};  // a folder is no saved file
    EnqueueFoundLinks(q, {"http://h/kept.jpg", "http://h/gone.jpg", "http://h/folder.jpg"}, Entry("http://h/"), host);
    EXPECT_EQ((std::vector<std::string>{"http://h/gone.jpg", "http://h/folder.jpg"}), Urls(q));
    EXPECT_TRUE(q.IsProcessed("http://h/kept.jpg"));
    EXPECT_EQ((std::vector<std::string>{"http://h/gone.jpg", "http://h/folder.jpg"}), host.forgotten);
    ASSERT_EQ(1u, host.saved.size());
}
