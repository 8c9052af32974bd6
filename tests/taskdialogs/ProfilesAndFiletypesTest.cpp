// The pages that edit program-wide lists from inside a task dialog: the download profiles
// (preselected, applied, saved, removed) and the file-type tree with its three-state check
// boxes, whose group changes outlive a Cancel.
#include "tests/taskdialogs/TaskDialogFixture.h"
#include "core/SearchLinkTask.h"
#include "dialogs/tasks/TaskOptionsFiletypesDlg.h"
#include "resources/options_ids.h"

using testsupport::Click;
using testsupport::ItemText;
using testsupport::ModalScript;
using testsupport::TypeText;
using taskdialogs::IsChecked;

namespace {

std::string ComboSelection(HWND page, int id) {
    HWND combo = ::GetDlgItem(page, id);
    const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return "<none>";
    char text[1100] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

void ChooseComboEntry(HWND page, int id, const std::string& text) {
    HWND combo = ::GetDlgItem(page, id);
    const LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::string& text) {
    CTreeViewCtrl view(tree);
    for (HTREEITEM item = parent ? view.GetChildItem(parent) : view.GetRootItem(); item; item = view.GetNextSiblingItem(item))
        if (view.GetItemText(item) == text) return item;
    return nullptr;
}

int StateOf(HWND tree, HTREEITEM item) { return static_cast<int>(TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) >> 12); }

// A click on the check box left of the item's text.
void ClickCheckBox(HWND tree, HTREEITEM item) {
    RECT text = {};
    TreeView_GetItemRect(tree, item, &text, TRUE);
    taskdialogs::ClickAt(tree, POINT{text.left - 8, (text.top + text.bottom) / 2});
}

}  // namespace

