// A fast run through the real frame (tree, monitor views, picture views): many small pictures
// from a local server while another thread keeps asking the window for an answer and reads the
// monitor's title, as a user's clicks and eyes would. The window must keep answering and the
// title must keep moving; every picture must arrive and be listed.
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
#include "tests/support/MainFrameTestSeam.h"
#include "tests/support/TestHttpServer.h"
#include "tests/taskstree/TreeTestSupport.h"
#include "ui/monitor/DownloadGraph.h"
#include "ui/pictures/ImagesContainer.h"

using treetest::TreeTest;

namespace {

std::string Fixture(const char* name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(testsupport::ReadFileBytes(testsupport::TestDataDir() + name, bytes)) << name;
    return std::string(bytes.begin(), bytes.end());
}

class ResponsiveRunTest : public TreeTest {
protected:
    // Pages of pictures under one index; returns the number of pictures.
    int ServeSite(testsupport::TestHttpServer& server, int pages, int perPage) {
        const std::string picture = Fixture("pic.png");
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
        task.TaskName = "Fast";
        StartingAddress start;
        start.Url = server.Url("/index.html");
        task.StartingAddresses.push_back(start);
        task.SaveFolder = dir_.Path() + "Fast";
        task.MinimumWidth.enabled = task.MinimumHeight.enabled = false;
        ASSERT_TRUE(task.Save());
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

    // Every 50 ms: how long the frame takes to answer, and the monitor title it shows.
    testsupport::AnswerWatch watcher(*frame_, 50, MainFrameTestSeam(*frame_).MonitorPane().m_hWnd);
    watcher.Start();
    const double begin = testsupport::NowMs();
    ::SendMessageA(*frame_, WM_COMMAND, ID_TASK_START, 0);
    Pump(30);
    while (!manager->IsIdle() && testsupport::NowMs() - begin < 120000) Pump(20);
    const double seconds = (testsupport::NowMs() - begin) / 1000.0;
    watcher.Finish([this]() { Pump(5); });
    Pump(300);

    ASSERT_TRUE(manager->IsIdle());
    size_t samples = 0;
    if (graph)
        for (size_t i = 0; i < SpeedSampleRing::kCapacity && graph->Samples().At(i).valid; ++i) ++samples;
    std::printf("%d pictures in %.1f s (%.0f/s); WM_NULL p50 %.0f ms, p99 %.0f ms, max %.0f ms over %u samples; "
                "%u titles seen; %u graph samples\n",
                task->DownloadedImages.GetCount(), seconds, task->DownloadedImages.GetCount() / seconds,
                watcher.Percentile(0.5), watcher.Percentile(0.99), watcher.Percentile(1.0),
                static_cast<unsigned>(watcher.Answers().size()), static_cast<unsigned>(watcher.Texts().size()),
                static_cast<unsigned>(samples));

    EXPECT_EQ(pictures, task->DownloadedImages.GetCount());
    EXPECT_EQ(pictures, views->ListView().GetRowCount());
    // Loose bounds, for a loaded machine: a window that stops answering or drawing fails them.
    EXPECT_LT(watcher.Percentile(1.0), 1000.0);
    EXPECT_LT(watcher.Percentile(0.9), 300.0);
    // The title (queue and picture counts) moves at least once a second of the run.
    EXPECT_GE(static_cast<double>(watcher.Texts().size()), seconds);
    // The graph samples every two seconds: its timer is not starved.
    if (graph) {
        EXPECT_GE(static_cast<double>(samples) + 1.5, seconds / 2.0);
    }
}

}  // namespace
