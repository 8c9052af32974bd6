#include "dialogs/tasks/TaskOptionsUrlTemplateDlg.h"
#include <memory>
#include <utility>
#include "core/CharTemplate.h"
#include "core/ConstructLinkTask.h"
#include "core/NumberTemplate.h"
#include "core/StringTemplate.h"
#include "core/TranslatedMenu.h"
#include "dialogs/tasks/TemplateEditors.h"
#include "dialogs/tasks/TestUrlsDlg.h"

namespace {
const int kPlaceholderColumnWidth = 40;
const int kDescriptionColumnWidth = 195;
// Characters of the template edit that make the address.
const size_t kMaxTemplateText = 1022;

}  // namespace

// The editors and the URL test are owned by the task dialog (the page itself is a child window).
HWND TaskOptionsUrlTemplateDlg::TopWindow() const { return ::GetAncestor(m_hWnd, GA_ROOT); }

TaskOptionsUrlTemplateDlg::~TaskOptionsUrlTemplateDlg() = default;

void TaskOptionsUrlTemplateDlg::InitControls() {
    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = kPlaceholderColumnWidth;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = kDescriptionColumnWidth;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
}

void TaskOptionsUrlTemplateDlg::Load(TaskOptions& object) {
    ConstructLinkTask& task = static_cast<ConstructLinkTask&>(object);
    const std::string address = task.StartingAddresses.empty() ? std::string() : task.StartingAddresses.front().Url;
    ::SetDlgItemTextA(m_hWnd, IDC_TEMPLATE_URL, address.c_str());
    ListView_DeleteAllItems(List());
    generators_.Clear();
    for (const TemplateBase* generator : task.GetTemplates()) {
        if (!generator) continue;
        AppendRow(*generators_.Add(std::unique_ptr<TemplateBase>(generator->Clone())));
    }
    UpdateButtons();
}

bool TaskOptionsUrlTemplateDlg::Validate() {
    if (GetItemString(m_hWnd, IDC_TEMPLATE_URL).size() > kMaxTemplateText) return FailValidation(IDS_TEMPLATE_TOO_LONG);
    return true;
}

void TaskOptionsUrlTemplateDlg::Save(TaskOptions& object) {
    ConstructLinkTask& task = static_cast<ConstructLinkTask&>(object);
    if (task.StartingAddresses.empty()) task.StartingAddresses.push_back(StartingAddress());
    task.StartingAddresses.front().Url = GetItemString(m_hWnd, IDC_TEMPLATE_URL).substr(0, kMaxTemplateText);
    task.ClearTemplates();
    std::vector<TemplateBase*>& templates = task.GetTemplates();
    templates.reserve(generators_.size());
    for (const TemplateBase* generator : generators_.Items()) templates.push_back(generator->Clone());
}

std::vector<std::string> TaskOptionsUrlTemplateDlg::BuildTestUrls(size_t count) {
    const std::string text = GetItemString(m_hWnd, IDC_TEMPLATE_URL).substr(0, kMaxTemplateText);
    return ConstructLinkTask::BuildLinks(count, text, generators_.Items());
}

void TaskOptionsUrlTemplateDlg::AppendRow(const TemplateBase&) {
    const int row = ListView_GetItemCount(List());
    const std::string placeholder = ConstructLinkTask::Placeholder(static_cast<size_t>(row));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(placeholder.c_str());
    ::SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SetDescriptionText(row);
}

void TaskOptionsUrlTemplateDlg::SetPlaceholderText(int row) {
    const std::string placeholder = ConstructLinkTask::Placeholder(static_cast<size_t>(row));
    ListView_SetItemText(List(), row, 0, const_cast<char*>(placeholder.c_str()));
}

void TaskOptionsUrlTemplateDlg::SetDescriptionText(int row) {
    if (row < 0 || static_cast<size_t>(row) >= generators_.size()) return;
    const std::string description = generators_[static_cast<size_t>(row)]->GetDisplayText();
    ListView_SetItemText(List(), row, 1, const_cast<char*>(description.c_str()));
}

