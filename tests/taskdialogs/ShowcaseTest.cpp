// Not a check: shows every page of both task dialogs, the generator editors and the URL test so
// that scripts/dialog-shots.sh can photograph them (see tests/options/ShowcaseTest.cpp for the
// hand-over through BKF_SHOTS).
#include "tests/support/DialogShots.h"
#include "tests/taskdialogs/TaskDialogFixture.h"
#include "core/CharTemplate.h"
#include "core/ConstructLinkTask.h"
#include "core/NumberTemplate.h"
#include "core/StringTemplate.h"
#include "resources/command_ids.h"

using testsupport::Photograph;
using testsupport::ShotsFolder;

TEST_F(TaskDialogFixture, DISABLED_Showcase) {
    if (ShotsFolder().empty()) GTEST_SKIP() << "BKF_SHOTS names the hand-over folder";
    SearchLinkTask* deep = new SearchLinkTask();
    deep->Levels = 2;
    Settings().Profiles["Deep"] = deep;
    SearchLinkTask site;
    site.TaskName = "www.example.com";
    site.StartingAddresses.push_back(StartingAddress());
    site.StartingAddresses[0].Url = "http://www.example.com/gallery/";
    site.UseAllFileTypes = false;
    site.Filetypes = {".jpg", ".jpeg"};
    site.IncludedNames = {"*.jpg"};
    site.Levels = 2;
    const struct {
        UINT page;
        const char* name;
    } sitePages[] = {{IDD_TASK_GENERAL, "task-general"},       {IDD_TASK_DOWNLOAD_OPTIONS, "task-download"},
                     {IDD_TASK_SCANNING, "task-scanning"},     {IDD_TASK_FILETYPES, "task-filetypes"},
                     {IDD_TASK_FILTERS, "task-sizefilters"},   {IDD_TASK_URL_FILTERS, "task-urlfilters"},
                     {IDD_TASK_SAVE, "task-save"},             {IDD_TASK_NOTES, "task-notes"}};
    testsupport::ModalScript script;
    for (const auto& page : sitePages) {
        script.Then([&, page](HWND frame) {
            SelectPage(frame, page.page);
            if (page.page == IDD_TASK_FILETYPES) {
                HWND tree = ::GetDlgItem(Page(frame, page.page), IDC_TASK_TYPES_TREE);
                TreeView_Expand(tree, TreeView_GetRoot(tree), TVE_EXPAND);
            }
            Photograph(page.name);
        });
    }
    script.Then([](HWND frame) { testsupport::Click(frame, IDCANCEL); });
    RunSiteDialog(&site, true, script);

    ConstructLinkTask templated;
    templated.TaskName = "Gallery";
    templated.StartingAddresses.push_back(StartingAddress());
    templated.StartingAddresses[0].Url = "http://img.example.com/{1}/photo{2}.jpg";
    templated.GetTemplates().push_back(new NumberTemplate(1, 40, 1, 3));
    templated.GetTemplates().push_back(new StringTemplate({"small", "large"}));
    templated.GetTemplates().push_back(new CharTemplate('a', 'f'));
    HWND templatePage = nullptr;
    testsupport::ModalScript templateScript;
    templateScript.Then([&](HWND frame) { Photograph("task2-general"); (void)frame; })
        .Then([&](HWND frame) {
            SelectPage(frame, IDD_TASK2_BLANK);
            Photograph("task2-blank");
        })
        .Then([&](HWND frame) {
            SelectPage(frame, IDD_TASK2_URL_TEMPLATE);
            templatePage = Page(frame, IDD_TASK2_URL_TEMPLATE);
            Photograph("task2-template");
            ::PostMessageA(templatePage, WM_COMMAND, ID_TEMPLATE_NUMBERS, 0);
        })
        .Then([&](HWND d) {
            Photograph("numbers");
            testsupport::Click(d, IDCANCEL);
        })
        .Then([&](HWND) { ::PostMessageA(templatePage, WM_COMMAND, ID_TEMPLATE_CHARS, 0); })
        .Then([&](HWND d) {
            Photograph("chars");
            testsupport::Click(d, IDCANCEL);
        })
        .Then([&](HWND) {
            ListView_SetItemState(::GetDlgItem(templatePage, IDC_TEMPLATE_LIST), 1, LVIS_SELECTED, LVIS_SELECTED);
            testsupport::Click(templatePage, IDC_TEMPLATE_EDIT);
        })
        .Then([&](HWND d) {
            Photograph("strings");
            testsupport::Click(d, IDCANCEL);
        })
        .Then([&](HWND) { testsupport::Click(templatePage, IDC_TEMPLATE_TEST); })
        .Then([&](HWND d) {
            Photograph("urls");
            testsupport::Click(d, IDCANCEL);
        })
        .Then([](HWND frame) {
            Photograph("task2-template-after");
            testsupport::Click(frame, IDCANCEL);
        });
    RunTemplateDialog(&templated, true, templateScript);
}
