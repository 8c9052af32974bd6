// The browser plug-in as the browser and the system use it: registered and unregistered by the
// system's regsvr32, its button created through the library's class object, given a stand-in
// browser site, and pressed with and without the program running.
#include <exdisp.h>

#include <string>
#include <vector>

#include "tests/plugin/PluginFixture.h"
#include "tests/support/PromptSupport.h"

using namespace plugintest;

TEST_F(PluginFixture, Regsvr32WritesTheRegistrationAndRemovesExactlyWhatItWrote) {
    Register();
    EXPECT_EQ(dll_, StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", nullptr));
    EXPECT_EQ("Apartment", StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ("BkfIEButton Class", StringValue(HKEY_CLASSES_ROOT, kClassKey, nullptr));
    EXPECT_EQ("{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}", StringValue(HKEY_CLASSES_ROOT, kClassKey, "AppID"));
    EXPECT_EQ("Bkf4Ie.BkfIEButton.1", StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\ProgID", nullptr));
    EXPECT_EQ("{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}",
              StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\TypeLib", nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\Programmable"));
    EXPECT_EQ("Bkf4Ie.BkfIEButton.1", StringValue(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton\\CurVer", nullptr));
    EXPECT_EQ("{977E7339-278F-4E9E-8DB6-71CBE493760A}",
              StringValue(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1\\CLSID", nullptr));
    EXPECT_EQ("Bkf4Ie", StringValue(HKEY_CLASSES_ROOT, "AppID\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}", nullptr));
    EXPECT_EQ("{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}", StringValue(HKEY_CLASSES_ROOT, "AppID\\Bkf4Ie.DLL", "AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}\\1.0"));
    EXPECT_EQ("Brackenfly", StringValue(HKEY_CURRENT_USER, kExtensionKey, "ButtonText"));
    EXPECT_EQ("Download pictires with Brackenfly", StringValue(HKEY_CURRENT_USER, kExtensionKey, "MenuText"));
    EXPECT_EQ("Download pictires with Brackenfly", StringValue(HKEY_CURRENT_USER, kExtensionKey, "MenuStatusBar"));
    EXPECT_EQ("{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}", StringValue(HKEY_CURRENT_USER, kExtensionKey, "CLSID"));
    EXPECT_EQ("{977E7339-278F-4E9E-8DB6-71CBE493760A}",
              StringValue(HKEY_CURRENT_USER, kExtensionKey, "ClsidExtension"));
    EXPECT_EQ("Yes", StringValue(HKEY_CURRENT_USER, kExtensionKey, "Default Visible"));

    ASSERT_EQ(0u, RunRegsvr32(dll_, true));
    registered_ = false;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "AppID\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "AppID\\Bkf4Ie.DLL"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtensionKey));
    // The parents marked never to be removed stay.
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Extensions"));
}

TEST_F(PluginFixture, ButtonHandsThePageAndItsCookiesToTheRunningProgram) {
    FakeMainWindow program;
    const long aliveBefore = plugintest::FakeObjectsAlive();
    IOleCommandTarget* button = NewButton();
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(S_FALSE, canUnloadNow_());

    // Before the browser gives a site, every call answers with an error instead of crashing.
    EXPECT_EQ(E_POINTER, button->QueryStatus(nullptr, 1, nullptr, nullptr));
    OLECMD command = {1, 0};
    EXPECT_EQ(E_UNEXPECTED, button->QueryStatus(nullptr, 0, &command, nullptr));
    EXPECT_TRUE(FAILED(button->QueryStatus(nullptr, 1, &command, nullptr)));
    EXPECT_TRUE(FAILED(Press(button)));
    IObjectWithSite* withSite = SiteOf(button);
    void* site = reinterpret_cast<void*>(1);
    EXPECT_TRUE(FAILED(withSite->GetSite(IID_IUnknown, &site)));
    EXPECT_EQ(nullptr, site);
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));

    // An address in any case of "http:" is handed over with the cookies as the browser gave them.
    plugintest::FakePage page;
    page.location = L"HTTP://Example.com/gallery?page=2";
    page.cookies = L"session=abc; theme=dark";
    ASSERT_EQ(S_OK, ShowPage(button, page));
    EXPECT_EQ(static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED), StatusOf(button));
    EXPECT_EQ(S_OK, Press(button));
    EXPECT_EQ("HTTP://Example.com/gallery?page=2\nsession=abc; theme=dark", ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(1, FakeMainWindow::NewTasks());

    // No cookies, or a browser that answers "no document": the text ends with the line feed.
    page.location = L"www.example.com/";
    page.cookies.clear();
    EXPECT_EQ(S_OK, Press(button));
    EXPECT_EQ("www.example.com/\n", ClipboardText());
    page.cookies = L"a=1";
    page.documentIsNull = true;
    EXPECT_EQ(S_OK, Press(button));
    EXPECT_EQ("www.example.com/\n", ClipboardText());
    page.documentIsNull = false;

    // A secure page, a file and the blank page are not handed over: the clipboard stays.
    SetClipboardText("left alone");
    for (const wchar_t* refused : {L"https://secure.example.com/", L"file:///C:/x.html", L"about:blank", L""}) {
        page.location = refused;
        EXPECT_EQ(0u, StatusOf(button));
        EXPECT_EQ(S_OK, Press(button));
        EXPECT_EQ("left alone", ClipboardText());
    }
    testsupport::PumpMessages(300);
    EXPECT_EQ(3, FakeMainWindow::NewTasks());

    // A new site replaces the browser held; the last release frees everything.
    plugintest::FakePage other;
    other.location = L"http://other.example/";
    ASSERT_EQ(S_OK, ShowPage(button, other));
    IWebBrowser2* held = nullptr;
    EXPECT_EQ(S_OK, withSite->GetSite(IID_IWebBrowser2, reinterpret_cast<void**>(&held)));
    ASSERT_NE(nullptr, held);
    held->Release();
    EXPECT_EQ(aliveBefore + 1, plugintest::FakeObjectsAlive());  // only the one browser
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));
    EXPECT_EQ(aliveBefore, plugintest::FakeObjectsAlive());
    withSite->Release();
    button->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(ButtonOnPageFixture, WithoutTheProgramRunningTheProgramBesideThePluginStartsWithDashC) {
    Register();
    ASSERT_EQ(nullptr, FindWindowA("Brackenfly_MainFrame", nullptr));
    EXPECT_EQ(S_OK, Press(button_));
    EXPECT_EQ("http://example.com/\n", ClipboardText());

    std::vector<uint8_t> recorded;
    for (int wait = 0; wait < 300 && !testsupport::ReadFileBytes(dir_.File("arguments.txt"), recorded); ++wait)
        Sleep(50);
    const std::string arguments(recorded.begin(), recorded.end());
    EXPECT_NE(std::string::npos, arguments.find("Brackenfly.exe")) << arguments;
    ASSERT_GE(arguments.size(), 2u);
    EXPECT_EQ("-c", arguments.substr(arguments.find_last_not_of(' ') - 1, 2)) << arguments;
    EXPECT_EQ(std::vector<std::string>{"http://example.com/\n"}, StandInPages(dir_.Path()));
    CloseStandIns();

    // Without its registration the plug-in cannot know its folder: it says so and fails, starting
    // nothing and leaving the clipboard to the user.
    ASSERT_EQ(0u, RunRegsvr32(dll_, true));
    registered_ = false;
    DeleteFileA(dir_.File("arguments.txt").c_str());
    SetClipboardText("left alone");
    testsupport::PromptWatcher told("Brackenfly", IDOK);
    EXPECT_EQ(E_FAIL, Press(button_));
    EXPECT_TRUE(told.Answered());
    EXPECT_NE(std::string::npos, told.PromptText().find("registration")) << told.PromptText();
    EXPECT_EQ("left alone", ClipboardText());
    Sleep(500);
    EXPECT_FALSE(testsupport::FileExists(dir_.File("arguments.txt")));
}
