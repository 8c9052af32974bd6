// The task commands through the real frame: new tasks from the clipboard, the pending-start list,
// pausing, the task-folder commands, and three tasks run one after another against a server.
#include "core/DownloadManager.h"
#include "core/ProgramSettings.h"
#include "core/PropertyBag.h"
#include "core/TaskFileNames.h"
#include "resources/command_ids.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/HeldFile.h"
#include "tests/support/TestHttpServer.h"
#include "tests/taskstree/TreeTestSupport.h"
#include "core/SearchLinkTask.h"
#include "tests/support/MainFrameTestSeam.h"
#include "dialogs/tasks/TaskDialogs.h"
#include "ui/tasks/PendingStarts.h"
#include "ui/tasks/TaskFolder.h"

using treetest::PutClipboardText;
using treetest::TreeTest;
using testsupport::FixtureBytes;

TEST(HandOver, FirstLineIsTheAddressAndTheRestTheCookies) {
    auto handOver = [](const std::string& text) {
        SearchLinkTask task;
        task.StartingAddresses.assign(1, StartingAddress());
        ApplyPageHandOver(task, text);
        return std::make_pair(task.StartingAddresses[0].Url, task.Cookies);
    };
    EXPECT_EQ(std::make_pair(std::string("www.example.com/gallery"), std::string("sid=1; theme=dark\nmore")),
              handOver("www.example.com/gallery\nsid=1; theme=dark\nmore"));
    // Only a web address becomes the start address; the cookies come along all the same.
    EXPECT_EQ(std::make_pair(std::string(""), std::string("cookie=2")), handOver("C:\\Windows\\calc.exe\ncookie=2"));
    EXPECT_EQ(std::make_pair(std::string("HTTP://Example.com/"), std::string("")), handOver("HTTP://Example.com/"));
}

TEST(TaskFolderRules, OnlyATasksOwnFolderMayBeCleared) {
    const std::string program = "C:\\Apps\\Brackenfly\\";
    EXPECT_TRUE(IsClearableFolder("C:\\Pictures\\Cats", program));
    EXPECT_TRUE(IsClearableFolder("C:\\Apps\\Brackenfly2", program)) << "compared at separators";
    EXPECT_TRUE(IsClearableFolder("C:\\Apps\\Brackenfly\\Images\\", program));
    for (const char* bad : {"", "Images", "C:", "C:\\", "c:/", "\\\\server\\share", "\\\\server\\share\\",
                            "C:\\Apps", "c:\\apps\\brackenfly", "C:\\Apps\\Brackenfly\\", "C:\\A\\..\\Apps",
                            "\\Pictures"})
        EXPECT_FALSE(IsClearableFolder(bad, program)) << bad;
    EXPECT_TRUE(IsWebAddress("https://example.com/a b") == false);
    EXPECT_TRUE(IsWebAddress("http://example.com/"));
    EXPECT_FALSE(IsWebAddress("calc.exe"));
    EXPECT_FALSE(IsWebAddress("file:///C:/Windows/notepad.exe"));
    EXPECT_EQ("http://www.example.com", WebAddressToOpen("www.example.com"));

    PendingStarts pending;
    TaskOptions* one = reinterpret_cast<TaskOptions*>(0x10);
    EXPECT_TRUE(pending.Append(one, 0));
    EXPECT_FALSE(pending.Append(one, 1));
    EXPECT_EQ(1, pending.Count());
}

TEST_F(TreeTest, NewTaskTakesTheClipboardFromTheMenuAndFromTheCommandLineCommand) {
    CreateFrame();
    PutClipboardText("www.example.com/gallery\nsid=42");
    Command(ID_TASK_NEW);
    EXPECT_EQ("www.example.com/gallery", dialogs_->lastUrl);
    EXPECT_EQ("sid=42", dialogs_->lastCookies);
    TaskOptions* task = FindTask("Clipboard task");
    ASSERT_TRUE(task);
    EXPECT_EQ(tree_->ItemOf(task), tree_->Tree().GetSelectedItem());
    EXPECT_EQ(TasksTree::kIdle, ImageOf(task));

    // Command 217 posted to the receiver, as the "-c" start and the plug-in do; cancelled.
    PutClipboardText("ftp://nowhere\n");
    dialogs_->answer = TaskDialogResult::Cancel;
    ::PostMessageA(frame_->GetNewTaskReceiver(), WM_COMMAND, ID_TASK_NEW, 0);
    Pump(100);
    EXPECT_EQ(2, dialogs_->newTasks);
    EXPECT_EQ("", dialogs_->lastUrl);
    EXPECT_EQ(1u, tree_->Tasks().size());
}

