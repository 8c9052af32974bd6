#pragma once
// URL-template task page "URL Template": the address template and the list of generators that
// fill its placeholders ("{1}" by the first row, "{2}" by the second...). The page edits copies
// of the task's generators, so a Cancel of the dialog leaves the task's own untouched.
#include <string>
#include <vector>
#include "core/TaskOptions.h"
#include "core/TemplateBase.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "framework/OwningList.h"
#include "resources/command_ids.h"
#include "resources/task_options_ids.h"

class TaskOptionsUrlTemplateDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsUrlTemplateDlg(TaskOptionsDlgInterface* owner)
        : OptionsChildDlg<TaskOptions>(IDD_TASK2_URL_TEMPLATE), owner_(owner) {}
    ~TaskOptionsUrlTemplateDlg() override;

    // The edited object is always a ConstructLinkTask.
    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;
    bool Validate() override;

    const std::vector<TemplateBase*>& Generators() const { return generators_.Items(); }
    // Up to count addresses of the template text and generators the page holds now.
    std::vector<std::string> BuildTestUrls(size_t count);

    BEGIN_MSG_MAP(TaskOptionsUrlTemplateDlg)
        MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
        COMMAND_ID_HANDLER(IDC_TEMPLATE_NEW, OnNew)
        COMMAND_ID_HANDLER(ID_TEMPLATE_NUMBERS, OnNewGenerator)
        COMMAND_ID_HANDLER(ID_TEMPLATE_STRINGS, OnNewGenerator)
        COMMAND_ID_HANDLER(ID_TEMPLATE_CHARS, OnNewGenerator)
        COMMAND_ID_HANDLER(IDC_TEMPLATE_EDIT, OnEdit)
        COMMAND_ID_HANDLER(IDC_TEMPLATE_REMOVE, OnRemove)
        COMMAND_ID_HANDLER(IDC_TEMPLATE_UP, OnMoveUp)
        COMMAND_ID_HANDLER(IDC_TEMPLATE_DOWN, OnMoveDown)
        COMMAND_ID_HANDLER(IDC_TEMPLATE_TEST, OnTest)
        NOTIFY_HANDLER(IDC_TEMPLATE_LIST, LVN_ITEMCHANGED, OnSelectionChanged)
        NOTIFY_HANDLER(IDC_TEMPLATE_LIST, NM_DBLCLK, OnDoubleClick)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnShowWindow(UINT, WPARAM shown, LPARAM, BOOL& handled);
    LRESULT OnNew(WORD, WORD, HWND, BOOL&);
    LRESULT OnNewGenerator(WORD, WORD id, HWND, BOOL&);
    LRESULT OnEdit(WORD, WORD, HWND, BOOL&);
    LRESULT OnRemove(WORD, WORD, HWND, BOOL&);
    LRESULT OnMoveUp(WORD, WORD, HWND, BOOL&);
    LRESULT OnMoveDown(WORD, WORD, HWND, BOOL&);
    LRESULT OnTest(WORD, WORD, HWND, BOOL&);
    LRESULT OnSelectionChanged(int, LPNMHDR, BOOL&);
    LRESULT OnDoubleClick(int, LPNMHDR, BOOL&);

    HWND TopWindow() const;
    HWND List() const { return GetDlgItem(IDC_TEMPLATE_LIST); }
    int SelectedRow() const;
    void SelectRow(int row);
    void AppendRow(const TemplateBase& generator);
    void SetPlaceholderText(int row);
    void SetDescriptionText(int row);
    void MoveSelected(int offset);
    void UpdateButtons();

    TaskOptionsDlgInterface* owner_;
    OwningList<TemplateBase> generators_;  // copies, in placeholder order
};
