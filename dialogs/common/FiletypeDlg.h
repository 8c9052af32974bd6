#pragma once
// Edits one file-type group: its name and its extensions ("jpg;.png;" typed into one edit).
// The caller fills the name, the extensions and the names already in use (leaving out the
// group's own name when it edits one), runs DoModal and on IDOK reads name and extensions.
#include <string>
#include <vector>
#include "framework/DialogImpl.h"
#include "resources/options_ids.h"

class CFiletypeDlg : public CDialogImpl<CFiletypeDlg> {
public:
    enum { IDD = IDD_FILETYPE };

    explicit CFiletypeDlg(const std::string& title) : title(title) {}

    std::string title;
    std::string name;
    std::vector<std::string> extensions;
    std::vector<std::string> namesInUse;

    BEGIN_MSG_MAP(CFiletypeDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    bool IsNameInUse(const std::string& candidate) const;
};
