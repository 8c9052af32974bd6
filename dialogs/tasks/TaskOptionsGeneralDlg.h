#pragma once
// Site-scanning task page "General": the task's name, its one start address (which "Browse"
// opens in the web browser) with Basic authorization, and the web-form login switch.
#include "dialogs/tasks/TaskNamePage.h"

class TaskOptionsGeneralDlg : public TaskNamePage {
public:
    explicit TaskOptionsGeneralDlg(TaskOptionsDlgInterface* owner) : TaskNamePage(IDD_TASK_GENERAL, owner) {}

    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;
    bool Validate() override;

    BEGIN_MSG_MAP(TaskOptionsGeneralDlg)
        COMMAND_ID_HANDLER(IDC_TASK_BASIC_AUTH, OnAuthorizationClicked)
        COMMAND_ID_HANDLER(IDC_TASK_WEB_AUTH, OnAuthorizationClicked)
        COMMAND_ID_HANDLER(IDC_TASK_BROWSE, OnBrowse)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

protected:
    std::string NameFromAddress() override;

private:
    LRESULT OnAuthorizationClicked(WORD, WORD id, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
};
