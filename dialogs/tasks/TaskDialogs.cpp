#include "dialogs/tasks/TaskDialogs.h"
#include <cstring>
#include "core/ConstructLinkTask.h"
#include "core/SearchLinkTask.h"
#include "core/StringHelpers.h"
#include "dialogs/common/DialogTexts.h"
#include "dialogs/tasks/TaskOptions2Dlg.h"
#include "dialogs/tasks/TaskOptionsDlg.h"
#include "resources/plugin_handover.h"

void ApplyPageHandOver(TaskOptions& task, const std::string& clipboardText) {
    const size_t lineFeed = clipboardText.find(handover::kAddressEnd);
    std::string address = clipboardText.substr(0, lineFeed);
    if (!address.empty() && address.back() == '\r') address.pop_back();
    if (handover::IsPageAddress(address.c_str())) {
        if (task.StartingAddresses.empty()) task.StartingAddresses.push_back(StartingAddress());
        task.StartingAddresses.front().Url = address;
    }
    if (lineFeed != std::string::npos) task.Cookies = clipboardText.substr(lineFeed + 1);
}

std::string ReadClipboardText(HWND owner, bool* tooLong) {
    std::string text;
    if (tooLong) *tooLong = false;
    if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(owner)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        // The block's size bounds the read: its text need not be terminated. One character more
        // than the bound is looked at to tell a text of exactly the bound from a longer one.
        const SIZE_T size = ::GlobalSize(data);
        if (const char* chars = static_cast<const char*>(::GlobalLock(data))) {
            const size_t window = size < kMaxClipboardText + 1 ? static_cast<size_t>(size) : kMaxClipboardText + 1;
            const void* end = std::memchr(chars, '\0', window);
            const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - chars) : window;
            if (length > kMaxClipboardText) {
                if (tooLong) *tooLong = true;
            } else {
                text.assign(chars, length);
            }
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    // The browser button that wrote the page waits for this word before the next page goes on
    // the clipboard; the clipboard is closed first, so that the next page can be written at once.
    if (HANDLE read = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, handover::kHandoverReadEventName)) {
        ::SetEvent(read);
        ::CloseHandle(read);
    }
    return text;
}

namespace {
// Keeps the new task on OK and "Start Now!", deletes it otherwise.
TaskOptions* KeepOnSuccess(TaskOptions* task, INT_PTR result, bool* startNow) {
    if (startNow) *startNow = result == IDC_TASK_START_NOW;
    if (result == IDOK || result == IDC_TASK_START_NOW) return task;
    delete task;
    return nullptr;
}
}  // namespace

TaskOptions* RunNewTaskDialog(HWND owner, Application* app, const std::vector<TaskOptions*>& tasks, bool* startNow) {
    SearchLinkTask* task = new SearchLinkTask();
    task->StartingAddresses.push_back(StartingAddress());
    bool tooLong = false;
    const std::string handOver = ReadClipboardText(owner, &tooLong);
    if (tooLong) ShowWarningBox(owner, LocalText(IDS_HANDOVER_TOO_LONG));
    ApplyPageHandOver(*task, handOver);
    TaskOptionsDlg dialog(task, app, true, tasks);
    return KeepOnSuccess(task, dialog.DoModal(owner), startNow);
}

TaskOptions* RunNewTemplateTaskDialog(HWND owner, Application* app, const std::vector<TaskOptions*>& tasks,
                                      bool* startNow) {
    ConstructLinkTask* task = new ConstructLinkTask();
    task->StartingAddresses.push_back(StartingAddress());
    TaskOptions2Dlg dialog(task, app, true, tasks);
    return KeepOnSuccess(task, dialog.DoModal(owner), startNow);
}

INT_PTR RunTaskOptionsDialog(HWND owner, Application* app, TaskOptions* task, const std::vector<TaskOptions*>& tasks) {
    if (ConstructLinkTask* templateTask = dynamic_cast<ConstructLinkTask*>(task)) {
        TaskOptions2Dlg dialog(templateTask, app, false, tasks);
        return dialog.DoModal(owner);
    }
    if (SearchLinkTask* siteTask = dynamic_cast<SearchLinkTask*>(task)) {
        TaskOptionsDlg dialog(siteTask, app, false, tasks);
        return dialog.DoModal(owner);
    }
    return IDCANCEL;
}
