// A crawl's new rows held back while the end of the list is out of sight join before any
// command on the rows acts, so each command sees every picture the task has.
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include "dialogs/pictures/PictureCriteria.h"
#include "resources/command_ids.h"
#include "tests/pictures/PicturesHarness.h"

namespace picturetest {
namespace {

class NewRowsJoinTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        pictures_->SetTask(&task_);
        ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_LIST, 0);
        Pump(50);
    }
    int Rows() { return static_cast<int>(ListView_GetItemCount(List())); }
};

struct RowCommand {
    const char* name;
    // Focus before the new rows come: the first row, or the last one shown.
    bool focusLastShown;
    std::function<void()> run;
    int rowsRemoved;
    // What the command did, given the row count before the new rows and with them.
    std::function<void(int shown, int all)> check;
};

TEST_F(NewRowsJoinTest, HeldBackRowsJoinBeforeEveryCommandOnRows) {
    AcceptingShell shell;  // the deleting commands are answered yes
    const int kNew = 7;
    auto focusedIs = [this](int row) { EXPECT_EQ(row, FocusedRow()); };
    const RowCommand commands[] = {
        {"previous from the first row wraps to the newest", false, [this] { pictures_->ShowPrevious(); }, 0,
         [&](int, int all) { focusedIs(all - 1); }},
        {"next from the last row shown goes on to a new one", true, [this] { pictures_->ShowNext(); }, 0,
         [&](int shown, int) { focusedIs(shown); }},
        {"show the last picture", false, [this] { pictures_->ListView().FocusLastRow(); }, 0,
         [&](int, int all) { focusedIs(all - 1); }},
        {"select by condition", false, [this] { pictures_->SelectMatching(PictureCriteria()); }, 0,
         [this](int, int all) { EXPECT_EQ(static_cast<UINT>(all), ListView_GetSelectedCount(List())); }},
        {"the engine drops a record", false,
         [this] {
             pictures_->OnImageRemoved(&task_, 0);
             task_.DownloadedImages.RemoveAt(0);
         },
         1, nullptr},
        {"delete the selected pictures", false, [this] { ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_DELETE, 0); },
         1, nullptr},
        {"the viewer's delete", true, [this] { pictures_->ListView().DeleteCurrent(); }, 1,
         [&](int shown, int) { focusedIs(shown - 1); }},
        {"switching to the thumbnails", false, [this] { ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0); },
         0, [this](int, int) { ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_LIST, 0); }},
        {"reloading the task", false, [this] { pictures_->SetTask(&task_); }, 0, nullptr},
    };
    AddCrawledRecords(300);
    for (const RowCommand& command : commands) {
        SCOPED_TRACE(command.name);
        // The end of the list out of sight: new rows are held back.
        const int shown = Rows();
        ASSERT_EQ(task_.DownloadedImages.GetCount(), shown);
        FocusRow(command.focusLastShown ? shown - 1 : 0);
        ListView_EnsureVisible(List(), 0, FALSE);
        AddCrawledRecords(kNew);
        ASSERT_EQ(shown, Rows());
        command.run();
        const int all = shown + kNew - command.rowsRemoved;
        EXPECT_EQ(all, Rows());
        EXPECT_EQ(task_.DownloadedImages.GetCount(), Rows());
        if (command.check) command.check(shown, all);
        Pump(20);
    }
}

}  // namespace
}  // namespace picturetest
