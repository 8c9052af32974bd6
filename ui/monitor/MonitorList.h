#pragma once
// The virtual list that fills the messages and errors views: report mode, no header, one
// selected row, grid lines, the three row pictures; its view answers each cell on request.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "framework/ImageList.h"
#include "framework/ListViewCtrl.h"

class MonitorList : public CListViewCtrl {
public:
    struct Column { unsigned titleId; int width; };
    // Row pictures of bitmap IDB_MONITOR_LIST.
    enum Image { kInformationImage = 0, kErrorMessageImage = 1, kErrorRowImage = 2 };

    MonitorList() = default;
    ~MonitorList();
    MonitorList(const MonitorList&) = delete;
    MonitorList& operator=(const MonitorList&) = delete;

    bool Create(HWND parent, const Column* columns, int count);
    void Destroy();

    void SetRowCount(int count);
    int RowCount() const;
    int SelectedRow() const;
    // Selects and focuses the row and scrolls it into view; false when it cannot be selected.
    bool SelectRow(int row);
    // The row at a point of the list's client area, or -1.
    int RowAt(POINT client) const;
    // The row under a WM_CONTEXTMENU point (screen; -1,-1 from the keyboard: the selected row).
    int RowAtMenuPoint(LPARAM lParam, POINT& screen) const;
    std::string CellText(int row, int column) const;
    int RowImage(int row) const;
    void Layout(int width, int height);

    // Answers LVN_GETDISPINFO: the text within the buffer the list gave, and the picture.
    static void FillCell(NMLVDISPINFOA* info, const std::string& text, int image);

private:
    ImageList images_;
};
