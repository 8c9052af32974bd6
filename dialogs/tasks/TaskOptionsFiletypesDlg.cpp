#include "dialogs/tasks/TaskOptionsFiletypesDlg.h"
#include "framework/ImageListStrip.h"
#include <algorithm>
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "dialogs/options/FileTypeTreeEdits.h"
#include "resources/options_ids.h"

namespace {
const int kStateImageWidth = 15;
const int kStateImageHeight = 14;

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}
}  // namespace

std::vector<FileTypeGroup>& TaskOptionsFiletypesDlg::Groups() {
    return owner_->GetApplication()->GetSettings()->Filetypes;
}

void TaskOptionsFiletypesDlg::InitControls() {
    tree_.m_hWnd = GetDlgItem(IDC_TASK_TYPES_TREE);
    stateImages_ = LoadImageListStrip(IDB_FILETYPE_CHECKS, kStateImageWidth, kStateImageHeight);
    TreeView_SetImageList(tree_, stateImages_.Get(), TVSIL_STATE);
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
    HTREEITEM item = tree_.InsertItem(group.front().c_str(), kFileTypeGroupItem);
    SetCheckState(item, kUnchecked);
    InsertExtensionItems(item, group, checked);
    return item;
}

void TaskOptionsFiletypesDlg::InsertExtensionItems(HTREEITEM groupItem, const FileTypeGroup& group,
                                                   const std::vector<std::string>& checked) {
    for (size_t i = 1; i < group.size(); ++i) {
        HTREEITEM item = tree_.InsertItem(group[i].c_str(), kFileTypeExtensionItem, groupItem);
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
    if (tree_.GetItemData(item) == kFileTypeGroupItem) {
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

LRESULT TaskOptionsFiletypesDlg::OnNew(WORD, WORD, HWND, BOOL&) {
    FileTypeGroup group;
    if (!AskNewFileTypeGroup(m_hWnd, Groups(), group)) return 0;
    // The new group's extensions count as chosen.
    UpdateGroupState(InsertGroupItem(group, std::vector<std::string>(group.begin() + 1, group.end())));
    SetItemChecked(m_hWnd, IDC_TASK_ALL_TYPES, false);
    EnableTypeControls();
    return 0;
}

LRESULT TaskOptionsFiletypesDlg::OnEdit(WORD, WORD, HWND, BOOL&) {
    HTREEITEM item = SelectedFileTypeGroupItem(tree_);
    if (!item) return 0;
    // The extensions chosen before stay chosen.
    std::vector<std::string> checked;
    for (HTREEITEM child = tree_.GetChildItem(item); child; child = tree_.GetNextSiblingItem(child)) {
        if (GetCheckState(child) == kChecked) checked.push_back(tree_.GetItemText(child));
    }
    const FileTypeGroup* edited = AskEditFileTypeGroup(m_hWnd, tree_, item, Groups());
    if (!edited) return 0;
    InsertExtensionItems(item, *edited, checked);
    UpdateAllGroupStates();
    return 0;
}

LRESULT TaskOptionsFiletypesDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    HTREEITEM groupOfExtension = nullptr;
    if (AskDeleteFileTypeItem(m_hWnd, tree_, Groups(), groupOfExtension) && groupOfExtension)
        UpdateGroupState(groupOfExtension);
    return 0;
}
