// The login browser through its real dialog, around a stand-in for the system's web-browser
// control registered under the control's class id: where it opens, what follows navigations,
// the toolbars, Enter in and outside the address edit, resizing, and what OK and Cancel hand back
// to the task that is about to start.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>
#include "core/SearchLinkTask.h"
#include "dialogs/webbrowser/WebBrowser.h"
#include "dialogs/webbrowser/WebLogin.h"
#include "framework/AxHostWindow.h"
#include "framework/DispParams.h"
#include "tests/support/DialogShots.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"
#include "tests/webbrowser/WebBrowserStandIn.h"

using testsupport::ItemText;
using testsupport::ModalScript;
using testsupport::TypeText;
using testsupport::WindowText;

namespace {

class WebLoginTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::OleInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        AxWinInit();
        ASSERT_EQ(S_OK, StandInRegister());
    }
    static void TearDownTestSuite() {
        StandInRevoke();
        ::OleUninitialize();
    }
    void SetUp() override { StandInReset(); }
    void TearDown() override {
        // Whatever way the dialog ended, the browser was let go and its events disconnected.
        EXPECT_EQ(0, StandInLiveBrowsers());
        EXPECT_EQ(0, StandInAdvisedSinks());
    }
};

HWND ToolBar(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

bool ButtonEnabled(HWND dialog, int toolBarId, int command) {
    return ::SendMessageA(ToolBar(dialog, toolBarId), TB_ISBUTTONENABLED, command, 0) != 0;
}

// A user's click on a toolbar button: pressed and released over it (a disabled one ignores it).
void ClickToolButton(HWND dialog, int toolBarId, int command) {
    HWND bar = ToolBar(dialog, toolBarId);
    const LRESULT index = ::SendMessageA(bar, TB_COMMANDTOINDEX, command, 0);
    RECT button = {};
    ::SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageA(bar, WM_MOUSEMOVE, 0, at);
    ::SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(bar, WM_LBUTTONUP, 0, at);
}

// Enter pressed in window (which gets the focus first), as the dialog's modal loop sees it.
void PressEnterIn(HWND window) {
    ::SetFocus(window);
    ::PostMessageA(window, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(window, WM_KEYUP, VK_RETURN, 0xC0000001);
}

std::string Calls() { return StandInCalls(); }

std::string ToolTip(HWND dialog, int toolBarId, int command) {
    HWND tips = reinterpret_cast<HWND>(::SendMessageA(ToolBar(dialog, toolBarId), TB_GETTOOLTIPS, 0, 0));
    char text[100] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = ToolBar(dialog, toolBarId);
    tool.uId = static_cast<UINT_PTR>(command);
    tool.lpszText = text;
    ::SendMessageA(tips, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

RECT RectIn(HWND dialog, HWND control) {
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ItemRect(HWND dialog, int id) { return RectIn(dialog, ::GetDlgItem(dialog, id)); }

SIZE WindowSize(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what) {
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

RECT Shifted(RECT rect, int dLeft, int dTop, int dRight, int dBottom) {
    return {rect.left + dLeft, rect.top + dTop, rect.right + dRight, rect.bottom + dBottom};
}

TEST_F(WebLoginTest, FollowsTheUsersWayThroughTheSiteAndHandsBackThePageAndItsCookies) {
    WebBrowser dialog;
    dialog.SetAddress("http://site.test/login");
    ModalScript script;
    script.Then([&](HWND window) {
        EXPECT_EQ("Web authorization", WindowText(window));
        EXPECT_EQ("Navigate http://site.test/login", Calls());
        EXPECT_EQ("http://site.test/login", ItemText(window, IDC_WEB_ADDRESS));
        EXPECT_FALSE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_BACK));
        EXPECT_FALSE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD));
        EXPECT_TRUE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_STOP));
        // Enter in the address edit goes there and keeps the dialog open.
        TypeText(window, IDC_WEB_ADDRESS, "http://site.test/members");
        PressEnterIn(::GetDlgItem(window, IDC_WEB_ADDRESS));
    }).Then([&](HWND window) {
        EXPECT_EQ("Navigate http://site.test/login\nNavigate http://site.test/members", Calls());
        EXPECT_TRUE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_BACK));
        EXPECT_FALSE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD));
        // A frame of the page navigating changes nothing; neither does a notice about other commands.
        StandInNavigateFrame(L"http://ads.test/banner");
        StandInFireCommandState(CSC_UPDATECOMMANDS, 0);
        EXPECT_EQ("http://site.test/members", ItemText(window, IDC_WEB_ADDRESS));
        EXPECT_TRUE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_BACK));
        // The Go button goes to what is typed.
        TypeText(window, IDC_WEB_ADDRESS, "http://site.test/gallery");
        ClickToolButton(window, IDR_WEB_GO_TOOLBAR, ID_BROWSER_GO);
        ClickToolButton(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_BACK);
    }).Then([&](HWND window) {
        EXPECT_EQ("http://site.test/members", ItemText(window, IDC_WEB_ADDRESS));
        EXPECT_TRUE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD));
        ClickToolButton(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD);
        ClickToolButton(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_STOP);
        ClickToolButton(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_REFRESH);
    }).Then([&](HWND window) {
        EXPECT_EQ("http://site.test/gallery", ItemText(window, IDC_WEB_ADDRESS));
        EXPECT_FALSE(ButtonEnabled(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD));
        // Forward is disabled now: a click on it reaches nobody.
        ClickToolButton(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD);
        ClickToolButton(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_BACK);
    }).Then([&](HWND) {
        // The user logged in on the page; Enter anywhere but in the address edit means OK.
        StandInSetCookie(L"session=4f2a; user=bob");
        PressEnterIn(StandInWindow());
    });
    EXPECT_EQ(IDOK, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(
        "Navigate http://site.test/login\nNavigate http://site.test/members\nNavigate http://site.test/gallery\n"
        "GoBack\nGoForward\nStop\nRefresh\nGoBack",
        Calls());
    EXPECT_EQ("http://site.test/members", dialog.GetAddress());
    EXPECT_EQ("session=4f2a; user=bob", dialog.GetCookie());
}

