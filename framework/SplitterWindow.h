#pragma once
// Two panes side by side (vertical bar) or one above the other (horizontal bar), resized by
// dragging the bar. Either pane can be shown alone. Each time the panes are laid out, the parent
// is told by WM_SPLITTER_LAYOUT just before a pane window moves, so it can fit its own contents;
// a parent that changes the splitter from that notice does not re-enter the layout: the change is
// laid out once the current layout has finished. Commands and notices from the panes go on to
// the parent.
#include <windows.h>
#include "framework/SplitterLayout.h"
#include "framework/WindowImpl.h"

// Sent (wParam 0, lParam 0) to the splitter's parent before each pane window is moved.
const UINT WM_SPLITTER_LAYOUT = WM_USER + 1001;

class CSplitterWindow : public CWindowImplBase {
public:
    explicit CSplitterWindow(bool vertical);

    DECLARE_WND_CLASS("Brackenfly_Splitter")

    HWND CreateSplitter(HWND parent, const RECT& rect);
    void SetSplitterPanes(HWND left, HWND right, bool update = true);
    void SetSplitterPos(int position = -1, bool update = true);
    int GetSplitterPos() const { return position_; }
    // kSplitPaneNone shows both; kSplitPaneLeft or kSplitPaneRight shows that pane alone.
    void SetSinglePaneMode(int pane);
    int GetSinglePaneMode() const { return singlePane_; }
    void SetSplitterRect(const RECT* rect = nullptr, bool update = true);
    RECT GetSplitterRect() const { return rect_; }
    void UpdateSplitterLayout();
    SplitterGeometry Geometry() const;
    // Proportional (the default): when the splitter's rectangle changes the bar keeps its share of
    // the room, so both panes grow with the window; otherwise the bar keeps its distance from the
    // left (top) edge.
    void SetProportional(bool proportional);
    bool IsProportional() const { return proportional_; }
    // Full drag moves the panes while the bar is dragged (the default follows the system's
    // "show window contents while dragging"); without it an outline of the bar follows the mouse
    // and the panes move once the button is let go.
    void SetFullDrag(bool fullDrag) { fullDrag_ = fullDrag; }
    bool IsFullDrag() const { return fullDrag_; }
    bool IsDragging() const { return dragging_; }

    static const int kBarWidth = 4;
    static const int kMinPane = 24;

    BEGIN_MSG_MAP(CSplitterWindow)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        MESSAGE_HANDLER(WM_COMMAND, ForwardToParent)
        MESSAGE_HANDLER(WM_NOTIFY, ForwardToParent)
    END_MSG_MAP()

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT ForwardToParent(UINT, WPARAM, LPARAM, BOOL&);

    void LayOutPane(int pane, const RECT& paneRect);
    bool IsOverBar(POINT point) const;
    void KeepProportion();
    int DraggedPosition(LPARAM lParam) const;
    // The outline of the bar at position, drawn and erased by inverting.
    void InvertGhostBar(int position);
    void EndDrag();

    const bool vertical_;
    HWND panes_[2] = {nullptr, nullptr};
    RECT rect_ = {0, 0, 0, 0};
    int position_ = -1;
    int singlePane_ = kSplitPaneNone;
    bool proportional_ = true;
    int proportion_ = -1;  // share of the room in kSplitterProportionScale units; -1 none yet
    bool fullDrag_ = true;
    bool dragging_ = false;
    int dragOffset_ = 0;
    int ghostPosition_ = -1;  // where the outline is drawn; -1 none
    HWND focusBeforeDrag_ = nullptr;
    bool inLayout_ = false;
    bool layoutAgain_ = false;
};
