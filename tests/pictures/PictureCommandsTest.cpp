// The picture commands that reach the disk or a dialog: selection by condition through the real
// dialog, copying to a folder and deleting from disk through the shell.
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include "core/ImageRecord.h"
#include "core/PathHelpers.h"
#include "core/TaskOptions.h"
#include "dialogs/pictures/SelectImagesDlg.h"
#include "resources/command_ids.h"
#include "resources/pictures_ids.h"
#include "tests/pictures/PicturesHarness.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"
#include "ui/pictures/PictureFiles.h"

namespace picturetest {
namespace {

class PictureCommandsTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        AddPicture("p100x80.png", "", "one.png");
        AddPicture("o60x40.gif", "deep\\er", "th_two.gif");
        AddPicture("r120x90.jpg", "", "three.jpg");
        AddPicture("b30x20.bmp", "", "four.bmp");
        pictures_->SetTask(&task_);
        Pump();
    }
    SelectImagesDlg& Dialog() { return *static_cast<SelectImagesDlg*>(frame_->GetSelectImagesDlg()); }
};

TEST_F(PictureCommandsTest, SelectByConditionKeepsItsCriteriaAndSelectsInBothViews) {
    using testsupport::ItemText;
    std::string shownMasks, shownMin, shownMax, shownWidth;
    bool widthEditEnabled = true, widthEditEnabledAfterCheck = false;
    testsupport::ModalScript first;
    first.Then([&](HWND dialog) {
             shownMin = ItemText(dialog, IDC_SELECT_MIN_SIZE);
             shownMax = ItemText(dialog, IDC_SELECT_MAX_SIZE);
             shownWidth = ItemText(dialog, IDC_SELECT_WIDTH_SMALLER_EDIT);
             shownMasks = ItemText(dialog, IDC_SELECT_MASKS);
             widthEditEnabled = testsupport::IsItemEnabled(dialog, IDC_SELECT_WIDTH_LARGER_EDIT);
             testsupport::ClickCheck(dialog, IDC_SELECT_WIDTH_LARGER, true);
         })
        .Then([&](HWND dialog) {
            widthEditEnabledAfterCheck = testsupport::IsItemEnabled(dialog, IDC_SELECT_WIDTH_LARGER_EDIT);
            testsupport::TypeText(dialog, IDC_SELECT_WIDTH_LARGER_EDIT, "61");
            testsupport::TypeText(dialog, IDC_SELECT_HEIGHT_LARGER_EDIT, "abc");
            testsupport::TypeText(dialog, IDC_SELECT_MASKS, "*.jpg;;th_*.gif;*.png;");
            testsupport::Click(dialog, IDOK);
        });
    first.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
    Pump(50);
    EXPECT_TRUE(first.Finished());
    EXPECT_EQ("1", shownMin);
    EXPECT_EQ("1000", shownMax);
    EXPECT_EQ("1600", shownWidth);
    EXPECT_EQ("", shownMasks);
    EXPECT_FALSE(widthEditEnabled);
    EXPECT_TRUE(widthEditEnabledAfterCheck);
    EXPECT_EQ((std::vector<std::string>{"*.jpg", "th_*.gif", "*.png"}), Dialog().criteria.masks);
    EXPECT_EQ(0, Dialog().criteria.heightLarger);
    // Width at least 61 and a matching mask: the PNG (100) and the JPEG (120); not the GIF (60).
    PictureIndexList selected;
    pictures_->ListView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{0, 2}), selected);
    pictures_->ThumbnailView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{0, 2}), selected);

    // Opened again: the last criteria, masks joined with ";"; Cancel keeps them.
    testsupport::ModalScript second;
    second.Then([&](HWND dialog) {
        shownMasks = ItemText(dialog, IDC_SELECT_MASKS);
        shownWidth = ItemText(dialog, IDC_SELECT_WIDTH_LARGER_EDIT);
        testsupport::TypeText(dialog, IDC_SELECT_MASKS, "");
        testsupport::Click(dialog, IDCANCEL);
    });
    second.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
    EXPECT_EQ("*.jpg;th_*.gif;*.png;", shownMasks);
    EXPECT_EQ("61", shownWidth);
    EXPECT_EQ(3u, Dialog().criteria.masks.size());
}

