#pragma once
// The list form of the picture container: a report list of the current task's pictures (file
// name, size, file icon; pictures not yet looked at drawn on yellow) on the left of a splitter,
// the program's one picture viewer on the right. Row i is record i of the task's list.
#include <windows.h>
#include <commctrl.h>
#include <map>
#include <string>
#include "framework/ListViewCtrl.h"
#include "framework/MessageMap.h"
#include "framework/SplitterWindow.h"
#include "framework/WindowImpl.h"
#include "ui/PictureIndexList.h"
#include "ui/pictures/IPictureRows.h"
#include "ui/viewer/IImageViewerListener.h"
#include "ui/viewer/ImageViewer.h"

class ImagesContainer;
struct ImageRecord;

// The size column's text number: 0 for 0 bytes, else whole thousands, at least 1.
int32_t PictureKilobytes(int32_t bytes);
// New width of the name column so that both columns and 22 pixels of reserve fill the pane;
// -1 when the name column would shrink to 10 pixels or less.
int FitNameColumn(int nameWidth, int sizeWidth, int paneWidth);

class ImagesListView : public CWindowImplBase, public IImageViewerListener, public IPictureRows {
public:
    DECLARE_WND_CLASS("Brackenfly_ImagesListView")
    static const UINT WM_AFTER_CREATE = 32769;

    ImagesListView();
    ~ImagesListView() override;
    void SetContainer(ImagesContainer* container) { container_ = container; }

    void Show(bool show);
    bool IsShown() const { return visible_; }
    void LoadTask() override;
    void Clear();
    void AppendRow() { AppendRows(1); }
    void AppendRows(int count);
    void RemoveRow(int index);
    void RemoveIndices(const PictureIndexList& indices);
    void SelectIndices(const PictureIndexList& indices);
    void SelectAll();
    void GetSelected(PictureIndexList& indices) const override;
    int GetFocusedIndex() const override;
    void InvertSelection();
    void FocusLastRow();
    void FullScreen();
    void ApplyStates(const PictureIndexList& selected, int focused) override;
    void UpdateCommandStates();

    // IImageViewerListener
    void ShowPrevious() override;
    void ShowNext() override;
    void DeleteCurrent() override;
    int ToggleFullScreen() override;
    void SelectShown() override;

    HWND GetListControl() const { return list_; }
    ImageViewer& Viewer() { return viewer_; }
    CSplitterWindow& Splitter() { return splitter_; }
    int GetRowCount() const;
    UINT GetRowState(int row) const;

    BEGIN_MSG_MAP(ImagesListView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_SIZE, OnSplitterLayout)
        MESSAGE_HANDLER(WM_SPLITTER_LAYOUT, OnSplitterLayout)
        MESSAGE_HANDLER(WM_AFTER_CREATE, OnAfterCreate)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSplitterLayout(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAfterCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    // Rows announced while the end of the list was out of sight wait here (see AppendRows).
    bool LastRowInView() const;
    void ShowNewRows();
    void OnGetDispInfo(NMLVDISPINFOA* info);
    // The system image list's index of the small icon for files named like path, or -1.
    int IconOf(const std::string& path);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
    void OnItemChanged(const NMLISTVIEW* change);
    void MoveFocus(int row);
    const ImageRecord* RecordAt(int index) const;
    ImageRecord* MutableRecordAt(int index);
    int RecordCount() const;
    void ShowFocusedInViewer();
    void ApplyPendingPosition();
    // Takes the list's selection to exactly `wanted` with the fewest row messages.
    void ApplySelection(const PictureIndexList& wanted);

    ImagesContainer* container_ = nullptr;
    HIMAGELIST images_ = nullptr;
    CSplitterWindow splitter_{true};
    bool visible_ = false;
    // The first splitter position waits until the view is wide enough to take it.
    bool positionPending_ = false;
    bool inLayout_ = false;
    ImageViewer viewer_;
    // Set while ApplySelection changes many rows: their notices are not looked at one by one.
    bool quiet_ = false;
    static const size_t kRepaintPerRowUpTo = 32;
    std::map<std::string, int> iconByType_;
    CListViewCtrl list_;
    static const UINT kNewRowsTimer = 1;
    static const UINT kNewRowsDelayMs = 1000;
    int unshownRows_ = 0;
    bool newRowsTimer_ = false;
};
