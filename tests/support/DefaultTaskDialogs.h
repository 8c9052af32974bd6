#pragma once
// Task dialogs that ask nothing: a new task is named after its start address (or "New Task"),
// saved and accepted; the options of an existing task are left as they are.
#include "ui/tasks/ITaskDialogs.h"

class DefaultTaskDialogs : public ITaskDialogs {
public:
    TaskDialogResult NewTask(HWND owner, SearchLinkTask& task) override;
    TaskDialogResult NewTemplateTask(HWND owner, ConstructLinkTask& task) override;
    TaskDialogResult TaskOptionsOf(HWND owner, TaskOptions& task) override;
};
