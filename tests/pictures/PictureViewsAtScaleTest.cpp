// The picture views with a finished task of 10,000 pictures, worked through the real frame as a
// user does: switching views, sorting, Ctrl+A, Invert Selection and Select By, each read back as
// the user sees it (selected and focused pictures, their order, the viewer, the commands). Whole-
// list changes are also counted in the list's own messages: their number follows the rows that
// change state, not the task's length.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include "core/ImageRecord.h"
#include "core/SearchLinkTask.h"
#include "resources/command_ids.h"
#include "resources/pictures_ids.h"
#include "tests/pictures/PicturesHarness.h"
#include "dialogs/pictures/SelectImagesDlg.h"
#include "tests/support/AnswerWatch.h"
#include "tests/support/MainFrameTestSeam.h"
#include "tests/support/TestSupport.h"
#include "ui/pictures/PictureFiles.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"

namespace picturetest {
namespace {

const int kPictures = 10000;

// Counts the selection messages (LVM_SETITEMSTATE) and the row deletes (LVM_DELETEITEM) the list
// control gets, on this thread.
struct ListStateMessages {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == list && message->message == LVM_SETITEMSTATE) ++count;
        if (code == HC_ACTION && message->hwnd == list && message->message == LVM_DELETEITEM) ++deletes;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static HWND list;
    static int count;
    static int deletes;
};
HWND ListStateMessages::list = nullptr;
int ListStateMessages::count = 0;
int ListStateMessages::deletes = 0;

class PictureViewsAtScaleTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        for (int i = 0; i < kPictures; ++i) {
            ImageRecord record;
            char name[32];
            // Out of order by name; sizes from 1 to 200 KB with many equal ones.
            snprintf(name, sizeof name, "p%05d.jpg", (i * 7919) % kPictures);
            record.fileName = name;
            record.localPath = task_.SaveFolder + "\\" + name;
            record.imageUrl = std::string("http://example.com/") + name;
            record.fileSize = 1000 * (1 + (i * 31) % 200);
            task_.DownloadedImages.Append(record);
        }
        pictures_->SetTask(&task_);
        Pump();
        ListStateMessages::list = List();
        hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, &ListStateMessages::Hook, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override {
        if (hook_) ::UnhookWindowsHookEx(hook_);
        PicturesTest::TearDown();
    }
    // A command as the menu gives it; returns how many selection messages the list got meanwhile.
    int Command(UINT id) {
        ListStateMessages::count = 0;
        ::SendMessageA(*frame_, WM_COMMAND, id, 0);
        Pump(30);
        return ListStateMessages::count;
    }
    int CtrlA(HWND target) {
        ListStateMessages::count = 0;
        ::SetFocus(target);
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        ::SendMessageA(target, WM_KEYDOWN, 'A', 0);
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        Pump(30);
        return ListStateMessages::count;
    }
    std::set<std::string> PathsOf(const PictureIndexList& indices) {
        std::set<std::string> paths;
        for (int32_t i : indices) paths.insert(task_.DownloadedImages.GetAt(i).localPath);
        return paths;
    }
    PictureIndexList ListSelection() {
        PictureIndexList selected;
        for (int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(List(), row, LVNI_SELECTED))
            selected.push_back(row);
        return selected;
    }
    PictureIndexList ThumbnailSelection() {
        PictureIndexList selected;
        for (int i = 0; i < Thumbnails().GetItemCount(); ++i)
            if (Thumbnails().GetItemState(i) & kThumbnailSelected) selected.push_back(i);
        return selected;
    }
    void FocusRowKeepingSelection(int row) {
        ListView_SetItemState(List(), row, LVIS_FOCUSED, LVIS_FOCUSED);
        Pump(20);
    }
    bool ToolEnabled(UINT id) {
        HWND bar = MainFrameTestSeam(*frame_).ToolBar();
        return ::SendMessageA(bar, TB_ISBUTTONENABLED, id, 0) != 0;
    }
    HHOOK hook_ = nullptr;
};

