#include "dialogs/tasks/TestUrlsDlg.h"
#include "framework/GdiHolders.h"
#include <commctrl.h>
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"

int TestUrlsDlg::ClampCount(int typed) { return typed < kMinCount ? kMinCount : typed > kMaxCount ? kMaxCount : typed; }

LRESULT TestUrlsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    ::SendDlgItemMessageA(m_hWnd, IDC_TEST_COUNT_SPIN, UDM_SETRANGE32, kMinCount, kMaxCount);
    ::SendDlgItemMessageA(m_hWnd, IDC_TEST_COUNT_SPIN, UDM_SETPOS32, 0, kInitialCount);
    ::SetDlgItemInt(m_hWnd, IDC_TEST_COUNT, kInitialCount, FALSE);
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    FillList();
    return TRUE;
}

void TestUrlsDlg::FillList() {
    HWND list = GetDlgItem(IDC_TEST_LIST);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const int count = ClampCount(GetItemNumber(m_hWnd, IDC_TEST_COUNT));
    // The text shows what was used.
    if (std::to_string(count) != GetItemString(m_hWnd, IDC_TEST_COUNT)) ::SetDlgItemInt(m_hWnd, IDC_TEST_COUNT, static_cast<UINT>(count), FALSE);
    if (!source_) return;
    LONG widest = 0;
    {
        WindowDc dc(list);
        SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        for (const std::string& url : source_(static_cast<size_t>(count))) {
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(url.c_str()));
            SIZE size = {};
            if (::GetTextExtentPoint32A(dc.Get(), url.c_str(), static_cast<int>(url.size()), &size) && size.cx > widest)
                widest = size.cx;
        }
    }
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
}

LRESULT TestUrlsDlg::OnRefresh(WORD, WORD, HWND, BOOL&) {
    FillList();
    return 0;
}

LRESULT TestUrlsDlg::OnClose(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
}
