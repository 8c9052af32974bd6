#pragma once
// Site-scanning task page "Download options": the download profiles. Choosing one loads the
// Scanning, Filetypes and Size Filters pages from it; "Save As..." keeps what those pages hold
// as a profile; "Remove" deletes one. Profiles live in the program settings and outlive a
// Cancel of the task dialog.
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskOptionsDownloadOptDlg : public OptionsChildDlg<TaskOptions> {
public:
    explicit TaskOptionsDownloadOptDlg(TaskOptionsDlgInterface* owner)
        : OptionsChildDlg<TaskOptions>(IDD_TASK_DOWNLOAD_OPTIONS), owner_(owner) {}

    void Activate(bool shown) override;
    void Load(TaskOptions& task) override;

    BEGIN_MSG_MAP(TaskOptionsDownloadOptDlg)
        COMMAND_HANDLER(IDC_PROFILE_LIST, CBN_SELCHANGE, OnProfileChosen)
        COMMAND_ID_HANDLER(IDC_PROFILE_SAVE_AS, OnSaveAs)
        COMMAND_ID_HANDLER(IDC_PROFILE_REMOVE, OnRemove)
        CHAIN_MSG_MAP(OptionsChildDlg<TaskOptions>)
    END_MSG_MAP()

private:
    LRESULT OnProfileChosen(WORD, WORD, HWND, BOOL&);
    LRESULT OnSaveAs(WORD, WORD, HWND, BOOL&);
    LRESULT OnRemove(WORD, WORD, HWND, BOOL&);
    std::string SelectedName() const;
    // Selects the entry of exactly that text (the empty first entry for "").
    void SelectName(const std::string& name);

    TaskOptionsDlgInterface* owner_;
};
