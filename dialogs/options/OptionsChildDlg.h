#pragma once
// One page of a multi-page settings dialog (see TVOptionsFrameDlg): a modeless child dialog laid
// over the frame's placeholder. The frame creates it with the edited object as init parameter;
// the page then translates itself under its own resource id, prepares its controls
// (InitControls: spin ranges and the like) and loads the object, so it shows the stored values
// from the start. Pages write into the object only in Save, which the frame calls after every
// page has validated.
//
//   class MyPage : public OptionsChildDlg<ProgramSettings> {
//       BEGIN_MSG_MAP(MyPage)
//           COMMAND_ID_HANDLER(IDC_GENERAL_LOG_USE, OnUseLogClicked)
//           CHAIN_MSG_MAP(OptionsChildDlg<ProgramSettings>)
//       END_MSG_MAP()
//       void Load(ProgramSettings& settings) override;
//       void Save(ProgramSettings& settings) override;
//       bool Validate() override;
//   };
#include <windows.h>
#include <commctrl.h>
#include "core/InternationalSupport.h"
#include "dialogs/common/DialogTexts.h"
#include "framework/DialogImpl.h"

template <class Object>
class OptionsChildDlg : public CDialogImplBase {
public:
    explicit OptionsChildDlg(UINT resourceId) : resourceId_(resourceId) {}

    UINT GetResourceId() const { return resourceId_; }

    // The frame shows (true) or hides (false) the page as the tree selection changes.
    virtual void Activate(bool /*shown*/) {}
    virtual void Load(Object& /*object*/) {}
    virtual void Save(Object& /*object*/) {}
    // False keeps the dialog open; the page has then shown its own warning.
    virtual bool Validate() { return true; }

    BEGIN_MSG_MAP(OptionsChildDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

protected:
    UINT GetDialogId() const override { return resourceId_; }
    // Called after translation and before Load.
    virtual void InitControls() {}

    void SetSpinRange(int spinId, int low, int high) {
        ::SendDlgItemMessageA(m_hWnd, spinId, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    }
    // The page's validation warning ("Warning", MB_ICONWARNING); returns false for Validate.
    bool FailValidation(unsigned textId) {
        ShowWarningBox(m_hWnd, LocalText(textId));
        return false;
    }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM initParam, BOOL&) {
        g_InternationalSupport.TranslateWindow(resourceId_, m_hWnd);
        InitControls();
        if (initParam) Load(*reinterpret_cast<Object*>(initParam));
        return FALSE;  // the frame keeps the focus
    }

    UINT resourceId_;
};
