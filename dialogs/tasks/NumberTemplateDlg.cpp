#include "dialogs/tasks/NumberTemplateDlg.h"
#include <commctrl.h>
#include <string>
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"
#include "dialogs/tasks/TemplateEditors.h"

namespace {
const int kMaxValue = 100000;
// Characters of an edit read as a number.
const size_t kMaxNumberText = 253;

int ReadNumber(HWND dialog, int editId) { return ParseNumber(GetItemString(dialog, editId).substr(0, kMaxNumberText)); }

void ShowNumber(HWND dialog, int spinId, int editId, int low, int high, int value) {
    ::SendDlgItemMessageA(dialog, spinId, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    ::SendDlgItemMessageA(dialog, spinId, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
    ::SetDlgItemTextA(dialog, editId, std::to_string(value).c_str());
}
}  // namespace

LRESULT NumberTemplateDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    ShowNumber(m_hWnd, IDC_NUMBER_MIN_SPIN, IDC_NUMBER_MIN, 0, kMaxValue, generator_.from);
    ShowNumber(m_hWnd, IDC_NUMBER_MAX_SPIN, IDC_NUMBER_MAX, 0, kMaxValue, generator_.to);
    ShowNumber(m_hWnd, IDC_NUMBER_INTERVAL_SPIN, IDC_NUMBER_INTERVAL, 1, kMaxValue, generator_.step);
    ShowNumber(m_hWnd, IDC_NUMBER_DIGITS_SPIN, IDC_NUMBER_DIGITS, 0, kMaxDigits, generator_.width);
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    return TRUE;
}

LRESULT NumberTemplateDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    const int from = ReadNumber(m_hWnd, IDC_NUMBER_MIN);
    const int to = ReadNumber(m_hWnd, IDC_NUMBER_MAX);
    const int digits = ReadNumber(m_hWnd, IDC_NUMBER_DIGITS);
    const int step = ReadNumber(m_hWnd, IDC_NUMBER_INTERVAL);
    if (from >= to) {
        ShowTemplateWarning(m_hWnd, IDS_NUMBER_RANGE_INVALID);
        return 0;
    }
    if (step <= 0) {
        ShowTemplateWarning(m_hWnd, IDS_NUMBER_INTERVAL_INVALID);
        return 0;
    }
    generator_.from = from;
    generator_.to = to;
    generator_.step = step;
    generator_.width = digits < 0 ? 0 : digits > kMaxDigits ? kMaxDigits : digits;
    if (generator_.current < from || generator_.current > to) generator_.current = generator_.current > to ? to : from;
    EndDialog(IDOK);
    return 0;
}

LRESULT NumberTemplateDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
