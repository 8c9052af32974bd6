#include "dialogs/common/MyNameDlg.h"
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"

LRESULT CMyNameDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    SetWindowText(title.c_str());
    HWND combo = GetDlgItem(IDC_NAME_COMBO);
    if (!name.empty()) ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    for (const std::string& proposal : proposals)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(proposal.c_str()));
    if (!name.empty()) ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return TRUE;
}

LRESULT CMyNameDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    const std::string typed = GetItemString(m_hWnd, IDC_NAME_COMBO);
    if (typed.empty()) {
        ShowWarningBox(m_hWnd, LocalText(IDS_NAME_EMPTY));
        return 0;
    }
    name = typed;
    EndDialog(IDOK);
    return 0;
}

LRESULT CMyNameDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
