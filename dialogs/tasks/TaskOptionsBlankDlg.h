#pragma once
// URL-template task page "Download options": only points at the pages below it.
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsBlankDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsBlankDlg(TaskOptionsDlgInterface*) : OptionsChildDlg<TaskOptions>(IDD_TASK2_BLANK) {}
};
