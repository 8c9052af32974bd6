#include "dialogs/tasks/TaskOptionsGeneralDlg.h"
#include "core/UrlHelpers.h"
#include "dialogs/tasks/TaskNaming.h"
#include "framework/UserPrompts.h"

std::string TaskOptionsGeneralDlg::NameFromAddress() {
    return MakeTaskNameFromUrl(GetItemString(m_hWnd, IDC_TASK_URL), owner_->GetTask()->GetFileExtension());
}

void TaskOptionsGeneralDlg::Load(TaskOptions& task) {
    const bool oneStart = task.StartingAddresses.size() == 1;
    if (LoadShared(task, IDC_TASK_URL, oneStart ? task.StartingAddresses.front().Url : std::string()))
        EnableCredentials();
}

bool TaskOptionsGeneralDlg::Validate() {
    std::string url = GetItemString(m_hWnd, IDC_TASK_URL);
    if (IsEmptyAddress(url)) return FailValidation(IDS_TASK_NO_START_ADDRESS);
    // The task file keeps the address in a field of fixed size: a longer one is refused, never cut.
    NormalizeUrl(url);
    if (url.size() >= TaskOptions::kStartUrlFieldSize) return FailValidation(IDS_START_ADDRESS_TOO_LONG);
    if (!ValidateCredentials()) return false;
    return ValidateNewName(GetItemString(m_hWnd, IDC_TASK_NAME));
}

void TaskOptionsGeneralDlg::Save(TaskOptions& task) {
    task.TaskName = ChosenName();
    task.CollectCookies = IsItemChecked(m_hWnd, IDC_TASK_WEB_AUTH);
    StartingAddress start;
    start.Url = GetItemString(m_hWnd, IDC_TASK_URL);
    NormalizeUrl(start.Url);
    SaveCredentials(start);
    task.StartingAddresses.assign(1, start);
}

LRESULT TaskOptionsGeneralDlg::OnAuthorizationClicked(WORD, WORD id, HWND, BOOL&) {
    ExcludeOtherAuthorization(id);
    return 0;
}

LRESULT TaskOptionsGeneralDlg::OnBrowse(WORD, WORD, HWND, BOOL&) {
    const std::string url = GetItemString(m_hWnd, IDC_TASK_URL);
    if (IsEmptyAddress(url)) return 0;
    // Whatever else is typed here would be started by the shell as a program or document.
    if (!IsBrowsableWebAddress(url)) {
        ShowWarningBox(m_hWnd, LocalText(IDS_BROWSE_ONLY_WEB));
        return 0;
    }
    if (!UserPrompts().ShellExecute(m_hWnd, "open", url, "", "", SW_SHOW))
        UserPrompts().ShellExecute(m_hWnd, "open", "iexplore.exe", url, "", SW_SHOW);
    return 0;
}
