#include "dialogs/tasks/TaskOptions2GeneralDlg.h"
#include "core/ConstructLinkTask.h"
#include "core/UrlHelpers.h"
#include "dialogs/tasks/TaskNaming.h"

std::string TaskOptions2GeneralDlg::NameFromAddress() {
    return MakeTaskNameFromUrl(templateAddress_, owner_->GetTask()->GetFileExtension());
}

void TaskOptions2GeneralDlg::Load(TaskOptions& object) {
    ConstructLinkTask& task = static_cast<ConstructLinkTask&>(object);
    templateAddress_ = task.StartingAddresses.empty() ? std::string() : task.StartingAddresses.front().Url;
    LoadShared(task, IDC_TASK2_WEB_AUTH_URL, task.WebAuthUrl);
    EnableAuthorizationControls();
}

bool TaskOptions2GeneralDlg::Validate() {
    const std::string webAuthUrl = GetItemString(m_hWnd, IDC_TASK2_WEB_AUTH_URL);
    if (IsItemChecked(m_hWnd, IDC_TASK_WEB_AUTH) && (webAuthUrl.empty() || webAuthUrl == "http://"))
        return FailValidation(IDS_WEB_AUTH_URL_MISSING);
    if (!ValidateCredentials()) return false;
    const std::string name = GetItemString(m_hWnd, IDC_TASK_NAME);
    if (!ValidateNewName(name)) return false;
    if (name.empty()) return FailValidation(IDS_TASK_NAME_MISSING);
    return true;
}

void TaskOptions2GeneralDlg::Save(TaskOptions& object) {
    ConstructLinkTask& task = static_cast<ConstructLinkTask&>(object);
    task.TaskName = ChosenName();
    task.CollectCookies = IsItemChecked(m_hWnd, IDC_TASK_WEB_AUTH);
    task.WebAuthUrl = GetItemString(m_hWnd, IDC_TASK2_WEB_AUTH_URL);
    NormalizeUrl(task.WebAuthUrl);
    if (task.StartingAddresses.empty()) return;
    StartingAddress& start = task.StartingAddresses.front();
    SaveCredentials(start);
}

void TaskOptions2GeneralDlg::EnableAuthorizationControls() {
    EnableCredentials();
    EnableItem(m_hWnd, IDC_TASK2_WEB_AUTH_URL, IsItemChecked(m_hWnd, IDC_TASK_WEB_AUTH));
}

LRESULT TaskOptions2GeneralDlg::OnAuthorizationClicked(WORD, WORD id, HWND, BOOL&) {
    ExcludeOtherAuthorization(id);
    EnableAuthorizationControls();
    return 0;
}
