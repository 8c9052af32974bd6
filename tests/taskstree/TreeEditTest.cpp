// Renaming, folders, deleting and dragging in the real tree of the real frame.
#include "core/DownloadManager.h"
#include "core/LocalText.h"
#include "resources/command_ids.h"
#include "resources/task_options_ids.h"
#include "resources/taskstree_ids.h"
#include "tests/support/PromptSupport.h"
#include "tests/taskstree/TreeTestSupport.h"

using treetest::TreeTest;

namespace {
void TypeIntoEdit(HWND edit, const std::string& text) { ::SetWindowTextA(edit, text.c_str()); }
}  // namespace

TEST_F(TreeTest, RenameFoldersAndTasksThroughTheEditBox) {
    MakeTaskFile("Old name");
    MakeTaskFile("Taken");
    CreateFrame();
    TaskOptions* task = FindTask("Old name");
    ASSERT_TRUE(task);
    task->DownloadedImages.Append(ImageRecord());
    tree_->RefreshTaskItem(task);
    EXPECT_EQ("Old name (1)", tree_->Tree().GetItemText(tree_->ItemOf(task)));

    // The root cannot be renamed: the frame's menu says so as the tree's own does, and a
    // refused edit leaves the keys with the frame.
    HMENU menu = frame_->GetCommandBar().GetMenu();
    Select(tree_->Tree().GetRootItem());
    Pump(30);
    EXPECT_TRUE(::GetMenuState(menu, ID_TASK_RENAME, MF_BYCOMMAND) & MF_GRAYED);
    Command(ID_TASK_RENAME);
    EXPECT_FALSE(TreeView_GetEditControl(tree_->Tree()));
    EXPECT_FALSE(frame_->IsLabelEditing());

    SelectTask(task);
    Pump(30);
    EXPECT_FALSE(::GetMenuState(menu, ID_TASK_RENAME, MF_BYCOMMAND) & MF_GRAYED);
    Command(ID_TASK_RENAME);
    HWND edit = TreeView_GetEditControl(tree_->Tree());
    ASSERT_TRUE(edit);
    EXPECT_TRUE(frame_->IsLabelEditing());
    char shown[64] = {};
    ::GetWindowTextA(edit, shown, sizeof(shown));
    EXPECT_STREQ("Old name", shown) << "the edit box gets the bare name";
    TypeIntoEdit(edit, "");
    TreeView_EndEditLabelNow(tree_->Tree(), FALSE);
    Pump(30);
    EXPECT_EQ("Old name", task->TaskName) << "an empty name keeps the old one";
    EXPECT_FALSE(frame_->IsLabelEditing());

    Command(ID_TASK_RENAME);
    edit = TreeView_GetEditControl(tree_->Tree());
    ASSERT_TRUE(edit);
    TypeIntoEdit(edit, "New name");
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump(60);
    EXPECT_FALSE(frame_->IsLabelEditing());
    EXPECT_EQ("New name", task->TaskName);
    EXPECT_EQ("New name (1)", tree_->Tree().GetItemText(tree_->ItemOf(task)));
    char title[64] = {};
    ::GetWindowTextA(*frame_, title, sizeof(title));
    EXPECT_STREQ("New name - Brackenfly", title);

    // The names the task's options refuse are refused here too, with the same words: one the
    // file system cannot take, and the name of another task of its kind.
    for (const char* refused : {"Big:fast?", "COM\xB9", "Taken", "dot.", "..", "space "}) {
        testsupport::ScriptedPrompts prompts;
        SelectTask(task);
        Command(ID_TASK_RENAME);
        edit = TreeView_GetEditControl(tree_->Tree());
        ASSERT_TRUE(edit);
        TypeIntoEdit(edit, refused);
        TreeView_EndEditLabelNow(tree_->Tree(), FALSE);
        Pump(30);
        EXPECT_EQ("New name", task->TaskName) << refused;
        EXPECT_EQ("New name (1)", tree_->Tree().GetItemText(tree_->ItemOf(task))) << refused;
        ASSERT_EQ(1u, prompts.boxes.size()) << refused;
        // Without the options page's "General : " lead, which means nothing here.
        EXPECT_EQ(std::string(refused) == "Taken" ? "Task name always present"
                                                  : "Task name can not hold \\ / : * ? \" < > |, end with a dot or be a device name",
                  prompts.boxes[0].text);
    }

    // A new folder under the selected task's parent, in edit at once.
    Command(ID_TASK_NEW_FOLDER);
    edit = TreeView_GetEditControl(tree_->Tree());
    ASSERT_TRUE(edit);
    TypeIntoEdit(edit, "Cats");
    TreeView_EndEditLabelNow(tree_->Tree(), FALSE);
    Pump(30);
    const std::vector<std::string> rootTexts = ChildTexts(tree_->Tree().GetRootItem());
    ASSERT_EQ(3u, rootTexts.size());
    EXPECT_EQ("Cats", rootTexts.back());
    EXPECT_FALSE(frame_->IsLabelEditing());

    // A folder's name that ends in a dot or a space is refused in the same words, for a new
    // folder and in a rename (F2) alike; the name stays as it was.
    const std::string unsafe = "Task name can not hold \\ / : * ? \" < > |, end with a dot or be a device name";
    for (bool fresh : {true, false}) {
        for (const char* refused : {"dot.", "..", "space "}) {
            testsupport::ScriptedPrompts prompts;
            if (fresh) {
                Command(ID_TASK_NEW_FOLDER);
            } else {
                Select(FindItem("Cats"));
                Command(ID_TASK_RENAME);
            }
            edit = TreeView_GetEditControl(tree_->Tree());
            ASSERT_TRUE(edit) << refused;
            TypeIntoEdit(edit, refused);
            TreeView_EndEditLabelNow(tree_->Tree(), FALSE);
            Pump(30);
            ASSERT_EQ(1u, prompts.boxes.size()) << refused;
            EXPECT_EQ(unsafe, prompts.boxes[0].text);
            const std::string left = tree_->Tree().GetItemText(tree_->Tree().GetSelectedItem());
            EXPECT_EQ(fresh ? LocalText(IDS_NEW_FOLDER) : std::string("Cats"), left) << refused;
            if (fresh) tree_->Tree().DeleteItem(tree_->Tree().GetSelectedItem());
        }
    }
    EXPECT_EQ(rootTexts, ChildTexts(tree_->Tree().GetRootItem()));

    // The renamed task's file holds the new name.
    const std::string file = task->TaskFileName;
    DestroyFrame();
    SearchLinkTask reloaded;
    ASSERT_TRUE(reloaded.Load(file));
    EXPECT_EQ("New name", reloaded.TaskName);
}