TEST_F(TaskDialogFixture, ProfilesArePreselectedAppliedSavedAndRemovedWithoutTouchingTheUrlFilters) {
    SearchLinkTask* deep = new SearchLinkTask();
    deep->Levels = 2;
    ASSERT_TRUE(deep->SaveProfile("Deep"));
    Settings().Profiles["Deep"] = deep;
    SearchLinkTask* wide = new SearchLinkTask();
    wide->ImageLinksLocation = 2;
    wide->MinimumWidth = {false, 50};
    Settings().Profiles["Wide"] = wide;

    SearchLinkTask task;
    task.TaskName = "Profiled";
    task.StartingAddresses.push_back(StartingAddress());
    task.StartingAddresses[0].Url = "http://p.example/";
    task.Levels = 2;
    task.IncludedUrls = {"only"};  // URL filters play no part in a profile
    prompts_.messageBoxAnswers = {IDYES};
    ModalScript script;
    script.Then([&](HWND frame) { SelectPage(frame, IDD_TASK_DOWNLOAD_OPTIONS); });
    script.Then([&](HWND frame) {
        HWND profiles = Page(frame, IDD_TASK_DOWNLOAD_OPTIONS);
        EXPECT_EQ("Deep", ComboSelection(profiles, IDC_PROFILE_LIST));
        ChooseComboEntry(profiles, IDC_PROFILE_LIST, "Wide");
        HWND scanning = Page(frame, IDD_TASK_SCANNING);
        EXPECT_TRUE(IsChecked(scanning, IDC_SCAN_ALL_LEVELS));
        EXPECT_TRUE(IsChecked(scanning, IDC_SCAN_IMAGES_EVERYWHERE));
        EXPECT_FALSE(IsChecked(Page(frame, IDD_TASK_FILTERS), IDC_SIZE_MIN_WIDTH));
        EXPECT_EQ("only;", ItemText(Page(frame, IDD_TASK_URL_FILTERS), IDC_FILTER_INCLUDED_URLS));
        // A new profile from what the pages hold now.
        testsupport::ClickCheck(scanning, IDC_SCAN_THIS_PAGE, true);
        Click(profiles, IDC_PROFILE_SAVE_AS);
    });
    script.Then([&](HWND nameDialog) {
        EXPECT_EQ("Save As", testsupport::WindowText(nameDialog));
        ::SetDlgItemTextA(nameDialog, IDC_NAME_COMBO, "Flat");
        Click(nameDialog, IDOK);
    });
    script.Then([&](HWND frame) {
        HWND profiles = Page(frame, IDD_TASK_DOWNLOAD_OPTIONS);
        EXPECT_EQ("Flat", ComboSelection(profiles, IDC_PROFILE_LIST));
        ASSERT_EQ(1u, Settings().Profiles.count("Flat"));
        EXPECT_EQ(0, Settings().Profiles["Flat"]->Levels);
        EXPECT_TRUE(testsupport::FileExists(dir_.Path() + "Profiles\\Flat.profile"));
        // Remove the first saved one.
        ChooseComboEntry(profiles, IDC_PROFILE_LIST, "Deep");
        Click(profiles, IDC_PROFILE_REMOVE);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("Are you sure you want to delete 'Deep' profile?", LastBoxText());
        EXPECT_EQ("", ComboSelection(Page(frame, IDD_TASK_DOWNLOAD_OPTIONS), IDC_PROFILE_LIST));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunSiteDialog(&task, false, script));
    // Profiles live in the settings: the Cancel keeps both changes; the task is untouched.
    EXPECT_EQ(0u, Settings().Profiles.count("Deep"));
    EXPECT_FALSE(testsupport::FileExists(dir_.Path() + "Profiles\\Deep.profile"));
    EXPECT_EQ(1u, Settings().Profiles.count("Flat"));
    EXPECT_EQ(2, task.Levels);
}

TEST_F(TaskDialogFixture, FiletypeTreeShowsThreeStatesAndGroupChangesOutliveCancel) {
    SearchLinkTask task;
    task.TaskName = "Types";
    task.StartingAddresses.push_back(StartingAddress());
    task.StartingAddresses[0].Url = "http://t.example/";
    task.UseAllFileTypes = false;
    task.Filetypes = {".gif", ".jpg", ".jpe", ".jpeg", ".webp"};  // no group lists .webp
    prompts_.messageBoxAnswers = {IDOK, IDYES};
    ModalScript script;
    script.Then([&](HWND frame) { SelectPage(frame, IDD_TASK_FILETYPES); });
    script.Then([&](HWND frame) {
        HWND page = Page(frame, IDD_TASK_FILETYPES);
        HWND tree = ::GetDlgItem(page, IDC_TASK_TYPES_TREE);
        EXPECT_FALSE(IsChecked(page, IDC_TASK_ALL_TYPES));
        HTREEITEM pictures = FindChild(tree, nullptr, "Internet Pictures");
        HTREEITEM graphics = FindChild(tree, nullptr, "Graphics");
        ASSERT_TRUE(pictures && graphics);
        TreeView_Expand(tree, pictures, TVE_EXPAND);
        HTREEITEM png = FindChild(tree, pictures, ".png");
        EXPECT_EQ(TaskOptionsFiletypesDlg::kPartlyChecked, StateOf(tree, pictures));
        EXPECT_EQ(TaskOptionsFiletypesDlg::kUnchecked, StateOf(tree, graphics));
        ClickCheckBox(tree, png);
        EXPECT_EQ(TaskOptionsFiletypesDlg::kChecked, StateOf(tree, png));
        EXPECT_EQ(TaskOptionsFiletypesDlg::kChecked, StateOf(tree, pictures));
        ClickCheckBox(tree, png);
        EXPECT_EQ(TaskOptionsFiletypesDlg::kPartlyChecked, StateOf(tree, pictures));
        // A partly checked group is cleared with all its extensions.
        ClickCheckBox(tree, pictures);
        EXPECT_EQ(TaskOptionsFiletypesDlg::kUnchecked, StateOf(tree, pictures));
        EXPECT_EQ(TaskOptionsFiletypesDlg::kUnchecked, StateOf(tree, FindChild(tree, pictures, ".jpg")));
        Click(frame, IDOK);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("Filetypes : No file extention is selected", LastBoxText());
        HWND page = Page(frame, IDD_TASK_FILETYPES);
        testsupport::ClickCheck(page, IDC_TASK_ALL_TYPES, true);
        EXPECT_FALSE(testsupport::IsItemEnabled(page, IDC_TASK_TYPES_TREE));
        EXPECT_FALSE(testsupport::IsItemEnabled(page, IDC_TASK_TYPES_DELETE));
        testsupport::ClickCheck(page, IDC_TASK_ALL_TYPES, false);
        HWND tree = ::GetDlgItem(page, IDC_TASK_TYPES_TREE);
        TreeView_SelectItem(tree, FindChild(tree, nullptr, "Graphics"));
        Click(page, IDC_TASK_TYPES_DELETE);
    });
    script.Then([&](HWND frame) {
        EXPECT_EQ("Are you sure you want to delete 'Graphics'?", LastBoxText());
        HWND tree = ::GetDlgItem(Page(frame, IDD_TASK_FILETYPES), IDC_TASK_TYPES_TREE);
        EXPECT_EQ(nullptr, FindChild(tree, nullptr, "Graphics"));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunSiteDialog(&task, false, script));
    ASSERT_EQ(1u, Settings().Filetypes.size());
    EXPECT_EQ("Internet Pictures", Settings().Filetypes[0][0]);
    // The unknown extension was dropped when the page loaded.
    EXPECT_EQ((std::vector<std::string>{".gif", ".jpg", ".jpe", ".jpeg"}), task.Filetypes);
}
