// The program options through their real windows: what the pages show, what typing and clicking
// changes, the checks on OK and the settings file written.
#include "tests/options/OptionsFixture.h"
#include "core/AppDirectory.h"
#include "resources/options_ids.h"

using testsupport::Click;
using testsupport::ClickCheck;
using testsupport::IsItemEnabled;
using testsupport::ItemText;
using testsupport::ModalScript;
using testsupport::TypeText;

namespace {

bool IsShown(HWND window) { return ::IsWindowVisible(window) != FALSE; }

bool IsChecked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }

// The page of a frame that holds the control.
HWND ChildPageWith(HWND frame, int controlId) {
    for (HWND page = ::FindWindowExA(frame, nullptr, "#32770", nullptr); page;
         page = ::FindWindowExA(frame, page, "#32770", nullptr)) {
        if (::GetDlgItem(page, controlId)) return page;
    }
    return nullptr;
}

}  // namespace

TEST_F(OptionsFixture, OpensOnTheFirstPageWithTheStoredValuesAndOkWritesEverySetting) {
    Settings().LogFileUse = false;
    Settings().SocketTimeout = 12;
    Settings().ThreadsAmount = 7;
    Settings().UseEffects = false;
    ModalScript script;
    script.Then([&](HWND frame) {
        // The first page shows; the others exist, hidden.
        EXPECT_TRUE(IsShown(Page(IDD_OPTIONS_GENERAL)));
        EXPECT_FALSE(IsShown(Page(IDD_OPTIONS_PROXY)));
        EXPECT_FALSE(IsShown(Page(IDD_OPTIONS_SLIDESHOW)));
        EXPECT_EQ(5u, dialog_->GetTree().GetCount());
        HWND general = Page(IDD_OPTIONS_GENERAL);
        EXPECT_EQ(dir_.Path() + "Images\\", ItemText(general, IDC_GENERAL_FOLDER));
        EXPECT_FALSE(IsChecked(general, IDC_GENERAL_LOG_USE));
        EXPECT_FALSE(IsItemEnabled(general, IDC_GENERAL_LOG_SIZE));
        EXPECT_FALSE(IsItemEnabled(general, IDC_GENERAL_LOG_CLEAR_MODE));
        EXPECT_EQ("1024", ItemText(general, IDC_GENERAL_LOG_SIZE));
        HWND downloading = Page(IDD_OPTIONS_DOWNLOADING);
        EXPECT_EQ("7", ItemText(downloading, IDC_DOWNLOAD_THREADS));
        EXPECT_TRUE(IsChecked(downloading, IDC_DOWNLOAD_USE_TIMEOUT));
        EXPECT_EQ("12", ItemText(downloading, IDC_DOWNLOAD_TIMEOUT));
        HWND slides = Page(IDD_OPTIONS_SLIDESHOW);
        EXPECT_EQ("5", ItemText(slides, IDC_SLIDESHOW_DELAY));
        EXPECT_FALSE(IsItemEnabled(slides, IDC_SLIDESHOW_RANDOM));

        TypeText(general, IDC_GENERAL_FOLDER, "D:\\Pictures\\");
        ClickCheck(general, IDC_GENERAL_LOG_USE, true);
        EXPECT_TRUE(IsItemEnabled(general, IDC_GENERAL_LOG_SIZE));
        ClickCheck(general, IDC_GENERAL_LOG_CLEAR_MODE, false);
        TypeText(general, IDC_GENERAL_LOG_SIZE, "300");
        ClickCheck(general, IDC_GENERAL_SHOW_TIP, false);
        TypeText(downloading, IDC_DOWNLOAD_THREADS, "250");  // above the arrows' range: kept within it
        TypeText(downloading, IDC_DOWNLOAD_PAUSE, "2");
        TypeText(downloading, IDC_DOWNLOAD_ATTEMPTS, "9");
        TypeText(downloading, IDC_DOWNLOAD_SAVE_EVERY, "0");
        TypeText(slides, IDC_SLIDESHOW_DELAY, "8");
        ClickCheck(slides, IDC_SLIDESHOW_EFFECTS, true);
        EXPECT_TRUE(IsItemEnabled(slides, IDC_SLIDESHOW_RANDOM));
        ClickCheck(slides, IDC_SLIDESHOW_RANDOM, false);
        HWND proxy = Page(IDD_OPTIONS_PROXY);
        ClickCheck(proxy, IDC_PROXY_OWN, true);
        TypeText(proxy, IDC_PROXY_ADDRESS, "proxy.example");
        TypeText(proxy, IDC_PROXY_PORT, "8080");
        ClickCheck(proxy, IDC_PROXY_AUTH, true);
        TypeText(proxy, IDC_PROXY_USER, "ann");
        TypeText(proxy, IDC_PROXY_PASSWORD, "secret");
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(script));
    EXPECT_TRUE(prompts_.boxes.empty());

    const std::unique_ptr<ProgramSettings> stored = StoredSettings();
    const ProgramSettings* both[] = {&Settings(), stored.get()};
    for (const ProgramSettings* s : both) {
        EXPECT_EQ("D:\\Pictures\\", s->FolderForImages);
        EXPECT_TRUE(s->LogFileUse);
        EXPECT_FALSE(s->LogFileClearMode);
        EXPECT_EQ(300 * 1024, s->LogFileMaxSize);
        EXPECT_FALSE(s->ShowTip);
        EXPECT_EQ(100, s->ThreadsAmount);
        EXPECT_EQ(2, s->PauseBetweenConnections);
        EXPECT_EQ(12, s->SocketTimeout);
        EXPECT_EQ(9, s->MaxAttempts);
        EXPECT_EQ(0, s->SaveCacheIntervale);
        EXPECT_EQ(8, s->SlideShowInterval);
        EXPECT_TRUE(s->UseEffects);
        EXPECT_TRUE(s->UseEffectsInSlideshowOnly);
        EXPECT_FALSE(s->UseRandomEffects);
        EXPECT_TRUE(s->UseMyProxy);
        EXPECT_FALSE(s->UseWindowsProxy);
        EXPECT_EQ("proxy.example", s->ProxyAddress);
        EXPECT_EQ(8080, s->ProxyPort);
        EXPECT_TRUE(s->UseProxyAuth);
        EXPECT_EQ("ann", s->NameForProxy);
        EXPECT_EQ("secret", s->PasswordForProxy);
    }
}

TEST_F(OptionsFixture, LogSizeShowsWholeKilobytesAndClampsWhatWouldOverflow) {
    struct Case {
        int32_t storedBytes;
        const char* shown;
        const char* typed;
        int32_t savedBytes;
    } cases[] = {
        {1048576, "1024", "1024", 1048576},
        {500, "1", "1", 1024},           // less than a kilobyte shows 1
        {0, "1", "1048576", 1048576 * 1024},
        {0, "1", "2097151", 1048576 * 1024},  // above the range: its top, 1 GB
        {-5, "1", "2097152", 1048576 * 1024},  // the product would wrap: the largest size instead
        {4096, "4", "99999999999", 1048576 * 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Settings().LogFileMaxSize = c.storedBytes;
        ModalScript script;
        script.Then([&](HWND frame) {
            EXPECT_EQ(c.shown, ItemText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_LOG_SIZE));
            TypeText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_LOG_SIZE, c.typed);
            Click(frame, IDOK);
        });
        EXPECT_EQ(IDOK, RunOptions(script));
        EXPECT_EQ(c.savedBytes, Settings().LogFileMaxSize);
        EXPECT_EQ(c.savedBytes, StoredSettings()->LogFileMaxSize);
    }
    // Zero is refused: the warning, the dialog stays, nothing is written.
    ::DeleteFileA(ConfigPath().c_str());
    ModalScript script;
    script.Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_LOG_SIZE, "0");
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        EXPECT_EQ(frame, dialog_->m_hWnd);  // still open
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunOptions(script));
    ASSERT_EQ(1u, prompts_.boxes.size());
    EXPECT_EQ("General : Invalid max size", prompts_.boxes[0].text);
    EXPECT_EQ("Warning", prompts_.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), prompts_.boxes[0].type);
    EXPECT_FALSE(ConfigWritten());
}

