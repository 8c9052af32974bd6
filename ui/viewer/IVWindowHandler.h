#pragma once
// What the viewer window does with the mouse, the keys and its scroll timer: drag a large
// picture, zoom to a dragged rectangle, zoom by wheel and numeric-pad keys, scroll with
// Alt+wheel and the arrow keys. Which of these apply is chosen by feature bits.
#include <windows.h>

class CIVWindow;

enum IVHandlerFeatures {
    IVH_RUBBER_BAND_ZOOM = 0x01,
    IVH_WHEEL_ZOOM = 0x02,
    IVH_KEYPAD_ZOOM = 0x04,
    IVH_DRAG = 0x10,
    IVH_ALT_WHEEL_SCROLL = 0x20,
    IVH_ARROW_SCROLL = 0x40,
    IVH_ALL = 0xFFFF
};

enum IVMouseState { IVM_IDLE = 0, IVM_DRAGGING = 1, IVM_RUBBER_BAND = 2 };

const UINT_PTR kScrollTimerId = 10000;

class CIVWindowHandler {
public:
    explicit CIVWindowHandler(CIVWindow* window) : window_(window) {}
    virtual ~CIVWindowHandler() = default;
    CIVWindowHandler(const CIVWindowHandler&) = delete;
    CIVWindowHandler& operator=(const CIVWindowHandler&) = delete;

    // Each returns nonzero when it handled the message.
    virtual BOOL OnMouse(UINT msg, int x, int y, WPARAM wParam);
    virtual BOOL OnKey(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnTimer(UINT_PTR id);

    void SetWindow(CIVWindow* window) { window_ = window; }
    CIVWindow* GetWindow() const { return window_; }
    unsigned features = IVH_DRAG;
    int GetMouseState() const { return mouseState_; }
    bool IsScrolling() const { return scrollTimer_; }
    // The cursor that fits the state, the picture and Alt (null: the arrow).
    HCURSOR ChooseCursor() const;

protected:
    CIVWindow* window_;

private:
    BOOL OnWheel(WPARAM wParam);
    BOOL OnArrowDown(WPARAM key);
    BOOL OnArrowUp(WPARAM key);
    void StopScrolling();
    // The local loops of a left-button press; each ends on button up, a right button
    // (cancel), a quit message or the loss of the mouse capture (cancel).
    void Drag(int x, int y);
    void RubberBand(int x, int y);

    bool scrollTimer_ = false;
    int stepX_ = 0;
    int stepY_ = 0;
    int mouseState_ = IVM_IDLE;
};

bool IsAltDown();
