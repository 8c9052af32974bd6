#pragma once
// Task page "Save options": the task's picture folder (empty: the program's picture folder and
// the task's name) and how pictures are laid out below it.
#include <string>
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsSaveDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsSaveDlg(TaskOptionsDlgInterface* owner)
        : OptionsChildDlg<TaskOptions>(IDD_TASK_SAVE), owner_(owner) {}

    void Activate(bool shown) override;
    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;

    BEGIN_MSG_MAP(TaskOptionsSaveDlg)
        COMMAND_ID_HANDLER(IDC_SAVE_BROWSE, OnBrowse)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

private:
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
    // The program's picture folder + the task's current name.
    std::string DefaultFolder();

    TaskOptionsDlgInterface* owner_;
};
