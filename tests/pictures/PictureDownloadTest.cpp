// End to end through the real frame: a task runs against a local server, its pictures fill both
// views as they arrive, and deleting from the views changes the disk and the ".downloads" file.
#include <windows.h>
#include <commctrl.h>
#include "core/DownloadManager.h"
#include "core/ImageRecord.h"
#include "core/ProgramSettings.h"
#include "resources/command_ids.h"
#include "tests/pictures/PicturesHarness.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestHttpServer.h"
#include "ui/pictures/PictureFiles.h"

using testsupport::FixtureBytes;

namespace picturetest {
namespace {

class PictureDownloadTest : public PicturesTest {};

TEST_F(PictureDownloadTest, ARunFillsTheViewsAndDeletingChangesDiskAndDownloadsFile) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    server.SetOk("/index.html", "text/html",
                 "<html><img src='a.png'><img src='b.jpg'><a href='two.html'>2</a></html>");
    server.SetOk("/two.html", "text/html", "<html><img src='c.gif'></html>");
    server.SetOk("/a.png", "image/png", FixtureBytes("p100x80.png"));
    server.SetOk("/b.jpg", "image/jpeg", FixtureBytes("r120x90.jpg"));
    server.SetOk("/c.gif", "image/gif", FixtureBytes("o60x40.gif"));
    ProgramSettings& settings = *app_->GetSettings();
    settings.ThreadsAmount = 2;
    settings.PauseBetweenConnections = 0;
    settings.MaxAttempts = 1;
    settings.SaveCacheIntervale = 0;
    StartingAddress start;
    start.Url = server.Url("/index.html");
    task_.StartingAddresses.push_back(start);
    task_.ImageSaveType = 2;
    task_.MinimumWidth.enabled = false;
    task_.MinimumHeight.enabled = false;
    ASSERT_TRUE(task_.Save());
    pictures_->SetTask(&task_);
    // The thumbnails are the shown view while the pictures arrive.
    ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);

    DownloadManager& manager = *frame_->GetDownloadManager();
    manager.Start(&task_, DownloadManager::kStartOrResume);
    for (DWORD begin = ::GetTickCount(); !manager.IsIdle() && ::GetTickCount() - begin < 30000;) {
        Pump(30);
        // New pictures join both views together, a few times a second: never a row without its
        // record, and the two views agree at every moment.
        ASSERT_LE(ListView_GetItemCount(List()), task_.DownloadedImages.GetCount());
        ASSERT_EQ(ListView_GetItemCount(List()), Thumbnails().GetItemCount());
    }
    ASSERT_TRUE(manager.IsIdle());
    EXPECT_EQ(task_.DownloadedImages.GetCount(), ListView_GetItemCount(List()));
    ASSERT_EQ(3, task_.DownloadedImages.GetCount());
    EXPECT_EQ(3, Thumbnails().GetItemCount());
    // "Show last downloaded picture": the last one is focused and in the viewer.
    EXPECT_EQ(2, Thumbnails().GetFocusedIndex());
    Pump(150);
    EXPECT_EQ(task_.DownloadedImages.GetAt(2).localPath, pictures_->Viewer().GetPath());

    // Delete the first picture from the thumbnails.
    AcceptingShell shell;
    Thumbnails().SetItemState(0, kThumbnailSelected);
    const std::string first = task_.DownloadedImages.GetAt(0).localPath;
    ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_DELETE, 0);
    Pump(100);
    EXPECT_FALSE(IsExistingFile(first));
    ASSERT_EQ(2, task_.DownloadedImages.GetCount());
    EXPECT_EQ(2, Thumbnails().GetItemCount());
    EXPECT_EQ(2, ListView_GetItemCount(List()));
    SearchLinkTask reloaded;
    ASSERT_TRUE(reloaded.Load(task_.TaskFileName));
    EXPECT_EQ(2, reloaded.DownloadedImages.GetCount());

    // A restart empties the list: both views follow.
    pictures_->OnImagesCleared(&task_);
    EXPECT_EQ(0, Thumbnails().GetItemCount());
    EXPECT_EQ(0, ListView_GetItemCount(List()));
    server.Stop();
}

}  // namespace
}  // namespace picturetest
