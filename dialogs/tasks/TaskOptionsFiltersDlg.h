#pragma once
// Task page "Size Filters": four optional limits (minimum width and height in pixels, maximum
// and minimum size in KB), each a check box with a number whose edit and arrows follow it.
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsFiltersDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsFiltersDlg(TaskOptionsDlgInterface*) : OptionsChildDlg<TaskOptions>(IDD_TASK_FILTERS) {}

    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;

    BEGIN_MSG_MAP(TaskOptionsFiltersDlg)
        COMMAND_ID_HANDLER(IDC_SIZE_MIN_WIDTH, OnRowClicked)
        COMMAND_ID_HANDLER(IDC_SIZE_MIN_HEIGHT, OnRowClicked)
        COMMAND_ID_HANDLER(IDC_SIZE_MAX_SIZE, OnRowClicked)
        COMMAND_ID_HANDLER(IDC_SIZE_MIN_SIZE, OnRowClicked)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnRowClicked(WORD, WORD, HWND, BOOL&);
    void EnableRows();
};
