#pragma once
// URL-template task page "General": the task's name, Basic authorization for its addresses, and
// the web-form login with the address where the login browser opens.
#include "dialogs/tasks/TaskNamePage.h"

class TaskOptions2GeneralDlg : public TaskNamePage {
public:
    explicit TaskOptions2GeneralDlg(TaskOptionsDlgInterface* owner) : TaskNamePage(IDD_TASK2_GENERAL, owner) {}

    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;
    bool Validate() override;

    BEGIN_MSG_MAP(TaskOptions2GeneralDlg)
        COMMAND_ID_HANDLER(IDC_TASK_BASIC_AUTH, OnAuthorizationClicked)
        COMMAND_ID_HANDLER(IDC_TASK_WEB_AUTH, OnAuthorizationClicked)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

protected:
    // Made from the template address the task had when the dialog opened.
    std::string NameFromAddress() override;

private:
    LRESULT OnAuthorizationClicked(WORD, WORD id, HWND, BOOL&);
    void EnableAuthorizationControls();

    std::string templateAddress_;
};
