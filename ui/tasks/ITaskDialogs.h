#pragma once
// The task option dialogs as the tasks tree uses them. The dialogs save the task when the user
// accepts them (a new task gets its file then).
#include <windows.h>
#include <memory>

class TaskOptions;
class SearchLinkTask;
class ConstructLinkTask;
class Application;

enum class TaskDialogResult { Cancel = 0, Ok = 1, StartNow = 3 };

class ITaskDialogs {
public:
    virtual ~ITaskDialogs() = default;
    // A new site-scanning task (its start address and cookies may come from the clipboard), with
    // the "Start Now!" button. Ok and StartNow keep the task; Cancel drops it.
    virtual TaskDialogResult NewTask(HWND owner, SearchLinkTask& task) = 0;
    // A new URL-template task, likewise.
    virtual TaskDialogResult NewTemplateTask(HWND owner, ConstructLinkTask& task) = 0;
    // The options of an existing task of either kind, without "Start Now!".
    virtual TaskDialogResult TaskOptionsOf(HWND owner, TaskOptions& task) = 0;
};

