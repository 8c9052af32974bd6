// The site-scanning task dialog through its real windows: New Task prefilled from the page
// hand-over, the name made from the address, the checks of the General page, Browse, and what
// OK, "Start Now!" and Cancel leave in the task and its file.
#include "tests/taskdialogs/TaskDialogFixture.h"
#include "core/ConstructLinkTask.h"
#include "core/SearchLinkTask.h"

using testsupport::Click;
using testsupport::ClickCheck;
using testsupport::IsItemEnabled;
using testsupport::ItemText;
using testsupport::ModalScript;
using testsupport::TypeText;
using taskdialogs::IsChecked;

TEST_F(TaskDialogFixture, NewTaskTakesTheHandedOverPageAndStartNowWritesTheTaskNamedAfterTheFreeHostName) {
    // host.task and host1.task are taken: the new task becomes host2.
    ::CreateDirectoryA(TasksFolder().c_str(), nullptr);
    ASSERT_TRUE(testsupport::WriteFileText(TasksFolder() + "www.example.com.task", ""));
    ASSERT_TRUE(testsupport::WriteFileText(TasksFolder() + "www.example.com1.task", ""));
    taskdialogs::PutClipboardText("www.example.com/gallery/\nsid=42; theme=dark\nsecond line");
    ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_EQ("Normal Task Options", testsupport::WindowText(frame));
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(frame, IDC_TASK_START_NOW)));
        EXPECT_EQ("Start Now!", ItemText(frame, IDC_TASK_START_NOW));
        HWND general = Page(frame, IDD_TASK_GENERAL);
        EXPECT_TRUE(::IsWindowVisible(general));
        EXPECT_EQ("www.example.com/gallery/", ItemText(general, IDC_TASK_URL));
        EXPECT_FALSE(IsItemEnabled(general, IDC_TASK_USER));
        ClickCheck(general, IDC_TASK_BASIC_AUTH, true);
        TypeText(general, IDC_TASK_USER, "ann");
        TypeText(general, IDC_TASK_PASSWORD, "pw");
        SelectPage(frame, IDD_TASK_SAVE);
    });
    script.Then([&](HWND frame) {
        // Leaving the General page named the task; the default folder follows that name.
        EXPECT_EQ("www.example.com2", ItemText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_NAME));
        EXPECT_EQ(dir_.Path() + "Images\\www.example.com2", ItemText(Page(frame, IDD_TASK_SAVE), IDC_SAVE_FOLDER));
        Click(frame, IDC_TASK_START_NOW);
    });
    bool startNow = false;
    TaskOptions* task = nullptr;
    script.Run([&]() -> INT_PTR {
        task = RunNewTaskDialog(nullptr, app_.get(), tasks_, &startNow);
        return 0;
    });
    EXPECT_TRUE(script.Finished());
    ASSERT_NE(nullptr, task);
    std::unique_ptr<TaskOptions> owned(task);
    EXPECT_TRUE(startNow);
    EXPECT_EQ("www.example.com2", task->TaskName);
    EXPECT_EQ("sid=42; theme=dark\nsecond line", task->Cookies);
    ASSERT_EQ(1u, task->StartingAddresses.size());
    EXPECT_EQ("http://www.example.com/gallery/", task->StartingAddresses[0].Url);
    EXPECT_TRUE(task->StartingAddresses[0].UseAuthorization);
    EXPECT_EQ("ann", task->StartingAddresses[0].UserName);
    EXPECT_EQ(dir_.Path() + "Images\\www.example.com2", task->SaveFolder);
    EXPECT_EQ("www.example.com2.task", task->TaskFileName);
    SearchLinkTask stored;
    ASSERT_TRUE(stored.Load("www.example.com2.task"));
    EXPECT_EQ("sid=42; theme=dark\nsecond line", stored.Cookies);
    EXPECT_EQ("pw", stored.StartingAddresses.at(0).Password);
}

