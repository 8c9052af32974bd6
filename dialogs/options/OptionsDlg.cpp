#include "dialogs/options/OptionsDlg.h"
#include "core/Application.h"
#include "core/WindowRoutines.h"
#include "dialogs/options/OptionsFiletypesDlg.h"
#include "dialogs/options/OptionsGeneralDlg.h"
#include "dialogs/options/OptionsPerformanceDlg.h"
#include "dialogs/options/OptionsProxyDlg.h"
#include "dialogs/options/OptionsSlideShowDlg.h"

namespace {
// Tree order, which is also the order of the pages.
const struct {
    unsigned titleId;
    UINT pageId;
} kPageTitles[] = {
    {IDS_PAGE_GENERAL, IDD_OPTIONS_GENERAL},       {IDS_PAGE_PROXY, IDD_OPTIONS_PROXY},
    {IDS_PAGE_DOWNLOADING, IDD_OPTIONS_DOWNLOADING}, {IDS_PAGE_FILETYPES, IDD_OPTIONS_FILETYPES},
    {IDS_PAGE_SLIDESHOW, IDD_OPTIONS_SLIDESHOW},
};
}  // namespace

OptionsDlg::OptionsDlg(Application* app) : Frame(IDC_OPTIONS_TREE, IDC_OPTIONS_PLACEHOLDER), app_(app) {
    AddPage(new OptionsGeneralDlg(this));
    AddPage(new OptionsProxyDlg(this));
    AddPage(new OptionsPerformanceDlg(this));
    AddPage(new OptionsFiletypesDlg(this));
    AddPage(new OptionsSlideShowDlg(this));
}

ProgramSettings& OptionsDlg::GetEditedObject() { return *app_->GetSettings(); }

bool OptionsDlg::StoreEditedObject() {
    // Counts typed past the arrows' range are kept within it, as the settings file is read back:
    // what the dialog stores is what the next start uses.
    app_->GetSettings()->ClampCounts();
    return app_->GetSettings()->Save();
}

LRESULT OptionsDlg::OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    for (const auto& page : kPageTitles) GetTree().Expand(AddTreeItem(page.titleId, page.pageId));
    return Frame::OnInitDialog(msg, wParam, lParam, handled);
}

LRESULT OptionsDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    RunOkSequence(IDS_OPTIONS_SAVE_FAILED);
    return 0;
}

LRESULT OptionsDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT OptionsDlg::OnHelp(WORD, WORD, HWND, BOOL&) {
    ShowHelpForSelection({{IDS_PAGE_PROXY, "Proxy"},
                          {IDS_PAGE_DOWNLOADING, "Performance"},
                          {IDS_PAGE_FILETYPES, "Filetypes"},
                          {IDS_PAGE_GENERAL, "General"},
                          {IDS_PAGE_SLIDESHOW, "Slideshow"}});
    return 0;
}
