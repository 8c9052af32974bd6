#pragma once
// Program options, "Downloading": connections, pauses, time-out, attempts and how often a running
// task saves its state.
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/options/OptionsDlgInterface.h"
#include "resources/options_ids.h"

class OptionsPerformanceDlg : public OptionsChildDlg<ProgramSettings> {
public:
    explicit OptionsPerformanceDlg(OptionsDlgInterface* owner)
        : OptionsChildDlg<ProgramSettings>(IDD_OPTIONS_DOWNLOADING), owner_(owner) {}

    void Load(ProgramSettings& settings) override;
    void Save(ProgramSettings& settings) override;
    bool Validate() override;

    BEGIN_MSG_MAP(OptionsPerformanceDlg)
        COMMAND_ID_HANDLER(IDC_DOWNLOAD_USE_TIMEOUT, OnUseTimeoutClicked)
        CHAIN_MSG_MAP(OptionsChildDlg<ProgramSettings>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnUseTimeoutClicked(WORD, WORD, HWND, BOOL&);
    void EnableTimeout();

    OptionsDlgInterface* owner_;
};