TEST_F(TreeTest, TaskFolderCommandsAskRefuseAndNeverRunTaskText) {
    MakeTaskFile("Pictures", "calc.exe");
    CreateFrame();
    TaskOptions* task = FindTask("Pictures");
    ASSERT_TRUE(task);
    SelectTask(task);
    testsupport::ScriptedPrompts prompts;
    Command(ID_TASK_OPEN_START_URL);
    Command(ID_TASK_BROWSE_FOLDER);  // the folder does not exist yet
    EXPECT_TRUE(prompts.shellCalls.empty());

    const std::string folder = dir_.Path() + "Saved";
    task->SaveFolder = folder;
    task->StartingAddresses[0].Url = "http://example.com/start";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
    testsupport::WriteFileText(folder + "\\a.jpg", "a");
    testsupport::WriteFileText(folder + "\\sub\\b.jpg", "b");
    task->DownloadedImages.Append(ImageRecord());
    Command(ID_TASK_OPEN_START_URL);
    Command(ID_TASK_BROWSE_FOLDER);
    ASSERT_EQ(2u, prompts.shellCalls.size());
    EXPECT_EQ("http://example.com/start", prompts.shellCalls[0].file);
    EXPECT_EQ("\"" + folder + "\"", prompts.shellCalls[1].parameters);

    // Clear: asked first with No the default; No keeps everything.
    prompts.messageBoxAnswers = {IDNO};
    Command(ID_TASK_CLEAR_FOLDER);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_TRUE(prompts.boxes[0].type & MB_DEFBUTTON2);
    EXPECT_TRUE(testsupport::FileExists(folder + "\\a.jpg"));
    prompts.messageBoxAnswers = {IDYES};
    Command(ID_TASK_CLEAR_FOLDER);
    EXPECT_FALSE(testsupport::FileExists(folder + "\\a.jpg"));
    EXPECT_FALSE(testsupport::FileExists(folder + "\\sub"));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, ::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(0, task->DownloadedImages.GetCount());
    SearchLinkTask saved;
    ASSERT_TRUE(saved.Load(task->TaskFileName));
    EXPECT_EQ(0, saved.DownloadedImages.GetCount()) << "the emptied list is saved";

    // A drive root and a pending task are refused without a question.
    task->SaveFolder = "C:\\";
    prompts.boxes.clear();
    Command(ID_TASK_CLEAR_FOLDER);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_EQ("Warning", prompts.boxes[0].caption);
    task->SaveFolder = folder;
    task->Scheduled = true;
    Command(ID_TASK_CLEAR_FOLDER);
    EXPECT_EQ(2u, prompts.boxes.size());
    EXPECT_EQ(MB_OK, prompts.boxes[1].type & 0xF);
    task->Scheduled = false;
}

TEST_F(TreeTest, ThreeTasksRunInOrderThroughTheFrame) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    const std::string picture = FixtureBytes("pic.png");
    for (int i = 1; i <= 3; ++i) {
        const std::string n = std::to_string(i);
        server.SetOk("/t" + n + "/index.html", "text/html", "<html><img src='pic" + n + ".png'></html>");
        server.SetOk("/t" + n + "/pic" + n + ".png", "image/png", picture);
    }
    // The first task also waits for a picture that stalls and fails, so it is still running when
    // the others are started.
    server.SetOk("/t1/index.html", "text/html", "<html><img src='pic1.png'><img src='slow.jpg'></html>");
    server.SetStall("/t1/slow.jpg", 1500);
    app_->GetSettings()->MaxAttempts = 1;
    for (int i = 1; i <= 3; ++i) {
        SearchLinkTask task;
        task.TaskName = "Run" + std::to_string(i);
        StartingAddress start;
        start.Url = server.Url("/t" + std::to_string(i) + "/index.html");
        task.StartingAddresses.push_back(start);
        task.SaveFolder = dir_.Path() + "Run" + std::to_string(i);
        task.MinimumWidth.enabled = task.MinimumHeight.enabled = false;
        ASSERT_TRUE(task.Save());
    }
    CreateFrame();
    TaskOptions* runs[3] = {FindTask("Run1"), FindTask("Run2"), FindTask("Run3")};
    for (TaskOptions* task : runs) ASSERT_TRUE(task);
    DownloadManager* manager = frame_->GetDownloadManager();

    // Started one after another in one go: the first runs, the others wait in order.
    for (TaskOptions* task : runs) {
        tree_->Tree().SelectItem(tree_->ItemOf(task));
        ::SendMessageA(*frame_, WM_COMMAND, ID_TASK_START, 0);
    }
    ::SendMessageA(*frame_, WM_COMMAND, ID_TASK_START, 0);  // already waiting: not queued twice
    EXPECT_EQ(3, tree_->GetPendingCount());
    for (TaskOptions* task : runs) EXPECT_EQ(TasksTree::kWaiting, ImageOf(task));
    Pump(100);
    EXPECT_EQ(runs[0], manager->GetRunningTask());
    EXPECT_EQ(2, tree_->GetPendingCount());
    EXPECT_EQ(TasksTree::kRunning, ImageOf(runs[0]));
    EXPECT_EQ(TasksTree::kWaiting, ImageOf(runs[1]));
    EXPECT_EQ(TasksTree::kWaiting, ImageOf(runs[2]));
    CMultiPaneStatusBar& status = MainFrameTestSeam(*frame_).StatusBar();
    EXPECT_TRUE(status.GetPaneIcon(MainFrame::kQueuePane));
    EXPECT_EQ("2 task(s) in queue", status.GetPaneTip(MainFrame::kQueuePane));

    // Each waits its turn; all three end finished with their picture on disk.
    std::vector<TaskOptions*> order;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 30000) {
        Pump(20);
        TaskOptions* running = manager->GetRunningTask();
        if (running && (order.empty() || order.back() != running)) order.push_back(running);
        if (!running && tree_->GetPendingCount() == 0 && ImageOf(runs[2]) == TasksTree::kFinished) break;
    }
    EXPECT_EQ((std::vector<TaskOptions*>{runs[0], runs[1], runs[2]}), order);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(TasksTree::kFinished, ImageOf(runs[i])) << i;
        ASSERT_EQ(1, runs[i]->DownloadedImages.GetCount()) << i;
        const std::string saved = dir_.Path() + "Run" + std::to_string(i + 1) + "\\pic" + std::to_string(i + 1) + ".png";
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(testsupport::ReadFileBytes(saved, bytes)) << saved;
        EXPECT_EQ(picture.size(), bytes.size());
        EXPECT_EQ("Run" + std::to_string(i + 1) + " (1)", tree_->Tree().GetItemText(tree_->ItemOf(runs[i])));
    }
    EXPECT_FALSE(status.GetPaneIcon(MainFrame::kQueuePane));

    // After the runs the manager keeps its last task; further starts still work, and deleting
    // that task leaves it nothing to point at.
    EXPECT_EQ(runs[2], manager->GetTask());
    testsupport::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {IDNO, IDYES};
    SelectTask(runs[0]);
    Command(ID_TASK_RESTART);  // asks first: the task has pictures
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_EQ("Are you sure you want to restart task 'Run1'? It will clear list of downloaded images (not from disk)",
              prompts.boxes[0].text);
    EXPECT_EQ(0, tree_->GetPendingCount());
    // The status bar and the monitor's title name the last run until it is deleted.
    EXPECT_NE(std::string::npos, status.GetPaneText(MainFrame::kTaskPane).find("Run3"));
    EXPECT_NE(std::string::npos, frame_->GetStatusLine().find("Run3"));
    SelectTask(runs[2]);
    Command(ID_TASK_DELETE);
    EXPECT_EQ(nullptr, manager->GetTask());
    EXPECT_EQ(2u, tree_->Tasks().size());
    EXPECT_EQ(std::string::npos, status.GetPaneText(MainFrame::kTaskPane).find("Run3"));
    EXPECT_EQ("No task is started", frame_->GetStatusLine());
}

