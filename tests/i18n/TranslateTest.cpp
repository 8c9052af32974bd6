// Lookups that fall back to a real module's string table, and menus and dialogs translated in
// place: real menus and real dialog windows, their texts read back.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "core/InternationalSupport.h"
#include "tests/framework/DialogTemplateBuilder.h"
#include "tests/support/TestSupport.h"

namespace {

// The program built by this same tree, beside the test programs' folder.
std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "..\\bin\\Brackenfly.exe";
}

class ProgramResources {
public:
    ProgramResources()
        : module_(::LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramResources() {
        if (module_) ::FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }
private:
    HMODULE module_;
};

class TranslateTest : public ::testing::Test {
protected:
    void Load(const std::string& text) {
        ASSERT_TRUE(testsupport::WriteFileText(dir_.File("Lang.lng"), text));
        lang_.reset(new CInternationalSupport(dir_.File("Lang.lng").c_str()));
        ASSERT_EQ(0, lang_->GetLoadStatus());
    }
    testsupport::ScratchDir dir_;
    std::unique_ptr<CInternationalSupport> lang_{new CInternationalSupport()};
};

std::string MenuText(HMENU menu, UINT position) {
    char text[256] = {};
    ::GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

std::string WindowText(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

TEST_F(TranslateTest, StringsFallBackToTheProgramsStringTable) {
    ProgramResources program;
    ASSERT_TRUE(program.Get()) << "the program must be built beside the tests: " << ProgramPath();
    EXPECT_STREQ("Ready", lang_->GetString(57345, program.Get()));
    EXPECT_STREQ("Warning", lang_->GetString(131, program.Get()));
    EXPECT_STREQ("", lang_->GetString(65000, program.Get()));

    Load("STRINGTABLE { 57345 \"Bereit\" 131 \"\" }");
    EXPECT_STREQ("Bereit", lang_->GetString(57345, program.Get()));
    EXPECT_STREQ("", lang_->GetString(131, program.Get()));
    EXPECT_STREQ("Error", lang_->GetString(149, program.Get()));
}

TEST_F(TranslateTest, MenuTranslatedInPlaceWithSubMenus) {
    Load("MENU 128 { \"&File\" \"&Datei\" \"E&xit\" \"&Beenden\" }\r\n"
         "MENU 200 { \"&File\" \"&Fichier\" }\r\n"
         "MENU 128 { \"&Help\" \"&Hilfe\" }\r\n");
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuA(file, MF_STRING, 100, "E&xit");
    ::AppendMenuA(file, MF_STRING, 101, "$&Close");
    ::AppendMenuA(file, MF_STRING, 102, "Untranslated");
    // A radio-marked item keeps its mark when its text is replaced.
    MENUITEMINFOA radio = {};
    radio.cbSize = sizeof(radio);
    radio.fMask = MIIM_FTYPE | MIIM_STATE;
    radio.fType = MFT_STRING | MFT_RADIOCHECK;
    radio.fState = MFS_CHECKED;
    ASSERT_TRUE(::SetMenuItemInfoA(file, 0, TRUE, &radio));
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    ::AppendMenuA(bar, MF_STRING, 103, "&Help");

    EXPECT_FALSE(lang_->TranslateMenu(128, bar));  // "Untranslated" stays as it is
    EXPECT_EQ("&Datei", MenuText(bar, 0));
    EXPECT_EQ("&Hilfe", MenuText(bar, 1));  // from a later section of the same id
    EXPECT_EQ("&Beenden", MenuText(file, 0));
    EXPECT_EQ("&Close", MenuText(file, 1));
    EXPECT_EQ("Untranslated", MenuText(file, 2));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(::GetMenuItemInfoA(file, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    ::DestroyMenu(bar);
}

TEST_F(TranslateTest, MenuSeparatorFailsResultButEveryTextIsTranslated) {
    Load("MENU 237 { \"&Open\" \"O&effnen\" \"&Delete\" \"&Loeschen\" }");
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "&Open");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, 2, "&Delete");
    EXPECT_FALSE(lang_->TranslateMenu(237, menu));
    EXPECT_EQ("O&effnen", MenuText(menu, 0));
    EXPECT_EQ("&Loeschen", MenuText(menu, 2));
    // A menu whose every item is translated reports success; another menu id finds nothing.
    HMENU other = ::CreatePopupMenu();
    ::AppendMenuA(other, MF_STRING, 1, "&Open");
    EXPECT_FALSE(lang_->TranslateMenu(999, other));
    EXPECT_EQ("&Open", MenuText(other, 0));
    EXPECT_TRUE(lang_->TranslateMenu(237, other));
    EXPECT_EQ("O&effnen", MenuText(other, 0));
    EXPECT_FALSE(lang_->TranslateMenu(237, reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x1234))));
    ::DestroyMenu(menu);
    ::DestroyMenu(other);
}

TEST_F(TranslateTest, UnloadedServiceOnlyStripsDollarSigns) {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "$&Open");
    EXPECT_TRUE(lang_->TranslateMenu(128, menu));
    EXPECT_EQ("&Open", MenuText(menu, 0));
    ::DestroyMenu(menu);
}