TEST_F(PictureViewsAtScaleTest, SwitchesSortsAndSelectionsKeepWhatTheUserSees) {
    ASSERT_EQ(kPictures, ListView_GetItemCount(List()));
    ASSERT_EQ(kPictures, Thumbnails().GetItemCount());
    // Every third picture selected, one focused, in the list.
    PictureIndexList third;
    for (int i = 0; i < kPictures; i += 3) third.push_back(i);
    pictures_->ListView().SelectIndices(third);
    FocusRowKeepingSelection(4242);
    const std::string focusedPath = task_.DownloadedImages.GetAt(4242).localPath;

    // To the thumbnails: the same pictures selected, the same one focused, the keyboard there.
    EXPECT_EQ(0, Command(ID_VIEW_THUMBNAILS));
    EXPECT_FALSE(pictures_->IsListViewShown());
    EXPECT_EQ(third, ThumbnailSelection());
    EXPECT_EQ(4242, Thumbnails().GetFocusedIndex());
    EXPECT_TRUE(pictures_->HasFocus());

    // Ctrl+A there selects all; Invert then leaves none, and the commands on selected pictures follow.
    CtrlA(Thumbnails());
    EXPECT_EQ(kPictures, Thumbnails().GetSelectedCount());
    EXPECT_TRUE(ToolEnabled(ID_IMAGES_DELETE));
    Command(ID_IMAGES_INVERT_SELECTION);
    EXPECT_EQ(0, Thumbnails().GetSelectedCount());
    EXPECT_TRUE(ThumbnailSelection().empty());
    EXPECT_FALSE(ToolEnabled(ID_IMAGES_DELETE));
    EXPECT_EQ(4242, Thumbnails().GetFocusedIndex());

    // Back to the list: inverted alongside, it has two rows in three selected, the thumbnails
    // none. Clearing them all is one message to the list, not one per row.
    EXPECT_LE(Command(ID_VIEW_LIST), 2);
    EXPECT_TRUE(pictures_->IsListViewShown());
    EXPECT_EQ(0u, ListView_GetSelectedCount(List()));
    EXPECT_EQ(4242, FocusedRow());

    // Ctrl+A in the list: every row, in one message; Invert: none, in one message.
    EXPECT_LE(CtrlA(List()), 2);
    EXPECT_EQ(static_cast<UINT>(kPictures), ListView_GetSelectedCount(List()));
    EXPECT_TRUE(ToolEnabled(ID_IMAGES_DELETE));
    EXPECT_LE(Command(ID_IMAGES_INVERT_SELECTION), 2);
    EXPECT_EQ(0u, ListView_GetSelectedCount(List()));
    EXPECT_EQ(kPictures, Thumbnails().GetItemCount());
    EXPECT_EQ(kPictures, Thumbnails().GetSelectedCount()) << "both views invert: the thumbnails had none";

    // Select By: pictures of 1 to 50 KB, through the real dialog.
    testsupport::ModalScript script;
    script.Then([](HWND dialog) {
        testsupport::ClickCheck(dialog, IDC_SELECT_BY_SIZE, true);
        testsupport::TypeText(dialog, IDC_SELECT_MIN_SIZE, "1");
        testsupport::TypeText(dialog, IDC_SELECT_MAX_SIZE, "50");
        testsupport::Click(dialog, IDOK);
    });
    script.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
    Pump(30);
    ASSERT_TRUE(script.Finished());
    PictureIndexList small;
    for (int i = 0; i < kPictures; ++i)
        if (task_.DownloadedImages.GetAt(i).fileSize <= 50000) small.push_back(i);
    ASSERT_EQ(static_cast<size_t>(kPictures / 4), small.size());
    EXPECT_EQ(small, ListSelection());
    EXPECT_EQ(small, ThumbnailSelection());
    EXPECT_EQ(4242, FocusedRow()) << "Select By leaves the focus";

    // Sort by size, then by name: the records in order, the same pictures selected and focused
    // wherever they went, in both views, and the viewer on the focused one.
    const std::set<std::string> smallPaths = PathsOf(small);
    Command(ID_IMAGES_SORT_SIZE);
    for (int i = 0; i + 1 < kPictures; ++i)
        ASSERT_LE(task_.DownloadedImages.GetAt(i).fileSize, task_.DownloadedImages.GetAt(i + 1).fileSize) << i;
    EXPECT_EQ(smallPaths, PathsOf(ListSelection()));
    EXPECT_EQ(focusedPath, task_.DownloadedImages.GetAt(FocusedRow()).localPath);
    Command(ID_IMAGES_SORT_NAME);
    for (int i = 0; i < kPictures; ++i) {
        char name[32];
        snprintf(name, sizeof name, "p%05d.jpg", i);
        ASSERT_EQ(name, RecordName(i));
        ASSERT_EQ(name, Thumbnails().GetItemData(i)->caption);
    }
    EXPECT_EQ(smallPaths, PathsOf(ListSelection()));
    EXPECT_EQ(smallPaths, PathsOf(ThumbnailSelection()));
    ASSERT_GE(FocusedRow(), 0);
    EXPECT_EQ(focusedPath, task_.DownloadedImages.GetAt(FocusedRow()).localPath);
    EXPECT_EQ(focusedPath, task_.DownloadedImages.GetAt(Thumbnails().GetFocusedIndex()).localPath);
    EXPECT_EQ(focusedPath, pictures_->Viewer().GetPath());
    // The focused row is in sight.
    const int top = ListView_GetTopIndex(List());
    EXPECT_GE(FocusedRow(), top);
    EXPECT_LT(FocusedRow(), top + ListView_GetCountPerPage(List()) + 1);

    // And the thumbnails show the sorted selection when the user goes there.
    Command(ID_VIEW_THUMBNAILS);
    EXPECT_EQ(smallPaths, PathsOf(ThumbnailSelection()));
    EXPECT_EQ(focusedPath, task_.DownloadedImages.GetAt(Thumbnails().GetFocusedIndex()).localPath);
}

