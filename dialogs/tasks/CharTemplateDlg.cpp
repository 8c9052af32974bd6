#include "dialogs/tasks/CharTemplateDlg.h"
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"
#include "dialogs/tasks/TemplateEditors.h"

namespace {
bool IsOneCaseRange(char from, char to) {
    return (from >= 'A' && from < to && to <= 'Z') || (from >= 'a' && from < to && to <= 'z');
}
}  // namespace

LRESULT CharTemplateDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    ::SetDlgItemTextA(m_hWnd, IDC_CHAR_MIN, std::string(1, static_cast<char>(generator_.from)).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_CHAR_MAX, std::string(1, static_cast<char>(generator_.to)).c_str());
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    return TRUE;
}

LRESULT CharTemplateDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    const char from = GetItemString(m_hWnd, IDC_CHAR_MIN)[0];  // an empty edit gives the terminator
    const char to = GetItemString(m_hWnd, IDC_CHAR_MAX)[0];
    if (!IsOneCaseRange(from, to)) {
        ShowTemplateWarning(m_hWnd, IDS_CHAR_RANGE_INVALID);
        return 0;
    }
    generator_.from = static_cast<int8_t>(from);
    generator_.to = static_cast<int8_t>(to);
    if (generator_.current < 0 || generator_.current < from) generator_.current = static_cast<int8_t>(from);
    if (generator_.current > to) generator_.current = static_cast<int8_t>(to);
    EndDialog(IDOK);
    return 0;
}

LRESULT CharTemplateDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
