// How a run's end reaches the user through the real frame: paused, stopped and completed runs
// each say so in the messages view, the status bar, the monitor's title and the tree; a save
// folder that cannot take pictures refuses the run before anything is downloaded.
#include "core/DownloadManager.h"
#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "resources/command_ids.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/MainFrameTestSeam.h"
#include "tests/support/TestHttpServer.h"
#include "tests/taskstree/TreeTestSupport.h"
#include "ui/monitor/MessagesViewer.h"

using treetest::TreeTest;
using testsupport::FixtureBytes;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class RunEndTest : public TreeTest {
protected:
    void SaveSiteTask(const std::string& name, const std::string& url, const std::string& saveFolder) {
        SearchLinkTask task;
        task.TaskName = name;
        StartingAddress start;
        start.Url = url;
        task.StartingAddresses.push_back(start);
        task.SaveFolder = saveFolder;
        task.MinimumWidth.enabled = task.MinimumHeight.enabled = false;
        ASSERT_TRUE(task.Save());
    }
    // Pumps the real loop until the condition holds; false when it never came (a hang).
    template <typename Condition>
    bool PumpUntil(Condition condition) {
        for (int rounds = 0; rounds < 1500; ++rounds) {
            if (condition()) return true;
            Pump(20);
        }
        return condition();
    }
    void StartSelected(TaskOptions* task) {
        SelectTask(task);
        Command(ID_TASK_START);
        ASSERT_TRUE(PumpUntil([&] { return frame_->GetDownloadManager()->GetRunningTask() == task; }));
    }
    bool RunEnded() { return PumpUntil([&] { return frame_->GetDownloadManager()->IsIdle(); }); }
    // Everywhere a user looks, the task is paused and will resume.
    void ExpectPaused(TaskOptions* task) {
        EXPECT_TRUE(task->Resume);
        EXPECT_EQ("Task \"" + task->TaskName + "\" is paused.", NewestMessage());
        EXPECT_EQ("Task is paused: \"" + task->TaskName + "\"", TaskPane());
        EXPECT_TRUE(EndsWith(frame_->GetStatusLine(), " Task paused.")) << frame_->GetStatusLine();
        EXPECT_EQ(TasksTree::kPaused, ImageOf(task));
    }
    MessagesViewer& Messages() { return *dynamic_cast<MessagesViewer*>(monitor_->GetMessagesView()); }
    std::string NewestMessage() { return Messages().List().CellText(0, 1); }
    std::string TaskPane() { return MainFrameTestSeam(*frame_).StatusBar().GetPaneText(MainFrame::kTaskPane); }
    // "/site/index.html", a page of two pictures; the second held back until released, when asked.
    void ServeTwoPictures(testsupport::TestHttpServer& server, bool holdSecond) {
        server.SetOk("/site/index.html", "text/html", "<html><img src='a.png'><img src='b.png'></html>");
        server.SetOk("/site/a.png", "image/png", FixtureBytes("pic.png"));
        if (holdSecond) server.SetHeld("/site/b.png", "image/png", FixtureBytes("pic.png"));
        else server.SetOk("/site/b.png", "image/png", FixtureBytes("pic.png"));
    }
    // F2 on the selected task, the name typed, Enter.
    void RenameSelected(const std::string& name) {
        Command(ID_TASK_RENAME);
        HWND edit = TreeView_GetEditControl(tree_->Tree());
        ASSERT_TRUE(edit);
        ::SetWindowTextA(edit, name.c_str());
        ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        Pump(60);
        ASSERT_FALSE(TreeView_GetEditControl(tree_->Tree()));
    }
    // Every place that names the task names it name: the tree, the window's title, the status
    // bar's task pane (with its text for the run's state) and the monitor's title.
    void ExpectNamedEverywhere(TaskOptions* task, const std::string& name, const std::string& paneLead) {
        EXPECT_EQ(name, task->TaskName);
        EXPECT_EQ(0u, tree_->Tree().GetItemText(tree_->ItemOf(task)).find(name + " ("));
        char title[256] = {};
        ::GetWindowTextA(*frame_, title, sizeof(title));
        EXPECT_EQ(name + " - Brackenfly", title);
        EXPECT_EQ(paneLead + " \"" + name + "\"", TaskPane());
        EXPECT_EQ(0u, frame_->GetStatusLine().find("Task \"" + name + "\"")) << frame_->GetStatusLine();
    }
    std::string TaskPaneTip() { return MainFrameTestSeam(*frame_).StatusBar().GetPaneTip(MainFrame::kTaskPane); }
    // The task's pane says why the run was refused: as much of the sentence as the pane takes,
    // and the whole of it in its tip.
    void ExpectRefusalInStatusBar(const std::string& refusal) {
        const std::string pane = TaskPane();
        EXPECT_GT(pane.size(), 40u) << pane;
        EXPECT_EQ(0u, refusal.find(pane)) << pane;
        EXPECT_EQ(refusal, TaskPaneTip());
    }
};

