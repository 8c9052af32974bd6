#include "dialogs/tasks/TaskOptionsScanningDlg.h"
#include <string>

namespace {
// Radio groups: the value of each radio, in the order they are read back.
struct Choice {
    int id;
    int32_t value;
};
const Choice kImageLocations[] = {{IDC_SCAN_IMAGES_DIRECTORY, 0}, {IDC_SCAN_IMAGES_SITE, 1}, {IDC_SCAN_IMAGES_EVERYWHERE, 2}};
const Choice kPageLocations[] = {{IDC_SCAN_PAGES_DIRECTORY, 0}, {IDC_SCAN_PAGES_SITE, 1}, {IDC_SCAN_PAGES_EVERYWHERE, 2}};
const Choice kScanningTypes[] = {{IDC_SCAN_IN_WIDTH, 0}, {IDC_SCAN_IN_DEPTH, 1}};

template <size_t N>
void ShowChoice(HWND page, const Choice (&group)[N], int32_t value) {
    for (const Choice& choice : group) SetItemChecked(page, choice.id, choice.value == value);
}
// A group with nothing checked leaves the field as it was.
template <size_t N>
void ReadChoice(HWND page, const Choice (&group)[N], int32_t& value) {
    for (const Choice& choice : group) {
        if (IsItemChecked(page, choice.id)) {
            value = choice.value;
            return;
        }
    }
}
}  // namespace

void TaskOptionsScanningDlg::Load(TaskOptions& object) {
    SearchLinkTask& task = static_cast<SearchLinkTask&>(object);
    ::SetDlgItemTextA(m_hWnd, IDC_SCAN_LEVELS_COUNT, "3");
    SetItemChecked(m_hWnd, IDC_SCAN_THIS_PAGE, task.Levels == 0);
    SetItemChecked(m_hWnd, IDC_SCAN_ALL_LEVELS, task.Levels == -1);
    SetItemChecked(m_hWnd, IDC_SCAN_LEVELS, task.Levels != 0 && task.Levels != -1);
    if (task.Levels != 0 && task.Levels != -1)
        ::SetDlgItemTextA(m_hWnd, IDC_SCAN_LEVELS_COUNT, std::to_string(task.Levels).c_str());
    ShowChoice(m_hWnd, kImageLocations, task.ImageLinksLocation);
    ShowChoice(m_hWnd, kPageLocations, task.PageLinksLocation);
    ShowChoice(m_hWnd, kScanningTypes, task.ScanningType);
    SetItemChecked(m_hWnd, IDC_SCAN_IMAGES_ONLY_SITE, task.DownloadImagesOnlyFromSite);
}

void TaskOptionsScanningDlg::Save(TaskOptions& object) {
    SearchLinkTask& task = static_cast<SearchLinkTask&>(object);
    if (IsItemChecked(m_hWnd, IDC_SCAN_THIS_PAGE))
        task.Levels = 0;
    else if (IsItemChecked(m_hWnd, IDC_SCAN_LEVELS))
        task.Levels = GetItemNumber(m_hWnd, IDC_SCAN_LEVELS_COUNT);
    else if (IsItemChecked(m_hWnd, IDC_SCAN_ALL_LEVELS))
        task.Levels = -1;
    ReadChoice(m_hWnd, kImageLocations, task.ImageLinksLocation);
    ReadChoice(m_hWnd, kPageLocations, task.PageLinksLocation);
    ReadChoice(m_hWnd, kScanningTypes, task.ScanningType);
    task.DownloadImagesOnlyFromSite = IsItemChecked(m_hWnd, IDC_SCAN_IMAGES_ONLY_SITE);
}
