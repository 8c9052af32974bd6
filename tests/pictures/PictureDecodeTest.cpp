// Pictures decode off the window's thread in the real picture views: the frame answers while
// a large picture decodes for the viewer and the thumbnails, and deleting that very picture
// through the viewer's listener succeeds mid-decode, the viewer moving on to the next one.
#include <windows.h>
#include <commctrl.h>
#include "core/ImageRecord.h"
#include "core/PathHelpers.h"
#include "resources/command_ids.h"
#include "tests/pictures/PicturesHarness.h"
#include "tests/support/AnswerWatch.h"
#include "ui/pictures/PictureFiles.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerDecodeJob.h"

namespace picturetest {
namespace {

class PictureDecodeTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        AddPicture("p100x80.png", "", "one.png");
        AddPicture("slow.png", "", "big.png");
        ASSERT_TRUE(task_.Save());
        pictures_->SetTask(&task_);
        Pump();
    }
    // Pumps until the viewer and the thumbnails are done (a minute guards against a hang);
    // returns how many times the frame answered another thread's asking while the viewer's
    // decode was seen at work from the frame's thread (a decode on that thread is never seen).
    int WaitForPictures() {
        testsupport::AnswerWatch watcher(*frame_, 5);
        watcher.Start();
        int first = -1, last = -1;
        const DWORD start = ::GetTickCount();
        while ((pictures_->Viewer().IsLoading() || Thumbnails().IsLoading()) && ::GetTickCount() - start < 60000) {
            Pump(10);
            if (ViewerDecodesRunning() > 0) {
                last = watcher.AnsweredSoFar();
                if (first < 0) first = last;
            }
        }
        watcher.Finish([this] { Pump(5); });
        Pump(50);
        return first < 0 ? 0 : last - first;
    }
};

TEST_F(PictureDecodeTest, TheFrameAnswersWhileALargePictureDecodesInBothViews) {
    ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);
    Thumbnails().SetItemState(1, kThumbnailFocused);
    const int answers = WaitForPictures();
    std::printf("the frame answered %d times while the viewer decoded\n", answers);
    EXPECT_GE(answers, 2) << "the decode kept the frame's thread";
    ASSERT_NE(nullptr, pictures_->Viewer().GetPicture());
    EXPECT_EQ(8000, pictures_->Viewer().GetPicture()->GetWidth());
    EXPECT_EQ(0, Thumbnails().GetPendingCount());
    EXPECT_TRUE(pictures_->ThumbnailView().Cache().Contains(task_.DownloadedImages.GetAt(1).localPath));
}

TEST_F(PictureDecodeTest, DeletingThePictureBeingDecodedSucceedsAndShowsTheNext) {
    AcceptingShell shell;
    ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);
    Thumbnails().SetItemState(1, kThumbnailFocused);
    const std::string big = task_.DownloadedImages.GetAt(1).localPath;
    ASSERT_EQ(big, pictures_->Viewer().GetPath());
    // Until the viewer's decode runs (a minute guards against never).
    for (DWORD begin = ::GetTickCount(); ViewerDecodesRunning() == 0 && ::GetTickCount() - begin < 60000;) Pump(5);
    ASSERT_TRUE(pictures_->Viewer().IsLoading());
    // A reader that shares deleting holds the file through the delete, as the decode's read does
    // for as long as it takes: the shell's delete succeeds, and under Wine the file stays on the
    // disk until the reader lets go. The picture is gone for the user all the same.
    HANDLE reader = ::CreateFileA(big.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    pictures_->ListView().DeleteCurrent();  // the viewer's listener passes it to the shown view
    Pump(50);
    ::CloseHandle(reader);
    ASSERT_EQ(1u, shell.deleted.size());
    ASSERT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_EQ("one.png", RecordName(0));
    EXPECT_EQ(1, ListView_GetItemCount(List()));
    SearchLinkTask reloaded;
    ASSERT_TRUE(reloaded.Load(task_.TaskFileName));
    EXPECT_EQ(1, reloaded.DownloadedImages.GetCount()) << "the list on disk follows";
    WaitForPictures();
    // Gone once the decodes let go of it (they may still have been reading it above).
    for (DWORD begin = ::GetTickCount(); ViewerDecodesRunning() > 0 && ::GetTickCount() - begin < 60000;) Pump(10);
    EXPECT_FALSE(IsExistingFile(big));
    EXPECT_EQ(task_.DownloadedImages.GetAt(0).localPath, pictures_->Viewer().GetPath());
    ASSERT_NE(nullptr, pictures_->Viewer().GetPicture());
    EXPECT_EQ(100, pictures_->Viewer().GetPicture()->GetWidth());
    EXPECT_EQ(1, Thumbnails().GetItemCount());
}

}  // namespace
}  // namespace picturetest
