#include "dialogs/pictures/SelectImagesDlg.h"

#include <commctrl.h>
#include <cstdlib>
#include <vector>
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"

namespace {

// Each check box with the edits and spins it governs.
struct CheckRule {
    int check;
    int controls[4];
};
const CheckRule kRules[] = {
    {IDC_SELECT_BY_SIZE, {IDC_SELECT_MIN_SIZE, IDC_SELECT_MAX_SIZE, IDC_SELECT_MIN_SIZE_SPIN, IDC_SELECT_MAX_SIZE_SPIN}},
    {IDC_SELECT_WIDTH_LARGER, {IDC_SELECT_WIDTH_LARGER_EDIT, IDC_SELECT_WIDTH_LARGER_SPIN, 0, 0}},
    {IDC_SELECT_HEIGHT_LARGER, {IDC_SELECT_HEIGHT_LARGER_EDIT, IDC_SELECT_HEIGHT_LARGER_SPIN, 0, 0}},
    {IDC_SELECT_WIDTH_SMALLER, {IDC_SELECT_WIDTH_SMALLER_EDIT, IDC_SELECT_WIDTH_SMALLER_SPIN, 0, 0}},
    {IDC_SELECT_HEIGHT_SMALLER, {IDC_SELECT_HEIGHT_SMALLER_EDIT, IDC_SELECT_HEIGHT_SMALLER_SPIN, 0, 0}},
};

const size_t kMaxValueText = 1023;

// The whole text of a control, however long.
std::string ControlText(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    const int length = control ? ::GetWindowTextLengthA(control) : 0;
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data());
}

int32_t ReadValue(HWND dialog, int id) {
    std::string text = ControlText(dialog, id);
    if (text.size() > kMaxValueText) text.resize(kMaxValueText);
    return static_cast<int32_t>(atoi(text.c_str()));
}

void SetRange(HWND dialog, int spin, int upper) {
    ::SendDlgItemMessageA(dialog, spin, UDM_SETRANGE32, 0, upper);
}

}  // namespace

LRESULT SelectImagesDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    for (int spin : {IDC_SELECT_MIN_SIZE_SPIN, IDC_SELECT_MAX_SIZE_SPIN, IDC_SELECT_WIDTH_SMALLER_SPIN,
                     IDC_SELECT_HEIGHT_SMALLER_SPIN})
        SetRange(m_hWnd, spin, 2000000);
    SetRange(m_hWnd, IDC_SELECT_WIDTH_LARGER_SPIN, 20000);
    SetRange(m_hWnd, IDC_SELECT_HEIGHT_LARGER_SPIN, 20000);
    ::CheckDlgButton(m_hWnd, IDC_SELECT_BY_SIZE, criteria.bySize ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_SELECT_WIDTH_LARGER, criteria.widthLargerOn ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_SELECT_HEIGHT_LARGER, criteria.heightLargerOn ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_SELECT_WIDTH_SMALLER, criteria.widthSmallerOn ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_SELECT_HEIGHT_SMALLER, criteria.heightSmallerOn ? BST_CHECKED : BST_UNCHECKED);
    const std::pair<int, int32_t> values[] = {
        {IDC_SELECT_MAX_SIZE, criteria.maxSizeKB},         {IDC_SELECT_MIN_SIZE, criteria.minSizeKB},
        {IDC_SELECT_WIDTH_LARGER_EDIT, criteria.widthLarger}, {IDC_SELECT_HEIGHT_LARGER_EDIT, criteria.heightLarger},
        {IDC_SELECT_WIDTH_SMALLER_EDIT, criteria.widthSmaller}, {IDC_SELECT_HEIGHT_SMALLER_EDIT, criteria.heightSmaller},
    };
    for (const auto& value : values) ::SetDlgItemTextA(m_hWnd, value.first, std::to_string(value.second).c_str());
    std::string masks;
    for (const std::string& mask : criteria.masks) masks += mask + ";";
    ::SetDlgItemTextA(m_hWnd, IDC_SELECT_MASKS, masks.c_str());
    ApplyEnableRules();
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    return TRUE;
}

void SelectImagesDlg::ApplyEnableRules() {
    for (const CheckRule& rule : kRules) {
        const bool on = ::IsDlgButtonChecked(m_hWnd, rule.check) == BST_CHECKED;
        for (int id : rule.controls)
            if (id) ::EnableWindow(::GetDlgItem(m_hWnd, id), on);
    }
}

LRESULT SelectImagesDlg::OnCheck(WORD, WORD, HWND, BOOL&) {
    ApplyEnableRules();
    return 0;
}

LRESULT SelectImagesDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    criteria.masks.clear();
    criteria.bySize = ::IsDlgButtonChecked(m_hWnd, IDC_SELECT_BY_SIZE) == BST_CHECKED;
    criteria.widthLargerOn = ::IsDlgButtonChecked(m_hWnd, IDC_SELECT_WIDTH_LARGER) == BST_CHECKED;
    criteria.heightLargerOn = ::IsDlgButtonChecked(m_hWnd, IDC_SELECT_HEIGHT_LARGER) == BST_CHECKED;
    criteria.widthSmallerOn = ::IsDlgButtonChecked(m_hWnd, IDC_SELECT_WIDTH_SMALLER) == BST_CHECKED;
    criteria.heightSmallerOn = ::IsDlgButtonChecked(m_hWnd, IDC_SELECT_HEIGHT_SMALLER) == BST_CHECKED;
    criteria.maxSizeKB = ReadValue(m_hWnd, IDC_SELECT_MAX_SIZE);
    criteria.minSizeKB = ReadValue(m_hWnd, IDC_SELECT_MIN_SIZE);
    criteria.widthLarger = ReadValue(m_hWnd, IDC_SELECT_WIDTH_LARGER_EDIT);
    criteria.heightLarger = ReadValue(m_hWnd, IDC_SELECT_HEIGHT_LARGER_EDIT);
    criteria.widthSmaller = ReadValue(m_hWnd, IDC_SELECT_WIDTH_SMALLER_EDIT);
    criteria.heightSmaller = ReadValue(m_hWnd, IDC_SELECT_HEIGHT_SMALLER_EDIT);
    // The mask edit is read whole, however many masks it holds.
    const std::string masks = ControlText(m_hWnd, IDC_SELECT_MASKS);
    size_t start = 0;
    while (start <= masks.size()) {
        size_t end = masks.find(';', start);
        if (end == std::string::npos) end = masks.size();
        if (end > start) criteria.masks.push_back(masks.substr(start, end - start));
        start = end + 1;
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT SelectImagesDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