TEST_F(WebLoginTest, OkGivesTheTaskThePagesCookiesAndCancelLeavesItUnstarted) {
    SearchLinkTask task;
    task.CollectCookies = true;
    task.Cookies = "old=1";
    StartingAddress start;
    start.Url = "http://site.test/login";
    task.StartingAddresses.push_back(start);

    ModalScript cancelled;
    cancelled.Then([](HWND window) {
        StandInSetCookie(L"fresh=2");
        testsupport::Click(window, IDCANCEL);
    });
    bool started = true;
    cancelled.Run([&] { return (started = LogInBeforeStart(nullptr, task)) ? IDOK : IDCANCEL; });
    EXPECT_FALSE(started);
    EXPECT_EQ("old=1", task.Cookies);

    ModalScript accepted;
    accepted.Then([](HWND window) {
        StandInSetCookie(L"fresh=2");
        testsupport::Click(window, IDOK);  // focus is in the address edit: this navigates again
    }).Then([](HWND window) {
        ::SetFocus(::GetDlgItem(window, IDOK));
        testsupport::Click(window, IDOK);
    });
    accepted.Run([&] { return (started = LogInBeforeStart(nullptr, task)) ? IDOK : IDCANCEL; });
    EXPECT_TRUE(started);
    EXPECT_EQ("fresh=2", task.Cookies);
    EXPECT_EQ("Navigate http://site.test/login\nNavigate http://site.test/login\nNavigate http://site.test/login",
              Calls());

    // A page without cookies gives the task none.
    StandInReset();
    ModalScript noCookie;
    noCookie.Then([](HWND window) { PressEnterIn(::GetDlgItem(window, IDC_WEB_BROWSER)); });
    noCookie.Run([&] { return (started = LogInBeforeStart(nullptr, task)) ? IDOK : IDCANCEL; });
    EXPECT_TRUE(started);
    EXPECT_EQ("", task.Cookies);
}