TEST_F(OptionsFixture, UncheckedTimeoutStoresMinusOneWhateverTheEditHolds) {
    ModalScript script;
    script.Then([&](HWND frame) {
        HWND page = Page(IDD_OPTIONS_DOWNLOADING);
        // -1 shows the box unchecked with the client's 30 seconds, disabled.
        EXPECT_FALSE(IsChecked(page, IDC_DOWNLOAD_USE_TIMEOUT));
        EXPECT_EQ("30", ItemText(page, IDC_DOWNLOAD_TIMEOUT));
        EXPECT_FALSE(IsItemEnabled(page, IDC_DOWNLOAD_TIMEOUT));
        EXPECT_FALSE(IsItemEnabled(page, IDC_DOWNLOAD_TIMEOUT_SPIN));
        ClickCheck(page, IDC_DOWNLOAD_USE_TIMEOUT, true);
        EXPECT_TRUE(IsItemEnabled(page, IDC_DOWNLOAD_TIMEOUT));
        TypeText(page, IDC_DOWNLOAD_TIMEOUT, "45");
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(script));
    EXPECT_EQ(45, StoredSettings()->SocketTimeout);

    ModalScript second;
    second.Then([&](HWND frame) {
        HWND page = Page(IDD_OPTIONS_DOWNLOADING);
        EXPECT_EQ("45", ItemText(page, IDC_DOWNLOAD_TIMEOUT));
        // A bad time-out counts only while the box is checked.
        TypeText(page, IDC_DOWNLOAD_TIMEOUT, "0");
        ClickCheck(page, IDC_DOWNLOAD_USE_TIMEOUT, false);
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(second));
    EXPECT_TRUE(prompts_.boxes.empty());
    EXPECT_EQ(-1, Settings().SocketTimeout);
    EXPECT_EQ(-1, StoredSettings()->SocketTimeout);
}

TEST_F(OptionsFixture, ProxyAddressAndPortAreCheckedOnlyWithUseProxy) {
    Settings().ProxyPort = 0;
    ModalScript script;
    script.Then([&](HWND frame) {
        HWND page = Page(IDD_OPTIONS_PROXY);
        // The system's proxy by default: the own address is off, the password box on.
        EXPECT_TRUE(IsChecked(page, IDC_PROXY_SYSTEM));
        EXPECT_FALSE(IsItemEnabled(page, IDC_PROXY_ADDRESS));
        EXPECT_TRUE(IsItemEnabled(page, IDC_PROXY_AUTH));
        EXPECT_FALSE(IsItemEnabled(page, IDC_PROXY_USER));
        ClickCheck(page, IDC_PROXY_AUTH, true);
        EXPECT_TRUE(IsItemEnabled(page, IDC_PROXY_PASSWORD));
        ClickCheck(page, IDC_PROXY_NONE, true);
        EXPECT_FALSE(IsItemEnabled(page, IDC_PROXY_AUTH));
        EXPECT_FALSE(IsItemEnabled(page, IDC_PROXY_PASSWORD));
        Click(frame, IDOK);  // empty address and port 0 pass without "Use proxy:"
    });
    EXPECT_EQ(IDOK, RunOptions(script));
    EXPECT_TRUE(prompts_.boxes.empty());
    EXPECT_FALSE(Settings().UseMyProxy);
    EXPECT_FALSE(Settings().UseWindowsProxy);
    EXPECT_TRUE(Settings().UseProxyAuth);  // saved whatever the enabled state

    ModalScript own;
    own.Then([&](HWND frame) {
        HWND page = Page(IDD_OPTIONS_PROXY);
        EXPECT_TRUE(IsChecked(page, IDC_PROXY_NONE));
        ClickCheck(page, IDC_PROXY_OWN, true);
        EXPECT_TRUE(IsItemEnabled(page, IDC_PROXY_ADDRESS));
        EXPECT_TRUE(IsItemEnabled(page, IDC_PROXY_USER));
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_PROXY), IDC_PROXY_ADDRESS, "cache.local");
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_PROXY), IDC_PROXY_PORT, "70000");  // no such port
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_PROXY), IDC_PROXY_PORT, "3128");
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(own));
    EXPECT_EQ((std::vector<std::string>{"Proxy : Proxy address is empty", "Proxy : Invalid proxy port",
                                        "Proxy : Invalid proxy port"}),
              BoxTexts());
    const std::unique_ptr<ProgramSettings> stored = StoredSettings();
    EXPECT_TRUE(stored->UseMyProxy);
    EXPECT_EQ("cache.local", stored->ProxyAddress);
    EXPECT_EQ(3128, stored->ProxyPort);
}

