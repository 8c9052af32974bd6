#pragma once
// "Chars": edits a character generator (first and last character, both of one case, the first
// below the last). The generator changes only on OK.
#include "core/CharTemplate.h"
#include "framework/DialogImpl.h"
#include "resources/task_options_ids.h"

class CharTemplateDlg : public CDialogImpl<CharTemplateDlg> {
public:
    enum { IDD = IDD_CHAR_TEMPLATE };

    explicit CharTemplateDlg(CharTemplate& generator) : generator_(generator) {}

    BEGIN_MSG_MAP(CharTemplateDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    CharTemplate& generator_;
};
