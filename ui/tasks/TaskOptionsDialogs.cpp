#include "ui/tasks/TaskOptionsDialogs.h"

#include "dialogs/tasks/TaskDialogs.h"
#include "dialogs/tasks/TaskOptions2Dlg.h"
#include "dialogs/tasks/TaskOptionsDlg.h"
#include "ui/tasks/TasksTree.h"

namespace {
// The dialogs end with OK, "Start Now!" or Cancel; they have saved the task on the first two.
TaskDialogResult ResultOf(INT_PTR code) {
    if (code == IDC_TASK_START_NOW) return TaskDialogResult::StartNow;
    return code == IDOK ? TaskDialogResult::Ok : TaskDialogResult::Cancel;
}
}  // namespace

TaskDialogResult TaskOptionsDialogs::NewTask(HWND owner, SearchLinkTask& task) {
    TaskOptionsDlg dialog(&task, app_, true, tree_->Tasks());
    return ResultOf(dialog.DoModal(owner));
}

TaskDialogResult TaskOptionsDialogs::NewTemplateTask(HWND owner, ConstructLinkTask& task) {
    if (task.StartingAddresses.empty()) task.StartingAddresses.push_back(StartingAddress());
    TaskOptions2Dlg dialog(&task, app_, true, tree_->Tasks());
    return ResultOf(dialog.DoModal(owner));
}

TaskDialogResult TaskOptionsDialogs::TaskOptionsOf(HWND owner, TaskOptions& task) {
    return ResultOf(RunTaskOptionsDialog(owner, app_, &task, tree_->Tasks()));
}
