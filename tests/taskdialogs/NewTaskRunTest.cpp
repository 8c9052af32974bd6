// From the New Task dialog to a finished run: the address handed over on the clipboard, "Start
// Now!", and the download manager fetching the page and its pictures from a local server into
// the folder the dialog chose.
#include "tests/taskdialogs/TaskDialogFixture.h"
#include "core/DownloadManager.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/RecordingViews.h"
#include "tests/support/TestHttpServer.h"

using testsupport::FixtureBytes;

TEST_F(TaskDialogFixture, NewTaskFromTheClipboardStartsNowAndDownloadsThePicturesOfThePage) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    server.SetOk("/album/index.html", "text/html",
                 "<html><body><img src=\"first.jpg\"><a href=\"/album/second.png\">2</a></body></html>");
    server.SetOk("/album/first.jpg", "image/jpeg", FixtureBytes("first.jpg"));
    server.SetOk("/album/second.png", "image/png", FixtureBytes("second.png"));
    taskdialogs::PutClipboardText(server.Url("/album/index.html") + "\nsession=abc");

    testsupport::ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_EQ(server.Url("/album/index.html"), testsupport::ItemText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_URL));
        testsupport::TypeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_NAME, "Album");
        testsupport::Click(frame, IDC_TASK_START_NOW);
    });
    bool startNow = false;
    TaskOptions* made = nullptr;
    script.Run([&]() -> INT_PTR {
        made = RunNewTaskDialog(nullptr, app_.get(), tasks_, &startNow);
        return 0;
    });
    ASSERT_NE(nullptr, made);
    std::unique_ptr<TaskOptions> task(made);
    ASSERT_TRUE(startNow);
    EXPECT_EQ(dir_.Path() + "Images\\Album", task->SaveFolder);

    // What the tasks tree does with "Start Now!": the download manager runs the task.
    Settings().ThreadsAmount = 2;
    Settings().PauseBetweenConnections = 0;
    Settings().SaveCacheIntervale = 0;
    testsupport::RecordingViews views;
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    {
        DownloadManager manager(&Settings(), &views);
        ASSERT_TRUE(manager.CreateManagerWindow(parent));
        manager.Start(task.get(), DownloadManager::kStartOrResume);
        const DWORD begin = ::GetTickCount();
        while (!manager.IsIdle() && ::GetTickCount() - begin < 30000) testsupport::PumpMessages(50);
        EXPECT_TRUE(manager.IsIdle());
    }
    ::DestroyWindow(parent);
    server.Stop();

    EXPECT_EQ(1, views.finished);
    EXPECT_TRUE(views.errors.empty()) << (views.errors.empty() ? "" : views.errors[0] + " " + views.errorUrls[0]);
    ASSERT_EQ(2, task->DownloadedImages.GetCount());
    EXPECT_TRUE(testsupport::FileExists(dir_.Path() + "Images\\Album\\first.jpg"));
    EXPECT_TRUE(testsupport::FileExists(dir_.Path() + "Images\\Album\\second.png"));
    bool cookieSent = false;
    for (const std::string& request : server.Requests()) cookieSent = cookieSent || request.find("session=abc") != std::string::npos;
    EXPECT_TRUE(cookieSent);
}
