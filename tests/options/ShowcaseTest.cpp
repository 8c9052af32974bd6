// Not a check: shows every dialog and page of the options in turn so that
// scripts/dialog-shots.sh can photograph them in a virtual desktop. Runs only when asked for
// (--gtest_also_run_disabled_tests) with BKF_SHOTS naming the hand-over folder: for each view the
// test writes <name>.ready there and waits for the script's <name>.done.
#include "tests/support/Showcase.h"
#include "dialogs/common/FiletypeDlg.h"
#include "dialogs/common/MyNameDlg.h"
#include "dialogs/welcome/WelcomeDlg.h"
#include "resources/options_ids.h"
#include "tests/options/OptionsFixture.h"

using testsupport::Photograph;
using testsupport::ShotsFolder;

TEST_F(OptionsFixture, DISABLED_Showcase) {
    if (ShotsFolder().empty()) GTEST_SKIP() << "BKF_SHOTS names the hand-over folder";
    Settings().LogFileMaxSize = 4 * 1048576;
    const struct {
        UINT page;
        const char* name;
    } pages[] = {{IDD_OPTIONS_GENERAL, "options-general"},     {IDD_OPTIONS_PROXY, "options-proxy"},
                 {IDD_OPTIONS_DOWNLOADING, "options-downloading"}, {IDD_OPTIONS_FILETYPES, "options-filetypes"},
                 {IDD_OPTIONS_SLIDESHOW, "options-slideshow"}};
    testsupport::ModalScript script;
    for (const auto& page : pages) {
        script.Then([&, page](HWND) {
            SelectPage(page.page);
            if (page.page == IDD_OPTIONS_FILETYPES) {
                CTreeViewCtrl tree(::GetDlgItem(Page(page.page), IDC_FILETYPES_TREE));
                tree.Expand(tree.GetRootItem());
            }
            Photograph(page.name);
        });
    }
    script.Then([](HWND frame) { testsupport::Click(frame, IDCANCEL); });
    RunOptions(script);

    CFiletypeDlg fileType("Edit File Type");
    fileType.name = "Internet Pictures";
    fileType.extensions = {".gif", ".jpg", ".jpe", ".jpeg", ".png"};
    testsupport::ModalScript fileTypeScript;
    fileTypeScript.Then([](HWND) { Photograph("filetype"); }).Then([](HWND d) { testsupport::Click(d, IDCANCEL); });
    fileTypeScript.Run([&] { return fileType.DoModal(nullptr); });

    CMyNameDlg name("Save profile as");
    name.name = "Fast";
    name.proposals = {"Deep", "Anywhere"};
    testsupport::ModalScript nameScript;
    nameScript.Then([](HWND) { Photograph("name"); }).Then([](HWND d) { testsupport::Click(d, IDCANCEL); });
    nameScript.Run([&] { return name.DoModal(nullptr); });

    WelcomeDlg welcome(app_.get());
    testsupport::ModalScript welcomeScript;
    welcomeScript.Then([](HWND) { Photograph("welcome"); }).Then([](HWND d) { testsupport::Click(d, IDCANCEL); });
    welcomeScript.Run([&] { return welcome.DoModal(nullptr); });
}