TEST_F(OptionsFixture, OwnProxyWinsOverTheSystemsWhenBothAreStored) {
    Settings().UseMyProxy = true;
    Settings().UseWindowsProxy = true;
    Settings().UseProxyAuth = false;
    ModalScript script;
    script.Then([&](HWND frame) {
        HWND page = Page(IDD_OPTIONS_PROXY);
        EXPECT_TRUE(IsChecked(page, IDC_PROXY_OWN));
        EXPECT_FALSE(IsChecked(page, IDC_PROXY_SYSTEM));
        EXPECT_TRUE(IsItemEnabled(page, IDC_PROXY_PORT));
        EXPECT_FALSE(IsItemEnabled(page, IDC_PROXY_USER));
        EXPECT_EQ("3128", ItemText(page, IDC_PROXY_PORT));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunOptions(script));
}

TEST_F(OptionsFixture, OnlyTheFirstFailingPageWarnsAndNothingIsSaved) {
    ModalScript script;
    script.Then([&](HWND frame) {
        SelectPage(IDD_OPTIONS_FILETYPES);
        TypeText(Page(IDD_OPTIONS_SLIDESHOW), IDC_SLIDESHOW_DELAY, "0");
        TypeText(Page(IDD_OPTIONS_DOWNLOADING), IDC_DOWNLOAD_THREADS, "0");
        TypeText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_FOLDER, "E:\\Elsewhere\\");
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        // The tree selection stays where the user left it.
        EXPECT_TRUE(IsShown(Page(IDD_OPTIONS_FILETYPES)));
        EXPECT_FALSE(IsShown(Page(IDD_OPTIONS_DOWNLOADING)));
        TypeText(Page(IDD_OPTIONS_DOWNLOADING), IDC_DOWNLOAD_THREADS, "3");
        TypeText(Page(IDD_OPTIONS_DOWNLOADING), IDC_DOWNLOAD_ATTEMPTS, "0");
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_DOWNLOADING), IDC_DOWNLOAD_ATTEMPTS, "1");
        Click(frame, IDOK);
    }).Then([&](HWND frame) {
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunOptions(script));
    EXPECT_EQ((std::vector<std::string>{"Downloading : Invalid number of connections",
                                        "Downloading : Invalid number of connection attempts",
                                        "Slide Show : Invalid delay value"}),
              BoxTexts());
    EXPECT_TRUE(Settings().FolderForImages.empty());
    EXPECT_EQ(5, Settings().ThreadsAmount);
    EXPECT_FALSE(ConfigWritten());
}