class DialogWindow {
public:
    explicit DialogWindow(const testsupport::DialogTemplateBuilder& builder)
        : hWnd_(::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), builder.Get(), nullptr, &Proc, 0)) {}
    ~DialogWindow() {
        if (hWnd_) ::DestroyWindow(hWnd_);
    }
    HWND Get() const { return hWnd_; }
private:
    static INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }
    HWND hWnd_;
};

TEST_F(TranslateTest, DialogCaptionAndDescendantsTranslated) {
    // The look-up runs from the dialog's section to the end of the file: a later section of the
    // same dialog counts, and so would any section that follows it.
    Load("DIALOG 223 { CAPTION \"Other\" \"Cancel\" \"Nein\" }\r\n"
         "DIALOG 222 {\r\n CAPTION \"Einstellungen\"\r\n \"&Name:\" \"&Name (neu):\"\r\n"
         " \"OK\" \"Gut\"\r\n \"Inner\" \"Innen\"\r\n}\r\n"
         "DIALOG 222 { \"Cancel\" \"Abbrechen\" }\r\n");
    testsupport::DialogTemplateBuilder builder("Options");
    builder.AddControl(0x0082, 10, "&Name:", SS_LEFT)
        .AddControl(0x0080, IDOK, "OK", BS_DEFPUSHBUTTON, 5, 30)
        .AddControl(0x0080, IDCANCEL, "Cancel", BS_PUSHBUTTON, 70, 30)
        .AddControl(0x0080, 11, "$Browse...", BS_PUSHBUTTON, 5, 50)
        .AddControl(0x0082, 12, "Not listed", SS_LEFT, 5, 70);
    DialogWindow dialog(builder);
    ASSERT_TRUE(dialog.Get());
    // A grandchild: the walk goes depth first into every descendant.
    HWND holder = ::GetDlgItem(dialog.Get(), 12);
    HWND inner = ::CreateWindowExA(0, "STATIC", "Inner", WS_CHILD, 0, 0, 10, 10, holder, nullptr, nullptr, nullptr);
    ASSERT_TRUE(inner);

    EXPECT_FALSE(lang_->TranslateWindow(222, dialog.Get()));  // "Not listed" has no translation
    EXPECT_EQ("Einstellungen", WindowText(dialog.Get()));
    EXPECT_EQ("&Name (neu):", WindowText(::GetDlgItem(dialog.Get(), 10)));
    EXPECT_EQ("Gut", WindowText(::GetDlgItem(dialog.Get(), IDOK)));
    EXPECT_EQ("Abbrechen", WindowText(::GetDlgItem(dialog.Get(), IDCANCEL)));
    EXPECT_EQ("Browse...", WindowText(::GetDlgItem(dialog.Get(), 11)));
    EXPECT_EQ("Not listed", WindowText(holder));
    EXPECT_EQ("Innen", WindowText(inner));
}

TEST_F(TranslateTest, DialogWithoutSectionKeepsTextsButDropsDollars) {
    Load("DIALOG 300 { CAPTION \"X\" }");
    testsupport::DialogTemplateBuilder builder("$Picture Info");
    builder.AddControl(0x0080, IDOK, "$OK", BS_PUSHBUTTON);
    DialogWindow dialog(builder);
    ASSERT_TRUE(dialog.Get());
    lang_->TranslateWindow(301, dialog.Get());
    EXPECT_EQ("Picture Info", WindowText(dialog.Get()));
    EXPECT_EQ("OK", WindowText(::GetDlgItem(dialog.Get(), IDOK)));
}

TEST_F(TranslateTest, DialogIdThatIsNoNumberRegistersAsZero) {
    Load("DIALOG IDD_ABOUT { CAPTION \"Ueber\" }");
    testsupport::DialogTemplateBuilder builder("About");
    DialogWindow dialog(builder);
    ASSERT_TRUE(dialog.Get());
    lang_->TranslateWindow(0, dialog.Get());
    EXPECT_EQ("Ueber", WindowText(dialog.Get()));
}

