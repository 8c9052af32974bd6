#pragma once
// A self-contained, owner-drawn grid of thumbnails with captions: selection by mouse, rubber
// band and keys, a focused item, tool tips, and a timer that fetches the pictures a few at a
// time (visible ones first) through the owner's IThumbnailViewListener.
//
// Hosting: create it as a child (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
// WS_EX_CLIENTEDGE), SetListener, then SetItems / AddItem with placeholder bitmaps; the
// listener's GetItemTip fills in each picture when it is wanted.
#include <windows.h>
#include <commctrl.h>
#include <set>
#include <vector>
#include "framework/GdiHolders.h"
#include "framework/OneJobThread.h"
#include "framework/ThemedClientEdge.h"
#include "framework/ToolTipCtrl.h"
#include "framework/WindowImpl.h"
#include "ui/PictureIndexList.h"
#include "ui/thumbnails/IThumbnailViewListener.h"
#include "ui/thumbnails/ThumbnailItem.h"
#include "ui/thumbnails/ThumbnailItemData.h"
#include "ui/thumbnails/ThumbnailLayout.h"

class CThumbnailView : public CWindowImplBase {
public:
    enum { kBandTimer = 1, kLoadTimer = 2, kScrollBarTimer = 3 };
    // Posted by the decode thread when a picture waits to be taken.
    enum { kDecodedMessage = WM_APP + 18 };

    CThumbnailView();
    ~CThumbnailView() override;

    WindowClassInfo GetWindowClassInfo() const override;

    void SetListener(IThumbnailViewListener* listener) { listener_ = listener; }
    // Replaces every item; loading starts at once when start is set.
    void SetItems(const std::vector<ThumbnailItemData>& items, bool start);
    void AddItem(const ThumbnailItemData& item, bool start) { AddItems({item}, start); }
    // Appends items with one layout and one redraw for them all.
    void AddItems(const std::vector<ThumbnailItemData>& items, bool start);
    void RemoveItems(const PictureIndexList& indices);
    void RemoveItem(int index);
    // Starts fetching pending pictures (it stops while the control is hidden).
    void StartLoading();
    // Items drawn from bitmap (a cache page being dropped) go back to their placeholders and
    // are fetched again once they show.
    void ReturnItemsDrawnFrom(HBITMAP bitmap);

    int GetItemCount() const { return static_cast<int>(items_.size()); }
    // Bit 0 focused, bit 1 selected; 0 for an index out of range.
    UINT GetItemState(int index) const;
    // Bit 1 sets or clears the selection; bit 0 moves the focus here (clearing it does nothing).
    void SetItemState(int index, UINT state);
    int GetSelectedCount() const { return selectedCount_; }
    // The selection in one go, with one OnSelectionChanged for it all: exactly the listed items
    // (ascending or not), every item, or every item flipped. The focus stays.
    void SetSelection(const PictureIndexList& selected);
    void SelectAll();
    void InvertSelection();
    // The selected items in ascending order.
    void GetSelection(PictureIndexList& selected) const;
    int GetFocusedIndex() const { return focused_; }
    void EnsureVisible(int index);

    // Read-back for owners and tests.
    const ThumbnailLook& GetLook() const { return look_; }
    // The gaps between neighbouring cells; the grid is laid out again.
    void SetSpacing(int horizontal, int vertical);
    const ThumbnailGrid& GetGrid() const { return grid_; }
    int GetLineHeight() const { return lineHeight_; }
    POINT GetScrollPosition() const { return scroll_; }
    RECT GetItemCell(int index) const;
    const ThumbnailItemData* GetItemData(int index) const;
    bool IsItemPending(int index) const;
    int GetPendingCount() const { return pendingCount_; }
    // True while pictures are being fetched: the timer runs or a decode is under way.
    bool IsLoading() { return loadTimerRunning_ || decoder_.IsBusy(); }
    // True while a decode job is queued, under way on the control's thread, or waits to be taken.
    bool IsDecoding() { return decoder_.IsBusy(); }
    // The item under a point of the client area, or -1.
    int HitTest(POINT client) const;
    HWND GetToolTips() const { return tips_; }

    BEGIN_MSG_MAP(CThumbnailView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(kDecodedMessage, OnDecoded)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOA, OnGetDispInfo)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
        MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSysColorChange)
        MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
        MESSAGE_HANDLER(WM_HSCROLL, OnScroll)
        MESSAGE_HANDLER(WM_VSCROLL, OnScroll)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
        MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        MESSAGE_HANDLER(WM_RBUTTONUP, OnRButtonUp)
        MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
        MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
        MESSAGE_HANDLER(WM_THEMECHANGED, OnThemeChanged)
    END_MSG_MAP()