TEST_F(OptionsFixture, CancelAfterEditingSeveralPagesLeavesTheSettingsAlone) {
    ModalScript script;
    script.Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_FOLDER, "X:\\");
        ClickCheck(Page(IDD_OPTIONS_PROXY), IDC_PROXY_OWN, true);
        TypeText(Page(IDD_OPTIONS_DOWNLOADING), IDC_DOWNLOAD_PAUSE, "77");
        ClickCheck(Page(IDD_OPTIONS_SLIDESHOW), IDC_SLIDESHOW_EFFECTS, false);
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunOptions(script));
    EXPECT_TRUE(Settings().FolderForImages.empty());
    EXPECT_FALSE(Settings().UseMyProxy);
    EXPECT_EQ(0, Settings().PauseBetweenConnections);
    EXPECT_TRUE(Settings().UseEffects);
    EXPECT_FALSE(ConfigWritten());
}

TEST_F(OptionsFixture, EmptyFolderIsSavedEmptyAndShowsTheImagesFolderNextTime) {
    Settings().FolderForImages = "C:\\Old\\";
    ModalScript script;
    script.Then([&](HWND frame) {
        TypeText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_FOLDER, "");
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(script));
    EXPECT_EQ("", StoredSettings()->FolderForImages);
    ModalScript again;
    again.Then([&](HWND frame) {
        EXPECT_EQ(dir_.Path() + "Images\\", ItemText(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_FOLDER));
        Click(frame, IDCANCEL);
    });
    RunOptions(again);
}

