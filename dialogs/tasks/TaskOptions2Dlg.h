#pragma once
// "Task Options Based On URL Template": the editor of one URL-template task. For a new task the
// third button reads "Next >" and leads to the URL Template page; once that page was shown it
// reads "Start Now!" and saves and closes like OK with IDC_TASK_START_NOW (3). DoModal returns
// IDOK, 3 or IDCANCEL as TaskOptionsDlg does.
#include <vector>
#include "core/ConstructLinkTask.h"
#include "dialogs/tasks/TaskOptionsFrame.h"

class TaskOptions2Dlg : public TaskOptionsFrame<TaskOptions2Dlg> {
public:
    enum { IDD = IDD_TASK_OPTIONS };
    static const unsigned kTitleId = IDS_TASK2_OPTIONS_TITLE;
    static const TaskPageEntry kPages[];
    static const size_t kPageCount;

    // A task without a start address gets an empty one to hold the template and credentials.
    TaskOptions2Dlg(ConstructLinkTask* task, Application* app, bool showStartNow,
                    const std::vector<TaskOptions*>& tasks = std::vector<TaskOptions*>());

    void OnUrlTemplateShown(bool shown) override;

    void OnFrameReady();
    void OnThirdButton();
    bool TemplatePageSeen() const { return templatePageSeen_; }

private:
    bool templatePageSeen_ = false;
};
