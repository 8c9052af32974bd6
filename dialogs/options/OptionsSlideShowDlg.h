#pragma once
// Program options, "Slide Show": the delay between pictures and the viewer's transition effects.
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/options/OptionsDlgInterface.h"
#include "resources/options_ids.h"

class OptionsSlideShowDlg : public OptionsChildDlg<ProgramSettings> {
public:
    explicit OptionsSlideShowDlg(OptionsDlgInterface* owner)
        : OptionsChildDlg<ProgramSettings>(IDD_OPTIONS_SLIDESHOW), owner_(owner) {}

    void Load(ProgramSettings& settings) override;
    void Save(ProgramSettings& settings) override;
    bool Validate() override;

    BEGIN_MSG_MAP(OptionsSlideShowDlg)
        COMMAND_ID_HANDLER(IDC_SLIDESHOW_EFFECTS, OnUseEffectsClicked)
        CHAIN_MSG_MAP(OptionsChildDlg<ProgramSettings>)
    END_MSG_MAP()

protected:
    void InitControls() override;

private:
    LRESULT OnUseEffectsClicked(WORD, WORD, HWND, BOOL&);
    void EnableEffectOptions();

    OptionsDlgInterface* owner_;
};
