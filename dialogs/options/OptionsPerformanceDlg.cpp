#include "dialogs/options/OptionsPerformanceDlg.h"

namespace {
const int32_t kNoCustomTimeout = -1;
const int kClientDefaultTimeout = 30;  // what the HTTP client uses without a custom time-out

void SetItemNumber(HWND dialog, int controlId, int value) {
    ::SetDlgItemInt(dialog, controlId, static_cast<UINT>(value), TRUE);
}
}  // namespace

void OptionsPerformanceDlg::InitControls() {
    SetSpinRange(IDC_DOWNLOAD_THREADS_SPIN, 1, 100);
    SetSpinRange(IDC_DOWNLOAD_PAUSE_SPIN, 0, 1000);
    SetSpinRange(IDC_DOWNLOAD_TIMEOUT_SPIN, 1, 100);
    SetSpinRange(IDC_DOWNLOAD_ATTEMPTS_SPIN, 1, 100);
    SetSpinRange(IDC_DOWNLOAD_SAVE_EVERY_SPIN, 0, 1000);
}

void OptionsPerformanceDlg::Load(ProgramSettings& settings) {
    SetItemNumber(m_hWnd, IDC_DOWNLOAD_THREADS, settings.ThreadsAmount);
    SetItemNumber(m_hWnd, IDC_DOWNLOAD_PAUSE, settings.PauseBetweenConnections);
    const bool customTimeout = settings.SocketTimeout != kNoCustomTimeout;
    SetItemChecked(m_hWnd, IDC_DOWNLOAD_USE_TIMEOUT, customTimeout);
    SetItemNumber(m_hWnd, IDC_DOWNLOAD_TIMEOUT, customTimeout ? settings.SocketTimeout : kClientDefaultTimeout);
    SetItemNumber(m_hWnd, IDC_DOWNLOAD_ATTEMPTS, settings.MaxAttempts);
    SetItemNumber(m_hWnd, IDC_DOWNLOAD_SAVE_EVERY, settings.SaveCacheIntervale);
    EnableTimeout();
}

void OptionsPerformanceDlg::Save(ProgramSettings& settings) {
    settings.ThreadsAmount = GetItemNumber(m_hWnd, IDC_DOWNLOAD_THREADS);
    settings.PauseBetweenConnections = GetItemNumber(m_hWnd, IDC_DOWNLOAD_PAUSE);
    settings.SocketTimeout = IsItemChecked(m_hWnd, IDC_DOWNLOAD_USE_TIMEOUT)
                                 ? GetItemNumber(m_hWnd, IDC_DOWNLOAD_TIMEOUT)
                                 : kNoCustomTimeout;
    settings.MaxAttempts = GetItemNumber(m_hWnd, IDC_DOWNLOAD_ATTEMPTS);
    settings.SaveCacheIntervale = GetItemNumber(m_hWnd, IDC_DOWNLOAD_SAVE_EVERY);
}

bool OptionsPerformanceDlg::Validate() {
    if (GetItemNumber(m_hWnd, IDC_DOWNLOAD_THREADS) <= 0) return FailValidation(IDS_THREADS_INVALID);
    if (IsItemChecked(m_hWnd, IDC_DOWNLOAD_USE_TIMEOUT) && GetItemNumber(m_hWnd, IDC_DOWNLOAD_TIMEOUT) <= 0)
        return FailValidation(IDS_TIMEOUT_INVALID);
    if (GetItemNumber(m_hWnd, IDC_DOWNLOAD_ATTEMPTS) <= 0) return FailValidation(IDS_ATTEMPTS_INVALID);
    return true;
}

void OptionsPerformanceDlg::EnableTimeout() {
    const bool custom = IsItemChecked(m_hWnd, IDC_DOWNLOAD_USE_TIMEOUT);
    EnableItem(m_hWnd, IDC_DOWNLOAD_TIMEOUT, custom);
    EnableItem(m_hWnd, IDC_DOWNLOAD_TIMEOUT_SPIN, custom);
}

LRESULT OptionsPerformanceDlg::OnUseTimeoutClicked(WORD, WORD, HWND, BOOL&) {
    EnableTimeout();
    return 0;
}
