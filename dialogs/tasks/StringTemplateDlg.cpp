#include "dialogs/tasks/StringTemplateDlg.h"
#include <algorithm>
#include <iterator>
#include "framework/ImageListStrip.h"
#include <vector>
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "dialogs/common/DialogTexts.h"
#include "resources/task_options_ids.h"

namespace {
const int kButtonWidth = 16;
const int kButtonHeight = 15;
// Separators (0) after "Edit Item" and after "Delete All" set the editing, deleting and moving
// buttons apart.
const int kCommands[] = {ID_LIST_NEW_ITEM, ID_LIST_EDIT_ITEM, 0, ID_LIST_DELETE_ITEM,
                         ID_LIST_DELETE_ALL, 0, ID_LIST_UP, ID_LIST_DOWN};
// Characters of the edit taken as an entry; of an entry read back from the list.
const size_t kMaxEntryText = 254;
const size_t kMaxToolTipText = 79;

}  // namespace

LRESULT StringTemplateDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_EDIT, EM_LIMITTEXT, kMaxEntryText, 0);
    for (const std::string& entry : generator_.strings)
        ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    CreateToolbar();
    UpdateButtons();
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    return TRUE;
}

void StringTemplateDlg::CreateToolbar() {
    images_ = LoadImageListStrip(IDB_STRING_LIST_TOOLBAR, kButtonWidth, kButtonHeight);
    hotImages_ = LoadImageListStrip(IDB_STRING_LIST_TOOLBAR_HOT, kButtonWidth, kButtonHeight);
    ToolBarArgs bar;
    bar.parent = m_hWnd;
    bar.place = PlaceOfChild(m_hWnd, IDC_STRING_TOOLBAR_FRAME);
    bar.commands.assign(std::begin(kCommands), std::end(kCommands));
    bar.images = images_.Get();
    bar.hotImages = hotImages_.Get();
    toolbar_.Create(bar);
    // The frame only marks the place.
    ::ShowWindow(GetDlgItem(IDC_STRING_TOOLBAR_FRAME), SW_HIDE);
}

LRESULT StringTemplateDlg::OnToolTipText(int, LPNMHDR header, BOOL& handled) {
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    const UINT_PTR command = header->idFrom;
    bool ours = false;
    for (int id : kCommands) ours = ours || (id != 0 && command == static_cast<UINT_PTR>(id));
    if (!ours) {
        handled = FALSE;
        return 0;
    }
    const std::string text = LocalText(static_cast<unsigned>(command)).substr(0, kMaxToolTipText);
    lstrcpynA(info->szText, text.c_str(), sizeof(info->szText));
    info->lpszText = info->szText;
    return 0;
}

std::string StringTemplateDlg::EditText() const { return GetItemString(m_hWnd, IDC_STRING_EDIT).substr(0, kMaxEntryText); }

int StringTemplateDlg::Selection() const {
    return static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_GETCURSEL, 0, 0));
}

int StringTemplateDlg::Count() const {
    return static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_GETCOUNT, 0, 0));
}

std::string StringTemplateDlg::EntryText(int index) const {
    const LRESULT length = ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

bool StringTemplateDlg::IsButtonEnabled(int command) const {
    const bool text = !EditText().empty();
    const int selected = Selection();
    const int count = Count();
    switch (command) {
    case ID_LIST_NEW_ITEM: return text;
    case ID_LIST_EDIT_ITEM: return selected >= 0 && text;
    case ID_LIST_DELETE_ITEM: return selected >= 0;
    case ID_LIST_DELETE_ALL: return count > 0;
    case ID_LIST_UP: return selected > 0;
    case ID_LIST_DOWN: return selected >= 0 && selected < count - 1;
    default: return false;
    }
}

void StringTemplateDlg::UpdateButtons() {
    for (int command : kCommands)
        if (command != 0) toolbar_.EnableButton(command, IsButtonEnabled(command));
}

LRESULT StringTemplateDlg::OnNewItem(WORD, WORD, HWND, BOOL&) {
    if (!IsButtonEnabled(ID_LIST_NEW_ITEM)) return 0;
    const std::string text = EditText();
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SetDlgItemTextA(m_hWnd, IDC_STRING_EDIT, "");
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnEditItem(WORD, WORD, HWND, BOOL&) {
    if (!IsButtonEnabled(ID_LIST_EDIT_ITEM)) return 0;
    const int selected = Selection();
    const std::string text = EditText();
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_INSERTSTRING, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.c_str()));
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    ::SetDlgItemTextA(m_hWnd, IDC_STRING_EDIT, "");
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnDeleteItem(WORD, WORD, HWND, BOOL&) {
    if (!IsButtonEnabled(ID_LIST_DELETE_ITEM)) return 0;
    const int selected = Selection();
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    if (Count() > 0)
        ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_SETCURSEL, static_cast<WPARAM>(selected > 0 ? selected - 1 : 0), 0);
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnDeleteAll(WORD, WORD, HWND, BOOL&) {
    if (!IsButtonEnabled(ID_LIST_DELETE_ALL)) return 0;
    if (AskQuestionBox(m_hWnd, LocalText(IDS_DELETE_EVERYTHING)) != IDYES) return 0;
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_RESETCONTENT, 0, 0);
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnMove(WORD, WORD id, HWND, BOOL&) {
    if (!IsButtonEnabled(id)) return 0;
    const int selected = Selection();
    const int target = id == ID_LIST_UP ? selected - 1 : selected + 1;
    const std::string text = EntryText(selected);
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_INSERTSTRING, static_cast<WPARAM>(target), reinterpret_cast<LPARAM>(text.c_str()));
    ::SendDlgItemMessageA(m_hWnd, IDC_STRING_LIST, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnEditChanged(WORD, WORD, HWND, BOOL&) {
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnSelectionChanged(WORD, WORD, HWND, BOOL&) {
    const int selected = Selection();
    if (selected >= 0) ::SetDlgItemTextA(m_hWnd, IDC_STRING_EDIT, EntryText(selected).c_str());
    UpdateButtons();
    return 0;
}

LRESULT StringTemplateDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    std::vector<std::string> entries;
    for (int i = 0; i < Count(); ++i) entries.push_back(EntryText(i));
    // A word typed and confirmed with Enter or OK without "New Item" is still meant to be in the
    // list; a selected entry's own text shown in the edit is not a new word.
    const std::string typed = EditText();
    if (!typed.empty() && std::find(entries.begin(), entries.end(), typed) == entries.end()) entries.push_back(typed);
    generator_.index = KeptPosition(generator_, entries);
    generator_.strings = entries;
    EndDialog(IDOK);
    return 0;
}

int StringTemplateDlg::KeptPosition(const StringTemplate& before, const std::vector<std::string>& after) {
    // The generator goes on from the string it stood at, wherever that string is now.
    const int index = before.index;
    if (index >= 0 && index < static_cast<int>(before.strings.size())) {
        auto found = std::find(after.begin(), after.end(), before.strings[static_cast<size_t>(index)]);
        if (found != after.end()) return static_cast<int>(found - after.begin());
    }
    return index >= 0 && index < static_cast<int>(after.size()) ? index : 0;
}

LRESULT StringTemplateDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
