#pragma once
// "Select images by": the conditions under which the current task's pictures are selected. One
// object lives in the main frame for the whole run, so the last conditions are offered again.
#include <string>
#include "framework/DialogImpl.h"
#include "resources/pictures_ids.h"
#include "dialogs/pictures/ISelectImagesDialog.h"
#include "dialogs/pictures/PictureCriteria.h"

class SelectImagesDlg : public CDialogImpl<SelectImagesDlg>, public ISelectImagesDialog {
public:
    enum { IDD = IDD_SELECT_IMAGES };

    INT_PTR DoModal(HWND owner) override { return CDialogImpl<SelectImagesDlg>::DoModal(owner); }
    const PictureCriteria* GetCriteria() const override { return &criteria; }

    PictureCriteria criteria;

    BEGIN_MSG_MAP(SelectImagesDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(IDC_SELECT_BY_SIZE, OnCheck)
        COMMAND_ID_HANDLER(IDC_SELECT_WIDTH_LARGER, OnCheck)
        COMMAND_ID_HANDLER(IDC_SELECT_WIDTH_SMALLER, OnCheck)
        COMMAND_ID_HANDLER(IDC_SELECT_HEIGHT_LARGER, OnCheck)
        COMMAND_ID_HANDLER(IDC_SELECT_HEIGHT_SMALLER, OnCheck)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnCheck(WORD, WORD, HWND, BOOL&);
    void ApplyEnableRules();
};
