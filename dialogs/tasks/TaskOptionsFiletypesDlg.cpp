#include "dialogs/tasks/TaskOptionsFiletypesDlg.h"
#include "framework/ImageListStrip.h"
#include <algorithm>
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "dialogs/common/FiletypeDlg.h"
#include "dialogs/options/FileTypeGroupEdits.h"
#include "resources/options_ids.h"

namespace {
const int kStateImageWidth = 15;
const int kStateImageHeight = 14;

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}
}  // namespace

TaskOptionsFiletypesDlg::~TaskOptionsFiletypesDlg() {
    if (stateImages_) ImageList_Destroy(stateImages_);
}

std::vector<FileTypeGroup>& TaskOptionsFiletypesDlg::Groups() {
    return owner_->GetApplication()->GetSettings()->Filetypes;
}

void TaskOptionsFiletypesDlg::InitControls() {
    tree_.m_hWnd = GetDlgItem(IDC_TASK_TYPES_TREE);
    stateImages_ = LoadImageListStrip(IDB_FILETYPE_CHECKS, kStateImageWidth, kStateImageHeight);
    TreeView_SetImageList(tree_, stateImages_, TVSIL_STATE);
}

void TaskOptionsFiletypesDlg::Load(TaskOptions& task) {
    owner_->GetApplication()->RemoveUnknownFileTypes(&task);
    tree_.DeleteAllItems();
    for (const FileTypeGroup& group : Groups()) {
        if (!group.empty()) InsertGroupItem(group, task.Filetypes);
    }
    UpdateAllGroupStates();
    SetItemChecked(m_hWnd, IDC_TASK_ALL_TYPES, task.UseAllFileTypes);
    EnableTypeControls();
}

void TaskOptionsFiletypesDlg::Save(TaskOptions& task) {
    task.Filetypes.clear();
    for (HTREEITEM group = tree_.GetRootItem(); group; group = tree_.GetNextSiblingItem(group)) {
        for (HTREEITEM item = tree_.GetChildItem(group); item; item = tree_.GetNextSiblingItem(item)) {
            if (GetCheckState(item) != kUnchecked) task.Filetypes.push_back(tree_.GetItemText(item));
        }
    }
    task.UseAllFileTypes = IsItemChecked(m_hWnd, IDC_TASK_ALL_TYPES);
}

bool TaskOptionsFiletypesDlg::Validate() {
    if (IsItemChecked(m_hWnd, IDC_TASK_ALL_TYPES)) return true;
    for (HTREEITEM group = tree_.GetRootItem(); group; group = tree_.GetNextSiblingItem(group)) {
        for (HTREEITEM item = tree_.GetChildItem(group); item; item = tree_.GetNextSiblingItem(item)) {
            if (GetCheckState(item) != kUnchecked) return true;
        }
    }
    return FailValidation(IDS_NO_FILE_TYPE_SELECTED);
}

TaskOptionsFiletypesDlg::CheckState TaskOptionsFiletypesDlg::GetCheckState(HTREEITEM item) const {
    const UINT state = TreeView_GetItemState(tree_, item, TVIS_STATEIMAGEMASK) >> 12;
    return state == kChecked ? kChecked : state == kPartlyChecked ? kPartlyChecked : kUnchecked;
}

void TaskOptionsFiletypesDlg::SetCheckState(HTREEITEM item, CheckState state) {
    TreeView_SetItemState(tree_, item, INDEXTOSTATEIMAGEMASK(state), TVIS_STATEIMAGEMASK);
}

HTREEITEM TaskOptionsFiletypesDlg::InsertGroupItem(const FileTypeGroup& group, const std::vector<std::string>& checked) {
    HTREEITEM item = tree_.InsertItem(group.front().c_str(), kGroupItem);
    SetCheckState(item, kUnchecked);
    InsertExtensionItems(item, group, checked);
    return item;
}

void TaskOptionsFiletypesDlg::InsertExtensionItems(HTREEITEM groupItem, const FileTypeGroup& group,
                                                   const std::vector<std::string>& checked) {
    for (size_t i = 1; i < group.size(); ++i) {
        HTREEITEM item = tree_.InsertItem(group[i].c_str(), kExtensionItem, groupItem);
        SetCheckState(item, Contains(checked, group[i]) ? kChecked : kUnchecked);
    }
}

void TaskOptionsFiletypesDlg::UpdateGroupState(HTREEITEM groupItem) {
    int checked = 0, total = 0;
    for (HTREEITEM item = tree_.GetChildItem(groupItem); item; item = tree_.GetNextSiblingItem(item)) {
        ++total;
        if (GetCheckState(item) == kChecked) ++checked;
    }
    SetCheckState(groupItem, total > 0 && checked == total ? kChecked : checked == 0 ? kUnchecked : kPartlyChecked);
}

void TaskOptionsFiletypesDlg::UpdateAllGroupStates() {
    for (HTREEITEM group = tree_.GetRootItem(); group; group = tree_.GetNextSiblingItem(group)) UpdateGroupState(group);
}

