#pragma once
// The "Connections" list: one row per running worker with its address, sizes, a progress bar
// and a status word. Clearing a row's check box asks the manager to skip that download.
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "framework/GdiHolders.h"
#include "framework/ListViewCtrl.h"

struct DownloadListRow {
    int32_t workerNumber = 0;
    uint8_t isImage = 0;
    int32_t totalSize = 0;       // Content-Length, 0 when unknown
    int32_t bytesReceived = 0;
    uint8_t inUse = 0;
};

class DownloadList {
public:
    DownloadList() = default;
    ~DownloadList();
    DownloadList(const DownloadList&) = delete;
    DownloadList& operator=(const DownloadList&) = delete;

    bool Create(HWND parent);
    HWND Handle() const { return list_; }

    void AddRow(int32_t workerNumber, const std::string& url, bool isImage);
    // A progress notice: the row's total becomes totalSize and its received count grows by chunk.
    void UpdateProgress(int32_t workerNumber, int32_t totalSize, int32_t chunk);
    // Bytes the worker's row has counted so far; -1 when it has no row.
    int32_t BytesReceived(int32_t workerNumber) const;
    // Not final: when the worker is reaped; final: after its result has been handled.
    void FinishRow(int32_t workerNumber, bool completed, bool final);
    // Worker numbers of the rows whose check box the user cleared.
    std::vector<int32_t> UntickedWorkers() const;
    void RemoveAll();
    void Layout(int width, int height);
    // The list's NM_CUSTOMDRAW: draws the progress bar of column 3, and the address column with
    // its check box from a copy of the list's own check box pictures (the list draws each through
    // its image list, which under Wine costs a round trip to the server per row).
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);

    // Row changes made while a batch is open are drawn together, when the outermost batch
    // closes, and then at most every kRedrawPeriodMs: turning drawing back on costs more than a
    // whole batch of changes, a crawl brings hundreds of batches a second, and painting the list
    // takes 10 to 20 ms under Wine. Whatever is held back is drawn by FlushRedraw (the
    // scheduler's tick calls it).
    static const DWORD kRedrawPeriodMs = 200;
    class Batch {
    public:
        explicit Batch(DownloadList& list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        DownloadList& list_;
    };

    // Draws the changes held back since the last drawing, unless a batch is open.
    void FlushRedraw();

    int RowCount() const;
    std::string CellText(int row, int column) const;
    const DownloadListRow* RowRecord(int row) const;

private:
    int FindRow(int32_t workerNumber) const;
    DownloadListRow* Record(int row) const;
    void SetCell(int row, int column, const std::string& text);
    void SetChecked(int row, bool checked);
    void Redraw(int row);

    LRESULT DrawAddressCell(NMLVCUSTOMDRAW* draw);
    bool MakeCheckBoxCopies(HDC like);

    CListViewCtrl list_;
    // The list's check box pictures (unchecked, then checked) side by side on the window colour.
    // The bitmap outlives the context it is selected into (members go in reverse order).
    GdiObject<HBITMAP> checkBoxesBitmap_;
    std::unique_ptr<MemoryDc> checkBoxes_;
    SIZE checkBoxSize_ = {0, 0};
    bool listFocused_ = false;
    int openBatches_ = 0;
    // Drawing is off (WM_SETREDRAW) until the next FlushRedraw.
    bool redrawHeld_ = false;
    DWORD lastDrawn_ = 0;
};
