// The tip of the day through its real window: the ring of tips and its position in the settings,
// the "Do not prompt" choice saved at once, and its buttons.
#include <gtest/gtest.h>
#include <memory>
#include "core/AppDirectory.h"
#include "core/Application.h"
#include "core/InternationalSupport.h"
#include "core/ProgramSettings.h"
#include "dialogs/welcome/TipRing.h"
#include "dialogs/welcome/WelcomeDlg.h"
#include "resources/options_ids.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

using testsupport::Click;
using testsupport::ClickCheck;
using testsupport::ItemText;
using testsupport::ModalScript;

namespace {

std::string Text(unsigned id) {
    char text[1024] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return text;
}

class WelcomeTest : public ::testing::Test {
protected:
    WelcomeTest() : app_(new Application(new ProgramSettings(nullptr, dir_.Path()))) {}
    ProgramSettings& Settings() { return *app_->GetSettings(); }
    bool ConfigWritten() const { return testsupport::FileExists(dir_.File("Brackenfly.config")); }
    INT_PTR RunWelcome(ModalScript& script) {
        WelcomeDlg dialog(app_.get());
        const INT_PTR result = script.Run([&] { return dialog.DoModal(nullptr); });
        EXPECT_TRUE(script.Finished());
        return result;
    }

    testsupport::ScratchDir dir_;
    std::unique_ptr<Application> app_;
    testsupport::ScriptedPrompts prompts_;
};

TEST_F(WelcomeTest, TipsFollowTheRingAndWrapAfterTheEighth) {
    Settings().CurrentTip = 7;
    ModalScript script;
    script.Then([&](HWND window) {
        EXPECT_EQ("Welcome - Tip of the day", testsupport::WindowText(window));
        EXPECT_EQ("Welcome to Brackenfly 2.0", ItemText(window, IDC_WELCOME_TITLE));
        EXPECT_EQ(Text(IDS_TIP_8), ItemText(window, IDC_WELCOME_TIP));
        EXPECT_EQ(0, Settings().CurrentTip);
        EXPECT_FALSE(::IsDlgButtonChecked(window, IDC_WELCOME_DO_NOT_PROMPT));
        Click(window, IDC_WELCOME_NEXT_TIP);
    }).Then([&](HWND window) {
        EXPECT_EQ(Text(IDS_TIP_1), ItemText(window, IDC_WELCOME_TIP));
        EXPECT_EQ(1, Settings().CurrentTip);
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, RunWelcome(script));
    EXPECT_FALSE(ConfigWritten());  // nothing but the position changed: saved with the settings later
    EXPECT_EQ(1, Settings().CurrentTip);
}

TEST_F(WelcomeTest, ATitleFromTheLanguageFileIsShownAsTextWithOnlyItsNumbersFilledIn) {
    // A printf would read the version as a text's address for "%s" and write through it for "%n".
    ASSERT_TRUE(testsupport::WriteFileText(dir_.File("Test.lng"),
                                           "STRINGTABLE { 323 \"%s %n Willkommen %d.%d %x %d 100%%\" }\r\n"));
    ASSERT_TRUE(g_InternationalSupport.Load(dir_.File("Test.lng").c_str()));
    ModalScript script;
    script.Then([&](HWND window) {
        EXPECT_EQ("%s %n Willkommen 2.0 %x %d 100%", ItemText(window, IDC_WELCOME_TITLE));
        Click(window, IDOK);
    });
    RunWelcome(script);
    g_InternationalSupport.Load("Z:\\no\\such\\language.lng");  // the program's own texts again
}

TEST_F(WelcomeTest, StoredPositionOutsideTheRingShowsTheFirstTipAndComesBackIntoRange) {
    for (int32_t stored : {8, 12, -3, 2147483647}) {
        SCOPED_TRACE(stored);
        Settings().CurrentTip = stored;
        ModalScript script;
        script.Then([&](HWND window) {
            EXPECT_EQ(Text(IDS_TIP_1), ItemText(window, IDC_WELCOME_TIP));
            Click(window, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, RunWelcome(script));
        EXPECT_EQ(1, Settings().CurrentTip);
    }
    const unsigned ring[] = {324, 325, 326, 336, 337, 338, 339, 340};
    for (int32_t i = 0; i < kTipCount; ++i) EXPECT_EQ(ring[i], TipStringId(i));
}

TEST_F(WelcomeTest, DoNotPromptIsSavedAtOnceWhenItChanges) {
    ModalScript script;
    script.Then([&](HWND window) {
        ClickCheck(window, IDC_WELCOME_DO_NOT_PROMPT, true);
        Click(window, IDCANCEL);  // Escape counts as Close
    });
    EXPECT_EQ(IDCANCEL, RunWelcome(script));
    EXPECT_FALSE(Settings().ShowTip);
    ASSERT_TRUE(ConfigWritten());
    {
        ProgramSettings stored(nullptr, dir_.Path());
        EXPECT_FALSE(stored.ShowTip);
        EXPECT_EQ(1, stored.CurrentTip);
    }

    // Opened from the menu with ShowTip off: the box shows checked; unchecking turns it on again.
    ::DeleteFileA(dir_.File("Brackenfly.config").c_str());
    ModalScript menu;
    menu.Then([&](HWND window) {
        EXPECT_TRUE(::IsDlgButtonChecked(window, IDC_WELCOME_DO_NOT_PROMPT));
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, RunWelcome(menu));
    EXPECT_FALSE(ConfigWritten());
    ModalScript again;
    again.Then([&](HWND window) {
        ClickCheck(window, IDC_WELCOME_DO_NOT_PROMPT, false);
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, RunWelcome(again));
    EXPECT_TRUE(Settings().ShowTip);
    EXPECT_TRUE(ProgramSettings(nullptr, dir_.Path()).ShowTip);
}

TEST_F(WelcomeTest, IntroductionOpensItsTopicAndTheWebSiteFallsBackToTheBrowser) {
    testsupport::ScriptedPrompts& prompts = prompts_;
    prompts.shellAnswer = [](const testsupport::ScriptedPrompts::Shell&) { return false; };
    ModalScript script;
    script.Then([&](HWND window) {
        Click(window, IDC_WELCOME_INTRODUCTION);
        Click(window, IDC_WELCOME_WEB_SITE);
    }).Then([&](HWND window) { Click(window, IDOK); });
    RunWelcome(script);
    ASSERT_EQ(1u, prompts.helpRequests.size());
    EXPECT_EQ(GetAppDirectory() + "Brackenfly.chm::/WhatisBrackenfly.htm>mainwin", prompts.helpRequests[0]);
    EXPECT_TRUE(prompts.boxes.empty());
    ASSERT_EQ(2u, prompts.shellCalls.size());
    EXPECT_EQ("open", prompts.shellCalls[0].verb);
    EXPECT_EQ(WelcomeDlg::kWebSite, prompts.shellCalls[0].file);
    EXPECT_EQ("iexplore.exe", prompts.shellCalls[1].file);
    EXPECT_EQ(WelcomeDlg::kWebSite, prompts.shellCalls[1].parameters);

    // Without the help file, "Introduction..." says which file it did not find.
    prompts.helpOpens = false;
    ModalScript missing;
    missing.Then([&](HWND window) { Click(window, IDC_WELCOME_INTRODUCTION); }).Then([&](HWND window) { Click(window, IDOK); });
    RunWelcome(missing);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_EQ("The help file \"" + GetAppDirectory() + "Brackenfly.chm\" was not found.", prompts.boxes[0].text);
}

TEST_F(WelcomeTest, PaintsTheTitleOnWhiteAndTheRestOnItsOwnColour) {
    ModalScript script;
    script.Then([&](HWND window) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        HDC screen = ::GetDC(window);
        RECT did = {};
        ::GetWindowRect(::GetDlgItem(window, IDC_WELCOME_DID_YOU_KNOW), &did);
        RECT check = {};
        ::GetWindowRect(::GetDlgItem(window, IDC_WELCOME_DO_NOT_PROMPT), &check);
        POINT gap = {check.right - 2, check.bottom + 2};  // dialog background below the check box
        ::ScreenToClient(window, &gap);
        EXPECT_EQ(static_cast<COLORREF>(0xCCFFFF), ::GetPixel(screen, gap.x, gap.y));
        HDC control = ::GetDC(::GetDlgItem(window, IDC_WELCOME_TITLE));
        RECT title = {};
        ::GetClientRect(::GetDlgItem(window, IDC_WELCOME_TITLE), &title);
        EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(control, title.right - 2, title.bottom - 2));
        ::ReleaseDC(::GetDlgItem(window, IDC_WELCOME_TITLE), control);
        ::ReleaseDC(window, screen);
        Click(window, IDOK);
    });
    RunWelcome(script);
}

}  // namespace