// The fault: a paused run said "is completed" in the messages view, showed the completed tick
// and "Task is completed" in the status bar and ended the monitor's title with "Task completed.".
TEST_F(RunEndTest, PausedAndStoppedRunsAreToldAsSuchAndARunOutOfWorkAsCompleted) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    // One connection at a time, in page order: five quick pictures, two that take a while (their
    // body comes, then the server waits before closing), five quick ones.
    const std::string picture = FixtureBytes("pic.png");
    std::string page = "<html>";
    for (const char* name : {"p0", "p1", "p2", "p3", "p4", "s0", "s1", "p5", "p6", "p7", "p8", "p9"})
        page += std::string("<img src='") + name + ".png'>";
    server.SetOk("/big/index.html", "text/html", page + "</html>");
    for (int i = 0; i < 10; ++i) server.SetOk("/big/p" + std::to_string(i) + ".png", "image/png", picture);
    for (const char* slow : {"/big/s0.png", "/big/s1.png"})
        server.SetStall(slow, 1500,
                        "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n\r\n" + picture);
    server.SetStall("/doomed.html", 20000, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 9000\r\n\r\n");
    app_->GetSettings()->ThreadsAmount = 1;
    SaveSiteTask("Big slow", server.Url("/big/index.html"), dir_.Path() + "Big");
    SaveSiteTask("Doomed", server.Url("/doomed.html"), dir_.Path() + "Doomed");
    CreateFrame();
    TaskOptions* big = FindTask("Big slow");
    ASSERT_TRUE(big);

    // Pause while a picture is on its way: stopped at once, to be resumed.
    StartSelected(big);
    ASSERT_TRUE(PumpUntil([&] { return server.CountRequests("/big/s0.png") == 1; }));
    Command(ID_TASK_PAUSE);
    ASSERT_TRUE(RunEnded());
    ExpectPaused(big);

    // Resumed, then Finish Downloading And Pause: the picture in flight completes, nothing new starts.
    StartSelected(big);
    ASSERT_TRUE(PumpUntil([&] { return server.CountRequests("/big/s1.png") == 1; }));
    Command(ID_TASK_FINISH_AND_PAUSE);
    ASSERT_TRUE(RunEnded());
    ExpectPaused(big);

    // Resumed again: it runs out of work and is completed, as ever.
    StartSelected(big);
    ASSERT_TRUE(RunEnded());
    EXPECT_FALSE(big->Resume);
    EXPECT_EQ(12, big->DownloadedImages.GetCount());
    EXPECT_EQ("Task \"Big slow\" is completed.", NewestMessage());
    EXPECT_EQ("Task is completed: \"Big slow\"", TaskPane());
    EXPECT_TRUE(EndsWith(frame_->GetStatusLine(), " Task completed.")) << frame_->GetStatusLine();
    EXPECT_EQ(TasksTree::kFinished, ImageOf(big));

    // A running task deleted is stopped, not completed.
    TaskOptions* doomed = FindTask("Doomed");
    ASSERT_TRUE(doomed);
    StartSelected(doomed);
    ASSERT_TRUE(PumpUntil([&] { return server.CountRequests("/doomed.html") == 1; }));
    testsupport::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {IDYES};
    Command(ID_TASK_DELETE);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_TRUE(frame_->GetDownloadManager()->IsIdle());
    EXPECT_EQ(nullptr, FindTask("Doomed"));
    EXPECT_EQ("Task \"Doomed\" is stopped.", NewestMessage());
}

