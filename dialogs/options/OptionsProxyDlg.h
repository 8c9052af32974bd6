#pragma once
// Program options, "Proxy": no proxy, the system's proxy setting, or an own proxy, with or
// without a password.
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/options/OptionsDlgInterface.h"
#include "resources/options_ids.h"

class OptionsProxyDlg : public OptionsChildDlg<ProgramSettings> {
public:
    explicit OptionsProxyDlg(OptionsDlgInterface* owner)
        : OptionsChildDlg<ProgramSettings>(IDD_OPTIONS_PROXY), owner_(owner) {}

    void Load(ProgramSettings& settings) override;
    void Save(ProgramSettings& settings) override;
    bool Validate() override;

    BEGIN_MSG_MAP(OptionsProxyDlg)
        COMMAND_ID_HANDLER(IDC_PROXY_NONE, OnNoProxyClicked)
        COMMAND_ID_HANDLER(IDC_PROXY_SYSTEM, OnSystemProxyClicked)
        COMMAND_ID_HANDLER(IDC_PROXY_OWN, OnOwnProxyClicked)
        COMMAND_ID_HANDLER(IDC_PROXY_AUTH, OnAuthClicked)
        CHAIN_MSG_MAP(OptionsChildDlg<ProgramSettings>)
    END_MSG_MAP()

private:
    LRESULT OnNoProxyClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnSystemProxyClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnOwnProxyClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnAuthClicked(WORD, WORD, HWND, BOOL&);
    // Enables the address and port, the password box, and the user name and password as that
    // box is checked.
    void EnableControls(bool address, bool authBox);

    OptionsDlgInterface* owner_;
};