private:
    // Message handlers.
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKillFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysColorChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnShowWindow(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetDispInfo(int, LPNMHDR header, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnScroll(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcPaint(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return edge_.OnNcPaint(m_hWnd, wParam, lParam); }
    LRESULT OnThemeChanged(UINT, WPARAM, LPARAM, BOOL&);

    // Drawing objects and look (made again, replacing the old ones, when the colours change).
    void CreateDrawingObjects();
    // The paint rectangle drawn into the back buffer and copied to the screen.
    void PaintBuffered();
    void PaintItem(HDC dc, int index);
    void PaintShadow(HDC dc, const RECT& picture);
    void PaintCaption(HDC dc, int index);
    void PaintFocusCaption(HDC dc);

    // Items, layout and scrolling.
    void ClearItems();
    // New items at the end, each waiting for its picture.
    void AppendItems(const std::vector<ThumbnailItemData>& items);
    // Captions are measured when their items first come into sight (painted, focused, or in the
    // last row for the layout), so items added out of view cost no text measuring. dc: one with
    // the control's font selected, or null for the window's own.
    void MeasureCaptions(int first, int last, HDC dc);
    void Layout();
    void ScrollTo(int x, int y, bool hint);
    void UpdateScrollBar(int bar, int contentSize, int clientSize, int position);
    void RebuildTools();
    void InvalidateItem(int index);
    void InvalidateContentRect(const RECT& content);
    RECT ToClient(const RECT& content) const;
    bool HasFocusedCaption(int index) const { return index == focused_ && hasFocus_; }
    RECT ItemCaptionArea(int index) const;
    bool ItemMeets(int index, const RECT& content) const;

    // Focus and selection.
    UINT StateOf(int index) const;
    void SetSelected(int index, bool selected);
    // Gives every item the selected flag wanted(index); repaints what shows of the changed ones.
    template <typename Wanted> void ReplaceSelection(Wanted wanted);
    void DeselectAll();
    void SelectRange(int to);
    void MoveFocus(int index);

    // Rubber band.
    void BeginBand(POINT client, int startItem);
    void TrackRubberBand(POINT client, bool fromTimer);
    void EndBand();
    void InvalidateBandOutline();

    // Fetching pictures.
    void StartLoadTimer();
    void StopLoadTimer();
    int NextItemToFetch();
    void FetchItem(int index);
    bool StartDecode(int index);
    LRESULT OnDecoded(UINT, WPARAM, LPARAM, BOOL&);
    void StoreItemData(CThumbnailItem* item, int index, ThumbnailItemData& data);
    void OnLoadTimer();

    ThumbnailLook look_;
    int lineHeight_ = 16;
    ThumbnailGrid grid_;
    std::vector<CThumbnailItem*> items_;
    int pendingCount_ = 0;
    int selectedCount_ = 0;
    int scanFrom_ = 0;  // every item before it is fetched or waits to be seen
    int loadNext_ = -1;
    int anchor_ = 0;
    int focused_ = -1;
    bool loadingEnabled_ = false;
    bool loadTimerRunning_ = false;
    // The load timer only looks every so often whether additions have stopped.
    bool loadTimerSlow_ = false;
    // When items were last added (0: never since the items were set).
    DWORD addedAt_ = 0;
    bool AddingRecently() const;
    OneJobThread decoder_;  // one decode job (a few pending pictures) at a time

    std::set<int> bandSet_;
    int bandStarter_ = -1;
    bool dragging_ = false;
    POINT bandStart_ = {0, 0};   // content coordinates
    POINT bandCorner_ = {0, 0};  // content coordinates
    POINT bandPoint_ = {0, 0};   // last mouse point, client coordinates
    bool bandShift_ = false;

    IThumbnailViewListener* listener_ = nullptr;
    GdiObject<HBITMAP> backBuffer_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    POINT scroll_ = {0, 0};
    struct ScrollBarState {
        int contentSize, clientSize, position;
    };
    ScrollBarState horizontalBar_ = {-1, -1, -1};
    ThemedClientEdge edge_;
    ScrollBarState verticalBar_ = {-1, -1, -1};
    // The vertical bar's growth from added items waits for its timer (see UpdateScrollBar).
    static const DWORD kBarGrowthPeriodMs = 1000;
    bool adding_ = false;
    bool verticalBarLate_ = false;
    DWORD verticalBarSetAt_ = 0;
    CToolTipCtrl tips_;
    int toolCount_ = 0;
    // What the tools were made for: the visible items, the scroll position and the layout.
    struct ToolSpan {
        int first, last, x, y, width, height, columns, focused;
        bool operator==(const ToolSpan& o) const {
            return first == o.first && last == o.last && x == o.x && y == o.y && width == o.width &&
                   height == o.height && columns == o.columns && focused == o.focused;
        }
    };
    ToolSpan toolSpan_ = {};
    GdiObject<HPEN> selectionPen_;
    GdiObject<HPEN> inactiveSelectionPen_;
    GdiObject<HPEN> framePen_;
    GdiObject<HFONT> font_;  // may hold a stock font, which deleting leaves alone
    GdiObject<HBRUSH> backgroundBrush_;
    GdiObject<HBRUSH> highlightBrush_;
    GdiObject<HBRUSH> shadowBrush_;
    bool hasFocus_ = false;
    typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    GradientFillFn gradientFill_ = nullptr;
};