// The shell, deleting, waits until the window has answered three times since the shell began (ten
// seconds at most): under Wine the shell takes seconds for a thousand files, and the window must
// answer meanwhile, which the count says.
class AnsweringShell : public AcceptingShell {
public:
    explicit AnsweringShell(testsupport::AnswerWatch& watch) : watch_(watch) {}
    std::vector<LONG> answeredWhileDeleting;
    // A command posted to the frame while the shell works (as the browser button posts New Task).
    HWND postTo = nullptr;
    WPARAM postedCommand = 0;
    HWND stillShown = nullptr;
    bool shownWhenDone = false;
    int FileOperation(SHFILEOPSTRUCTA& operation) override {
        if (postTo) ::PostMessageA(postTo, WM_COMMAND, postedCommand, 0);
        const LONG before = watch_.AnsweredSoFar();
        for (DWORD begin = ::GetTickCount(); watch_.AnsweredSoFar() - before < 3 && ::GetTickCount() - begin < 10000;)
            ::Sleep(5);
        answeredWhileDeleting.push_back(watch_.AnsweredSoFar() - before);
        if (stillShown) shownWhenDone = ::IsWindowVisible(stillShown) != FALSE;
        return AcceptingShell::FileOperation(operation);
    }

private:
    testsupport::AnswerWatch& watch_;
};

TEST_F(PictureViewsAtScaleTest, DeletingAThousandPicturesAnswersAndEverythingFollowsInOneGo) {
    // Files for the pictures whose names end in 0 or 1: a thousand of each.
    for (int i = 0; i < kPictures; ++i) {
        const std::string name = RecordName(i);
        if (name[name.size() - 5] == '0' || name[name.size() - 5] == '1') {
            ASSERT_TRUE(testsupport::WriteFileBytes(task_.DownloadedImages.GetAt(i).localPath, {'j', 'p', 'g'}));
        }
    }
    ASSERT_TRUE(task_.Save());
    testsupport::AnswerWatch watch(*frame_, 5);
    AnsweringShell shell(watch);
    watch.Start();
    auto selectByMask = [this](const char* mask) {
        testsupport::ModalScript script;
        script.Then([mask](HWND dialog) {
            testsupport::TypeText(dialog, IDC_SELECT_MASKS, mask);
            testsupport::Click(dialog, IDOK);
        });
        script.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
        EXPECT_TRUE(script.Finished());
    };
    // In the list, then in the thumbnails: Select By with a mask, Images > Delete, yes.
    const char* masks[] = {"p????0.jpg", "p????1.jpg"};
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            Command(ID_VIEW_THUMBNAILS);
            // View > List posted meanwhile waits for the delete, then switches.
            shell.postTo = *frame_;
            shell.postedCommand = ID_VIEW_LIST;
            shell.stillShown = Thumbnails().m_hWnd;
        }
        SCOPED_TRACE(masks[round]);
        selectByMask(masks[round]);
        PictureIndexList chosen;
        pictures_->ListView().GetSelected(chosen);
        ASSERT_EQ(1000u, chosen.size());
        const std::set<std::string> paths = PathsOf(chosen);
        const int before = task_.DownloadedImages.GetCount();
        ListStateMessages::deletes = 0;
        Command(ID_IMAGES_DELETE);
        ASSERT_EQ(static_cast<size_t>(round + 1), shell.answeredWhileDeleting.size());
        EXPECT_GE(shell.answeredWhileDeleting.back(), 3) << "the window did not answer while the shell deleted";
        // One change of the list's rows, not one per picture.
        EXPECT_EQ(0, ListStateMessages::deletes);
        // The records, both views and the list on disk agree: the thousand are gone from each.
        ASSERT_EQ(before - 1000, task_.DownloadedImages.GetCount());
        ASSERT_EQ(before - 1000, ListView_GetItemCount(List()));
        ASSERT_EQ(before - 1000, Thumbnails().GetItemCount());
        SearchLinkTask reloaded;
        ASSERT_TRUE(reloaded.Load(task_.TaskFileName));
        ASSERT_EQ(before - 1000, reloaded.DownloadedImages.GetCount());
        for (int i = 0; i < task_.DownloadedImages.GetCount(); ++i) {
            const std::string& path = task_.DownloadedImages.GetAt(i).localPath;
            ASSERT_EQ(0u, paths.count(path)) << path;
            ASSERT_EQ(path, reloaded.DownloadedImages.GetAt(i).localPath);
            ASSERT_EQ(path, Thumbnails().GetItemData(i)->path);
        }
        for (int row : {0, 1234, before - 1001}) EXPECT_EQ(RecordName(row), RowText(row, 0));
        for (const std::string& path : paths) ASSERT_FALSE(IsExistingFile(path)) << path;
        EXPECT_TRUE(ListSelection().empty());
        EXPECT_TRUE(ThumbnailSelection().empty());
        // The window takes commands again, the one posted meanwhile among them.
        EXPECT_TRUE(::IsWindowEnabled(*frame_));
        if (round == 1) {
            EXPECT_TRUE(shell.shownWhenDone) << "a command posted during the delete ran in its midst";
            Pump(5);
            EXPECT_FALSE(::IsWindowVisible(Thumbnails().m_hWnd));
            EXPECT_TRUE(::IsWindowVisible(List()));
        }
    }
    watch.Finish([this] { Pump(5); });
}

