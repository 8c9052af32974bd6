#pragma once
// How the tasks tree opens the task dialogs. Every function runs its dialog modally over owner
// and, on OK or "Start Now!", has written the task file before it returns.
//
//   ID_TASK_NEW:            bool startNow = false;
//                           TaskOptions* task = RunNewTaskDialog(frame, app, tasks, &startNow);
//                           if (task) { add it to the tree; if (startNow) StartTask(0); }
//   ID_TASK_NEW_TEMPLATED:  RunNewTemplateTaskDialog(...), the same.
//   ID_TASK_OPTIONS:        RunTaskOptionsDialog(::GetActiveWindow(), app, task, tasks);
//
// tasks: the tree's tasks, against which a typed name is checked (same kind only).
#include <windows.h>
#include <string>
#include <vector>

class Application;
class TaskOptions;

// The page hand-over of the browser plug-in (clipboard text: the page address, a line feed, the
// page's cookies): a first line that begins with "http:" or "www." (any case) becomes the task's
// first start address; whatever follows the first line feed becomes its cookies.
void ApplyPageHandOver(TaskOptions& task, const std::string& clipboardText);
// The clipboard's whole text, opened by owner; "" when it holds none or cannot be opened. A text
// longer than kMaxClipboardText characters gives "" with tooLong set: never a cut text.
// Once the clipboard was read, the browser button waiting for that is told
// (handover::kHandoverReadEventName).
const size_t kMaxClipboardText = 1048576;
std::string ReadClipboardText(HWND owner, bool* tooLong = nullptr);

// A new site-scanning task with one start address, prefilled from the clipboard, in
// TaskOptionsDlg with "Start Now!". Returns the new task (the caller owns it) or null when the
// dialog was cancelled (the task is deleted then; nothing was written). startNow (may be null)
// tells whether "Start Now!" closed it.
TaskOptions* RunNewTaskDialog(HWND owner, Application* app, const std::vector<TaskOptions*>& tasks, bool* startNow);
// The same for a new URL-template task in TaskOptions2Dlg (no clipboard).
TaskOptions* RunNewTemplateTaskDialog(HWND owner, Application* app, const std::vector<TaskOptions*>& tasks,
                                      bool* startNow);
// The dialog of the task's own kind, without "Start Now!"; returns IDOK or IDCANCEL (the task's
// name may have changed either way, as its General page writes it when hidden).
INT_PTR RunTaskOptionsDialog(HWND owner, Application* app, TaskOptions* task, const std::vector<TaskOptions*>& tasks);