TEST_F(TreeTest, PausingAWaitingTaskMakesItIdleAndARefusedStartLetsTheNextRun) {
    testsupport::TestHttpServer server;
    ASSERT_TRUE(server.Start());
    // A page whose body never comes: its task stays busy (a picture sent for a page would be
    // skipped as soon as its headers are in).
    server.SetStall("/slow.html", 3000, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n");
    MakeTaskFile("Busy", server.Url("/slow.html"));
    MakeTaskFile("Waiting", server.Url("/slow.html"));
    const std::string refusedFile = MakeTaskFile("Refused", server.Url("/slow.html"));
    const std::string lastFile = MakeTaskFile("Last", server.Url("/none.html"));
    // A resume file held by another program: the manager will not run that task.
    PropertyBag held;
    held.SetCurrentVersion();
    ASSERT_TRUE(held.Save(TasksFolder() + refusedFile + ".cache"));
    testsupport::HeldFile holder(TasksFolder() + refusedFile + ".cache");
    ASSERT_TRUE(holder.Held());
    CreateFrame();
    DownloadManager* manager = frame_->GetDownloadManager();
    for (const char* name : {"Busy", "Waiting", "Refused", "Last"}) {
        SelectTask(FindTask(name));
        Command(ID_TASK_START);
    }
    EXPECT_EQ(FindTask("Busy"), manager->GetRunningTask());
    EXPECT_EQ(3, tree_->GetPendingCount());

    SelectTask(FindTask("Waiting"));
    Command(ID_TASK_PAUSE);
    EXPECT_EQ(2, tree_->GetPendingCount());
    EXPECT_EQ(TasksTree::kIdle, ImageOf(FindTask("Waiting")));
    EXPECT_FALSE(FindTask("Waiting")->Scheduled);

    SelectTask(FindTask("Busy"));
    Command(ID_TASK_PAUSE);
    Pump(300);
    EXPECT_EQ(TasksTree::kIdle, ImageOf(FindTask("Refused")));
    EXPECT_EQ(FindTask("Last"), manager->GetTask());
    EXPECT_EQ(TasksTree::kPaused, ImageOf(FindTask("Busy")));
    holder.Release();
    EXPECT_TRUE(testsupport::FileExists(TasksFolder() + refusedFile + ".cache"));

    Command(ID_TASK_PAUSE_ALL);
    EXPECT_EQ(0, tree_->GetPendingCount());
    EXPECT_EQ(nullptr, manager->GetRunningTask());
    (void)lastFile;
}