// Select By with a width bound on a long list reads every picture's header on a thread: the
// command gives the window back before anything is measured or selected, and the pictures are
// selected in both views when the measuring ends.
class SelectByOnAThreadTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        for (int i = 0; i < kMeasured; ++i) {
            // A PNG header: the width at byte 16, the height at byte 20 (big-endian).
            unsigned char header[54] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
            const int width = 50 + i % 100;
            header[18] = static_cast<unsigned char>(width >> 8);
            header[19] = static_cast<unsigned char>(width);
            header[23] = 10;
            ImageRecord record;
            record.fileName = "m" + std::to_string(i) + ".png";
            record.localPath = task_.SaveFolder + "\\" + record.fileName;
            record.imageUrl = "http://example.com/" + record.fileName;
            record.fileSize = sizeof header;
            ASSERT_TRUE(testsupport::WriteFileBytes(record.localPath, std::vector<uint8_t>(header, header + sizeof header)));
            task_.DownloadedImages.Append(record);
        }
        pictures_->SetTask(&task_);
        Pump();
    }
    static const int kMeasured = 1000;
};

TEST_F(SelectByOnAThreadTest, TheWindowAnswersWhileThePicturesAreMeasured) {
    pictures_->ListView().SelectIndices({1, 2});
    testsupport::ModalScript script;
    script.Then([](HWND dialog) {
        testsupport::ClickCheck(dialog, IDC_SELECT_WIDTH_LARGER, true);
        testsupport::TypeText(dialog, IDC_SELECT_WIDTH_LARGER_EDIT, "100");
        testsupport::Click(dialog, IDOK);
    });
    script.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
    ASSERT_TRUE(script.Finished());
    // Back from the command: nothing measured on the window's thread, the old selection stands.
    EXPECT_EQ(2u, ListView_GetSelectedCount(List()));

    // The result comes as a message to the window, taken between its other work.
    for (int turns = 0; ListView_GetSelectedCount(List()) == 2 && turns < 3000; ++turns) Pump(10);
    PictureIndexList wide;
    for (int i = 0; i < kMeasured; ++i)
        if (50 + i % 100 >= 100) wide.push_back(i);
    PictureIndexList selected;
    pictures_->ListView().GetSelected(selected);
    EXPECT_EQ(wide, selected);
    pictures_->ThumbnailView().GetSelected(selected);
    EXPECT_EQ(wide, selected);
}

}  // namespace
}  // namespace picturetest
