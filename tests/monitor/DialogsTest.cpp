// The picture information dialog and the about box: what they show, where their links lead,
// and that they give back the fonts and brushes they make.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/ImageRecord.h"
#include "dialogs/monitor/AboutDlg.h"
#include "dialogs/monitor/ImageInformation.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/PromptSupport.h"

using testsupport::ControlText;

namespace {

HWND TopWindow() {
    return CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 400, nullptr, nullptr,
                           nullptr, nullptr);
}

void ClickLink(const CHyperLink& link) {
    RECT client;
    GetClientRect(link.m_hWnd, &client);
    testsupport::ClickAt(link.m_hWnd, 3, client.bottom / 2);
}

FILETIME StoredTime(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME parts = {};
    parts.wYear = year;
    parts.wMonth = month;
    parts.wDay = day;
    parts.wHour = hour;
    parts.wMinute = minute;
    FILETIME time;
    SystemTimeToFileTime(&parts, &time);
    return time;
}

}  // namespace

TEST(PictureInformation, SizesAndTimesReadAsTheUserExpects) {
    EXPECT_EQ("1 KB", PictureSizeText(1000));
    EXPECT_EQ("999 bytes", PictureSizeText(999));
    EXPECT_EQ("2147483 KB", PictureSizeText(2147483647));
    EXPECT_EQ("0 bytes", PictureSizeText(0));
    const std::string when = PictureTimeText(StoredTime(2024, 3, 9, 17, 5));
    EXPECT_NE(std::string::npos, when.find("17:05")) << when;   // no time-zone shift, 24-hour clock
    EXPECT_NE(std::string::npos, when.find("2024")) << when;
    EXPECT_EQ(std::string::npos, when.find("PM")) << when;
    EXPECT_EQ("", PictureTimeText(FILETIME{0, 0}));

    EXPECT_EQ("http://site/a.jpg", WebLinkTarget("http://site/a.jpg"));
    EXPECT_EQ("HTTPS://site/", WebLinkTarget("HTTPS://site/"));
    EXPECT_EQ("", WebLinkTarget("javascript:alert(1)"));
    EXPECT_EQ("", WebLinkTarget("file:///C:/Windows/system32/calc.exe"));
    EXPECT_EQ("", WebLinkTarget("\\\\server\\share\\x.exe"));
    EXPECT_EQ("", WebLinkTarget("http://"));
}

TEST(PictureInformation, ShowsTheRecordAndOpensOnlySafeTargets) {
    testsupport::ScriptedPrompts prompts;
    HWND owner = TopWindow();
    ImageRecord record;
    record.pageUrl = "javascript:alert('page')";
    record.imageUrl = "http://127.0.0.1/img/cat.jpg";
    record.localPath = "C:\\Pictures\\cat.jpg";
    record.fileName = "cat.jpg";
    record.fileSize = 1500;
    const FILETIME time = StoredTime(2023, 12, 31, 23, 59);
    record.timeLow = time.dwLowDateTime;
    record.timeHigh = time.dwHighDateTime;

    ImageInformation dlg("Image information: cat.jpg");
    dlg.SetRecord(record);
    ASSERT_TRUE(dlg.Create(owner));
    EXPECT_EQ("Image information: cat.jpg", dlg.GetWindowText());
    EXPECT_EQ("cat.jpg", ControlText(dlg, IDC_INFO_FILENAME));
    EXPECT_EQ("1 KB", ControlText(dlg, IDC_INFO_SIZE));
    EXPECT_NE(std::string::npos, ControlText(dlg, IDC_INFO_TIME).find("23:59"));
    EXPECT_EQ("C:\\Pictures\\cat.jpg", ControlText(dlg, IDC_INFO_LOCAL_PATH));
    EXPECT_EQ(record.imageUrl, ControlText(dlg, IDC_INFO_IMAGE_URL));
    EXPECT_EQ(record.pageUrl, ControlText(dlg, IDC_INFO_PAGE_URL));
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(SendDlgItemMessageA(dlg, IDC_INFO_ICON, STM_GETICON, 0, 0)));

    ClickLink(dlg.ImageUrlLink());
    ClickLink(dlg.LocalPathLink());
    ClickLink(dlg.PageUrlLink());   // not a web address: nothing opens
    ASSERT_EQ(2u, prompts.shellCalls.size());
    EXPECT_EQ("open", prompts.shellCalls[0].verb);
    EXPECT_EQ("http://127.0.0.1/img/cat.jpg", prompts.shellCalls[0].file);
    EXPECT_EQ("C:\\Pictures\\cat.jpg", prompts.shellCalls[1].file);   // the path itself, no "file:///"
    EXPECT_EQ(dlg.m_hWnd, prompts.shellCalls[0].owner);

    // The links' underlined fonts go with the dialog.
    HFONT linkFont = nullptr;
    {
        ImageInformation second("x");
        second.SetRecord(record);
        ASSERT_TRUE(second.Create(owner));
        linkFont = second.ImageUrlLink().Font();
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(linkFont));
    }
    EXPECT_EQ(0u, GetObjectType(linkFont));
    DestroyWindow(dlg);
    DestroyWindow(owner);
}

