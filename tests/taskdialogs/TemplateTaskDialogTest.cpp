// The URL-template task dialog through its real windows: "Next >" turning into "Start Now!",
// the generator editors with their checks, the list of substitutions, the URL test and Cancel
// leaving the task's generators alone.
#include "tests/taskdialogs/TaskDialogFixture.h"
#include "core/CharTemplate.h"
#include "core/ConstructLinkTask.h"
#include "core/NumberTemplate.h"
#include "core/StringTemplate.h"
#include "dialogs/tasks/NumberTemplateDlg.h"
#include "dialogs/tasks/StringTemplateDlg.h"
#include "resources/command_ids.h"

using testsupport::Click;
using testsupport::ItemText;
using testsupport::ModalScript;
using testsupport::TypeText;

namespace {

std::string ListText(HWND list, int row, int column) {
    char text[260] = {};
    ListView_GetItemText(list, row, column, text, sizeof(text));
    return text;
}

void SelectListRow(HWND list, int row) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A click on the toolbar button of that command.
void ClickToolbarButton(HWND dialog, int command) {
    HWND toolbar = ::FindWindowExA(dialog, nullptr, TOOLBARCLASSNAMEA, nullptr);
    const int index = static_cast<int>(::SendMessageA(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0));
    RECT rect = {};
    ::SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    taskdialogs::ClickAt(toolbar, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool IsToolbarButtonEnabled(HWND dialog, int command) {
    HWND toolbar = ::FindWindowExA(dialog, nullptr, TOOLBARCLASSNAMEA, nullptr);
    return ::SendMessageA(toolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(command), 0) != 0;
}

std::vector<std::string> ListBoxEntries(HWND dialog, int id) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(::SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[1100] = {};
        ::SendDlgItemMessageA(dialog, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

}  // namespace

TEST_F(TaskDialogFixture, NewTemplateTaskBuildsItsGeneratorsThroughTheEditorsAndStartsAfterTheTemplatePageWasSeen) {
    prompts_.messageBoxAnswers = {IDOK, IDOK, IDOK, IDOK};
    ModalScript script;
    HWND templatePage = nullptr;
    script.Then([&](HWND frame) {
        EXPECT_EQ("Task Options Based On URL Template", testsupport::WindowText(frame));
        EXPECT_EQ("Next >", ItemText(frame, IDC_TASK_START_NOW));
        TypeText(Page(frame, IDD_TASK2_GENERAL), IDC_TASK_NAME, "Gallery");
        Click(frame, IDC_TASK_START_NOW);  // only moves on to the template page
    });
    script.Then([&](HWND frame) {
        templatePage = Page(frame, IDD_TASK2_URL_TEMPLATE);
        EXPECT_TRUE(::IsWindowVisible(templatePage));
        EXPECT_EQ("Start Now!", ItemText(frame, IDC_TASK_START_NOW));
        EXPECT_FALSE(testsupport::IsItemEnabled(templatePage, IDC_TEMPLATE_EDIT));
        TypeText(templatePage, IDC_TEMPLATE_URL, "http://img.example/{1}/{2}.jpg");
        ::PostMessageA(templatePage, WM_COMMAND, ID_TEMPLATE_NUMBERS, 0);  // "New..." menu: "Numbers..."
    });
    script.Then([&](HWND numbers) {
        EXPECT_EQ("Numbers", testsupport::WindowText(numbers));
        EXPECT_EQ("0", ItemText(numbers, IDC_NUMBER_MIN));
        EXPECT_EQ("20", ItemText(numbers, IDC_NUMBER_MAX));
        EXPECT_EQ("1", ItemText(numbers, IDC_NUMBER_INTERVAL));
        TypeText(numbers, IDC_NUMBER_MIN, "5");
        TypeText(numbers, IDC_NUMBER_MAX, "5");
        Click(numbers, IDOK);
    });
    script.Then([&](HWND numbers) {
        EXPECT_EQ("Minimum value can not be greater than maximum value", LastBoxText());
        EXPECT_EQ("Error", prompts_.boxes.back().caption);
        TypeText(numbers, IDC_NUMBER_MAX, "7");
        TypeText(numbers, IDC_NUMBER_INTERVAL, "0");
        Click(numbers, IDOK);
    });
    script.Then([&](HWND numbers) {
        EXPECT_EQ("Invalid interval", LastBoxText());
        TypeText(numbers, IDC_NUMBER_INTERVAL, "1");
        TypeText(numbers, IDC_NUMBER_DIGITS, "100000");  // capped, not 100,000 characters per address
        Click(numbers, IDOK);
    });
    script.Then([&](HWND) { ::PostMessageA(templatePage, WM_COMMAND, ID_TEMPLATE_CHARS, 0); });
    script.Then([&](HWND chars) {
        EXPECT_EQ("a", ItemText(chars, IDC_CHAR_MIN));
        TypeText(chars, IDC_CHAR_MIN, "A");
        TypeText(chars, IDC_CHAR_MAX, "z");
        Click(chars, IDOK);
    });
    script.Then([&](HWND chars) {
        EXPECT_EQ("Chars must be from 'A' to 'Z' or from 'a' to 'z'", LastBoxText());
        TypeText(chars, IDC_CHAR_MIN, "a");
        TypeText(chars, IDC_CHAR_MAX, "a");
        Click(chars, IDOK);
    });
    script.Then([&](HWND chars) {
        EXPECT_EQ(4u, prompts_.boxes.size());
        TypeText(chars, IDC_CHAR_MAX, "c");
        Click(chars, IDOK);
    });
    script.Then([&](HWND) { ::PostMessageA(templatePage, WM_COMMAND, ID_TEMPLATE_STRINGS, 0); });
    script.Then([&](HWND strings) {
        EXPECT_FALSE(IsToolbarButtonEnabled(strings, ID_LIST_NEW_ITEM));
        EXPECT_FALSE(IsToolbarButtonEnabled(strings, ID_LIST_DELETE_ALL));
        TypeText(strings, IDC_STRING_EDIT, "y");
        EXPECT_TRUE(IsToolbarButtonEnabled(strings, ID_LIST_NEW_ITEM));
        ClickToolbarButton(strings, ID_LIST_NEW_ITEM);
        TypeText(strings, IDC_STRING_EDIT, "x");
        ClickToolbarButton(strings, ID_LIST_NEW_ITEM);
        EXPECT_EQ((std::vector<std::string>{"y", "x"}), ListBoxEntries(strings, IDC_STRING_LIST));
        EXPECT_EQ("", ItemText(strings, IDC_STRING_EDIT));
        ::SendDlgItemMessageA(strings, IDC_STRING_LIST, LB_SETCURSEL, 1, 0);
        ::SendMessageA(strings, WM_COMMAND, MAKEWPARAM(IDC_STRING_LIST, LBN_SELCHANGE), 0);
        EXPECT_EQ("x", ItemText(strings, IDC_STRING_EDIT));
        EXPECT_FALSE(IsToolbarButtonEnabled(strings, ID_LIST_DOWN));
        ClickToolbarButton(strings, ID_LIST_UP);
        EXPECT_EQ((std::vector<std::string>{"x", "y"}), ListBoxEntries(strings, IDC_STRING_LIST));
        Click(strings, IDOK);
    });
    script.Then([&](HWND frame) {
        HWND list = ::GetDlgItem(templatePage, IDC_TEMPLATE_LIST);
        ASSERT_EQ(3, ListView_GetItemCount(list));
        EXPECT_EQ("{3}", ListText(list, 2, 0));
        EXPECT_EQ("Strings (x, y, ...)", ListText(list, 2, 1));
        // The characters move up: they fill {1} now.
        SelectListRow(list, 1);
        EXPECT_TRUE(testsupport::IsItemEnabled(templatePage, IDC_TEMPLATE_UP));
        Click(templatePage, IDC_TEMPLATE_UP);
        testsupport::PumpMessages();
        EXPECT_EQ("{1}", ListText(list, 0, 0));
        EXPECT_EQ("Chars (a - c)", ListText(list, 0, 1));
        EXPECT_EQ("Numbers (5 - 7)", ListText(list, 1, 1));
        // Removing the first renumbers the others {1} and {2}.
        SelectListRow(list, 0);
        Click(templatePage, IDC_TEMPLATE_REMOVE);
        testsupport::PumpMessages();
        ASSERT_EQ(2, ListView_GetItemCount(list));
        EXPECT_EQ("{1}", ListText(list, 0, 0));
        EXPECT_EQ("Numbers (5 - 7)", ListText(list, 0, 1));
        EXPECT_EQ("{2}", ListText(list, 1, 0));
        (void)frame;
        Click(templatePage, IDC_TEMPLATE_TEST);
    });
    script.Then([&](HWND urls) {
        EXPECT_EQ("10", ItemText(urls, IDC_TEST_COUNT));
        const std::vector<std::string> listed = ListBoxEntries(urls, IDC_TEST_LIST);
        ASSERT_EQ(6u, listed.size());  // three numbers times two strings
        EXPECT_EQ("http://img.example/00000000000000000005/x.jpg", listed[0]);
        EXPECT_EQ("http://img.example/00000000000000000006/x.jpg", listed[1]);
        EXPECT_EQ("http://img.example/00000000000000000005/y.jpg", listed[3]);
        TypeText(urls, IDC_TEST_COUNT, "5000");
        Click(urls, IDC_TEST_REFRESH);
    });
    script.Then([&](HWND urls) {
        EXPECT_EQ("1000", ItemText(urls, IDC_TEST_COUNT));
        TypeText(urls, IDC_TEST_COUNT, "2");
        Click(urls, IDC_TEST_REFRESH);
    });
    script.Then([&](HWND urls) {
        EXPECT_EQ(2u, ListBoxEntries(urls, IDC_TEST_LIST).size());
        Click(urls, IDOK);
    });
    script.Then([&](HWND frame) { Click(frame, IDC_TASK_START_NOW); });

    bool startNow = false;
    TaskOptions* made = nullptr;
    script.Run([&]() -> INT_PTR {
        made = RunNewTemplateTaskDialog(nullptr, app_.get(), tasks_, &startNow);
        return 0;
    }, 60000);
    EXPECT_TRUE(script.Finished());
    ASSERT_NE(nullptr, made);
    std::unique_ptr<TaskOptions> owned(made);
    EXPECT_TRUE(startNow);
    ConstructLinkTask* task = static_cast<ConstructLinkTask*>(made);
    EXPECT_EQ("Gallery", task->TaskName);
    EXPECT_EQ("http://img.example/{1}/{2}.jpg", task->StartingAddresses.at(0).Url);
    ASSERT_EQ(2u, task->GetTemplates().size());
    const NumberTemplate* numbers = static_cast<const NumberTemplate*>(task->GetTemplates()[0]);
    EXPECT_EQ(5, numbers->from);
    EXPECT_EQ(7, numbers->to);
    EXPECT_EQ(NumberTemplateDlg::kMaxDigits, numbers->width);
    EXPECT_EQ("Gallery.task2", task->TaskFileName);
    ConstructLinkTask stored;
    ASSERT_TRUE(stored.Load("Gallery.task2"));
    EXPECT_EQ(2u, stored.GetTemplates().size());
}

TEST_F(TaskDialogFixture, TemplateOptionsCancelLeavesTheGeneratorsAndTheNameChecksRefuseWhatTheyShould) {
    ConstructLinkTask task;
    task.TaskName = "Numbers";
    task.StartingAddresses.push_back(StartingAddress());
    task.StartingAddresses[0].Url = "http://n.example/{1}.png";
    task.GetTemplates().push_back(new NumberTemplate(1, 3, 1, 2));
    task.GetTemplates().push_back(new CharTemplate('a', 'b'));
    ConstructLinkTask other;
    other.TaskName = "Taken";
    tasks_ = {&task, &other};
    ModalScript script;
    script.Then([&](HWND frame) {
        // Without "Start Now!" the third button stays hidden.
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(frame, IDC_TASK_START_NOW)));
        HWND page = Page(frame, IDD_TASK2_URL_TEMPLATE);
        EXPECT_EQ("http://n.example/{1}.png", ItemText(page, IDC_TEMPLATE_URL));
        HWND list = ::GetDlgItem(page, IDC_TEMPLATE_LIST);
        SelectListRow(list, 0);
        Click(page, IDC_TEMPLATE_REMOVE);
        testsupport::PumpMessages();
        EXPECT_EQ(1, ListView_GetItemCount(list));
        HWND general = Page(frame, IDD_TASK2_GENERAL);
        testsupport::ClickCheck(general, IDC_TASK_WEB_AUTH, true);
        EXPECT_TRUE(testsupport::IsItemEnabled(general, IDC_TASK2_WEB_AUTH_URL));
        TypeText(general, IDC_TASK2_WEB_AUTH_URL, "http://");
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("General : Web authorization address is not present", LastBoxText());
        HWND general = Page(frame, IDD_TASK2_GENERAL);
        TypeText(general, IDC_TASK2_WEB_AUTH_URL, "n.example/login");
        TypeText(general, IDC_TASK_NAME, "Taken");
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("General : Task name always present", LastBoxText());
        TypeText(Page(frame, IDD_TASK2_GENERAL), IDC_TASK_NAME, "");
        SelectPage(frame, IDD_TASK_NOTES);  // an empty name is filled again from the loaded one
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("Numbers", ItemText(Page(frame, IDD_TASK2_GENERAL), IDC_TASK_NAME));
        // A pasted template longer than the task file keeps is refused, not cut.
        const std::string longTemplate = "http://n.example/" + std::string(1100, 'x') + "{1}";
        ::SetDlgItemTextA(Page(frame, IDD_TASK2_URL_TEMPLATE), IDC_TEMPLATE_URL, longTemplate.c_str());
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("URL Template : URL template can not be longer than 1022 characters", LastBoxText());
        EXPECT_TRUE(::IsWindow(frame));
        EXPECT_EQ(1120, ::GetWindowTextLengthA(::GetDlgItem(Page(frame, IDD_TASK2_URL_TEMPLATE), IDC_TEMPLATE_URL)));
        Click(frame, IDC_OPTIONS_HELP);
    });
    script.Then([&](HWND frame) {
        // Help opens the topic of the page showing.
        ASSERT_EQ(1u, prompts_.helpRequests.size());
        EXPECT_NE(std::string::npos, prompts_.helpRequests[0].find("Brackenfly.chm::/TemplatedURLTaskTasknotes.htm>mainwin"));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunTemplateDialog(&task, false, script));
    ASSERT_EQ(2u, task.GetTemplates().size());
    EXPECT_STREQ("NumberTemplate", task.GetTemplates()[0]->GetTypeName());
    EXPECT_FALSE(task.CollectCookies);
}

namespace {

// Runs the string editor over the generator with one scripted step; its result.
INT_PTR RunStringEditor(StringTemplate& generator, const ModalScript::Step& step) {
    StringTemplateDlg dialog(generator);
    ModalScript script;
    script.Then(step);
    return script.Run([&] { return dialog.DoModal(nullptr); });
}

// A user's click on an entry of the list.
void SelectEntry(HWND strings, int index) {
    ::SendDlgItemMessageA(strings, IDC_STRING_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(strings, WM_COMMAND, MAKEWPARAM(IDC_STRING_LIST, LBN_SELCHANGE), 0);
}

}  // namespace

TEST_F(TaskDialogFixture, StringEditorKeepsAWordTypedBeforeEnterOrOkAndTheGeneratorsPosition) {
    // A new generator: one word typed, then Enter in the edit.
    StringTemplate fresh;
    EXPECT_EQ(IDOK, RunStringEditor(fresh, [&](HWND strings) {
        // The toolbar: two buttons, a separator, two, a separator, two.
        HWND toolbar = ::FindWindowExA(strings, nullptr, TOOLBARCLASSNAMEA, nullptr);
        std::string layout;
        const int count = static_cast<int>(::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            ::SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            layout += (button.fsStyle & BTNS_SEP) ? '|' : 'b';
        }
        EXPECT_EQ("bb|bb|bb", layout);
        TypeText(strings, IDC_STRING_EDIT, "sun");
        HWND edit = ::GetDlgItem(strings, IDC_STRING_EDIT);
        ::SetFocus(edit);
        ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        ::PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    }));
    EXPECT_EQ((std::vector<std::string>{"sun"}), fresh.strings);

    // An edited generator that had moved on to "c": a word added through the toolbar, another
    // typed and confirmed with OK, an entry moved; it goes on from "c".
    StringTemplate used(std::vector<std::string>{"a", "b", "c"});
    used.index = 2;
    EXPECT_EQ(IDOK, RunStringEditor(used, [&](HWND strings) {
        SelectEntry(strings, 2);
        ClickToolbarButton(strings, ID_LIST_UP);
        TypeText(strings, IDC_STRING_EDIT, "d");
        ClickToolbarButton(strings, ID_LIST_NEW_ITEM);
        TypeText(strings, IDC_STRING_EDIT, "e");
        Click(strings, IDOK);
    }));
    EXPECT_EQ((std::vector<std::string>{"a", "c", "b", "d", "e"}), used.strings);
    EXPECT_EQ("c", used.GetValueText());

    // Selecting an entry shows its text in the edit; OK then adds nothing.
    EXPECT_EQ(IDOK, RunStringEditor(used, [&](HWND strings) {
        SelectEntry(strings, 0);
        Click(strings, IDOK);
    }));
    EXPECT_EQ(5u, used.strings.size());
    EXPECT_EQ("c", used.GetValueText());
}