TEST_F(WebLoginTest, WithoutAnAddressTheHomePageOpensAndAMissingDocumentKeepsTheLastAddress) {
    WebLoginResult result;
    ModalScript script;
    script.Then([](HWND window) {
        EXPECT_EQ("GoHome", Calls());
        EXPECT_EQ(std::string("http://home.standin.test/"), ItemText(window, IDC_WEB_ADDRESS));
        StandInSetCookie(L"ignored=1");
        StandInSetNoDocument(1);
        PressEnterIn(StandInWindow());
    });
    script.Run([&] {
        result = RunWebLogin(nullptr, "");
        return IDOK;
    });
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ("http://home.standin.test/", result.address);
    EXPECT_EQ("", result.cookies);
}

TEST_F(WebLoginTest, ResizingMovesTheControlsByTheirRulesAndNeverShrinksBelowTheStart) {
    WebBrowser dialog;
    dialog.SetAddress("http://site.test/");
    ModalScript script;
    script.Then([&](HWND window) {
        // The toolbars lie exactly over their placeholders, with the tooltips of their commands.
        ExpectRect(ItemRect(window, IDC_WEB_NAV_PLACE), ItemRect(window, IDR_WEB_NAV_TOOLBAR), "navigation bar");
        ExpectRect(ItemRect(window, IDC_WEB_GO_PLACE), ItemRect(window, IDR_WEB_GO_TOOLBAR), "go bar");
        EXPECT_EQ("Go back", ToolTip(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_BACK));
        EXPECT_EQ("Go Forward", ToolTip(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_FORWARD));
        EXPECT_EQ("Refresh", ToolTip(window, IDR_WEB_NAV_TOOLBAR, ID_BROWSER_REFRESH));
        EXPECT_EQ("Go", ToolTip(window, IDR_WEB_GO_TOOLBAR, ID_BROWSER_GO));
        EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_STYLE) & WS_CLIPCHILDREN);

        const SIZE start = WindowSize(window);
        const int ids[] = {IDR_WEB_NAV_TOOLBAR, IDC_WEB_ADDRESS, IDR_WEB_GO_TOOLBAR, IDC_WEB_BROWSER,
                           IDC_WEB_SEPARATOR,   IDOK,            IDCANCEL,           CDialogResize::kSizeGripId};
        RECT before[8];
        for (int i = 0; i < 8; ++i) before[i] = ItemRect(window, ids[i]);

        const int dx = 120, dy = 90;
        ::SetWindowPos(window, nullptr, 0, 0, start.cx + dx, start.cy + dy, SWP_NOMOVE | SWP_NOZORDER);
        ExpectRect(before[0], ItemRect(window, ids[0]), "navigation bar stays");
        ExpectRect(Shifted(before[1], 0, 0, dx, 0), ItemRect(window, ids[1]), "address widens");
        ExpectRect(Shifted(before[2], dx, 0, dx, 0), ItemRect(window, ids[2]), "go bar follows the right edge");
        ExpectRect(Shifted(before[3], 0, 0, dx, dy), ItemRect(window, ids[3]), "browser grows");
        ExpectRect(Shifted(before[4], 0, dy, dx, dy), ItemRect(window, ids[4]), "separator");
        ExpectRect(Shifted(before[5], dx, dy, dx, dy), ItemRect(window, ids[5]), "OK");
        ExpectRect(Shifted(before[6], dx, dy, dx, dy), ItemRect(window, ids[6]), "Cancel");
        ExpectRect(Shifted(before[7], dx, dy, dx, dy), ItemRect(window, ids[7]), "size grip");
        // The control inside fills its grown host.
        RECT host = {}, page = {};
        ::GetClientRect(::GetDlgItem(window, IDC_WEB_BROWSER), &host);
        ::GetClientRect(StandInWindow(), &page);
        ExpectRect(host, page, "browser window");

        ::SetWindowPos(window, nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(start.cx, WindowSize(window).cx);
        EXPECT_EQ(start.cy, WindowSize(window).cy);
        ExpectRect(before[3], ItemRect(window, ids[3]), "browser back to its first size");
        testsupport::Click(window, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_TRUE(script.Finished());
}

TEST(DispParams, ReadsArgumentsByPositionWhateverWayTheyCame) {
    VARIANT inner[2], args[4];
    for (VARIANT& v : inner) ::VariantInit(&v);
    for (VARIANT& v : args) ::VariantInit(&v);
    V_VT(&inner[0]) = VT_BSTR;
    V_BSTR(&inner[0]) = ::SysAllocString(L"http://x.test/");
    V_VT(&inner[1]) = VT_BOOL;
    V_BOOL(&inner[1]) = VARIANT_TRUE;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    // Last-first: position 0 is args[3].
    V_VT(&args[3]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[3]) = &inner[0];
    V_VT(&args[2]) = VT_I4;
    V_I4(&args[2]) = 2;
    V_VT(&args[1]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[1]) = &inner[1];
    V_VT(&args[0]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&args[0]) = &cancel;
    DISPPARAMS params = {args, nullptr, 4, 0};

    std::wstring text;
    long number = 0;
    bool flag = false;
    IUnknown* object = nullptr;
    EXPECT_TRUE(DispArgString(&params, 0, text));
    EXPECT_EQ(L"http://x.test/", text);
    EXPECT_TRUE(DispArgLong(&params, 1, number));
    EXPECT_EQ(2, number);
    EXPECT_TRUE(DispArgBool(&params, 2, flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(DispArgBool(&params, 3, flag));
    EXPECT_FALSE(flag);
    // Wrong types and positions past the end are refused, never read.
    EXPECT_FALSE(DispArgString(&params, 1, text));
    EXPECT_FALSE(DispArgObject(&params, 0, object));
    EXPECT_FALSE(DispArgLong(&params, 4, number));
    EXPECT_FALSE(DispArgLong(nullptr, 0, number));
    DISPPARAMS empty = {nullptr, nullptr, 3, 0};
    EXPECT_FALSE(DispArgLong(&empty, 0, number));
    ::VariantClear(&inner[0]);
}

TEST_F(WebLoginTest, AHostWhoseClassCannotBeMadeStaysEmpty) {
    HWND host = ::CreateWindowExA(0, kAxHostWindowClass, "{00000000-0000-0000-0000-0000000000AB}", WS_POPUP, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host);
    IUnknown* control = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(E_FAIL, AxGetControl(host, &control));
    EXPECT_EQ(nullptr, control);
    HWND notText = ::CreateWindowExA(0, kAxHostWindowClass, "no such control", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, nullptr, nullptr);
    EXPECT_EQ(E_FAIL, AxGetControl(notText, &control));
    EXPECT_EQ(E_FAIL, AxGetControl(::GetDesktopWindow(), &control));
    ::DestroyWindow(notText);
    ::DestroyWindow(host);
}

// Not a check: the dialog for scripts/dialog-shots.sh (see tests/support/DialogShots.h).
TEST_F(WebLoginTest, DISABLED_Showcase) {
    if (testsupport::ShotsFolder().empty()) GTEST_SKIP() << "BKF_SHOTS names the hand-over folder";
    WebBrowser dialog;
    dialog.SetAddress("http://www.example.com/members/login.php");
    ModalScript script;
    script.Then([](HWND) {
        testsupport::Photograph("webbrowser");
    }).Then([](HWND window) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left + 240, rect.bottom - rect.top + 160,
                       SWP_NOMOVE | SWP_NOZORDER);
        testsupport::Photograph("webbrowser-larger");
    }).Then([](HWND window) { testsupport::Click(window, IDCANCEL); });
    script.Run([&] { return dialog.DoModal(nullptr); }, 60000);
}

}  // namespace
