// What the button hands over and what it refuses: a page address with letters outside the ANSI
// code page goes over as a browser sends it to a server, cookies that the code page cannot carry
// are refused unless the user lets the page go without them, and a program that is missing or
// cannot be started is reported, the press failing with the user's clipboard left alone.
#include "tests/plugin/PluginFixture.h"
#include "tests/support/PromptSupport.h"

#include <string>
#include <vector>

using namespace plugintest;

namespace {

const char kLeftAlone[] = "left alone";

}  // namespace

TEST_F(ButtonOnPageFixture, LettersOutsideTheCodePageAreCarriedExactlyOrRefusedWithAWord) {
    FakeMainWindow program;
    page_.location = L"http://example.test/\u03A9mega/\u65E5\u672C/\uFB01le";
    page_.cookies = L"w=\u03A9; j=\u65E5\u672C";
    EXPECT_EQ(static_cast<DWORD>(OLECMDF_SUPPORTED | OLECMDF_ENABLED), StatusOf(button_));

    // Cookies the program would read back changed: the user is asked, and "No" leaves everything.
    SetClipboardText(kLeftAlone);
    {
        testsupport::PromptWatcher asked("Brackenfly", IDNO);
        EXPECT_EQ(OLECMDERR_E_CANCELED, Press(button_));
        ASSERT_TRUE(asked.Answered());
        EXPECT_NE(std::string::npos, asked.PromptText().find("cookies")) << asked.PromptText();
    }
    EXPECT_EQ(kLeftAlone, ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(0, FakeMainWindow::NewTasks());

    // "Yes": the page goes without them, its address in UTF-8, percent-escaped.
    {
        testsupport::PromptWatcher asked("Brackenfly", IDYES);
        EXPECT_EQ(S_OK, Press(button_));
        EXPECT_TRUE(asked.Answered());
    }
    EXPECT_EQ("http://example.test/%CE%A9mega/%E6%97%A5%E6%9C%AC/%EF%AC%81le\n", ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(1, FakeMainWindow::NewTasks());

    // Cookies in plain letters go as they are, without a word; a host name outside ASCII takes its
    // IDNA form, the rest of the address (user name, path, query, fragment) is escaped.
    page_.location = L"http://\u00FCser@b\u00FCcher.example:8080/\u00E4?q=\u00F6#\u00DF";
    page_.cookies = L"sid=42; theme=dark";
    EXPECT_EQ(S_OK, Press(button_));
    EXPECT_EQ("http://%C3%BCser@xn--bcher-kva.example:8080/%C3%A4?q=%C3%B6#%C3%9F\nsid=42; theme=dark",
              ClipboardText());
    page_.location = L"www.example.test/\u00E9t\u00E9";
    EXPECT_EQ(S_OK, Press(button_));
    EXPECT_EQ("www.example.test/%C3%A9t%C3%A9\nsid=42; theme=dark", ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(3, FakeMainWindow::NewTasks());

    // An address no server could be sent (half a UTF-16 pair) is refused with a word.
    SetClipboardText(kLeftAlone);
    page_.location = L"http://example.test/\xD800x";
    {
        testsupport::PromptWatcher told("Brackenfly", IDOK);
        EXPECT_TRUE(FAILED(Press(button_)));
        EXPECT_TRUE(told.Answered());
        EXPECT_NE(std::string::npos, told.PromptText().find("address")) << told.PromptText();
    }
    EXPECT_EQ(kLeftAlone, ClipboardText());
    testsupport::PumpMessages(300);
    EXPECT_EQ(3, FakeMainWindow::NewTasks());
}

TEST_F(ButtonOnPageFixture, AProgramThatIsMissingOrCannotStartIsReportedAndTheClipboardLeftAlone) {
    Register();
    page_.cookies = L"sid=1";
    ASSERT_EQ(nullptr, FindWindowA("Brackenfly_MainFrame", nullptr));
    const std::string program = dir_.File("Brackenfly.exe");

    // No program beside the plug-in.
    ASSERT_TRUE(DeleteFileA(program.c_str()));
    SetClipboardText(kLeftAlone);
    {
        testsupport::PromptWatcher told("Brackenfly", IDOK);
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), Press(button_));
        ASSERT_TRUE(told.Answered());
        EXPECT_NE(std::string::npos, told.PromptText().find("not found")) << told.PromptText();
        EXPECT_NE(std::string::npos, told.PromptText().find(program)) << told.PromptText();
    }
    EXPECT_EQ(kLeftAlone, ClipboardText());

    // A file there that is no program.
    ASSERT_TRUE(testsupport::WriteFileText(program, "not a program"));
    {
        testsupport::PromptWatcher told("Brackenfly", IDOK);
        EXPECT_TRUE(FAILED(Press(button_)));
        ASSERT_TRUE(told.Answered());
        const std::string text = told.PromptText();
        EXPECT_NE(std::string::npos, text.find("could not be started")) << text;
        // The system's reason names the file itself, where its text says "%1".
        EXPECT_EQ(std::string::npos, text.find("%1")) << text;
        const size_t named = text.find(program);
        ASSERT_NE(std::string::npos, named) << text;
        EXPECT_NE(std::string::npos, text.find(program, named + program.size())) << text;
    }
    EXPECT_EQ(kLeftAlone, ClipboardText());
    EXPECT_FALSE(testsupport::FileExists(dir_.File("arguments.txt")));
}
