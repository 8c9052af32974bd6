#pragma once
// Program options, "General": the folder for pictures, the error log and the tip of the day.
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/options/OptionsDlgInterface.h"
#include "resources/options_ids.h"

class OptionsGeneralDlg : public OptionsChildDlg<ProgramSettings> {
public:
    explicit OptionsGeneralDlg(OptionsDlgInterface* owner)
        : OptionsChildDlg<ProgramSettings>(IDD_OPTIONS_GENERAL), owner_(owner) {}

    void Load(ProgramSettings& settings) override;
    void Save(ProgramSettings& settings) override;
    bool Validate() override;

    BEGIN_MSG_MAP(OptionsGeneralDlg)
        COMMAND_ID_HANDLER(IDC_GENERAL_LOG_USE, OnUseLogClicked)
        COMMAND_ID_HANDLER(IDC_GENERAL_BROWSE, OnBrowse)
        COMMAND_ID_HANDLER(IDC_GENERAL_VIEW_LOG, OnViewLog)
        COMMAND_ID_HANDLER(IDC_GENERAL_CLEAR_LOG, OnClearLog)
        CHAIN_MSG_MAP(OptionsChildDlg<ProgramSettings>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnUseLogClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewLog(WORD, WORD, HWND, BOOL&);
    LRESULT OnClearLog(WORD, WORD, HWND, BOOL&);
    void EnableLogControls();
    const std::string& ProgramFolder() const;

    OptionsDlgInterface* owner_;
};
