#pragma once
// Asks for a name (of a download profile), offering names in a drop-down. The caller fills the
// current name and the proposals, runs DoModal and on IDOK reads the name.
#include <string>
#include <vector>
#include "framework/DialogImpl.h"
#include "resources/options_ids.h"

class CMyNameDlg : public CDialogImpl<CMyNameDlg> {
public:
    enum { IDD = IDD_NAME };

    explicit CMyNameDlg(const std::string& title) : title(title) {}

    std::string title;
    std::string name;
    std::vector<std::string> proposals;

    BEGIN_MSG_MAP(CMyNameDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};