TEST_F(TaskDialogFixture, HandOverWithoutAWebAddressStillGivesTheCookiesAndCancelDeletesTheNewTask) {
    SearchLinkTask task;
    ApplyPageHandOver(task, "ftp://host/x\r\ncookie=1");
    EXPECT_TRUE(task.StartingAddresses.empty());
    EXPECT_EQ("cookie=1", task.Cookies);
    ApplyPageHandOver(task, "HTTP://host/y\r\n");
    ASSERT_EQ(1u, task.StartingAddresses.size());
    EXPECT_EQ("HTTP://host/y", task.StartingAddresses[0].Url);
    EXPECT_EQ("", task.Cookies);

    taskdialogs::PutClipboardText("http://cancel.example/");
    ModalScript script;
    script.Then([&](HWND frame) { Click(frame, IDCANCEL); });
    bool startNow = true;
    TaskOptions* made = reinterpret_cast<TaskOptions*>(1);
    script.Run([&]() -> INT_PTR {
        made = RunNewTaskDialog(nullptr, app_.get(), tasks_, &startNow);
        return 0;
    });
    EXPECT_EQ(nullptr, made);
    EXPECT_FALSE(startNow);
    EXPECT_FALSE(testsupport::FileExists(TasksFolder() + "cancel.example.task"));
}

TEST_F(TaskDialogFixture, GeneralPageRefusesAMissingAddressATakenOrUnsafeNameAndOpensOnlyWebAddresses) {
    SearchLinkTask other, templateNamed, edited;
    other.TaskName = "Other";
    ConstructLinkTask templateTask;
    templateTask.TaskName = "Tmpl";
    edited.TaskName = "Mine";
    edited.StartingAddresses.push_back(StartingAddress());
    edited.StartingAddresses[0].Url = "http://site.example/";
    tasks_ = {&other, &templateTask, &edited};
    prompts_.messageBoxAnswers = {IDOK, IDOK, IDOK, IDOK, IDOK, IDOK, IDOK};
    ModalScript script;
    script.Then([&](HWND frame) {
        HWND general = Page(frame, IDD_TASK_GENERAL);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(frame, IDC_TASK_START_NOW)));
        TypeText(general, IDC_TASK_URL, "http://");
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("General : Starting address is not present", LastBoxText());
        HWND general = Page(frame, IDD_TASK_GENERAL);
        TypeText(general, IDC_TASK_URL, "site.example/new/");
        TypeText(general, IDC_TASK_NAME, "Other");
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("General : Task name always present", LastBoxText());
        TypeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_NAME, "..\\up");
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("General : Task name can not hold \\ / : * ? \" < > |, end with a dot or be a device name", LastBoxText());
        HWND general = Page(frame, IDD_TASK_GENERAL);
        TypeText(general, IDC_TASK_NAME, "CON");
        Click(frame, IDOK);
    });
    // Names the picture folder would lose their end of: refused with the same words.
    for (const char* trailing : {"dot.", "..", "space "}) {
        script.Then([&, trailing](HWND frame) {
            EXPECT_EQ("General : Task name can not hold \\ / : * ? \" < > |, end with a dot or be a device name",
                      LastBoxText());
            TypeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_NAME, trailing);
            Click(frame, IDOK);
        });
    }
    script.Then([&](HWND frame) {
        EXPECT_EQ("General : Task name can not hold \\ / : * ? \" < > |, end with a dot or be a device name", LastBoxText());
        EXPECT_EQ(7u, prompts_.boxes.size());
        HWND general = Page(frame, IDD_TASK_GENERAL);
        // Browse: a program or file name is refused; a web address goes to the shell.
        TypeText(general, IDC_TASK_URL, "calc.exe");
        Click(general, IDC_TASK_BROWSE);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("Only web addresses (http:// or https://) can be opened", LastBoxText());
        EXPECT_TRUE(prompts_.shellCalls.empty());
        HWND general = Page(frame, IDD_TASK_GENERAL);
        TypeText(general, IDC_TASK_URL, "https://site.example/a b");
        Click(general, IDC_TASK_BROWSE);
    });
    script.Then([&](HWND frame) {
        EXPECT_TRUE(prompts_.shellCalls.empty());
        HWND general = Page(frame, IDD_TASK_GENERAL);
        TypeText(general, IDC_TASK_URL, "https://site.example/new/");
        Click(general, IDC_TASK_BROWSE);
    });
    script.Then([&](HWND frame) {
        ASSERT_EQ(1u, prompts_.shellCalls.size());
        EXPECT_EQ("https://site.example/new/", prompts_.shellCalls[0].file);
        // The name of a URL-template task is free for a site-scanning task.
        TypeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_NAME, "Tmpl");
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunSiteDialog(&edited, false, script));
    EXPECT_EQ("Tmpl", edited.TaskName);
    EXPECT_EQ("http://site.example/new/", edited.StartingAddresses.at(0).Url);
    EXPECT_TRUE(testsupport::FileExists(TasksFolder() + "Tmpl.task"));

    // Keeping its own name is accepted even though the task list holds it.
    ModalScript again;
    again.Then([&](HWND frame) { Click(frame, IDOK); });
    const size_t boxes = prompts_.boxes.size();
    EXPECT_EQ(IDOK, RunSiteDialog(&edited, false, again));
    EXPECT_EQ(boxes, prompts_.boxes.size());
}

