#pragma once
// The program options ("Main options"): five pages over the settings record; OK writes
// "Brackenfly.config". Application::ShowOptionsDialog runs it:
//
//   OptionsDlg dialog(app);
//   dialog.DoModal(::GetActiveWindow());
#include <vector>
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsDlgInterface.h"
#include "dialogs/options/TVOptionsFrameDlg.h"
#include "resources/options_ids.h"

class Application;

class OptionsDlg : public TVOptionsFrameDlg<OptionsDlg, ProgramSettings>, public OptionsDlgInterface {
public:
    using Frame = TVOptionsFrameDlg<OptionsDlg, ProgramSettings>;
    enum { IDD = IDD_OPTIONS };

    explicit OptionsDlg(Application* app);

    Application* GetApplication() override { return app_; }
    ProgramSettings& GetEditedObject();
    bool StoreEditedObject();

    BEGIN_MSG_MAP(OptionsDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(Frame)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(IDC_OPTIONS_HELP, OnHelp)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnHelp(WORD, WORD, HWND, BOOL&);

    Application* app_;
};