// Room a check box needs: its box, the gap after it and its text in the dialog's font.
int CheckBoxNeed(HWND box) {
    char text[128] = {};
    ::GetWindowTextA(box, text, sizeof text);
    HDC dc = ::GetDC(box);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(box, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(box, dc);
    return extent.cx + ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

int ItemWidth(HWND dialog, int id) {
    RECT rect = {};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    return rect.right - rect.left;
}

TEST_F(PictureCommandsTest, SelectByDialogGivesEveryCheckBoxRoomForItsTextAndBothColumnsEqualEdits) {
    std::vector<std::string> cramped;
    int leftEdit = 0, rightEdit = 0, rightHeightEdit = 0, leftHeightEdit = 0;
    testsupport::ModalScript script;
    script.Then([&](HWND dialog) {
        for (int id : {IDC_SELECT_BY_SIZE, IDC_SELECT_WIDTH_LARGER, IDC_SELECT_WIDTH_SMALLER, IDC_SELECT_HEIGHT_LARGER,
                       IDC_SELECT_HEIGHT_SMALLER}) {
            HWND box = ::GetDlgItem(dialog, id);
            if (ItemWidth(dialog, id) < CheckBoxNeed(box)) cramped.push_back(testsupport::WindowText(box));
        }
        leftEdit = ItemWidth(dialog, IDC_SELECT_WIDTH_LARGER_EDIT);
        rightEdit = ItemWidth(dialog, IDC_SELECT_WIDTH_SMALLER_EDIT);
        leftHeightEdit = ItemWidth(dialog, IDC_SELECT_HEIGHT_LARGER_EDIT);
        rightHeightEdit = ItemWidth(dialog, IDC_SELECT_HEIGHT_SMALLER_EDIT);
        testsupport::Click(dialog, IDCANCEL);
    });
    script.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(std::vector<std::string>(), cramped);
    EXPECT_EQ(leftEdit, rightEdit);
    EXPECT_EQ(leftHeightEdit, rightHeightEdit);
}

TEST_F(PictureCommandsTest, CopyKeepsSubFoldersAndSkipsFolderRecords) {
    testsupport::ScriptedPrompts prompts;
    prompts.passFileOperations = true;
    prompts.folderAnswer = dir_.Path() + "Copies";
    ImageRecord folderRecord;
    folderRecord.localPath = task_.SaveFolder + "\\deep";
    folderRecord.fileName = "deep";
    task_.DownloadedImages.Append(folderRecord);
    pictures_->SetTask(&task_);
    SelectRows({0, 1, 4});
    ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_COPY_TO, 0);
    Pump(100);
    EXPECT_EQ(1, prompts.folderRequests);
    EXPECT_TRUE(IsExistingFile(dir_.Path() + "Copies\\one.png"));
    EXPECT_TRUE(IsExistingFile(dir_.Path() + "Copies\\deep\\er\\th_two.gif"));
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "Copies\\three.jpg"));
    // The folder record was not copied as a whole folder.
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "Copies\\deep\\deep\\er\\th_two.gif"));
    EXPECT_EQ(5, task_.DownloadedImages.GetCount());
}

TEST_F(PictureCommandsTest, CopyNeverWritesOutsideTheChosenFolderWhateverTheStoredNames) {
    testsupport::ScriptedPrompts prompts;
    prompts.passFileOperations = true;
    prompts.folderAnswer = dir_.Path() + "Out\\Copies";
    CreateFolderPath(dir_.Path() + "Out");
    // Stored records pointing at real files, with names that climb out of the chosen folder:
    // through the save folder's path, through the file name, and beside the save folder.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(testsupport::TestDataDir() + "p100x80.png", bytes));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir_.Path() + "climb.png", bytes));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir_.Path() + "elsewhere.png", bytes));
    CreateFolderPath(dir_.Path() + "Saved2");
    ASSERT_TRUE(testsupport::WriteFileBytes(dir_.Path() + "Saved2\\beside.png", bytes));
    ImageRecord climbing;
    climbing.localPath = task_.SaveFolder + "\\..\\climb.png";
    climbing.fileName = "climb.png";
    ImageRecord named;
    named.localPath = dir_.Path() + "elsewhere.png";
    named.fileName = "..\\..\\escaped.png";
    ImageRecord beside;
    beside.localPath = dir_.Path() + "Saved2\\beside.png";
    beside.fileName = "beside.png";
    for (const ImageRecord& record : {climbing, named, beside}) task_.DownloadedImages.Append(record);
    pictures_->SetTask(&task_);
    SelectRows({0, 4, 5, 6});
    ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_COPY_TO, 0);
    Pump(100);
    // The plain ones are copied below the chosen folder; nothing lands beside or above it.
    EXPECT_TRUE(IsExistingFile(dir_.Path() + "Out\\Copies\\one.png"));
    EXPECT_TRUE(IsExistingFile(dir_.Path() + "Out\\Copies\\beside.png"));
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "Out\\climb.png"));
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "Out\\Copies\\climb.png"));
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "escaped.png"));
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "Out\\escaped.png"));
    EXPECT_FALSE(IsExistingFile(dir_.Path() + "Out\\Copies2\\beside.png"));
    // The user hears which ones were left out.
    ASSERT_EQ(1u, prompts.boxes.size());
    const std::string& text = prompts.boxes[0].text;
    EXPECT_NE(std::string::npos, text.find("would lead outside the chosen folder")) << text;
    EXPECT_NE(std::string::npos, text.find(climbing.localPath)) << text;
    EXPECT_NE(std::string::npos, text.find(named.localPath)) << text;
    EXPECT_EQ(std::string::npos, text.find("beside.png")) << text;
    EXPECT_EQ(UINT(MB_OK | MB_ICONWARNING), prompts.boxes[0].type);
}

