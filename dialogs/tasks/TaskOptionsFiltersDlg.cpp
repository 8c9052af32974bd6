#include "dialogs/tasks/TaskOptionsFiltersDlg.h"
#include <string>

namespace {
struct FilterRow {
    int check, edit, spin, high;
    SizeFilter TaskOptions::*filter;
};
const FilterRow kRows[] = {
    {IDC_SIZE_MIN_WIDTH, IDC_SIZE_MIN_WIDTH_VALUE, IDC_SIZE_MIN_WIDTH_SPIN, 20000, &TaskOptions::MinimumWidth},
    {IDC_SIZE_MIN_HEIGHT, IDC_SIZE_MIN_HEIGHT_VALUE, IDC_SIZE_MIN_HEIGHT_SPIN, 20000, &TaskOptions::MinimumHeight},
    {IDC_SIZE_MAX_SIZE, IDC_SIZE_MAX_SIZE_VALUE, IDC_SIZE_MAX_SIZE_SPIN, 2000000, &TaskOptions::MaximumSize},
    {IDC_SIZE_MIN_SIZE, IDC_SIZE_MIN_SIZE_VALUE, IDC_SIZE_MIN_SIZE_SPIN, 2000000, &TaskOptions::MinimumSize},
};
}  // namespace

void TaskOptionsFiltersDlg::InitControls() {
    for (const FilterRow& row : kRows) SetSpinRange(row.spin, 0, row.high);
}

void TaskOptionsFiltersDlg::Load(TaskOptions& task) {
    for (const FilterRow& row : kRows) {
        const SizeFilter& filter = task.*row.filter;
        SetItemChecked(m_hWnd, row.check, filter.enabled);
        ::SetDlgItemTextA(m_hWnd, row.edit, std::to_string(filter.value).c_str());
    }
    EnableRows();
}

void TaskOptionsFiltersDlg::Save(TaskOptions& task) {
    for (const FilterRow& row : kRows) {
        SizeFilter& filter = task.*row.filter;
        filter.enabled = IsItemChecked(m_hWnd, row.check);
        filter.value = GetItemNumber(m_hWnd, row.edit);
    }
}

void TaskOptionsFiltersDlg::EnableRows() {
    for (const FilterRow& row : kRows) {
        const bool on = IsItemChecked(m_hWnd, row.check);
        EnableItem(m_hWnd, row.edit, on);
        EnableItem(m_hWnd, row.spin, on);
    }
}

LRESULT TaskOptionsFiltersDlg::OnRowClicked(WORD, WORD, HWND, BOOL&) {
    EnableRows();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}