TEST_F(TreeTest, DeletingAFolderDeletesItsTasksFilesButNoOtherFile) {
    const std::string keep = MakeTaskFile("Keep");
    const std::string gone = MakeTaskFile("Gone");
    testsupport::WriteFileText(TasksFolder() + gone + ".cache", "x");
    testsupport::WriteFileText(TasksFolder() + ".cache", "not ours");
    CreateFrame();
    // A task with no file yet (its dialog did not save it) inside the folder.
    dialogs_->save = false;
    Command(ID_TASK_NEW_FOLDER);
    TreeView_EndEditLabelNow(tree_->Tree(), TRUE);
    Pump(30);
    HTREEITEM folder = FindItem("New Folder");
    ASSERT_TRUE(folder);
    Select(folder);
    Command(ID_TASK_NEW);
    ASSERT_EQ(3u, tree_->Tasks().size());
    ASSERT_TRUE(tree_->CopySubtree(tree_->ItemOf(FindTask("Gone")), folder));
    tree_->Tree().DeleteItem(FindItem("Gone"));
    Pump(30);
    folder = FindItem("New Folder");
    EXPECT_EQ(2u, ChildTexts(folder).size());

    testsupport::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {IDNO, IDYES};
    Select(folder);
    ::SetFocus(tree_->Tree());
    Pump(30);
    ::PostMessageA(tree_->Tree(), WM_KEYDOWN, VK_DELETE, 0);
    Pump(60);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_EQ("Are you sure you want to delete folder 'New Folder' with all tasks inside folder?",
              prompts.boxes[0].text);
    EXPECT_TRUE(FindItem("New Folder")) << "No keeps everything";
    Command(ID_TASK_DELETE);
    EXPECT_FALSE(FindItem("New Folder"));
    EXPECT_EQ(1u, tree_->Tasks().size());
    EXPECT_FALSE(testsupport::FileExists(TasksFolder() + gone));
    EXPECT_FALSE(testsupport::FileExists(TasksFolder() + gone + ".cache"));
    EXPECT_TRUE(testsupport::FileExists(TasksFolder() + keep));
    EXPECT_TRUE(testsupport::FileExists(TasksFolder() + ".cache")) << "a task without a file deletes nothing";
}

