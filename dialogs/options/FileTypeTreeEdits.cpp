#include "dialogs/options/FileTypeTreeEdits.h"
#include "core/LocalText.h"
#include "dialogs/common/DialogTexts.h"
#include "dialogs/common/FiletypeDlg.h"
#include "dialogs/options/FileTypeGroupEdits.h"
#include "resources/options_ids.h"

HTREEITEM SelectedFileTypeGroupItem(const CTreeViewCtrl& tree) {
    HTREEITEM item = tree.GetSelectedItem();
    if (item && tree.GetItemData(item) == kFileTypeExtensionItem) item = tree.GetParentItem(item);
    return item;
}

bool AskNewFileTypeGroup(HWND owner, std::vector<FileTypeGroup>& groups, FileTypeGroup& added) {
    CFiletypeDlg dialog(LocalText(IDS_NEW_FILE_TYPE));
    dialog.namesInUse = FileTypeGroupNames(groups);
    if (dialog.DoModal(owner) != IDOK) return false;
    added.assign(1, dialog.name);
    added.insert(added.end(), dialog.extensions.begin(), dialog.extensions.end());
    groups.push_back(added);
    return true;
}

const FileTypeGroup* AskEditFileTypeGroup(HWND owner, CTreeViewCtrl& tree, HTREEITEM item,
                                          std::vector<FileTypeGroup>& groups) {
    if (!item) return nullptr;
    const std::string oldName = tree.GetItemText(item);
    FileTypeGroup* group = FindFileTypeGroup(groups, oldName);
    if (!group) return nullptr;
    CFiletypeDlg dialog(LocalText(IDS_EDIT_FILE_TYPE));
    dialog.name = oldName;
    dialog.extensions.assign(group->begin() + 1, group->end());
    // Its own name stays acceptable.
    dialog.namesInUse = FileTypeGroupNames(groups, &oldName);
    if (dialog.DoModal(owner) != IDOK) return nullptr;
    // The group keeps its place in the list: the first one of the old name is the one edited.
    if (!ReplaceFileTypeGroup(groups, oldName, dialog.name, dialog.extensions)) return nullptr;
    tree.SetItemText(item, dialog.name.c_str());
    tree.DeleteChildren(item);
    return group;
}

bool AskDeleteFileTypeItem(HWND owner, CTreeViewCtrl& tree, std::vector<FileTypeGroup>& groups,
                           HTREEITEM& groupOfExtension) {
    groupOfExtension = nullptr;
    HTREEITEM item = tree.GetSelectedItem();
    if (!item) return false;
    const std::string text = tree.GetItemText(item);
    const std::string question = LocalText(IDS_DELETE_QUESTION_START) + text + LocalText(IDS_DELETE_QUESTION_END);
    if (AskQuestionBox(owner, question) != IDYES) return false;
    if (tree.GetItemData(item) == kFileTypeExtensionItem) {
        groupOfExtension = tree.GetParentItem(item);
        RemoveFileTypeExtension(groups, tree.GetItemText(groupOfExtension), text);
    } else {
        RemoveFileTypeGroup(groups, text);
    }
    tree.DeleteItem(item);
    return true;
}