// The fault: a save folder that cannot be made had every picture downloaded and thrown away,
// and the run ended as completed.
TEST_F(RunEndTest, ASaveFolderThatCannotBeMadeRefusesTheRunWithOneMessage) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    ServeTwoPictures(server, false);
    // The program's folder for pictures (Options, General) lies below a file: it cannot be made.
    const std::string blocker = dir_.Path() + "NotAFolder";
    ASSERT_TRUE(testsupport::WriteFileText(blocker, "a file"));
    const std::string nowhere = blocker + "\\nowhere\\";
    app_->GetSettings()->FolderForImages = nowhere;
    SaveSiteTask("Site", server.Url("/site/index.html"), "");
    CreateFrame();
    TaskOptions* site = FindTask("Site");
    ASSERT_TRUE(site);

    SelectTask(site);
    Command(ID_TASK_START);
    ASSERT_TRUE(PumpUntil([&] { return Messages().List().RowCount() == 1; }));
    Pump(100);
    EXPECT_EQ(1, Messages().List().RowCount()) << "one message";
    const std::string message = NewestMessage();
    EXPECT_EQ(0u, message.find("Task \"Site\" is not started: its pictures cannot be saved in the folder \"" + nowhere +
                               "\". "))
        << message;
    EXPECT_GT(message.size(), message.find(nowhere + "\". ") + nowhere.size() + 4) << "the system's reason follows";
    EXPECT_EQ(message, frame_->GetStatusLine());
    ExpectRefusalInStatusBar(message);
    EXPECT_EQ(0u, server.Requests().size()) << "nothing downloaded for nothing";
    EXPECT_EQ(nullptr, frame_->GetDownloadManager()->GetRunningTask());
    EXPECT_EQ(TasksTree::kIdle, ImageOf(site));
    EXPECT_FALSE(site->Scheduled);

    // A folder that can be made (it merely does not exist yet) takes the pictures.
    app_->GetSettings()->FolderForImages = dir_.Path() + "Later\\Pictures\\";
    StartSelected(site);
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(2, site->DownloadedImages.GetCount());
    EXPECT_TRUE(testsupport::FileExists(dir_.Path() + "Later\\Pictures\\a.png"));
    EXPECT_EQ("Task \"Site\" is completed.", NewestMessage());
    EXPECT_EQ("Task is completed: \"Site\"", TaskPane());
    EXPECT_EQ("", TaskPaneTip());

    // Refused after that run: the status bar shows the refusal, not the run before it.
    app_->GetSettings()->FolderForImages = nowhere;
    SelectTask(site);
    Command(ID_TASK_START);
    ASSERT_TRUE(PumpUntil([&] { return NewestMessage().find("Task \"Site\" is not started") == 0; }));
    ExpectRefusalInStatusBar(NewestMessage());
    EXPECT_EQ(NewestMessage(), frame_->GetStatusLine());
}

// The fault: after a rename in the tree, the status bar and the monitor's title kept naming the
// task by its old name, while it ran and after its run.
TEST_F(RunEndTest, ARenamedTaskIsNamedAnewInTheStatusBarAndTheMonitorTitle) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    ServeTwoPictures(server, true);
    SaveSiteTask("Before", server.Url("/site/index.html"), dir_.Path() + "Site");
    CreateFrame();
    TaskOptions* site = FindTask("Before");
    ASSERT_TRUE(site);

    // Renamed while it runs (its second picture held back by the server).
    StartSelected(site);
    ASSERT_TRUE(PumpUntil([&] { return site->DownloadedImages.GetCount() == 1 && server.CountRequests("/site/b.png") == 1; }));
    RenameSelected("While running");
    ExpectNamedEverywhere(site, "While running", "Task is started:");

    // The run ends under the new name; renamed once more after it.
    server.Release("/site/b.png");
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(2, site->DownloadedImages.GetCount());
    ExpectNamedEverywhere(site, "While running", "Task is completed:");
    RenameSelected("After the run");
    ExpectNamedEverywhere(site, "After the run", "Task is completed:");
    EXPECT_TRUE(EndsWith(frame_->GetStatusLine(), " Task completed.")) << frame_->GetStatusLine();
}

}  // namespace