TEST_F(TaskDialogFixture, ScanningUrlFiltersSizeFiltersAndSaveOptionsReachTheTask) {
    SearchLinkTask task;
    task.TaskName = "Pages";
    task.StartingAddresses.push_back(StartingAddress());
    task.StartingAddresses[0].Url = "http://pages.example/";
    task.Levels = -1;
    task.MinimumSize = {false, 7};
    ModalScript script;
    script.Then([&](HWND frame) {
        HWND scanning = Page(frame, IDD_TASK_SCANNING);
        EXPECT_TRUE(IsChecked(scanning, IDC_SCAN_ALL_LEVELS));
        EXPECT_EQ("3", ItemText(scanning, IDC_SCAN_LEVELS_COUNT));
        EXPECT_TRUE(IsChecked(scanning, IDC_SCAN_PAGES_SITE));
        ClickCheck(scanning, IDC_SCAN_LEVELS, true);
        TypeText(scanning, IDC_SCAN_LEVELS_COUNT, "5");
        ClickCheck(scanning, IDC_SCAN_IMAGES_EVERYWHERE, true);
        ClickCheck(scanning, IDC_SCAN_IN_DEPTH, true);
        ClickCheck(scanning, IDC_SCAN_IMAGES_ONLY_SITE, true);

        HWND filters = Page(frame, IDD_TASK_URL_FILTERS);
        TypeText(filters, IDC_FILTER_EXCLUDED_NAMES, "a;;b;");
        TypeText(filters, IDC_FILTER_IMAGE_INCLUDED, "/big/");

        // A row whose box is unchecked has its number and arrows disabled.
        HWND sizes = Page(frame, IDD_TASK_FILTERS);
        EXPECT_TRUE(IsItemEnabled(sizes, IDC_SIZE_MIN_WIDTH_VALUE));
        EXPECT_TRUE(IsItemEnabled(sizes, IDC_SIZE_MIN_HEIGHT_SPIN));
        for (int id : {IDC_SIZE_MAX_SIZE_VALUE, IDC_SIZE_MAX_SIZE_SPIN, IDC_SIZE_MIN_SIZE_VALUE, IDC_SIZE_MIN_SIZE_SPIN})
            EXPECT_FALSE(IsItemEnabled(sizes, id)) << id;
        EXPECT_EQ("7", ItemText(sizes, IDC_SIZE_MIN_SIZE_VALUE));
        ClickCheck(sizes, IDC_SIZE_MIN_WIDTH, false);
        EXPECT_FALSE(IsItemEnabled(sizes, IDC_SIZE_MIN_WIDTH_VALUE));
        EXPECT_FALSE(IsItemEnabled(sizes, IDC_SIZE_MIN_WIDTH_SPIN));
        ClickCheck(sizes, IDC_SIZE_MAX_SIZE, true);
        EXPECT_TRUE(IsItemEnabled(sizes, IDC_SIZE_MAX_SIZE_SPIN));
        TypeText(sizes, IDC_SIZE_MAX_SIZE_VALUE, "1500");

        HWND save = Page(frame, IDD_TASK_SAVE);
        TypeText(save, IDC_SAVE_FOLDER, "D:\\Pictures\\Pages\\");
        ClickCheck(save, IDC_SAVE_IMAGE_FOLDERS, true);
        TypeText(Page(frame, IDD_TASK_NOTES), IDC_TASK_NOTES_TEXT, "from the weekend");
        Click(frame, IDOK);
    });
    ASSERT_EQ(IDOK, RunSiteDialog(&task, false, script));
    EXPECT_EQ(5, task.Levels);
    EXPECT_EQ(2, task.ImageLinksLocation);
    EXPECT_EQ(1, task.PageLinksLocation);
    EXPECT_EQ(1, task.ScanningType);
    EXPECT_TRUE(task.DownloadImagesOnlyFromSite);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), task.ExcludedNames);
    EXPECT_EQ((std::vector<std::string>{"/big/"}), task.ImageIncludedUrls);
    EXPECT_FALSE(task.MinimumWidth.enabled);
    EXPECT_TRUE(task.MaximumSize.enabled);
    EXPECT_EQ(1500, task.MaximumSize.value);
    EXPECT_EQ("D:\\Pictures\\Pages", task.SaveFolder);
    EXPECT_EQ(2, task.ImageSaveType);
    EXPECT_EQ("from the weekend", task.TaskNotes);

    // Shown again: the filter list with a ";" after each entry; an emptied folder becomes the
    // default folder with the task's name.
    ModalScript again;
    again.Then([&](HWND frame) {
        EXPECT_EQ("a;b;", ItemText(Page(frame, IDD_TASK_URL_FILTERS), IDC_FILTER_EXCLUDED_NAMES));
        EXPECT_EQ("5", ItemText(Page(frame, IDD_TASK_SCANNING), IDC_SCAN_LEVELS_COUNT));
        TypeText(Page(frame, IDD_TASK_SAVE), IDC_SAVE_FOLDER, "");
        Click(frame, IDOK);
    });
    ASSERT_EQ(IDOK, RunSiteDialog(&task, false, again));
    EXPECT_EQ(dir_.Path() + "Images\\Pages", task.SaveFolder);
}

