#pragma once
// Task page "Task notes": free text kept with the task.
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsNotesDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsNotesDlg(TaskOptionsDlgInterface*) : OptionsChildDlg<TaskOptions>(IDD_TASK_NOTES) {}

    void Load(TaskOptions& task) override { ::SetDlgItemTextA(m_hWnd, IDC_TASK_NOTES_TEXT, task.TaskNotes.c_str()); }
    // Up to 1023 characters, as the notes edit hands them out.
    void Save(TaskOptions& task) override { task.TaskNotes = GetItemString(m_hWnd, IDC_TASK_NOTES_TEXT).substr(0, 1023); }
};
