#pragma once
// "Normal Task Options": the editor of one site-scanning task, with the download profiles. The
// result of DoModal is the button that closed it: IDOK, IDC_TASK_START_NOW (3, offered for a new
// task) or IDCANCEL; OK and "Start Now!" have written the task file. What 3 and Cancel mean for
// the task is the caller's (see TaskDialogs.h).
#include <vector>
#include "core/SearchLinkTask.h"
#include "dialogs/tasks/TaskOptionsFrame.h"

class TaskOptionsDlg : public TaskOptionsFrame<TaskOptionsDlg> {
public:
    enum { IDD = IDD_TASK_OPTIONS };
    static const unsigned kTitleId = IDS_TASK_OPTIONS_TITLE;
    static const TaskPageEntry kPages[];
    static const size_t kPageCount;

    TaskOptionsDlg(SearchLinkTask* task, Application* app, bool showStartNow,
                   const std::vector<TaskOptions*>& tasks = std::vector<TaskOptions*>());

    std::string FindMatchingProfile() override;
    bool ValidateProfilePages() override;
    bool SaveProfileAs(const std::string& name) override;
    void ApplyProfile(const std::string& name) override;

    void OnFrameReady() {}
    // "Start Now!": as OK, closing with 3.
    void OnThirdButton() { SaveAndClose(IDC_TASK_START_NOW); }

private:
    // Saves the pages a profile holds (with the URL filters when withUrlFilters) into task.
    void SaveProfilePages(SearchLinkTask& task, bool withUrlFilters);
};
