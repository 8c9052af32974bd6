#pragma once
// Task page "Filetypes": every file-type group of the program with its extensions as a tree of
// three-state check boxes (a group is checked, unchecked or partly checked after its
// extensions); the checked extensions are the task's own file types unless "All" is checked.
// New, Edit and Delete change the program's groups at once (a Cancel of the task dialog keeps
// them).
#include <string>
#include <vector>
#include "core/FileTypes.h"
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "framework/ImageList.h"
#include "framework/TreeViewCtrl.h"
#include "resources/task_options_ids.h"

class TaskOptionsFiletypesDlg : public OptionsChildDlg<TaskOptions> {
public:
    // State images of the tree items.
    enum CheckState { kUnchecked = 1, kChecked = 2, kPartlyChecked = 3 };

    explicit TaskOptionsFiletypesDlg(TaskOptionsDlgInterface* owner)
        : OptionsChildDlg<TaskOptions>(IDD_TASK_FILETYPES), owner_(owner) {}

    void Load(TaskOptions& task) override;
    void Save(TaskOptions& task) override;
    bool Validate() override;

    // What a click on an item's check box does.
    void ToggleItem(HTREEITEM item);
    CheckState GetCheckState(HTREEITEM item) const;
    CTreeViewCtrl& Tree() { return tree_; }

    BEGIN_MSG_MAP(TaskOptionsFiletypesDlg)
        COMMAND_ID_HANDLER(IDC_TASK_ALL_TYPES, OnAllClicked)
        COMMAND_ID_HANDLER(IDC_TASK_TYPES_NEW, OnNew)
        COMMAND_ID_HANDLER(IDC_TASK_TYPES_EDIT, OnEdit)
        COMMAND_ID_HANDLER(IDC_TASK_TYPES_DELETE, OnDelete)
        NOTIFY_HANDLER(IDC_TASK_TYPES_TREE, NM_CLICK, OnTreeClick)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnAllClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnNew(WORD, WORD, HWND, BOOL&);
    LRESULT OnEdit(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnTreeClick(int, LPNMHDR, BOOL&);

    std::vector<FileTypeGroup>& Groups();
    void SetCheckState(HTREEITEM item, CheckState state);
    HTREEITEM InsertGroupItem(const FileTypeGroup& group, const std::vector<std::string>& checked);
    void InsertExtensionItems(HTREEITEM groupItem, const FileTypeGroup& group,
                              const std::vector<std::string>& checked);
    // A group's state from its extensions: all checked, none (or no extensions), or mixed.
    void UpdateGroupState(HTREEITEM groupItem);
    void UpdateAllGroupStates();
    void EnableTypeControls();

    TaskOptionsDlgInterface* owner_;
    CTreeViewCtrl tree_;
    ImageList stateImages_;
};
