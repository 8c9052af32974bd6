#include "dialogs/common/FiletypeDlg.h"
#include <algorithm>
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"
#include "dialogs/common/SemicolonList.h"

LRESULT CFiletypeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    SetWindowText(title.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_FILETYPE_NAME, name.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_FILETYPE_EXTENSIONS, JoinWithSemicolons(extensions).c_str());
    return TRUE;
}

bool CFiletypeDlg::IsNameInUse(const std::string& candidate) const {
    // Exact comparison: a name that differs only in letter case is another group.
    return std::find(namesInUse.begin(), namesInUse.end(), candidate) != namesInUse.end();
}

LRESULT CFiletypeDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    const std::string typedName = GetItemString(m_hWnd, IDC_FILETYPE_NAME);
    if (typedName.empty()) {
        ShowWarningBox(m_hWnd, LocalText(IDS_FILETYPE_NAME_INVALID));
        return 0;
    }
    if (IsNameInUse(typedName)) {
        ShowWarningBox(m_hWnd, LocalText(IDS_FILETYPE_NAME_TAKEN));
        return 0;
    }
    std::vector<std::string> typedExtensions =
        ParseExtensionList(GetItemString(m_hWnd, IDC_FILETYPE_EXTENSIONS));
    if (typedExtensions.empty()) {
        ShowWarningBox(m_hWnd, LocalText(IDS_FILETYPE_EXTENSIONS_INVALID));
        return 0;
    }
    extensions.swap(typedExtensions);
    name = typedName;
    EndDialog(IDOK);
    return 0;
}

LRESULT CFiletypeDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