void TaskOptionsFiletypesDlg::ToggleItem(HTREEITEM item) {
    if (!item) return;
    tree_.SelectItem(item);
    if (tree_.GetItemData(item) == kGroupItem) {
        // A partly checked group is cleared, like an unchecked one is filled.
        const CheckState state = GetCheckState(item) == kUnchecked ? kChecked : kUnchecked;
        SetCheckState(item, state);
        for (HTREEITEM child = tree_.GetChildItem(item); child; child = tree_.GetNextSiblingItem(child))
            SetCheckState(child, state);
    } else {
        SetCheckState(item, GetCheckState(item) == kUnchecked ? kChecked : kUnchecked);
        UpdateGroupState(tree_.GetParentItem(item));
    }
}

LRESULT TaskOptionsFiletypesDlg::OnTreeClick(int, LPNMHDR, BOOL& handled) {
    TVHITTESTINFO hit = {};
    const DWORD where = ::GetMessagePos();
    hit.pt.x = static_cast<short>(LOWORD(where));
    hit.pt.y = static_cast<short>(HIWORD(where));
    ::ScreenToClient(tree_, &hit.pt);
    HTREEITEM item = TreeView_HitTest(tree_, &hit);
    if (!item || !(hit.flags & TVHT_ONITEMSTATEICON)) {
        handled = FALSE;
        return 0;
    }
    ToggleItem(item);
    return 1;
}

void TaskOptionsFiletypesDlg::EnableTypeControls() {
    const bool own = !IsItemChecked(m_hWnd, IDC_TASK_ALL_TYPES);
    for (int id : {IDC_TASK_TYPES_TREE, IDC_TASK_TYPES_EDIT, IDC_TASK_TYPES_NEW, IDC_TASK_TYPES_DELETE})
        EnableItem(m_hWnd, id, own);
}

LRESULT TaskOptionsFiletypesDlg::OnAllClicked(WORD, WORD, HWND, BOOL&) {
    EnableTypeControls();
    return 0;
}

HTREEITEM TaskOptionsFiletypesDlg::SelectedGroupItem() const {
    HTREEITEM item = tree_.GetSelectedItem();
    if (item && tree_.GetItemData(item) == kExtensionItem) item = tree_.GetParentItem(item);
    return item;
}

LRESULT TaskOptionsFiletypesDlg::OnNew(WORD, WORD, HWND, BOOL&) {
    CFiletypeDlg dialog(LocalText(IDS_NEW_FILE_TYPE));
    dialog.namesInUse = FileTypeGroupNames(Groups());
    if (dialog.DoModal(m_hWnd) != IDOK) return 0;
    FileTypeGroup group(1, dialog.name);
    group.insert(group.end(), dialog.extensions.begin(), dialog.extensions.end());
    Groups().push_back(group);
    // The new group's extensions count as chosen.
    UpdateGroupState(InsertGroupItem(group, dialog.extensions));
    SetItemChecked(m_hWnd, IDC_TASK_ALL_TYPES, false);
    EnableTypeControls();
    return 0;
}

LRESULT TaskOptionsFiletypesDlg::OnEdit(WORD, WORD, HWND, BOOL&) {
    HTREEITEM item = SelectedGroupItem();
    if (!item) return 0;
    const std::string oldName = tree_.GetItemText(item);
    FileTypeGroup* group = FindFileTypeGroup(Groups(), oldName);
    if (!group) return 0;
    CFiletypeDlg dialog(LocalText(IDS_EDIT_FILE_TYPE));
    dialog.name = oldName;
    dialog.extensions.assign(group->begin() + 1, group->end());
    dialog.namesInUse = FileTypeGroupNames(Groups(), &oldName);
    if (dialog.DoModal(m_hWnd) != IDOK) return 0;
    std::vector<std::string> checked;
    for (HTREEITEM child = tree_.GetChildItem(item); child; child = tree_.GetNextSiblingItem(child)) {
        if (GetCheckState(child) == kChecked) checked.push_back(tree_.GetItemText(child));
    }
    if (!ReplaceFileTypeGroup(Groups(), oldName, dialog.name, dialog.extensions)) return 0;
    tree_.SetItemText(item, dialog.name.c_str());
    tree_.DeleteChildren(item);
    if (const FileTypeGroup* edited = FindFileTypeGroup(Groups(), dialog.name))
        InsertExtensionItems(item, *edited, checked);
    UpdateAllGroupStates();
    return 0;
}

LRESULT TaskOptionsFiletypesDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    HTREEITEM item = tree_.GetSelectedItem();
    if (!item) return 0;
    const std::string text = tree_.GetItemText(item);
    const std::string question = LocalText(IDS_DELETE_QUESTION_START) + text + LocalText(IDS_DELETE_QUESTION_END);
    if (AskQuestionBox(m_hWnd, question) != IDYES) return 0;
    if (tree_.GetItemData(item) == kExtensionItem) {
        HTREEITEM groupItem = tree_.GetParentItem(item);
        RemoveFileTypeExtension(Groups(), tree_.GetItemText(groupItem), text);
        tree_.DeleteItem(item);
        UpdateGroupState(groupItem);
    } else {
        RemoveFileTypeGroup(Groups(), text);
        tree_.DeleteItem(item);
    }
    return 0;
}