TEST_F(PictureCommandsTest, DeleteRemovesOnlyWhatTheShellDeletedAndNeverAFolder) {
    ASSERT_TRUE(task_.Save());
    const std::string gifFolder = task_.SaveFolder + "\\deep";
    // A record naming a folder that holds another picture of the task.
    ImageRecord folderRecord;
    folderRecord.localPath = gifFolder;
    folderRecord.fileName = "deep";
    task_.DownloadedImages.Append(folderRecord);
    pictures_->SetTask(&task_);

    {
        // Refused confirmation: nothing changes.
        RefusingShell refusing;
        SelectRows({0, 2});
        ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_DELETE, 0);
        Pump(50);
        ASSERT_EQ(1u, refusing.fileOperations.size());
        EXPECT_EQ(5, task_.DownloadedImages.GetCount());
        EXPECT_EQ(5, ListView_GetItemCount(List()));
    }

    AcceptingShell shell;
    // While the shell asks, the engine drops record 0: the deletion must not move onto others.
    shell.meanwhile = [&] {
        pictures_->OnImageRemoved(&task_, 0);
        task_.DownloadedImages.RemoveAt(0);
    };
    SelectRows({1, 2, 4});   // th_two.gif, three.jpg, the folder record
    ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_DELETE, 0);
    Pump(50);
    EXPECT_EQ((std::vector<std::string>{task_.SaveFolder + "\\deep\\er\\th_two.gif", task_.SaveFolder + "\\three.jpg"}),
              shell.deleted);
    EXPECT_TRUE(IsExistingFile(task_.SaveFolder + "\\one.png"));   // the engine's, not ours to delete
    EXPECT_TRUE(IsExistingFile(task_.SaveFolder + "\\four.bmp"));
    ASSERT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_EQ("four.bmp", RecordName(0));
    EXPECT_EQ(1, ListView_GetItemCount(List()));
    EXPECT_EQ(1, Thumbnails().GetItemCount());
    // The ".downloads" file follows.
    SearchLinkTask reloaded;
    ASSERT_TRUE(reloaded.Load(task_.TaskFileName));
    EXPECT_EQ(1, reloaded.DownloadedImages.GetCount());
}

TEST_F(PictureCommandsTest, TheViewersDeleteFocusesTheNewLastPicture) {
    AcceptingShell shell;
    FocusRow(3);
    pictures_->ListView().DeleteCurrent();
    Pump(150);
    ASSERT_EQ(3, task_.DownloadedImages.GetCount());
    EXPECT_EQ(2, FocusedRow());
    EXPECT_EQ(task_.DownloadedImages.GetAt(2).localPath, pictures_->Viewer().GetPath());
    // In the thumbnails the same: the focus stays on the place, the viewer follows.
    ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);
    Thumbnails().SetItemState(0, kThumbnailFocused);
    pictures_->ListView().DeleteCurrent();   // the viewer's listener passes it to the shown view
    Pump(150);
    ASSERT_EQ(2, task_.DownloadedImages.GetCount());
    EXPECT_EQ(0, Thumbnails().GetFocusedIndex());
    EXPECT_EQ("th_two.gif", RecordName(0));
    EXPECT_EQ(task_.DownloadedImages.GetAt(0).localPath, pictures_->Viewer().GetPath());
}

}  // namespace
}  // namespace picturetest
