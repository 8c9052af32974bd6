#pragma once
// "Welcome - Tip of the day": one tip per showing, the next one each time, and the choice not to
// be greeted at start-up. The main frame shows it after start-up when ShowTip is on, and for the
// Tip of the Day command:
//
//   WelcomeDlg dialog(app);
//   dialog.DoModal(::GetActiveWindow());
#include <windows.h>
#include "framework/DialogImpl.h"
#include "framework/GdiHolders.h"
#include "resources/options_ids.h"

class Application;

class WelcomeDlg : public CDialogImpl<WelcomeDlg> {
public:
    enum { IDD = IDD_WELCOME };

    // The fonts come from the system's message font now; the brush at WM_INITDIALOG.
    explicit WelcomeDlg(Application* app);
    ~WelcomeDlg() override;

    BEGIN_MSG_MAP(WelcomeDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnColorStatic)
        COMMAND_ID_HANDLER(IDC_WELCOME_NEXT_TIP, OnNextTip)
        COMMAND_ID_HANDLER(IDC_WELCOME_INTRODUCTION, OnIntroduction)
        COMMAND_ID_HANDLER(IDC_WELCOME_WEB_SITE, OnWebSite)
        COMMAND_ID_HANDLER(IDOK, OnClose)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    END_MSG_MAP()

    // The maker's web page.
    static const char* const kWebSite;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnNextTip(WORD, WORD, HWND, BOOL&);
    LRESULT OnIntroduction(WORD, WORD, HWND, BOOL&);
    LRESULT OnWebSite(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&);
    // Shows the tip at the settings' position and moves the position on.
    void ShowTip();
    void SetIcons();

    Application* app_;
    // Lent to the controls (WM_SETFONT leaves a font its maker's): freed after the window is gone.
    GdiObject<HFONT> titleFont_;
    GdiObject<HFONT> boldFont_;
    GdiObject<HBRUSH> backgroundBrush_;
};
