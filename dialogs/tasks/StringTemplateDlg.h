#pragma once
// "Strings": edits the list of a string generator through an edit line, a list and a small
// toolbar (new, edit, delete, delete all, up, down). The generator changes only on OK.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "core/StringTemplate.h"
#include "framework/DialogImpl.h"
#include "framework/ImageList.h"
#include "framework/ToolBarCtrl.h"
#include "resources/command_ids.h"
#include "resources/task_options_ids.h"

class StringTemplateDlg : public CDialogImpl<StringTemplateDlg> {
public:
    enum { IDD = IDD_STRING_TEMPLATE };

    explicit StringTemplateDlg(StringTemplate& generator) : generator_(generator) {}

    HWND Toolbar() const { return toolbar_; }

    BEGIN_MSG_MAP(StringTemplateDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(ID_LIST_NEW_ITEM, OnNewItem)
        COMMAND_ID_HANDLER(ID_LIST_EDIT_ITEM, OnEditItem)
        COMMAND_ID_HANDLER(ID_LIST_DELETE_ITEM, OnDeleteItem)
        COMMAND_ID_HANDLER(ID_LIST_DELETE_ALL, OnDeleteAll)
        COMMAND_ID_HANDLER(ID_LIST_UP, OnMove)
        COMMAND_ID_HANDLER(ID_LIST_DOWN, OnMove)
        COMMAND_HANDLER(IDC_STRING_EDIT, EN_CHANGE, OnEditChanged)
        COMMAND_HANDLER(IDC_STRING_LIST, LBN_SELCHANGE, OnSelectionChanged)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOA, OnToolTipText)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNewItem(WORD, WORD, HWND, BOOL&);
    LRESULT OnEditItem(WORD, WORD, HWND, BOOL&);
    LRESULT OnDeleteItem(WORD, WORD, HWND, BOOL&);
    LRESULT OnDeleteAll(WORD, WORD, HWND, BOOL&);
    LRESULT OnMove(WORD, WORD id, HWND, BOOL&);
    LRESULT OnEditChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnSelectionChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnToolTipText(int, LPNMHDR, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    void CreateToolbar();
    // Enables the toolbar's buttons after the edit and the list.
    void UpdateButtons();
    bool IsButtonEnabled(int command) const;
    std::string EditText() const;
    int Selection() const;
    int Count() const;
    std::string EntryText(int index) const;
    // Where the generator stands after its strings became `after`.
    static int KeptPosition(const StringTemplate& before, const std::vector<std::string>& after);

    StringTemplate& generator_;
    CToolBarCtrl toolbar_;
    ImageList images_;
    ImageList hotImages_;
};
