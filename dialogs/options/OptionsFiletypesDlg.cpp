#include "dialogs/options/OptionsFiletypesDlg.h"
#include "dialogs/options/FileTypeTreeEdits.h"

void OptionsFiletypesDlg::InitControls() { tree_.m_hWnd = GetDlgItem(IDC_FILETYPES_TREE); }

void OptionsFiletypesDlg::Load(ProgramSettings& settings) {
    groups_ = settings.Filetypes;
    tree_.DeleteAllItems();
    for (const FileTypeGroup& group : groups_) {
        if (!group.empty()) InsertGroupItem(group);
    }
}

void OptionsFiletypesDlg::Save(ProgramSettings& settings) { settings.Filetypes = groups_; }

void OptionsFiletypesDlg::InsertGroupItem(const FileTypeGroup& group) {
    HTREEITEM item = tree_.InsertItem(group.front().c_str(), kFileTypeGroupItem);
    InsertExtensionItems(item, group);
}

void OptionsFiletypesDlg::InsertExtensionItems(HTREEITEM groupItem, const FileTypeGroup& group) {
    for (size_t i = 1; i < group.size(); ++i) tree_.InsertItem(group[i].c_str(), kFileTypeExtensionItem, groupItem);
}

LRESULT OptionsFiletypesDlg::OnNew(WORD, WORD, HWND, BOOL&) {
    FileTypeGroup group;
    if (!AskNewFileTypeGroup(m_hWnd, groups_, group)) return 0;
    InsertGroupItem(group);
    ::EnableWindow(tree_, TRUE);
    return 0;
}

LRESULT OptionsFiletypesDlg::OnEdit(WORD, WORD, HWND, BOOL&) {
    HTREEITEM item = SelectedFileTypeGroupItem(tree_);
    if (const FileTypeGroup* group = AskEditFileTypeGroup(m_hWnd, tree_, item, groups_))
        InsertExtensionItems(item, *group);
    return 0;
}

LRESULT OptionsFiletypesDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    HTREEITEM groupOfExtension = nullptr;
    AskDeleteFileTypeItem(m_hWnd, tree_, groups_, groupOfExtension);
    return 0;
}