TEST_F(TranslateTest, FitItemWidthSizesControlToItsText) {
    testsupport::DialogTemplateBuilder builder("Fit");
    builder.AddControl(0x0080, 20, "A rather long check box text", BS_AUTOCHECKBOX, 5, 5, 10, 30);
    DialogWindow dialog(builder);
    ASSERT_TRUE(dialog.Get());
    HWND control = ::GetDlgItem(dialog.Get(), 20);
    RECT before = {};
    ::GetWindowRect(control, &before);
    lang_->FitItemWidth(dialog.Get(), 20, TRUE);
    RECT after = {};
    ::GetWindowRect(control, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_EQ(::GetSystemMetrics(SM_CXMENUCHECK), after.bottom - after.top);
}

}  // namespace

namespace {

TEST(HtmlResourceLanguage, LoadsAFileEmbeddedInAModule) {
    testsupport::ScratchDir dir;
    const std::string copy = dir.File("WithLang.exe");
    ASSERT_TRUE(::CopyFileA(ProgramPath().c_str(), copy.c_str(), FALSE));
    const std::string file = "STRINGTABLE { 57345 \"Pret\" }";
    HANDLE update = ::BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_TRUE(update);
    ASSERT_TRUE(::UpdateResourceA(update, MAKEINTRESOURCEA(23), "BKFTESTLANG.LNG", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                  const_cast<char*>(file.data()), static_cast<DWORD>(file.size())));
    ASSERT_TRUE(::EndUpdateResourceA(update, FALSE));

    HMODULE module = ::LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    {
        CInternationalSupport lang;
        EXPECT_TRUE(lang.LoadFromHtmlResource(module, "BKFTESTLANG.LNG"));
        EXPECT_STREQ("Pret", lang.GetString(57345, module));
        EXPECT_STREQ("Warning", lang.GetString(131, module));
    }
    CInternationalSupport lang;
    EXPECT_FALSE(lang.LoadFromHtmlResource(module, "MISSING.LNG"));
    EXPECT_FALSE(lang.LoadFromHtmlResource(module, "..\\BKFTESTLANG.LNG"));
    EXPECT_FALSE(lang.LoadFromHtmlResource(module, nullptr));
    ::FreeLibrary(module);
    ::DeleteFileA((std::string(temp) + "BKFTESTLANG.LNG").c_str());
}

// Every item's text of a menu and its sub-menus, separators left out.
void CollectMenuTexts(HMENU menu, std::vector<std::string>& texts) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        const std::string text = MenuText(menu, static_cast<UINT>(i));
        if (!text.empty()) texts.push_back(text);
        if (HMENU sub = ::GetSubMenu(menu, i)) CollectMenuTexts(sub, texts);
    }
}

TEST_F(TranslateTest, ProgramsContextMenusAreTranslatedByTheirPublishedEnglishTexts) {
    // A language file is written against the menu texts users and translators see in the
    // program's documentation; an item whose English text differs stays untranslated.
    Load("MENU 321 { \"Errors\" \"T:Errors\" \"Reload All\" \"T:Reload All\" \"Reload This\" \"T:Reload This\" }\r\n"
         "MENU 336 { \"Messages\" \"T:Messages\" \"Clear Messages\" \"T:Clear Messages\" }\r\n"
         "MENU 302 { \"View\" \"T:View\" \"List View\" \"T:List View\" \"Thumbnail View\" \"T:Thumbnail View\" }\r\n"
         "MENU 332 { \"Tray\" \"T:Tray\" \"New Normal Task...\\t(Ctrl+N)\" \"T:New\" "
         "\"New Templated URL Task...\\t(Ctrl+U)\" \"T:Templated\" \"Restore\" \"T:Restore\" \"Exit\" \"T:Exit\" }\r\n");
    ProgramResources program;
    ASSERT_TRUE(program.Get());
    for (UINT id : {321u, 336u, 302u, 332u}) {
        HMENU menu = ::LoadMenuA(program.Get(), MAKEINTRESOURCEA(id));
        ASSERT_TRUE(menu) << id;
        lang_->TranslateMenu(id, menu);
        std::vector<std::string> texts;
        CollectMenuTexts(menu, texts);
        for (const std::string& text : texts) EXPECT_EQ("T:", text.substr(0, 2)) << "menu " << id << ": " << text;
        ::DestroyMenu(menu);
    }
}

}  // namespace
