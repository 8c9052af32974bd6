// A page of tens of thousands of links through the real engine and a real server: its links are
// found by the worker that fetched it and join the queue in slices, the window answering in
// between; its pictures all come; a stop in the middle loses nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/DownloadManager.h"
#include "core/PageLinkParser.h"
#include "core/ProgramSettings.h"
#include "core/ResumeFile.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "tests/support/RecordingViews.h"
#include "tests/support/SiteTask.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestSupport.h"
#include "tests/engine/EngineFixture.h"

namespace {

const UINT kPing = WM_APP + 77;

// Counts the link tests of page links and how many of the window's answers to pings came before
// each: the answers between the first and the last are the answers given while the page's links
// were being taken in.
class CountingTask : public SearchLinkTask {
public:
    bool AcceptLink(const UrlQueueEntry& entry) override {
        if (!entry.isImage) {
            if (pageLinks++ == 0) answersAtFirst = *answers;
            answersAtLast = *answers;
        }
        return SearchLinkTask::AcceptLink(entry);
    }
    const int* answers = nullptr;
    int pageLinks = 0;
    int answersAtFirst = 0;
    int answersAtLast = 0;
};

class LargePageTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        task_.answers = &answers_;
        ASSERT_TRUE(testsupport::PrepareSiteTask(task_, "Large", server_.Url("/index.html"), dir_.Path(), 0));
    }

    // The page: `links` page links, a picture among the first, the middle and the last of them.
    void ServePage(int links) {
        std::string page = "<html><body>\n";
        for (int i = 0; i < links; ++i) {
            page += "<a href=\"pages/p" + std::to_string(i) + ".html\">p</a>\n";
            if (i == 3 || i == links / 2 || i == links - 2) {
                const std::string name = "img/q" + std::to_string(i) + ".gif";
                page += "<img src=\"" + name + "\">\n";
                server_.SetOk("/" + name, "image/gif", "GIF89a" + std::string(40 + static_cast<size_t>(i % 7), 'g'));
                pictures_.push_back("/" + name);
            }
        }
        server_.SetOk("/index.html", "text/html", page + "</body></html>");
    }

    // The window's message loop, with a ping posted after every other message: the ping is
    // answered before any timer of the window comes again (posted messages go first), so each
    // answer stands for one moment the window was free between two pieces of work.
    template <typename Done>
    bool PumpUntil(Done done, DWORD limit = 60000) {
        const DWORD begin = GetTickCount();
        while (!done()) {
            if (GetTickCount() - begin > limit) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == kPing && msg.hwnd == nullptr) {
                    pingWaiting_ = false;
                    ++answers_;
                    for (int row = 0; row < manager_->List().RowCount(); ++row)
                        if (manager_->List().CellText(row, 0) == server_.Url("/index.html") &&
                            manager_->List().CellText(row, 4) == "Parsing")
                            ++answersWhileParsingShown_;
                    continue;
                }
                DispatchMessageA(&msg);
                if (!pingWaiting_) pingWaiting_ = PostThreadMessageA(GetCurrentThreadId(), kPing, 0, 0) != FALSE;
            }
        }
        return true;
    }

    CountingTask task_;
    std::vector<std::string> pictures_;
    int answers_ = 0;
    int answersWhileParsingShown_ = 0;
    bool pingWaiting_ = false;
};

}  // namespace

TEST_F(LargePageTest, APageOfTooManyLinksIsTakenInSlicesWhileTheWindowAnswersAndBringsEveryPicture) {
    const int links = 100010;
    ServePage(links);
    task_.Levels = 0;   // page links are judged, none is fetched
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(PumpUntil([&] { return manager_->IsIdle(); }));

    // Every picture came, once; the capped page said so once.
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    for (const std::string& picture : pictures_) EXPECT_EQ(1, server_.CountRequests(picture)) << picture;
    EXPECT_EQ(static_cast<int>(pictures_.size()), task_.DownloadedImages.GetCount());
    EXPECT_EQ(1, CappedPageMessages("/index.html"));
    EXPECT_EQ(static_cast<int>(PageLinkParser::kMaxLinks), task_.pageLinks);

    // The links came in slices of a bounded count, and between every two the window answered;
    // the page's row showed it being parsed until they were all in.
    const int slices = task_.pageLinks / static_cast<int>(DownloadManager::kHandOverSliceLinks);
    EXPECT_GE(task_.answersAtLast - task_.answersAtFirst, std::max(10, slices - 1));
    EXPECT_GE(answersWhileParsingShown_, std::max(10, slices - 1));
    EXPECT_EQ(0u, manager_->PendingPages());
    EXPECT_EQ("Task \"Large\" is completed.", views_.messages.back());
    EXPECT_FALSE(task_.Resume);
}

TEST_F(LargePageTest, AStopWhileTheLinksComeInPutsThePageBackAndAResumeBringsTheRest) {
    const int links = 20000;
    ServePage(links);
    task_.Levels = 0;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(PumpUntil([&] { return task_.pageLinks > 0 || manager_->IsIdle(); }));
    ASSERT_EQ(1u, manager_->PendingPages());
    manager_->Stop(0);
    const int judged = task_.pageLinks;
    ASSERT_LT(judged, links);

    // No link of the page comes after the stop; the page waits in the queue, saved with it.
    EXPECT_EQ(0u, manager_->PendingPages());
    EXPECT_FALSE(KillTimer(manager_->m_hWnd, DownloadManager::kHandOverTimer));
    EXPECT_EQ(judged, task_.pageLinks);
    EXPECT_TRUE(task_.Resume);
    const std::string page = server_.Url("/index.html");
    EXPECT_TRUE(manager_->Queue().IsQueued(page));
    EXPECT_FALSE(manager_->Queue().IsKnown(server_.Url("/pages/p" + std::to_string(links - 1) + ".html")));
    UrlQueue saved;
    int32_t images = 0;
    ASSERT_EQ(ResumeLoadResult::Loaded, LoadResumeFile(task_.GetCacheFilePath(), saved, images, nullptr));
    EXPECT_TRUE(saved.IsQueued(page));
    EXPECT_FALSE(saved.IsProcessed(page));

    // Resumed: the page is fetched again and only the links not judged yet are asked about.
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(PumpUntil([&] { return manager_->IsIdle(); }));
    EXPECT_EQ(2, server_.CountRequests("/index.html"));
    EXPECT_EQ(links, task_.pageLinks);
    // (A picture whose download the stop cut short is fetched again.)
    for (const std::string& picture : pictures_) EXPECT_GE(server_.CountRequests(picture), 1) << picture;
    EXPECT_EQ(static_cast<int>(pictures_.size()), task_.DownloadedImages.GetCount());
    EXPECT_FALSE(task_.Resume);

    // A manager that goes while a page's links are coming in takes them with it.
    manager_->Start(&task_, DownloadManager::kRestart);
    ASSERT_TRUE(PumpUntil([&] { return manager_->PendingPages() > 0 || manager_->IsIdle(); }));
    EXPECT_EQ(1u, manager_->PendingPages());
    manager_.reset();
}
