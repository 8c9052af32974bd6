#pragma once
// Program options, "Filetypes": the file-type groups as a tree (groups with their extensions
// under them), edited on a working copy that only OK writes into the settings.
#include <vector>
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/options/OptionsDlgInterface.h"
#include "framework/TreeViewCtrl.h"
#include "resources/options_ids.h"

class OptionsFiletypesDlg : public OptionsChildDlg<ProgramSettings> {
public:
    explicit OptionsFiletypesDlg(OptionsDlgInterface* owner)
        : OptionsChildDlg<ProgramSettings>(IDD_OPTIONS_FILETYPES), owner_(owner) {}

    void Load(ProgramSettings& settings) override;
    void Save(ProgramSettings& settings) override;

    const std::vector<FileTypeGroup>& WorkingCopy() const { return groups_; }

    BEGIN_MSG_MAP(OptionsFiletypesDlg)
        COMMAND_ID_HANDLER(IDC_FILETYPES_NEW, OnNew)
        COMMAND_ID_HANDLER(IDC_FILETYPES_EDIT, OnEdit)
        COMMAND_ID_HANDLER(IDC_FILETYPES_DELETE, OnDelete)
        CHAIN_MSG_MAP(OptionsChildDlg<ProgramSettings>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnNew(WORD, WORD, HWND, BOOL&);
    LRESULT OnEdit(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    void InsertGroupItem(const FileTypeGroup& group);
    void InsertExtensionItems(HTREEITEM groupItem, const FileTypeGroup& group);

    OptionsDlgInterface* owner_;
    std::vector<FileTypeGroup> groups_;
    CTreeViewCtrl tree_;
};