TEST_F(TaskDialogFixture, RealWarningBoxAppearsForAMissingAddressAndIsAnswered) {
    // No scripted answers: the real message box appears and a watcher presses OK.
    SetUserPrompts(nullptr);
    SearchLinkTask task;
    ModalScript script;
    script.Then([&](HWND frame) {
        testsupport::PromptWatcher watcher("Warning", IDOK);
        ::SendMessageA(frame, WM_COMMAND, IDOK, 0);  // returns once the watcher answered the box
        EXPECT_TRUE(watcher.Answered());
        EXPECT_NE(std::string::npos, watcher.PromptText().find("Starting address is not present"));
        EXPECT_TRUE(::IsWindow(frame));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunSiteDialog(&task, true, script));
    SetUserPrompts(&prompts_);
}

TEST_F(TaskDialogFixture, LevelRadioButtonsClearEachOtherWhenClickedAndTheChosenOneIsSaved) {
    SearchLinkTask task;
    task.TaskName = "Levels";
    task.StartingAddresses.push_back(StartingAddress());
    task.StartingAddresses[0].Url = "http://levels.example/";
    task.Levels = -1;
    // BM_CLICK makes the button press and release itself, as a mouse click on it does.
    auto press = [](HWND page, int id) {
        ::SendMessageA(::GetDlgItem(page, id), BM_CLICK, 0, 0);
        testsupport::PumpMessages(100);
    };
    auto checks = [](HWND page) {
        std::string marks;
        for (int id : {IDC_SCAN_THIS_PAGE, IDC_SCAN_LEVELS, IDC_SCAN_ALL_LEVELS}) marks += IsChecked(page, id) ? 'x' : '-';
        return marks;
    };
    ModalScript script;
    script.Then([&](HWND frame) {
        SelectPage(frame, IDD_TASK_SCANNING);
        HWND scanning = Page(frame, IDD_TASK_SCANNING);
        EXPECT_EQ("--x", checks(scanning));
        press(scanning, IDC_SCAN_LEVELS);
        EXPECT_EQ("-x-", checks(scanning));
        press(scanning, IDC_SCAN_ALL_LEVELS);
        EXPECT_EQ("--x", checks(scanning));
        press(scanning, IDC_SCAN_THIS_PAGE);
        EXPECT_EQ("x--", checks(scanning));
        press(scanning, IDC_SCAN_ALL_LEVELS);
        EXPECT_EQ("--x", checks(scanning));
        Click(frame, IDOK);
    });
    ASSERT_EQ(IDOK, RunSiteDialog(&task, false, script));
    EXPECT_EQ(-1, task.Levels);

    ModalScript again;
    again.Then([&](HWND frame) {
        SelectPage(frame, IDD_TASK_SCANNING);
        HWND scanning = Page(frame, IDD_TASK_SCANNING);
        press(scanning, IDC_SCAN_LEVELS);
        TypeText(scanning, IDC_SCAN_LEVELS_COUNT, "4");
        EXPECT_EQ("-x-", checks(scanning));
        Click(frame, IDOK);
    });
    ASSERT_EQ(IDOK, RunSiteDialog(&task, false, again));
    EXPECT_EQ(4, task.Levels);
    SearchLinkTask stored;
    ASSERT_TRUE(stored.Load(task.TaskFileName));
    EXPECT_EQ(4, stored.Levels);
}

namespace {
// The whole text of an edit, however long.
std::string WholeText(HWND dialog, int id) {
    HWND edit = ::GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
    return text;
}
}  // namespace

TEST_F(TaskDialogFixture, LongHandOverIsTakenWholeAndTooLongAnAddressIsRefusedNotCut) {
    // A 10,000-character address and 100 KB of cookies from the browser.
    const std::string longUrl = "http://long.example/" + std::string(10000 - 20, 'a');
    std::string cookies;
    while (cookies.size() < 100 * 1024) cookies += "k" + std::to_string(cookies.size()) + "=v; ";
    taskdialogs::PutClipboardText(longUrl + "\n" + cookies);
    prompts_.messageBoxAnswers = {IDOK};
    ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_EQ(longUrl.size(), WholeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_URL).size());
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        // Refused with the limit and the field named; the text stays for the user to shorten.
        EXPECT_EQ("General : Starting address can not be longer than 1023 characters", LastBoxText());
        EXPECT_TRUE(longUrl == WholeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_URL));
        TypeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_URL, "http://long.example/short/");
        TypeText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_NAME, "Long");
        Click(frame, IDOK);
    });
    TaskOptions* task = nullptr;
    script.Run([&]() -> INT_PTR {
        task = RunNewTaskDialog(nullptr, app_.get(), tasks_, nullptr);
        return 0;
    });
    EXPECT_TRUE(script.Finished());
    ASSERT_NE(nullptr, task);
    std::unique_ptr<TaskOptions> owned(task);
    EXPECT_EQ(1u, prompts_.boxes.size());
    EXPECT_EQ("http://long.example/short/", task->StartingAddresses.at(0).Url);
    EXPECT_EQ(cookies.size(), task->Cookies.size());
    EXPECT_TRUE(cookies == task->Cookies);
    SearchLinkTask stored;
    ASSERT_TRUE(stored.Load(task->TaskFileName));
    EXPECT_TRUE(cookies == stored.Cookies);

    // Beyond the stated bound the user is told, and nothing of it is taken.
    taskdialogs::PutClipboardText("http://huge.example/\n" + std::string(kMaxClipboardText, 'c'));
    ModalScript huge;
    huge.Then([&](HWND frame) {
        EXPECT_EQ("", ItemText(Page(frame, IDD_TASK_GENERAL), IDC_TASK_URL));
        Click(frame, IDCANCEL);
    });
    huge.Run([&]() -> INT_PTR { return delete RunNewTaskDialog(nullptr, app_.get(), tasks_, nullptr), 0; });
    ASSERT_EQ(2u, prompts_.boxes.size());
    EXPECT_EQ("The page handed over is longer than 1048576 characters and was not taken", prompts_.boxes[1].text);
}
