#include "dialogs/tasks/TaskOptionsSaveDlg.h"
#include "core/Application.h"
#include "dialogs/tasks/TaskNaming.h"
#include "framework/UserPrompts.h"
#include "resources/options_ids.h"

namespace {
const int kSaveTypeRadios[] = {IDC_SAVE_TO_FOLDER, IDC_SAVE_PAGE_FOLDERS, IDC_SAVE_IMAGE_FOLDERS};
}

std::string TaskOptionsSaveDlg::DefaultFolder() {
    return DefaultSaveFolder(*owner_->GetApplication()->GetSettings(), owner_->GetTask()->TaskName);
}

void TaskOptionsSaveDlg::Load(TaskOptions& task) {
    ::SetDlgItemTextA(m_hWnd, IDC_SAVE_FOLDER, task.SaveFolder.c_str());
    for (int i = 0; i < 3; ++i) SetItemChecked(m_hWnd, kSaveTypeRadios[i], task.ImageSaveType == i);
}

void TaskOptionsSaveDlg::Activate(bool) {
    if (GetItemString(m_hWnd, IDC_SAVE_FOLDER).empty() && !owner_->GetTask()->TaskName.empty())
        ::SetDlgItemTextA(m_hWnd, IDC_SAVE_FOLDER, DefaultFolder().c_str());
}

void TaskOptionsSaveDlg::Save(TaskOptions& task) {
    for (int i = 0; i < 3; ++i) {
        if (IsItemChecked(m_hWnd, kSaveTypeRadios[i])) {
            task.ImageSaveType = i;
            break;
        }
    }
    std::string folder = GetItemString(m_hWnd, IDC_SAVE_FOLDER);
    if (folder.empty()) {
        folder = DefaultFolder();
        ::SetDlgItemTextA(m_hWnd, IDC_SAVE_FOLDER, folder.c_str());
    }
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    task.SaveFolder = folder;
}

LRESULT TaskOptionsSaveDlg::OnBrowse(WORD, WORD, HWND, BOOL&) {
    std::string folder = GetItemString(m_hWnd, IDC_SAVE_FOLDER);
    if (UserPrompts().BrowseForFolder(m_hWnd, LocalText(IDS_SELECT_IMAGES_FOLDER), folder))
        ::SetDlgItemTextA(m_hWnd, IDC_SAVE_FOLDER, folder.c_str());
    return 0;
}