TEST_F(OptionsFixture, FolderBrowserAndLogButtonsActOnlyOnTheirTargets) {
    const std::string log = dir_.File("errors.log");
    ModalScript script;
    script.Then([&](HWND) {
        HWND page = Page(IDD_OPTIONS_GENERAL);
        prompts_.folderAnswer = "F:\\Chosen";
        Click(page, IDC_GENERAL_BROWSE);
        Click(page, IDC_GENERAL_VIEW_LOG);  // no log yet: nothing opens, and the user is told so
    }).Then([&](HWND) {
        HWND page = Page(IDD_OPTIONS_GENERAL);
        EXPECT_EQ("F:\\Chosen", ItemText(page, IDC_GENERAL_FOLDER));
        EXPECT_TRUE(prompts_.shellCalls.empty());
        ASSERT_EQ(1u, prompts_.boxes.size());
        EXPECT_EQ("There is no log file yet. Brackenfly writes errors.log when a download fails while \"Use Log "
                  "File\" is on.",
                  prompts_.boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), prompts_.boxes[0].type);
        ASSERT_TRUE(testsupport::WriteFileText(log, "a line\r\n"));
        Click(page, IDC_GENERAL_VIEW_LOG);
    }).Then([&](HWND) {
        ASSERT_EQ(1u, prompts_.shellCalls.size());
        Click(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_CLEAR_LOG);
    }).Then([&](HWND frame) {
        EXPECT_FALSE(testsupport::FileExists(log));
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(script));
    EXPECT_EQ(1, prompts_.folderRequests);
    EXPECT_EQ("F:\\Chosen", StoredSettings()->FolderForImages);
    // Notepad by its full path from the Windows folder, the log as its quoted argument.
    const auto& call = prompts_.shellCalls.at(0);
    EXPECT_EQ("open", call.verb);
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(0, lstrcmpiA((std::string(windows) + "\\notepad.exe").c_str(), call.file.c_str())) << call.file;
    EXPECT_EQ("\"" + log + "\"", call.parameters);
}

TEST_F(OptionsFixture, ViewLogFallsBackToOpeningTheLogItselfWhenNotepadFails) {
    testsupport::ScriptedPrompts& prompts = prompts_;
    prompts.shellAnswer = [](const testsupport::ScriptedPrompts::Shell& call) {
        return call.file.find("notepad") == std::string::npos;
    };
    const std::string log = dir_.File("errors.log");
    ASSERT_TRUE(testsupport::WriteFileText(log, "x"));
    ModalScript script;
    script.Then([&](HWND) { Click(Page(IDD_OPTIONS_GENERAL), IDC_GENERAL_VIEW_LOG); })
        .Then([&](HWND frame) { Click(frame, IDCANCEL); });
    RunOptions(script);
    ASSERT_EQ(2u, prompts.shellCalls.size());
    EXPECT_EQ("open", prompts.shellCalls[1].verb);
    EXPECT_EQ(log, prompts.shellCalls[1].file);
    EXPECT_EQ("", prompts.shellCalls[1].parameters);
}

TEST_F(OptionsFixture, HelpOpensTheSelectedPagesTopic) {
    ModalScript script;
    script.Then([&](HWND frame) {
        Click(frame, IDC_OPTIONS_HELP);  // no selection: the page that shows
    }).Then([&](HWND frame) {
        SelectPage(IDD_OPTIONS_DOWNLOADING);
        EXPECT_TRUE(IsShown(Page(IDD_OPTIONS_DOWNLOADING)));
        EXPECT_FALSE(IsShown(Page(IDD_OPTIONS_GENERAL)));
        Click(frame, IDC_OPTIONS_HELP);
    }).Then([&](HWND frame) {
        SelectPage(IDD_OPTIONS_SLIDESHOW);
        Click(frame, IDC_OPTIONS_HELP);
    }).Then([&](HWND frame) { Click(frame, IDCANCEL); });
    RunOptions(script);
    ASSERT_EQ(3u, prompts_.helpRequests.size());
    const std::string chm = GetAppDirectory() + "Brackenfly.chm::/";
    EXPECT_EQ(chm + "General.htm>mainwin", prompts_.helpRequests[0]);
    EXPECT_EQ(chm + "Performance.htm>mainwin", prompts_.helpRequests[1]);
    EXPECT_EQ(chm + "Slideshow.htm>mainwin", prompts_.helpRequests[2]);
    EXPECT_TRUE(prompts_.boxes.empty());

    // Without the help file, Help says which file it did not find.
    prompts_.helpOpens = false;
    ModalScript missing;
    missing.Then([&](HWND frame) { Click(frame, IDC_OPTIONS_HELP); }).Then([&](HWND frame) { Click(frame, IDCANCEL); });
    RunOptions(missing);
    ASSERT_EQ(1u, prompts_.boxes.size());
    EXPECT_EQ("The help file \"" + GetAppDirectory() + "Brackenfly.chm\" was not found.", prompts_.boxes[0].text);
}

TEST_F(OptionsFixture, ShownByTheApplicationOverTheActiveWindow) {
    ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_EQ("Main options", testsupport::WindowText(frame));
        TypeText(ChildPageWith(frame, IDC_GENERAL_VIEW_LOG), IDC_GENERAL_FOLDER, "G:\\");
        Click(frame, IDOK);
    });
    script.Run([&] {
        app_->ShowOptionsDialog();
        return 0;
    });
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("G:\\", StoredSettings()->FolderForImages);
}
