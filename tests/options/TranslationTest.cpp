// The options and the tip of the day in another language: every dialog and page translated under
// its own id, page titles and messages from the language file's string table.
#include "core/InternationalSupport.h"
#include "dialogs/welcome/WelcomeDlg.h"
#include "resources/options_ids.h"
#include "tests/options/OptionsFixture.h"

namespace {

using testsupport::WindowText;

// The language file in force for one test; the program's own texts again afterwards.
class LanguageFile {
public:
    LanguageFile(const testsupport::ScratchDir& dir, const std::string& text) {
        testsupport::WriteFileText(dir.File("Deutsch.lng"), text);
        loaded = g_InternationalSupport.Load(dir.File("Deutsch.lng").c_str()) != FALSE;
    }
    ~LanguageFile() { g_InternationalSupport.Load("Z:\\no\\such\\language.lng"); }
    bool loaded = false;
};

}  // namespace

TEST_F(OptionsFixture, DialogsPagesAndMessagesComeFromTheLanguageFile) {
    LanguageFile language(dir_, "DIALOG 222 { CAPTION \"Einstellungen\" \"Cancel\" \"Abbrechen\" }\r\n"
                                "DIALOG 223 { \"Use proxy:\" \"Proxy verwenden:\" }\r\n"
                                "DIALOG 344 { CAPTION \"Willkommen\" \"Next tip\" \"Weiter\" }\r\n"
                                "STRINGTABLE { 162 \"Vermittler\" 157 \"Laden : Zu wenige Verbindungen\" "
                                "323 \"Willkommen bei Brackenfly %d.%d\" 324 \"Erster Tipp\" }\r\n");
    ASSERT_TRUE(language.loaded);
    testsupport::ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_EQ("Einstellungen", WindowText(frame));
        EXPECT_EQ("Abbrechen", WindowText(::GetDlgItem(frame, IDCANCEL)));
        EXPECT_EQ("Proxy verwenden:", WindowText(::GetDlgItem(Page(IDD_OPTIONS_PROXY), IDC_PROXY_OWN)));
        CTreeViewCtrl tree = dialog_->GetTree();
        EXPECT_EQ("Vermittler", tree.GetItemText(tree.GetNextSiblingItem(tree.GetRootItem())));
        testsupport::TypeText(Page(IDD_OPTIONS_DOWNLOADING), IDC_DOWNLOAD_THREADS, "0");
        testsupport::Click(frame, IDOK);
    }).Then([&](HWND frame) { testsupport::Click(frame, IDCANCEL); });
    RunOptions(script);
    ASSERT_EQ(1u, prompts_.boxes.size());
    EXPECT_EQ("Laden : Zu wenige Verbindungen", prompts_.boxes[0].text);

    WelcomeDlg welcome(app_.get());
    testsupport::ModalScript welcomeScript;
    welcomeScript.Then([&](HWND window) {
        EXPECT_EQ("Willkommen", WindowText(window));
        EXPECT_EQ("Weiter", WindowText(::GetDlgItem(window, IDC_WELCOME_NEXT_TIP)));
        EXPECT_EQ("Willkommen bei Brackenfly 2.0", WindowText(::GetDlgItem(window, IDC_WELCOME_TITLE)));
        EXPECT_EQ("Erster Tipp", WindowText(::GetDlgItem(window, IDC_WELCOME_TIP)));
        testsupport::Click(window, IDOK);
    });
    welcomeScript.Run([&] { return welcome.DoModal(nullptr); });
    EXPECT_TRUE(welcomeScript.Finished());
}
