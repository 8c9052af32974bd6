#include "dialogs/tasks/TaskOptionsUrlFiltersDlg.h"
#include "dialogs/common/SemicolonList.h"

namespace {
const struct {
    int edit;
    std::vector<std::string> SearchLinkTask::*list;
} kFilterEdits[] = {
    {IDC_FILTER_INCLUDED_NAMES, &SearchLinkTask::IncludedNames},
    {IDC_FILTER_EXCLUDED_NAMES, &SearchLinkTask::ExcludedNames},
    {IDC_FILTER_INCLUDED_URLS, &SearchLinkTask::IncludedUrls},
    {IDC_FILTER_EXCLUDED_URLS, &SearchLinkTask::ExcludedUrls},
    {IDC_FILTER_IMAGE_INCLUDED, &SearchLinkTask::ImageIncludedUrls},
    {IDC_FILTER_IMAGE_EXCLUDED, &SearchLinkTask::ImageExcludedUrls},
};
// Characters read from one edit.
const size_t kMaxFilterText = 1022;
}  // namespace

void TaskOptionsUrlFiltersDlg::Load(TaskOptions& object) {
    SearchLinkTask& task = static_cast<SearchLinkTask&>(object);
    for (const auto& edit : kFilterEdits)
        ::SetDlgItemTextA(m_hWnd, edit.edit, JoinWithSemicolons(task.*edit.list).c_str());
}

void TaskOptionsUrlFiltersDlg::Save(TaskOptions& object) {
    SearchLinkTask& task = static_cast<SearchLinkTask&>(object);
    for (const auto& edit : kFilterEdits)
        task.*edit.list = SplitAtSemicolons(GetItemString(m_hWnd, edit.edit).substr(0, kMaxFilterText));
}
