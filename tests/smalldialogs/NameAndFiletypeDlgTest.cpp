// The file-type and name dialogs through their real windows: what they show, the typed list
// split into extensions, and the warnings that keep them open.
#include <gtest/gtest.h>
#include "dialogs/common/FiletypeDlg.h"
#include "dialogs/common/MyNameDlg.h"
#include "dialogs/common/SemicolonList.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"

using testsupport::Click;
using testsupport::ItemText;
using testsupport::ModalScript;
using testsupport::TypeText;
using testsupport::WindowText;

namespace {

std::vector<std::string> Warnings(const testsupport::ScriptedPrompts& prompts) {
    std::vector<std::string> texts;
    for (const auto& box : prompts.boxes) {
        EXPECT_EQ("Warning", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), box.type);
        texts.push_back(box.text);
    }
    return texts;
}

TEST(FiletypeDlg, ShowsTheGroupAndSplitsTheTypedList) {
    testsupport::ScriptedPrompts prompts;
    CFiletypeDlg dialog("Edit File Type");
    dialog.name = "Web";
    dialog.extensions = {".gif", ".jpg"};
    dialog.namesInUse = {"Graphics", "raw"};
    ModalScript script;
    script.Then([&](HWND window) {
        EXPECT_EQ("Edit File Type", WindowText(window));
        EXPECT_EQ("Web", ItemText(window, IDC_FILETYPE_NAME));
        EXPECT_EQ(".gif;.jpg;", ItemText(window, IDC_FILETYPE_EXTENSIONS));
        TypeText(window, IDC_FILETYPE_NAME, "");
        Click(window, IDOK);
    }).Then([&](HWND window) {
        TypeText(window, IDC_FILETYPE_NAME, "Graphics");
        Click(window, IDOK);
    }).Then([&](HWND window) {
        TypeText(window, IDC_FILETYPE_NAME, "Raw");  // differs from "raw" only in case: accepted
        TypeText(window, IDC_FILETYPE_EXTENSIONS, ";");
        Click(window, IDOK);
    }).Then([&](HWND window) {
        EXPECT_EQ("Web", dialog.name);  // nothing taken before OK passes
        TypeText(window, IDC_FILETYPE_EXTENSIONS, "jpg;;.png; my ext");
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<std::string>{"Invalid file type", "File type already present", "Invalid file extention"}),
              Warnings(prompts));
    EXPECT_EQ("Raw", dialog.name);
    EXPECT_EQ((std::vector<std::string>{".jpg", ".png", ". my ext"}), dialog.extensions);
}

TEST(FiletypeDlg, CancelChangesNothing) {
    testsupport::ScriptedPrompts prompts;
    CFiletypeDlg dialog("New File Type");
    ModalScript script;
    script.Then([&](HWND window) {
        EXPECT_EQ("", ItemText(window, IDC_FILETYPE_EXTENSIONS));
        TypeText(window, IDC_FILETYPE_NAME, "Scans");
        TypeText(window, IDC_FILETYPE_EXTENSIONS, "gif");
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_EQ("", dialog.name);
    EXPECT_TRUE(dialog.extensions.empty());
}

TEST(SemicolonList, PiecesAndExtensions) {
    EXPECT_EQ((std::vector<std::string>{".gif"}), ParseExtensionList("gif"));
    EXPECT_EQ((std::vector<std::string>{".jpg", ".png"}), ParseExtensionList("jpg;;.png;"));
    EXPECT_TRUE(ParseExtensionList(";").empty());
    EXPECT_TRUE(ParseExtensionList("").empty());
    EXPECT_EQ((std::vector<std::string>{" a", "b "}), SplitAtSemicolons(";; a;b ;"));
    EXPECT_EQ("a;b;", JoinWithSemicolons({"a", "b"}));
    EXPECT_EQ("", JoinWithSemicolons({}));
}

TEST(MyNameDlg, OffersTheCurrentNameFirstAndRefusesAnEmptyOne) {
    testsupport::ScriptedPrompts prompts;
    CMyNameDlg dialog("Save profile");
    dialog.name = "Fast";
    dialog.proposals = {"Deep", "Fast", "Anywhere"};
    ModalScript script;
    script.Then([&](HWND window) {
        EXPECT_EQ("Save profile", WindowText(window));
        HWND combo = ::GetDlgItem(window, IDC_NAME_COMBO);
        ASSERT_EQ(4, ::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        char item[32] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ("Anywhere", item);
        EXPECT_EQ(0, ::SendMessageA(combo, CB_GETCURSEL, 0, 0));
        EXPECT_EQ("Fast", ItemText(window, IDC_NAME_COMBO));
        ::SetDlgItemTextA(window, IDC_NAME_COMBO, "");
        Click(window, IDOK);
    }).Then([&](HWND window) {
        ::SetDlgItemTextA(window, IDC_NAME_COMBO, "Night shots");
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_EQ((std::vector<std::string>{"Enter name, please"}), Warnings(prompts));
    EXPECT_EQ("Night shots", dialog.name);

    CMyNameDlg empty("Name");
    ModalScript cancel;
    cancel.Then([&](HWND window) {
        EXPECT_EQ(0, ::SendMessageA(::GetDlgItem(window, IDC_NAME_COMBO), CB_GETCOUNT, 0, 0));
        EXPECT_EQ(CB_ERR, ::SendMessageA(::GetDlgItem(window, IDC_NAME_COMBO), CB_GETCURSEL, 0, 0));
        ::SetDlgItemTextA(window, IDC_NAME_COMBO, "typed");
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, cancel.Run([&] { return empty.DoModal(nullptr); }));
    EXPECT_EQ("", empty.name);
}

}  // namespace
