#include "dialogs/options/OptionsFiletypesDlg.h"
#include "dialogs/common/FiletypeDlg.h"
#include "dialogs/options/FileTypeGroupEdits.h"

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
    HTREEITEM item = tree_.InsertItem(group.front().c_str(), kGroupItem);
    InsertExtensionItems(item, group);
}

void OptionsFiletypesDlg::InsertExtensionItems(HTREEITEM groupItem, const FileTypeGroup& group) {
    for (size_t i = 1; i < group.size(); ++i) tree_.InsertItem(group[i].c_str(), kExtensionItem, groupItem);
}

HTREEITEM OptionsFiletypesDlg::SelectedGroupItem() const {
    HTREEITEM item = tree_.GetSelectedItem();
    if (item && tree_.GetItemData(item) == kExtensionItem) item = tree_.GetParentItem(item);
    return item;
}

LRESULT OptionsFiletypesDlg::OnNew(WORD, WORD, HWND, BOOL&) {
    CFiletypeDlg dialog(LocalText(IDS_NEW_FILE_TYPE));
    dialog.namesInUse = FileTypeGroupNames(groups_);
    if (dialog.DoModal(m_hWnd) != IDOK) return 0;
    FileTypeGroup group(1, dialog.name);
    group.insert(group.end(), dialog.extensions.begin(), dialog.extensions.end());
    groups_.push_back(group);
    InsertGroupItem(group);
    ::EnableWindow(tree_, TRUE);
    return 0;
}

LRESULT OptionsFiletypesDlg::OnEdit(WORD, WORD, HWND, BOOL&) {
    HTREEITEM item = SelectedGroupItem();
    if (!item) return 0;
    const std::string oldName = tree_.GetItemText(item);
    FileTypeGroup* group = FindFileTypeGroup(groups_, oldName);
    if (!group) return 0;
    CFiletypeDlg dialog(LocalText(IDS_EDIT_FILE_TYPE));
    dialog.name = oldName;
    dialog.extensions.assign(group->begin() + 1, group->end());
    // Its own name stays acceptable.
    dialog.namesInUse = FileTypeGroupNames(groups_, &oldName);
    if (dialog.DoModal(m_hWnd) != IDOK) return 0;
    // The group keeps its place in the list: the first one of the old name is the one edited.
    if (!ReplaceFileTypeGroup(groups_, oldName, dialog.name, dialog.extensions)) return 0;
    tree_.SetItemText(item, dialog.name.c_str());
    tree_.DeleteChildren(item);
    InsertExtensionItems(item, *group);
    return 0;
}

LRESULT OptionsFiletypesDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    HTREEITEM item = tree_.GetSelectedItem();
    if (!item) return 0;
    const std::string text = tree_.GetItemText(item);
    const std::string question = LocalText(IDS_DELETE_QUESTION_START) + text + LocalText(IDS_DELETE_QUESTION_END);
    if (AskQuestionBox(m_hWnd, question) != IDYES) return 0;
    if (tree_.GetItemData(item) == kExtensionItem)
        RemoveFileTypeExtension(groups_, tree_.GetItemText(tree_.GetParentItem(item)), text);
    else
        RemoveFileTypeGroup(groups_, text);
    tree_.DeleteItem(item);
    return 0;
}
