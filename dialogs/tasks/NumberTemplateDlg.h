#pragma once
// "Numbers": edits a number generator (first and last value, interval, digits). The generator
// changes only on OK.
#include "core/NumberTemplate.h"
#include "framework/DialogImpl.h"
#include "resources/task_options_ids.h"

class NumberTemplateDlg : public CDialogImpl<NumberTemplateDlg> {
public:
    enum { IDD = IDD_NUMBER_TEMPLATE };
    // More digits make no number longer than a 32-bit value has, only longer addresses.
    static constexpr int kMaxDigits = 20;

    explicit NumberTemplateDlg(NumberTemplate& generator) : generator_(generator) {}

    BEGIN_MSG_MAP(NumberTemplateDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    NumberTemplate& generator_;
};
