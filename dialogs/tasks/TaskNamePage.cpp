#include "dialogs/tasks/TaskNamePage.h"
#include "dialogs/tasks/TaskNaming.h"

void TaskNamePage::LoadName(const TaskOptions& task) {
    loadedName_ = task.TaskName;
    ::SetDlgItemTextA(m_hWnd, IDC_TASK_NAME, task.TaskName.c_str());
}

bool TaskNamePage::LoadShared(const TaskOptions& task, int addressId, const std::string& address) {
    LoadName(task);
    ::SetDlgItemTextA(m_hWnd, addressId, "http://");
    SetItemChecked(m_hWnd, IDC_TASK_WEB_AUTH, task.CollectCookies);
    EnableItem(m_hWnd, IDC_TASK_BASIC_AUTH, true);
    if (task.StartingAddresses.size() != 1) return false;
    LoadCredentials(task.StartingAddresses.front());
    ::SetDlgItemTextA(m_hWnd, addressId, address.c_str());
    return true;
}

std::string TaskNamePage::ChosenName() {
    const std::string typed = GetItemString(m_hWnd, IDC_TASK_NAME);
    if (!typed.empty()) return typed;
    if (!loadedName_.empty()) return loadedName_;
    return NameFromAddress();
}

void TaskNamePage::Activate(bool shown) {
    if (GetItemString(m_hWnd, IDC_TASK_NAME).empty()) {
        const std::string name = loadedName_.empty() ? NameFromAddress() : loadedName_;
        if (!name.empty()) ::SetDlgItemTextA(m_hWnd, IDC_TASK_NAME, name.c_str());
    }
    if (!shown) owner_->GetTask()->TaskName = GetItemString(m_hWnd, IDC_TASK_NAME);
}

bool TaskNamePage::ValidateNewName(const std::string& name) {
    if (name.empty() || name == loadedName_) return true;
    const unsigned refusal = TaskNameRefusal(name, *owner_->GetTask(), owner_->GetTaskList());
    return refusal == 0 || FailValidation(refusal);
}

void TaskNamePage::ExcludeOtherAuthorization(int clickedId) {
    if (IsItemChecked(m_hWnd, clickedId))
        SetItemChecked(m_hWnd, clickedId == IDC_TASK_BASIC_AUTH ? IDC_TASK_WEB_AUTH : IDC_TASK_BASIC_AUTH, false);
    EnableCredentials();
}

void TaskNamePage::EnableCredentials() {
    const bool basic = IsItemChecked(m_hWnd, IDC_TASK_BASIC_AUTH);
    EnableItem(m_hWnd, IDC_TASK_USER, basic);
    EnableItem(m_hWnd, IDC_TASK_PASSWORD, basic);
}

void TaskNamePage::LoadCredentials(const StartingAddress& start) {
    SetItemChecked(m_hWnd, IDC_TASK_BASIC_AUTH, start.UseAuthorization);
    ::SetDlgItemTextA(m_hWnd, IDC_TASK_USER, start.UserName.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_TASK_PASSWORD, start.Password.c_str());
}

bool TaskNamePage::ValidateCredentials() {
    for (int id : {IDC_TASK_USER, IDC_TASK_PASSWORD}) {
        if (GetItemString(m_hWnd, id).size() >= TaskOptions::kCredentialFieldSize)
            return FailValidation(IDS_CREDENTIALS_TOO_LONG);
    }
    return true;
}

void TaskNamePage::SaveCredentials(StartingAddress& start) {
    start.UserName = GetItemString(m_hWnd, IDC_TASK_USER);
    start.Password = GetItemString(m_hWnd, IDC_TASK_PASSWORD);
    start.UseAuthorization = IsItemChecked(m_hWnd, IDC_TASK_BASIC_AUTH);
}
