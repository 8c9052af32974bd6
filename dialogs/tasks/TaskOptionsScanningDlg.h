#pragma once
// Site-scanning task page "Scanning": how deep, where pages and pictures may lie, in which order
// found links are followed. One of the profile pages.
#include "core/SearchLinkTask.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsScanningDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsScanningDlg(TaskOptionsDlgInterface*) : OptionsChildDlg<TaskOptions>(IDD_TASK_SCANNING) {}

    // The edited object is always a SearchLinkTask (the task or a profile).
    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;

protected:
    void InitControls() override { SetSpinRange(IDC_SCAN_LEVELS_SPIN, 1, 100); }
};
