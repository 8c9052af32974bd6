#pragma once
// The tasks tree's task dialogs: the site-scanning and URL-template options dialogs, with the
// tree's own tasks for the name checks.
#include "ui/tasks/ITaskDialogs.h"

class TasksTree;

class TaskOptionsDialogs : public ITaskDialogs {
public:
    TaskOptionsDialogs(Application* app, const TasksTree* tree) : app_(app), tree_(tree) {}
    TaskDialogResult NewTask(HWND owner, SearchLinkTask& task) override;
    TaskDialogResult NewTemplateTask(HWND owner, ConstructLinkTask& task) override;
    TaskDialogResult TaskOptionsOf(HWND owner, TaskOptions& task) override;

private:
    Application* app_;
    const TasksTree* tree_;
};
