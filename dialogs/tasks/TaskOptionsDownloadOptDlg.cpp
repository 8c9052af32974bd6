#include "dialogs/tasks/TaskOptionsDownloadOptDlg.h"
#include <vector>
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "dialogs/common/MyNameDlg.h"
#include "resources/options_ids.h"

namespace {
const size_t kMaxProfileName = 1024;

std::string ComboText(HWND combo, int index) {
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || static_cast<size_t>(length) > kMaxProfileName) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}
}  // namespace

void TaskOptionsDownloadOptDlg::Load(TaskOptions&) {
    HWND combo = GetDlgItem(IDC_PROFILE_LIST);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    for (const auto& profile : owner_->GetApplication()->GetSettings()->Profiles)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(profile.first.c_str()));
}

void TaskOptionsDownloadOptDlg::Activate(bool shown) {
    if (shown) SelectName(owner_->FindMatchingProfile());
}

std::string TaskOptionsDownloadOptDlg::SelectedName() const {
    HWND combo = GetDlgItem(IDC_PROFILE_LIST);
    const int index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    return index > 0 ? ComboText(combo, index) : std::string();
}

void TaskOptionsDownloadOptDlg::SelectName(const std::string& name) {
    HWND combo = GetDlgItem(IDC_PROFILE_LIST);
    const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    int found = 0;
    for (int i = 1; i < count && !name.empty(); ++i) {
        if (ComboText(combo, i) == name) {
            found = i;
            break;
        }
    }
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

LRESULT TaskOptionsDownloadOptDlg::OnProfileChosen(WORD, WORD, HWND, BOOL&) {
    const std::string name = SelectedName();
    if (!name.empty()) owner_->ApplyProfile(name);
    return 0;
}

LRESULT TaskOptionsDownloadOptDlg::OnSaveAs(WORD, WORD, HWND, BOOL&) {
    if (!owner_->ValidateProfilePages()) return 0;
    CMyNameDlg dialog(LocalText(IDS_PROFILE_SAVE_AS));
    for (const auto& profile : owner_->GetApplication()->GetSettings()->Profiles) dialog.proposals.push_back(profile.first);
    if (dialog.DoModal(m_hWnd) != IDOK || dialog.name.empty()) return 0;
    if (!owner_->SaveProfileAs(dialog.name)) return 0;
    HWND combo = GetDlgItem(IDC_PROFILE_LIST);
    SelectName(dialog.name);
    if (SelectedName() != dialog.name) {
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dialog.name.c_str()));
        SelectName(dialog.name);
    }
    return 0;
}

LRESULT TaskOptionsDownloadOptDlg::OnRemove(WORD, WORD, HWND, BOOL&) {
    const std::string name = SelectedName();
    if (name.empty()) return 0;
    if (AskQuestionBox(m_hWnd, LocalText(IDS_DELETE_QUESTION_START) + name + LocalText(IDS_PROFILE_DELETE_END)) != IDYES)
        return 0;
    std::map<std::string, SearchLinkTask*>& profiles = owner_->GetApplication()->GetSettings()->Profiles;
    auto it = profiles.find(name);
    if (it == profiles.end()) return 0;
    delete it->second;
    profiles.erase(it);
    HWND combo = GetDlgItem(IDC_PROFILE_LIST);
    ::SendMessageA(combo, CB_DELETESTRING, ::SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    // Only a plain file name of the profiles folder is deleted.
    if (IsSafeFileName(name + SearchLinkTask::kProfileExtension))
        ::DeleteFileA((GetProfilesFolder() + name + SearchLinkTask::kProfileExtension).c_str());
    return 0;
}
