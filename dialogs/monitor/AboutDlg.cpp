#include "dialogs/monitor/AboutDlg.h"
#include "framework/GdiHolders.h"

#include "core/InternationalSupport.h"
#include "core/ProgramVersion.h"
#include "core/TextFormat.h"
#include "core/WindowRoutines.h"
#include "framework/AppModule.h"
#include "framework/UserPrompts.h"
#include "framework/SystemFont.h"
#include "resources/frame_ids.h"

// The maker's addresses.
const char* const AboutDlg::kProductsAddress = "https://brackenfly.example/products/";
const char* const AboutDlg::kSiteAddress = "https://brackenfly.example/";
const char* const AboutDlg::kSupportAddress = "mailto:support@brackenfly.example";
const char* const AboutDlg::kCommentsAddress = "mailto:comments@brackenfly.example";

namespace {

GdiObject<HFONT> MakeFont(const LOGFONTA& base, LONG weight, const char* face, int points) {
    LOGFONTA description = base;
    description.lfWeight = weight;
    if (face) lstrcpynA(description.lfFaceName, face, LF_FACESIZE);
    if (points > 0) description.lfHeight = -MulDiv(ScreenPixelsPerInchY(), points, 72);
    return GdiObject<HFONT>(::CreateFontIndirectA(&description));
}

bool OnWhiteBand(int id) {
    return id == IDC_ABOUT_PRODUCT_NAME || id == IDC_ABOUT_NOTICE || id == IDC_ABOUT_VERSION || id == IDC_ABOUT_ICON ||
           id == IDC_ABOUT_HEADER_BAND;
}

}  // namespace

AboutDlg::AboutDlg(Application* app) : app_(app) {
    const LOGFONTA message = SystemMessageFont();
    titleFont_ = MakeFont(message, FW_BOLD, "Verdana Bold", 12);
    smallFont_ = MakeFont(message, FW_NORMAL, "Verdana Bold", 7);
    boldFont_ = MakeFont(message, FW_BOLD, nullptr, 0);
    background_.Reset(::CreateSolidBrush(kBackgroundColor));
}

AboutDlg::~AboutDlg() {
    // The window goes first: its controls must not be left holding our fonts.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    productsLink_.Detach();
    siteLink_.Detach();
    supportLink_.Detach();
}

LRESULT AboutDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    HICON icon = ::LoadIconA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!icon) icon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_PRODUCT_NAME, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
    ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_VERSION, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
    ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_NOTICE, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont_.Get()), FALSE);
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSION, FormatText("%d.%d", kProgramVersionMajor, kProgramVersionMinor).c_str());
    PlaceVersionAfterName();
    productsLink_.Attach(GetDlgItem(IDC_ABOUT_PRODUCTS_LINK), kProductsAddress);
    siteLink_.Attach(GetDlgItem(IDC_ABOUT_SITE_LINK), kSiteAddress);
    supportLink_.Attach(GetDlgItem(IDC_ABOUT_SUPPORT_LINK), kSupportAddress);
    CenterWindowOver(m_hWnd, ::GetParent(m_hWnd));
    return TRUE;
}

void AboutDlg::PlaceVersionAfterName() {
    // The name's length depends on the language: the version follows it at a word's distance.
    HWND name = GetDlgItem(IDC_ABOUT_PRODUCT_NAME), version = GetDlgItem(IDC_ABOUT_VERSION);
    const std::string text = CWindow(name).GetWindowText();
    SIZE extent = {0, 0};
    {
        WindowDc dc(name);
        SelectedObject font(dc.Get(), titleFont_.Get());
        ::GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    }
    RECT nameRect, versionRect;
    ::GetWindowRect(name, &nameRect);
    ::GetWindowRect(version, &versionRect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&nameRect), 2);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&versionRect), 2);
    const int left = nameRect.left + extent.cx + extent.cy / 2;
    if (left < versionRect.left)
        ::SetWindowPos(version, nullptr, left, versionRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT AboutDlg::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
    return 1;
}

LRESULT AboutDlg::OnColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (OnWhiteBand(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) {
        ::SetTextColor(dc, kHeaderTextColor);
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    }
    ::SetBkColor(dc, kBackgroundColor);
    return reinterpret_cast<LRESULT>(background_.Get());
}

LRESULT AboutDlg::OnClose(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
}

LRESULT AboutDlg::OnComments(WORD, WORD, HWND, BOOL&) {
    UserPrompts().ShellExecute(m_hWnd, "open", kCommentsAddress, "", "", SW_SHOWNORMAL);
    return 0;
}
