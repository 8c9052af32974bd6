#pragma once
// Double-buffered window that shows one picture over a background: zoom, scrolling, dragging,
// zoom to a dragged rectangle and masked transitions between pictures. Input goes to an
// exchangeable handler object.
#include <windows.h>
#include "framework/GdiHolders.h"
#include "framework/MessageMap.h"
#include "framework/WindowImpl.h"
#include "ui/viewer/IVImage.h"
#include "ui/viewer/IVWindowHandler.h"
#include "ui/viewer/TransitionEffect.h"

class IProgressInfo;

class CIVWindow : public CWindowImplBase {
public:
    CIVWindow();
    ~CIVWindow() override;

    WindowClassInfo GetWindowClassInfo() const override;

    // A code of ViewerMath.h's ZoomCode or a zoom of its own; true when the zoom changed.
    bool SetZoom(float code);
    // Zooms so that the window-relative rectangle (inclusive) fills the window.
    bool ZoomToRect(int left, int top, int right, int bottom);
    // Moves the picture by dx, dy (clamped); ScrollBy() only clamps. True when it moved.
    bool ScrollBy(int dx, int dy);
    bool ScrollBy() { return ScrollBy(0, 0); }
    // The picture's automatic zoom by its flags; true when it changed something.
    bool ApplyAutoZoom(bool render);
    // The current view into the back buffer, or into any dc of width x height.
    void Render();
    void RenderTo(HDC dc, int width, int height);
    // Render, copy to the screen, update the cursor.
    void Redraw();
    void UpdateCursor();
    // Copies a bitmap of the view's size onto the window (a frame of a transition).
    void ShowBitmap(HBITMAP bitmap);
    bool IsLargerThanWindow() const;
    // Where the picture lies in the window (empty without one).
    RECT GetPicturePlacement() const;
    // Shows the picture (its bitmap is taken over) through the effect; false when there was no
    // mask and the picture simply replaced the old one.
    bool ShowWithTransition(CIVImage& picture, const TransitionEffect& effect, IProgressInfo* progress);

    CIVImage& GetPicture() { return picture_; }
    // The picture's bitmap is taken over, flags and opacity copied.
    void SetPicture(CIVImage& picture) { picture_.TakeFrom(picture); }
    CIVBackground& GetBackground() { return background_; }
    float GetZoom() const { return zoom_; }
    POINT GetOffset() const { POINT p = {offsetX_, offsetY_}; return p; }
    void SetOffset(int x, int y);
    // The back buffer's size: the client area plus one pixel each way.
    SIZE GetViewSize() const { return viewSize_; }

    // null: the window's own handler. A handler set here is not owned.
    void SetHandler(CIVWindowHandler* handler);
    CIVWindowHandler* GetHandler() const { return handler_; }
    // Cursors: none means the arrow.
    void SetCursors(HCURSOR rubberBand, HCURSOR idle, HCURSOR dragging);
    HCURSOR GetRubberBandCursor() const { return rubberCursor_; }
    HCURSOR GetIdleCursor() const { return idleCursor_; }
    HCURSOR GetDraggingCursor() const { return dragCursor_; }

    BEGIN_MSG_MAP(CIVWindow)
        MESSAGE_HANDLER(WM_SETCURSOR, OnMouseMessage)
        MESSAGE_RANGE_HANDLER(WM_MOUSEMOVE, WM_MOUSEWHEEL, OnMouseMessage)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyMessage)
        MESSAGE_HANDLER(WM_KEYUP, OnKeyMessage)
        MESSAGE_HANDLER(WM_CHAR, OnKeyMessage)
        MESSAGE_HANDLER(WM_SYSKEYDOWN, OnKeyMessage)
        MESSAGE_HANDLER(WM_SYSKEYUP, OnKeyMessage)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()

private:
    LRESULT OnMouseMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    // The picture's left/top as the renderer places it: offset, or kPlaceByFlags.
    int PictureX() const;
    int PictureY() const;
    void MakeBackBuffer(int width, int height);

    CIVBackground background_;
    CIVImage picture_;
    int offsetX_ = 0;
    int offsetY_ = 0;
    float zoom_ = 1.0f;
    GdiObject<HBITMAP> backBuffer_;
    SIZE viewSize_ = {0, 0};
    CIVWindowHandler ownHandler_;
    CIVWindowHandler* handler_;
    HCURSOR rubberCursor_ = nullptr;
    HCURSOR idleCursor_ = nullptr;
    HCURSOR dragCursor_ = nullptr;
};
