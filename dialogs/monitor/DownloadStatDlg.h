#pragma once
// The download statistics panel beside the speed graph: pictures and kilobytes downloaded over
// the program's lifetime, and the mean speed of the graph's five newest samples.
#include <windows.h>

#include "core/DownloadViews.h"
#include "framework/DialogImpl.h"
#include "resources/monitor_ids.h"
#include "dialogs/monitor/IDownloadTotals.h"
#include "dialogs/monitor/ISpeedDisplay.h"

class DownloadStatDlg : public CDialogImpl<DownloadStatDlg>, public IDownloadStatView, public ISpeedDisplay {
public:
    enum { IDD = IDD_DOWNLOAD_STAT };
    static constexpr size_t kSpeedSamples = 5;

    // samples: the graph's ring the speed is read from (may be null: speed 0).
    DownloadStatDlg(const IDownloadTotals* totals, const ISpeedHistory* samples);

    void UpdateCounters() override;
    void UpdateSpeed() override;
    void ShowNoSpeed() override;

    BEGIN_MSG_MAP(DownloadStatDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_CTLCOLORDLG, OnColor)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnColor)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnColor(UINT, WPARAM, LPARAM, BOOL&);

    const IDownloadTotals* totals_;
    const ISpeedHistory* samples_;
};
