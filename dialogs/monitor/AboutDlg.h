#pragma once
// The about box: the product's name and version on a white band, links to the maker's pages
// and a button that writes to the maker, on a pale yellow background.
#include <windows.h>

#include "framework/DialogImpl.h"
#include "framework/GdiHolders.h"
#include "framework/HyperLink.h"
#include "resources/monitor_ids.h"

class Application;

class AboutDlg : public CDialogImpl<AboutDlg> {
public:
    enum { IDD = IDD_ABOUTBOX };
    static constexpr COLORREF kBackgroundColor = 0xCCFFFF;
    static constexpr COLORREF kHeaderTextColor = 0xBD754A;
    static const char* const kProductsAddress;
    static const char* const kSiteAddress;
    static const char* const kSupportAddress;
    static const char* const kCommentsAddress;

    explicit AboutDlg(Application* app);
    ~AboutDlg() override;

    HFONT TitleFont() const { return titleFont_.Get(); }
    HFONT SmallFont() const { return smallFont_.Get(); }
    HFONT BoldFont() const { return boldFont_.Get(); }
    HBRUSH BackgroundBrush() const { return background_.Get(); }

    BEGIN_MSG_MAP(AboutDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnColorStatic)
        COMMAND_ID_HANDLER(IDOK, OnClose)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
        COMMAND_ID_HANDLER(IDC_ABOUT_COMMENTS, OnComments)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnColorStatic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&);
    LRESULT OnComments(WORD, WORD, HWND, BOOL&);
    void PlaceVersionAfterName();

    Application* app_;
    // Lent to the controls (WM_SETFONT leaves a font its maker's): freed after the window is gone.
    GdiObject<HFONT> titleFont_;
    GdiObject<HFONT> smallFont_;
    GdiObject<HFONT> boldFont_;
    GdiObject<HBRUSH> background_;
    CHyperLink productsLink_, siteLink_, supportLink_;
};
