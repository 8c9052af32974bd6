// A fast run through the real frame (tree, monitor views, picture views): many small pictures
// from a local server while another thread keeps asking the window for an answer and reads the
// monitor's title, as a user's clicks and eyes would. The window must keep answering, the title
// must move and the graph take samples; every picture must arrive and be listed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/DownloadManager.h"
#include "core/ProgramSettings.h"
#include "resources/command_ids.h"
#include "tests/support/AnswerWatch.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/MainFrameTestSeam.h"
#include "tests/support/SiteTask.h"
#include "tests/support/TestHttpServer.h"
#include "tests/taskstree/TreeTestSupport.h"
#include "ui/monitor/DownloadGraph.h"
#include "ui/pictures/ImagesContainer.h"

using treetest::TreeTest;
using testsupport::FixtureBytes;

namespace {

class ResponsiveRunTest : public TreeTest {
protected:
    // Pages of pictures under one index; returns the number of pictures.
    int ServeSite(testsupport::TestHttpServer& server, int pages, int perPage) {
        const std::string picture = FixtureBytes("pic.png");
        std::string index = "<html>";
        for (int p = 0; p < pages; ++p) {
            std::string page = "<html>";
            for (int i = 0; i < perPage; ++i) {
                const std::string name = "p" + std::to_string(p * perPage + i) + ".png";
                page += "<img src='" + name + "'>";
                server.SetOk("/" + name, "image/png", picture);
            }
            server.SetOk("/page" + std::to_string(p) + ".html", "text/html", page + "</html>");
            index += "<a href='page" + std::to_string(p) + ".html'>" + std::to_string(p) + "</a>";
        }
        server.SetOk("/index.html", "text/html", index + "</html>");
        return pages * perPage;
    }
};

TEST_F(ResponsiveRunTest, TheWindowAnswersAndTheTitleMovesThroughAFastRun) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    const int pictures = ServeSite(server, 20, 40);
    {
        SearchLinkTask task;
        ASSERT_TRUE(testsupport::PrepareSiteTask(task, "Fast", server.Url("/index.html"), dir_.Path(), 0));
    }
    ProgramSettings* settings = app_->GetSettings();
    settings->ThreadsAmount = 5;
    settings->MaxAttempts = 3;
    settings->ShowLastImage = true;
    realPictures_ = true;
    CreateFrame();
    TaskOptions* task = FindTask("Fast");
    ASSERT_TRUE(task);
    SelectTask(task);
    auto* views = dynamic_cast<ImagesContainer*>(frame_->GetImagesContainer());
    ASSERT_TRUE(views);
    DownloadManager* manager = frame_->GetDownloadManager();
    auto* graph = dynamic_cast<DownloadGraph*>(frame_->DownloadGraph());

    // Every 50 ms: an answer asked of the frame, and the monitor title it shows. One picture's
    // reply is held until the graph has taken three samples (it samples every two seconds), so
    // the run lasts as long as the checks need however fast or slow the machine is.
    server.SetHeld("/p0.png", "image/png", FixtureBytes("pic.png"));
    testsupport::AnswerWatch watcher(*frame_, 50, MainFrameTestSeam(*frame_).MonitorPane().m_hWnd);
    watcher.Start();
    ::SendMessageA(*frame_, WM_COMMAND, ID_TASK_START, 0);
    Pump(30);
    auto samples = [graph]() {
        size_t taken = 0;
        if (graph)
            for (size_t i = 0; i < SpeedSampleRing::kCapacity && graph->Samples().At(i).valid; ++i) ++taken;
        return taken;
    };
    // Minutes only guard against a hang.
    const DWORD begin = ::GetTickCount();
    while (graph && samples() < 3 && !manager->IsIdle() && ::GetTickCount() - begin < 120000) Pump(20);
    const size_t samplesWhileRunning = samples();
    const bool stillRunning = !manager->IsIdle();
    server.Release("/p0.png");
    while (!manager->IsIdle() && ::GetTickCount() - begin < 240000) Pump(20);
    watcher.Finish([this]() { Pump(5); });
    Pump(300);

    ASSERT_TRUE(manager->IsIdle());
    std::printf("%d pictures; WM_NULL p50 %.0f ms, p99 %.0f ms, max %.0f ms over %u answers; %u titles seen; "
                "%u graph samples during the run\n",
                task->DownloadedImages.GetCount(), watcher.Percentile(0.5), watcher.Percentile(0.99),
                watcher.Percentile(1.0), static_cast<unsigned>(watcher.Answers().size()),
                static_cast<unsigned>(watcher.Texts().size()), static_cast<unsigned>(samplesWhileRunning));

    EXPECT_EQ(pictures, task->DownloadedImages.GetCount());
    EXPECT_EQ(pictures, views->ListView().GetRowCount());
    // The run went on (held) until the graph had sampled it: its timer is not starved by the run.
    EXPECT_TRUE(stillRunning);
    if (graph) {
        EXPECT_GE(samplesWhileRunning, 3u);
    }
    // Asked every 50 ms over a run of at least three graph samples, the window answered
    // throughout, and its title (queue and picture counts) moved as the pictures came.
    EXPECT_GE(watcher.Answers().size(), 20u);
    EXPECT_GE(watcher.Texts().size(), 3u);
}

}  // namespace
