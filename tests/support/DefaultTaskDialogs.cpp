#include "tests/support/DefaultTaskDialogs.h"
#include "core/ConstructLinkTask.h"
#include "core/SearchLinkTask.h"

namespace {
const size_t kDefaultNameLength = 64;

// The host of the start address ("www.example.com" of "http://www.example.com/a/"), or "New Task".
std::string DefaultName(TaskOptions& task) {
    std::string url = task.GetDisplayUrl();
    const size_t scheme = url.find("://");
    if (scheme != std::string::npos) url = url.substr(scheme + 3);
    url = url.substr(0, url.find_first_of("/?#"));
    if (url.empty()) return "New Task";
    return url.substr(0, kDefaultNameLength);
}

TaskDialogResult AcceptWithDefaults(TaskOptions& task) {
    if (task.TaskName.empty()) task.TaskName = DefaultName(task);
    return task.Save() ? TaskDialogResult::Ok : TaskDialogResult::Cancel;
}
}  // namespace

TaskDialogResult DefaultTaskDialogs::NewTask(HWND, SearchLinkTask& task) { return AcceptWithDefaults(task); }

TaskDialogResult DefaultTaskDialogs::NewTemplateTask(HWND, ConstructLinkTask& task) {
    return AcceptWithDefaults(task);
}

TaskDialogResult DefaultTaskDialogs::TaskOptionsOf(HWND, TaskOptions&) { return TaskDialogResult::Cancel; }
