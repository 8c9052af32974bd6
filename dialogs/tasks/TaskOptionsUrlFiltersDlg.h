#pragma once
// Site-scanning task page "URL Filters": image-name masks and the address texts that admit or
// refuse pages and pictures, each list typed into one edit separated by ";".
#include "core/SearchLinkTask.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsUrlFiltersDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsUrlFiltersDlg(TaskOptionsDlgInterface*) : OptionsChildDlg<TaskOptions>(IDD_TASK_URL_FILTERS) {}

    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;
};