TEST_F(TreeTest, DropsMoveOnlyOntoFoldersAndADragEndsOnLostCaptureOrEscape) {
    MakeTaskFile("Mover");
    MakeTaskFile("Other");
    realPictures_ = true;
    CreateFrame();
    CTreeViewCtrl& tree = tree_->Tree();
    HTREEITEM root = tree.GetRootItem();
    Select(root);
    Command(ID_TASK_NEW_FOLDER);
    TreeView_EndEditLabelNow(tree, TRUE);
    HTREEITEM folder = FindItem("New Folder");
    ASSERT_TRUE(folder);
    Select(folder);
    Command(ID_TASK_NEW_FOLDER);
    TreeView_EndEditLabelNow(tree, TRUE);
    HTREEITEM inner = tree.GetChildItem(folder);
    ASSERT_TRUE(inner);

    EXPECT_FALSE(tree_->CopySubtree(folder, folder));
    EXPECT_FALSE(tree_->CopySubtree(folder, inner)) << "not onto its own descendant";
    TaskOptions* mover = FindTask("Mover");
    TaskOptions* other = FindTask("Other");
    SelectTask(mover);
    ASSERT_EQ(mover, ShownTask());

    // A real drag: the button goes down on "Mover", the mouse passes over the folder and over the
    // task "Other" and is let go there. Nothing moves onto a task, and the place let go of is
    // selected; while the drag runs no task's pictures are shown.
    ASSERT_TRUE(BeginRealDrag(tree_->ItemOf(mover)));
    ASSERT_TRUE(tree_->IsDragging());
    MoveDragOver(inner);
    EXPECT_EQ(inner, tree.GetSelectedItem());
    EXPECT_EQ(nullptr, ShownTask());
    MoveDragOver(tree_->ItemOf(other));
    EXPECT_EQ(tree_->ItemOf(other), tree.GetSelectedItem());
    EXPECT_EQ(nullptr, ShownTask()) << "passing over a task loads nothing";
    DropOn(tree_->ItemOf(other));
    EXPECT_FALSE(tree_->IsDragging());
    EXPECT_EQ(root, tree.GetParentItem(tree_->ItemOf(mover)));
    EXPECT_EQ(root, tree.GetParentItem(tree_->ItemOf(other)));
    EXPECT_EQ(tree_->ItemOf(other), tree.GetSelectedItem());
    EXPECT_EQ(other, ShownTask());

    // The same drag let go over the inner folder moves the task there.
    ASSERT_TRUE(BeginRealDrag(tree_->ItemOf(mover)));
    MoveDragOver(tree_->ItemOf(other));
    MoveDragOver(inner);
    DropOn(inner);
    EXPECT_EQ(inner, tree.GetParentItem(tree_->ItemOf(mover)));
    EXPECT_EQ(inner, tree.GetSelectedItem());
    EXPECT_EQ(1u, ChildTexts(inner).size());

    // A drag begun by the tree control, ended by losing the mouse capture, by Escape and by
    // WM_CANCELMODE: each ends it once, with the dragged item selected again.
    for (int way = 0; way < 3; ++way) {
        NMTREEVIEWA begin = {};
        begin.hdr.hwndFrom = tree;
        begin.hdr.idFrom = TasksTree::kTreeControlId;
        begin.hdr.code = TVN_BEGINDRAGA;
        begin.itemNew.hItem = tree_->ItemOf(FindTask("Other"));
        ::SendMessageA(tree_->GetWindow(), WM_NOTIFY, TasksTree::kTreeControlId, reinterpret_cast<LPARAM>(&begin));
        ASSERT_TRUE(tree_->IsDragging());
        EXPECT_EQ(tree_->GetWindow(), ::GetCapture());
        if (way == 0) ::SetCapture(*frame_);
        if (way == 1) {
            NMTVKEYDOWN key = {};
            key.hdr = begin.hdr;
            key.hdr.code = TVN_KEYDOWN;
            key.wVKey = VK_ESCAPE;
            ::SendMessageA(tree_->GetWindow(), WM_NOTIFY, TasksTree::kTreeControlId, reinterpret_cast<LPARAM>(&key));
        }
        if (way == 2) ::SendMessageA(tree_->GetWindow(), WM_CANCELMODE, 0, 0);
        Pump(30);
        EXPECT_FALSE(tree_->IsDragging()) << way;
        EXPECT_NE(tree_->GetWindow(), ::GetCapture()) << way;
        EXPECT_EQ(tree_->ItemOf(FindTask("Other")), tree.GetSelectedItem()) << way;
        ::ReleaseCapture();
    }
    EXPECT_EQ(root, tree.GetParentItem(tree_->ItemOf(FindTask("Other"))));
}

TEST_F(TreeTest, DeletingTheRealPromptAnswersYes) {
    MakeTaskFile("Doomed");
    CreateFrame();
    SelectTask(FindTask("Doomed"));
    testsupport::PromptWatcher watcher("Question", IDYES);
    Command(ID_TASK_DELETE);
    EXPECT_TRUE(watcher.Answered());
    EXPECT_NE(std::string::npos, watcher.PromptText().find("delete task 'Doomed'?"));
    EXPECT_TRUE(tree_->Tasks().empty());
}
