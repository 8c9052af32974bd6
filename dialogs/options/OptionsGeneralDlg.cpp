#include "dialogs/options/OptionsGeneralDlg.h"
#include "core/Application.h"
#include "dialogs/options/LogFileActions.h"
#include "dialogs/options/LogSizeField.h"
#include "framework/UserPrompts.h"

void OptionsGeneralDlg::InitControls() { SetSpinRange(IDC_GENERAL_LOG_SIZE_SPIN, 1, 1048576); }

void OptionsGeneralDlg::Load(ProgramSettings& settings) {
    ::SetDlgItemTextA(m_hWnd, IDC_GENERAL_FOLDER, settings.GetImagesFolder().c_str());
    SetItemChecked(m_hWnd, IDC_GENERAL_LOG_USE, settings.LogFileUse);
    SetItemChecked(m_hWnd, IDC_GENERAL_LOG_CLEAR_MODE, settings.LogFileClearMode);
    ::SetDlgItemInt(m_hWnd, IDC_GENERAL_LOG_SIZE, static_cast<UINT>(LogSizeShownKilobytes(settings.LogFileMaxSize)), FALSE);
    SetItemChecked(m_hWnd, IDC_GENERAL_SHOW_TIP, settings.ShowTip);
    EnableLogControls();
}

void OptionsGeneralDlg::Save(ProgramSettings& settings) {
    settings.FolderForImages = GetItemString(m_hWnd, IDC_GENERAL_FOLDER);
    settings.LogFileUse = IsItemChecked(m_hWnd, IDC_GENERAL_LOG_USE);
    settings.LogFileClearMode = IsItemChecked(m_hWnd, IDC_GENERAL_LOG_CLEAR_MODE);
    settings.LogFileMaxSize = LogSizeBytesFromKilobytes(GetItemNumber(m_hWnd, IDC_GENERAL_LOG_SIZE));
    settings.ShowTip = IsItemChecked(m_hWnd, IDC_GENERAL_SHOW_TIP);
}

bool OptionsGeneralDlg::Validate() {
    if (GetItemNumber(m_hWnd, IDC_GENERAL_LOG_SIZE) <= 0) return FailValidation(IDS_LOG_SIZE_INVALID);
    return true;
}

void OptionsGeneralDlg::EnableLogControls() {
    const bool useLog = IsItemChecked(m_hWnd, IDC_GENERAL_LOG_USE);
    EnableItem(m_hWnd, IDC_GENERAL_LOG_CLEAR_MODE, useLog);
    EnableItem(m_hWnd, IDC_GENERAL_LOG_SIZE, useLog);
    EnableItem(m_hWnd, IDC_GENERAL_LOG_SIZE_SPIN, useLog);  // the arrows follow their edit
}

const std::string& OptionsGeneralDlg::ProgramFolder() const {
    return owner_->GetApplication()->GetSettings()->GetProgramFolder();
}

LRESULT OptionsGeneralDlg::OnUseLogClicked(WORD, WORD, HWND, BOOL&) {
    EnableLogControls();
    return 0;
}

LRESULT OptionsGeneralDlg::OnBrowse(WORD, WORD, HWND, BOOL&) {
    std::string folder = GetItemString(m_hWnd, IDC_GENERAL_FOLDER);
    if (UserPrompts().BrowseForFolder(m_hWnd, LocalText(IDS_SELECT_IMAGES_FOLDER), folder))
        ::SetDlgItemTextA(m_hWnd, IDC_GENERAL_FOLDER, folder.c_str());
    return 0;
}

LRESULT OptionsGeneralDlg::OnViewLog(WORD, WORD, HWND, BOOL&) {
    ViewLogFile(m_hWnd, ProgramFolder());
    return 0;
}

LRESULT OptionsGeneralDlg::OnClearLog(WORD, WORD, HWND, BOOL&) {
    ClearLogFile(ProgramFolder());
    return 0;
}
