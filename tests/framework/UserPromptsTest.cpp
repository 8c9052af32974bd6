// The prompt seam: the real message box answered by a watcher thread, and scripted answers.
#include <gtest/gtest.h>
#include "framework/UserPrompts.h"
#include "tests/support/PromptSupport.h"

TEST(UserPrompts, RealMessageBoxIsAnsweredByTheWatcherAndScriptedAnswersReplaceIt) {
    {
        testsupport::PromptWatcher watcher("Question", IDNO);
        EXPECT_EQ(IDNO, UserPrompts().MessageBox(nullptr, "Delete the task?", "Question", MB_YESNO));
        EXPECT_TRUE(watcher.Answered());
        EXPECT_NE(std::string::npos, watcher.PromptText().find("Delete the task?"));
    }
    {
        testsupport::ScriptedPrompts prompts;
        prompts.messageBoxAnswers = {IDYES};
        EXPECT_EQ(IDYES, UserPrompts().MessageBox(nullptr, "first", "Question", MB_YESNO));
        EXPECT_EQ(IDOK, UserPrompts().MessageBox(nullptr, "second", "Warning", MB_OK));
        ASSERT_EQ(2u, prompts.boxes.size());
        EXPECT_EQ("Warning", prompts.boxes[1].caption);
        EXPECT_TRUE(UserPrompts().ShellExecute(nullptr, "open", "C:\\x.txt", "", "", SW_SHOW));
        ASSERT_EQ(1u, prompts.shellCalls.size());
        EXPECT_EQ("C:\\x.txt", prompts.shellCalls[0].file);
    }
    EXPECT_EQ(&SystemUserPrompts(), &UserPrompts());
}
