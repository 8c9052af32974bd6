// The tasks tree and the program's picture container in one frame: selecting a task shows its
// pictures, deleting it lets the views go of it first.
#include <gtest/gtest.h>

#include "core/SearchLinkTask.h"
#include "tests/support/PromptSupport.h"
#include "tests/taskstree/TreeTestSupport.h"
#include "ui/pictures/ImagesContainer.h"

using treetest::TreeTest;

TEST_F(TreeTest, SelectingATaskShowsItsPicturesAndDeletingItLetsTheViewsGo) {
    MakeTaskFile("Empty");
    {
        SearchLinkTask task;
        task.TaskName = "Two pictures";
        StartingAddress start;
        start.Url = "http://example.com/";
        task.StartingAddresses.push_back(start);
        for (const char* name : {"a.jpg", "b.jpg"}) {
            ImageRecord record;
            record.fileName = name;
            record.localPath = dir_.Path() + name;
            record.fileSize = 1000;
            task.DownloadedImages.Append(record);
        }
        ASSERT_TRUE(task.Save());
        ASSERT_TRUE(task.SaveDownloads());
    }
    realPictures_ = true;
    CreateFrame();
    auto* pictures = dynamic_cast<ImagesContainer*>(frame_->GetImagesContainer());
    ASSERT_TRUE(pictures);

    TaskOptions* shown = FindTask("Two pictures");
    ASSERT_TRUE(shown);
    SelectTask(shown);
    Pump();
    EXPECT_EQ(shown, pictures->GetTask());
    EXPECT_EQ(2, pictures->ListView().GetRowCount());

    SelectTask(FindTask("Empty"));
    Pump();
    EXPECT_EQ(FindTask("Empty"), pictures->GetTask());
    EXPECT_EQ(0, pictures->ListView().GetRowCount());

    // Deleted while shown: the views hold no pointer to it afterwards.
    SelectTask(shown);
    Pump();
    testsupport::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {IDYES};
    tree_->DeleteSelected();
    Pump();
    EXPECT_FALSE(FindTask("Two pictures"));
    EXPECT_NE(shown, pictures->GetTask());
    if (pictures->GetTask()) {
        EXPECT_EQ(tree_->GetSelectedTask(), pictures->GetTask());
    }
}
