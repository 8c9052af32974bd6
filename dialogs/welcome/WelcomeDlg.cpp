#include "dialogs/welcome/WelcomeDlg.h"
#include <cstddef>
#include "core/Application.h"
#include "core/InternationalSupport.h"
#include "core/ProgramSettings.h"
#include "core/TextFill.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"
#include "dialogs/common/HelpTopic.h"
#include "dialogs/welcome/TipRing.h"
#include "framework/UserPrompts.h"
#include "framework/SystemFont.h"
#include "framework/AppModule.h"
#include "core/ProgramVersion.h"
#include "resources/frame_ids.h"

const char* const WelcomeDlg::kWebSite = "http://www.brackenfly.net/";

namespace {
const COLORREF kBackgroundColor = 0xCCFFFF;
const COLORREF kTitleColor = 0xBD754A;
const size_t kTitleLength = 255;

}  // namespace

WelcomeDlg::WelcomeDlg(Application* app) : app_(app) {
    LOGFONTA font = SystemMessageFont();
    font.lfWeight = FW_BOLD;
    boldFont_.Reset(::CreateFontIndirectA(&font));
    lstrcpynA(font.lfFaceName, "Verdana Bold", LF_FACESIZE);
    font.lfHeight = -(ScreenPixelsPerInchY() * 14 / 72);
    titleFont_.Reset(::CreateFontIndirectA(&font));
}

WelcomeDlg::~WelcomeDlg() {
    // The window goes first: its controls must not be left holding the fonts.
    if (IsWindow()) DestroyWindow();
}

LRESULT WelcomeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    SetIcons();
    ShowTip();
    SetItemChecked(m_hWnd, IDC_WELCOME_DO_NOT_PROMPT, !app_->GetSettings()->ShowTip);
    SendDlgItemMessageA(m_hWnd, IDC_WELCOME_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), TRUE);
    // The language file's title is text, never a format: only its "%d"s take the version.
    ::SetDlgItemTextA(m_hWnd, IDC_WELCOME_TITLE,
                      FillInNumbers(LocalText(IDS_WELCOME_TITLE), {kProgramVersionMajor, kProgramVersionMinor},
                                    kTitleLength)
                          .c_str());
    SendDlgItemMessageA(m_hWnd, IDC_WELCOME_DID_YOU_KNOW, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
    if (!backgroundBrush_) backgroundBrush_.Reset(::CreateSolidBrush(kBackgroundColor));
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    ::SetFocus(GetDlgItem(IDOK));
    return FALSE;  // the focus is set: Close, not the first check box
}

void WelcomeDlg::SetIcons() {
    HICON program = ::LoadIconA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!program) program = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    SendDlgItemMessageA(m_hWnd, IDC_WELCOME_PROGRAM_ICON, STM_SETICON, reinterpret_cast<WPARAM>(program), 0);
    HICON information = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
    SendDlgItemMessageA(m_hWnd, IDC_WELCOME_INFO_ICON, STM_SETICON, reinterpret_cast<WPARAM>(information), 0);
}

void WelcomeDlg::ShowTip() {
    ProgramSettings& settings = *app_->GetSettings();
    const int32_t shown = TipIndexToShow(settings.CurrentTip);
    ::SetDlgItemTextA(m_hWnd, IDC_WELCOME_TIP, LocalText(TipStringId(shown)).c_str());
    settings.CurrentTip = TipIndexAfter(shown);
}

LRESULT WelcomeDlg::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (!backgroundBrush_) {
        handled = FALSE;
        return 0;
    }
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.Get());
    return 1;
}

LRESULT WelcomeDlg::OnColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (id == IDC_WELCOME_TITLE || id == IDC_WELCOME_PROGRAM_ICON || id == IDC_WELCOME_TIP) {
        ::SetTextColor(dc, id == IDC_WELCOME_TIP ? RGB(0, 0, 0) : kTitleColor);
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    }
    if (!backgroundBrush_) {
        handled = FALSE;
        return 0;
    }
    ::SetBkColor(dc, kBackgroundColor);
    return reinterpret_cast<LRESULT>(backgroundBrush_.Get());
}

LRESULT WelcomeDlg::OnNextTip(WORD, WORD, HWND, BOOL&) {
    ShowTip();
    return 0;
}

LRESULT WelcomeDlg::OnIntroduction(WORD, WORD, HWND, BOOL&) {
    OpenHelpTopic(m_hWnd, "WhatisBrackenfly");
    return 0;
}

LRESULT WelcomeDlg::OnWebSite(WORD, WORD, HWND, BOOL&) {
    if (!UserPrompts().ShellExecute(m_hWnd, "open", kWebSite, "", "", SW_SHOW))
        UserPrompts().ShellExecute(m_hWnd, "open", "iexplore.exe", kWebSite, "", SW_SHOW);
    return 0;
}

LRESULT WelcomeDlg::OnClose(WORD, WORD id, HWND, BOOL&) {
    ProgramSettings& settings = *app_->GetSettings();
    const bool showTip = !IsItemChecked(m_hWnd, IDC_WELCOME_DO_NOT_PROMPT);
    if (showTip != settings.ShowTip) {
        settings.ShowTip = showTip;
        settings.Save();
    }
    EndDialog(id);
    return 0;
}