TEST(AboutBox, ShowsNameVersionColoursAndLinks) {
    testsupport::ScriptedPrompts prompts;
    HWND owner = TopWindow();
    HFONT title, small, bold;
    HBRUSH background;
    {
        AboutDlg about(nullptr);
        ASSERT_TRUE(about.Create(owner));
        EXPECT_EQ("About Brackenfly", about.GetWindowText());
        EXPECT_EQ("2.0", ControlText(about, IDC_ABOUT_VERSION));
        title = about.TitleFont();
        small = about.SmallFont();
        bold = about.BoldFont();
        background = about.BackgroundBrush();
        EXPECT_EQ(title, reinterpret_cast<HFONT>(SendDlgItemMessageA(about, IDC_ABOUT_PRODUCT_NAME, WM_GETFONT, 0, 0)));
        EXPECT_EQ(title, reinterpret_cast<HFONT>(SendDlgItemMessageA(about, IDC_ABOUT_VERSION, WM_GETFONT, 0, 0)));
        EXPECT_EQ(small, reinterpret_cast<HFONT>(SendDlgItemMessageA(about, IDC_ABOUT_NOTICE, WM_GETFONT, 0, 0)));
        LOGFONTA description;
        ASSERT_TRUE(GetObjectA(title, sizeof(description), &description));
        EXPECT_EQ(700, description.lfWeight);
        EXPECT_STREQ("Verdana Bold", description.lfFaceName);
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(-MulDiv(GetDeviceCaps(screen, LOGPIXELSY), 12, 72), description.lfHeight);
        ReleaseDC(nullptr, screen);

        // Header texts in blue on white; the rest on the pale yellow background.
        HDC dc = GetDC(about);
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)),
                  SendMessageA(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(about.GetDlgItem(IDC_ABOUT_PRODUCT_NAME))));
        EXPECT_EQ(AboutDlg::kHeaderTextColor, GetTextColor(dc));
        EXPECT_EQ(reinterpret_cast<LRESULT>(background),
                  SendMessageA(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(about.GetDlgItem(IDC_ABOUT_SITE_LINK))));
        ReleaseDC(about, dc);

        // The comments button writes to the maker; the links open the maker's pages.
        SendMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_COMMENTS, BN_CLICKED),
                     reinterpret_cast<LPARAM>(about.GetDlgItem(IDC_ABOUT_COMMENTS)));
        ASSERT_EQ(1u, prompts.shellCalls.size());
        EXPECT_EQ(std::string(AboutDlg::kCommentsAddress), prompts.shellCalls[0].file);
        EXPECT_EQ(0u, prompts.shellCalls[0].file.find("mailto:"));
        RECT link;
        GetClientRect(about.GetDlgItem(IDC_ABOUT_SITE_LINK), &link);
        testsupport::ClickAt(about.GetDlgItem(IDC_ABOUT_SITE_LINK), 3, link.bottom / 2);
        ASSERT_EQ(2u, prompts.shellCalls.size());
        EXPECT_EQ(std::string(AboutDlg::kSiteAddress), prompts.shellCalls[1].file);
    }
    // Everything the box made is given back.
    EXPECT_EQ(0u, GetObjectType(title));
    EXPECT_EQ(0u, GetObjectType(small));
    EXPECT_EQ(0u, GetObjectType(bold));
    EXPECT_EQ(0u, GetObjectType(background));
    DestroyWindow(owner);
}

TEST(AboutBox, RunsModallyUntilOk) {
    HWND owner = TopWindow();
    testsupport::PromptWatcher watcher("About Brackenfly", IDOK);
    AboutDlg about(nullptr);
    EXPECT_EQ(IDOK, about.DoModal(owner));
    EXPECT_TRUE(watcher.Answered());
    EXPECT_NE(std::string::npos, watcher.PromptText().find("Brackenfly"));
    DestroyWindow(owner);
}
