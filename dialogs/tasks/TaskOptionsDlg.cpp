#include "dialogs/tasks/TaskOptionsDlg.h"
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "dialogs/tasks/TaskOptionsDownloadOptDlg.h"
#include "dialogs/tasks/TaskOptionsFiletypesDlg.h"
#include "dialogs/tasks/TaskOptionsFiltersDlg.h"
#include "dialogs/tasks/TaskOptionsGeneralDlg.h"
#include "dialogs/tasks/TaskOptionsNotesDlg.h"
#include "dialogs/tasks/TaskOptionsSaveDlg.h"
#include "dialogs/tasks/TaskOptionsScanningDlg.h"
#include "dialogs/tasks/TaskOptionsUrlFiltersDlg.h"

const TaskPageEntry TaskOptionsDlg::kPages[] = {
    {IDS_PAGE_GENERAL, IDD_TASK_GENERAL, false, "Taskgeneral"},
    {IDS_PAGE_DOWNLOAD_OPTIONS, IDD_TASK_DOWNLOAD_OPTIONS, false, "Taskdownloadoptions"},
    {IDS_PAGE_SCANNING, IDD_TASK_SCANNING, true, "Taskscanning"},
    {IDS_PAGE_FILETYPES, IDD_TASK_FILETYPES, true, "Taskfiletypes"},
    {IDS_PAGE_SIZE_FILTERS, IDD_TASK_FILTERS, true, "Taskfilters"},
    {IDS_PAGE_URL_FILTERS, IDD_TASK_URL_FILTERS, true, "TaskUrlFilters"},
    {IDS_PAGE_SAVE_OPTIONS, IDD_TASK_SAVE, false, "Tasksaveoptions"},
    {IDS_PAGE_TASK_NOTES, IDD_TASK_NOTES, false, "Tasknotes"},
};
const size_t TaskOptionsDlg::kPageCount = sizeof(kPages) / sizeof(kPages[0]);

namespace {
// The pages a saved profile holds; the URL filters take part only in the comparison.
const UINT kProfilePages[] = {IDD_TASK_SCANNING, IDD_TASK_FILETYPES, IDD_TASK_FILTERS};
}

TaskOptionsDlg::TaskOptionsDlg(SearchLinkTask* task, Application* app, bool showStartNow,
                               const std::vector<TaskOptions*>& tasks)
    : TaskOptionsFrame<TaskOptionsDlg>(task, app, showStartNow, tasks) {
    AddPage(new TaskOptionsGeneralDlg(this));
    AddPage(new TaskOptionsDownloadOptDlg(this));
    AddPage(new TaskOptionsScanningDlg(this));
    AddPage(new TaskOptionsFiletypesDlg(this));
    AddPage(new TaskOptionsFiltersDlg(this));
    AddPage(new TaskOptionsUrlFiltersDlg(this));
    AddPage(new TaskOptionsSaveDlg(this));
    AddPage(new TaskOptionsNotesDlg(this));
}

void TaskOptionsDlg::SaveProfilePages(SearchLinkTask& task, bool withUrlFilters) {
    for (UINT pageId : kProfilePages) {
        if (Page* page = FindPage(pageId)) page->Save(task);
    }
    if (withUrlFilters) {
        if (Page* page = FindPage(IDD_TASK_URL_FILTERS)) page->Save(task);
    }
}

std::string TaskOptionsDlg::FindMatchingProfile() {
    SearchLinkTask current;
    SaveProfilePages(current, true);
    for (const auto& profile : GetApplication()->GetSettings()->Profiles) {
        if (profile.second && current.MatchesProfile(*profile.second)) return profile.first;
    }
    return std::string();
}

bool TaskOptionsDlg::ValidateProfilePages() {
    for (UINT pageId : {IDD_TASK_SCANNING, IDD_TASK_FILETYPES, IDD_TASK_FILTERS, IDD_TASK_URL_FILTERS}) {
        Page* page = FindPage(pageId);
        if (page && !page->Validate()) return false;
    }
    return true;
}

bool TaskOptionsDlg::SaveProfileAs(const std::string& name) {
    SearchLinkTask* profile = new SearchLinkTask();
    SaveProfilePages(*profile, false);
    if (!profile->SaveProfile(name)) {
        delete profile;
        ShowErrorBox(m_hWnd, LocalText(IDS_PROFILE_SAVE_FAILED));
        return false;
    }
    std::map<std::string, SearchLinkTask*>& profiles = GetApplication()->GetSettings()->Profiles;
    auto it = profiles.find(name);
    if (it != profiles.end()) {
        delete it->second;
        it->second = profile;
    } else {
        profiles[name] = profile;
    }
    return true;
}

void TaskOptionsDlg::ApplyProfile(const std::string& name) {
    std::map<std::string, SearchLinkTask*>& profiles = GetApplication()->GetSettings()->Profiles;
    auto it = profiles.find(name);
    if (it == profiles.end() || !it->second) return;
    for (UINT pageId : kProfilePages) {
        if (Page* page = FindPage(pageId)) page->Load(*it->second);
    }
}
