#include "dialogs/monitor/DownloadStatDlg.h"

#include "core/InternationalSupport.h"
#include "core/TextFormat.h"

DownloadStatDlg::DownloadStatDlg(const IDownloadTotals* totals, const ISpeedHistory* samples)
    : totals_(totals), samples_(samples) {}

LRESULT DownloadStatDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    UpdateCounters();
    UpdateSpeed();
    return TRUE;
}

void DownloadStatDlg::UpdateCounters() {
    if (!m_hWnd || !totals_) return;
    const long long kilobytes = static_cast<long long>(totals_->BytesReceived() / 1000);
    ::SetDlgItemTextA(m_hWnd, IDC_STAT_KBYTES, FormatText("%lld", kilobytes).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STAT_IMAGES, FormatText("%d", static_cast<int>(totals_->PicturesSaved())).c_str());
}

void DownloadStatDlg::UpdateSpeed() {
    if (!m_hWnd) return;
    const double speed = samples_ ? samples_->MeanOfNewest(kSpeedSamples) : 0.0;
    ::SetDlgItemTextA(m_hWnd, IDC_STAT_SPEED, FormatText("%.1f", speed).c_str());
}

void DownloadStatDlg::ShowNoSpeed() {
    if (m_hWnd) ::SetDlgItemTextA(m_hWnd, IDC_STAT_SPEED, "0.0");
}

LRESULT DownloadStatDlg::OnColor(UINT, WPARAM wParam, LPARAM, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}