int TaskOptionsUrlTemplateDlg::SelectedRow() const {
    return ListView_GetNextItem(List(), -1, LVNI_SELECTED);
}

void TaskOptionsUrlTemplateDlg::SelectRow(int row) {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TaskOptionsUrlTemplateDlg::UpdateButtons() {
    const int row = SelectedRow();
    const int count = ListView_GetItemCount(List());
    EnableItem(m_hWnd, IDC_TEMPLATE_EDIT, row >= 0);
    EnableItem(m_hWnd, IDC_TEMPLATE_REMOVE, row >= 0);
    EnableItem(m_hWnd, IDC_TEMPLATE_UP, row > 0);
    EnableItem(m_hWnd, IDC_TEMPLATE_DOWN, row >= 0 && count >= 2 && row < count - 1);
}

LRESULT TaskOptionsUrlTemplateDlg::OnShowWindow(UINT, WPARAM shown, LPARAM, BOOL& handled) {
    owner_->OnUrlTemplateShown(shown != FALSE);
    handled = FALSE;
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnNew(WORD, WORD, HWND, BOOL&) {
    UINT command = 0;
    {
        TranslatedMenu menu(IDR_TEMPLATE_MENU);
        HMENU popup = menu.Popup();
        if (!popup) return 0;
        RECT button = {};
        ::GetWindowRect(GetDlgItem(IDC_TEMPLATE_NEW), &button);
        command = static_cast<UINT>(::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, button.left,
                                                     button.bottom, 0, m_hWnd, nullptr));
    }
    if (command) ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnNewGenerator(WORD, WORD id, HWND, BOOL&) {
    std::unique_ptr<TemplateBase> generator;
    if (id == ID_TEMPLATE_NUMBERS) generator.reset(new NumberTemplate(0, 20, 1, 0));
    else if (id == ID_TEMPLATE_CHARS) generator.reset(new CharTemplate('a', 'z'));
    else generator.reset(new StringTemplate());
    if (!EditTemplate(TopWindow(), *generator)) return 0;
    AppendRow(*generators_.Add(std::move(generator)));
    UpdateButtons();
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnEdit(WORD, WORD, HWND, BOOL&) {
    const int row = SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= generators_.size()) return 0;
    EditTemplate(TopWindow(), *generators_[static_cast<size_t>(row)]);
    SetDescriptionText(row);
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnDoubleClick(int, LPNMHDR, BOOL&) {
    BOOL handled = TRUE;
    return OnEdit(0, IDC_TEMPLATE_EDIT, nullptr, handled);
}

LRESULT TaskOptionsUrlTemplateDlg::OnRemove(WORD, WORD, HWND, BOOL&) {
    const int row = SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= generators_.size()) return 0;
    generators_.Remove(static_cast<size_t>(row));
    ListView_DeleteItem(List(), row);
    for (int i = row; i < ListView_GetItemCount(List()); ++i) SetPlaceholderText(i);
    UpdateButtons();
    return 0;
}

void TaskOptionsUrlTemplateDlg::MoveSelected(int offset) {
    const int row = SelectedRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || static_cast<size_t>(other) >= generators_.size() ||
        static_cast<size_t>(row) >= generators_.size())
        return;
    generators_.Swap(static_cast<size_t>(row), static_cast<size_t>(other));
    // The placeholder column stays: a moved generator fills the placeholder of its new row.
    SetDescriptionText(row);
    SetDescriptionText(other);
    SelectRow(other);
    ListView_EnsureVisible(List(), other, FALSE);
    UpdateButtons();
}

LRESULT TaskOptionsUrlTemplateDlg::OnMoveUp(WORD, WORD, HWND, BOOL&) {
    MoveSelected(-1);
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnMoveDown(WORD, WORD, HWND, BOOL&) {
    MoveSelected(1);
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnTest(WORD, WORD, HWND, BOOL&) {
    TestUrlsDlg dialog([this](size_t count) { return BuildTestUrls(count); });
    dialog.DoModal(TopWindow());
    return 0;
}

LRESULT TaskOptionsUrlTemplateDlg::OnSelectionChanged(int, LPNMHDR, BOOL&) {
    UpdateButtons();
    return 0;
}
