#include "dialogs/tasks/TaskOptions2Dlg.h"
#include "dialogs/tasks/TaskOptions2GeneralDlg.h"
#include "dialogs/tasks/TaskOptionsBlankDlg.h"
#include "dialogs/tasks/TaskOptionsFiletypesDlg.h"
#include "dialogs/tasks/TaskOptionsFiltersDlg.h"
#include "dialogs/tasks/TaskOptionsNotesDlg.h"
#include "dialogs/tasks/TaskOptionsSaveDlg.h"
#include "dialogs/tasks/TaskOptionsUrlTemplateDlg.h"

const TaskPageEntry TaskOptions2Dlg::kPages[] = {
    {IDS_PAGE_GENERAL, IDD_TASK2_GENERAL, false, "TemplatedURLTaskGeneral"},
    {IDS_PAGE_DOWNLOAD_OPTIONS, IDD_TASK2_BLANK, false, "TemplatedURLTaskOptionDial"},
    {IDS_PAGE_URL_TEMPLATE, IDD_TASK2_URL_TEMPLATE, true, "TemplatedURLTaskURLTemplate"},
    {IDS_PAGE_FILETYPES, IDD_TASK_FILETYPES, true, "TemplatedURLTaskFiletypes"},
    {IDS_PAGE_SIZE_FILTERS, IDD_TASK_FILTERS, true, "TemplatedURLTaskSizefilters"},
    {IDS_PAGE_SAVE_OPTIONS, IDD_TASK_SAVE, false, "TemplatedURLTaskSaveoptions"},
    {IDS_PAGE_TASK_NOTES, IDD_TASK_NOTES, false, "TemplatedURLTaskTasknotes"},
};
const size_t TaskOptions2Dlg::kPageCount = sizeof(kPages) / sizeof(kPages[0]);

TaskOptions2Dlg::TaskOptions2Dlg(ConstructLinkTask* task, Application* app, bool showStartNow,
                                 const std::vector<TaskOptions*>& tasks)
    : TaskOptionsFrame<TaskOptions2Dlg>(task, app, showStartNow, tasks) {
    if (task->StartingAddresses.empty()) task->StartingAddresses.push_back(StartingAddress());
    AddPage(new TaskOptions2GeneralDlg(this));
    AddPage(new TaskOptionsBlankDlg(this));
    AddPage(new TaskOptionsUrlTemplateDlg(this));
    AddPage(new TaskOptionsFiletypesDlg(this));
    AddPage(new TaskOptionsFiltersDlg(this));
    AddPage(new TaskOptionsSaveDlg(this));
    AddPage(new TaskOptionsNotesDlg(this));
}

void TaskOptions2Dlg::OnFrameReady() {
    ::SetDlgItemTextA(m_hWnd, IDC_TASK_START_NOW, LocalText(IDS_BUTTON_NEXT).c_str());
}

void TaskOptions2Dlg::OnUrlTemplateShown(bool shown) {
    if (!shown || templatePageSeen_) return;
    templatePageSeen_ = true;
    ::SetDlgItemTextA(m_hWnd, IDC_TASK_START_NOW, LocalText(IDS_BUTTON_START_NOW).c_str());
}

void TaskOptions2Dlg::OnThirdButton() {
    if (templatePageSeen_) {
        SaveAndClose(IDC_TASK_START_NOW);
        return;
    }
    // The frame shows the page, which turns the button into "Start Now!".
    if (HTREEITEM item = FindTreeItem(IDD_TASK2_URL_TEMPLATE)) GetTree().SelectItem(item);
}
