#pragma once
// Base of the program's own window classes: registers the window class on first use, routes
// every message through the object's message map and falls back to DefWindowProcA.
//
//   class MyView : public CWindowImplBase {
//   public:
//       DECLARE_WND_CLASS("Brackenfly_MyView")
//       BEGIN_MSG_MAP(MyView)
//           MESSAGE_HANDLER(WM_PAINT, OnPaint)
//       END_MSG_MAP()
//   };
//
// WM_CREATE: a window whose own child windows (the controls and panes it cannot work without)
// cannot be made answers -1, so its creation fails and its creator sees a null handle; pictures,
// icons and menus that fail to load leave the window working without them.
#include <windows.h>
#include "framework/MessageMap.h"
#include "framework/Window.h"

struct WindowClassInfo {
    const char* name = nullptr;
    UINT style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    int backgroundColor = COLOR_WINDOW;  // system colour index; -1 for no background brush
    UINT iconId = 0;                     // icon resource of the module; 0 for none
};

#define DECLARE_WND_CLASS(className)                              \
    WindowClassInfo GetWindowClassInfo() const override {         \
        WindowClassInfo info;                                     \
        info.name = className;                                    \
        return info;                                              \
    }

class CWindowImplBase : public CWindow, public CMessageMap {
public:
    CWindowImplBase() = default;
    CWindowImplBase(const CWindowImplBase&) = delete;
    CWindowImplBase& operator=(const CWindowImplBase&) = delete;
    // A window still alive here is detached from the object first: the derived parts whose
    // handlers would see its last messages are already gone. Owners that must see WM_DESTROY
    // destroy the window in their own destructor.
    virtual ~CWindowImplBase();

    // rect null: the system's default position and size. menuOrId: the menu of a top-level
    // window or the control id of a child.
    HWND Create(HWND parent, const RECT* rect, const char* title, DWORD style, DWORD exStyle = 0,
                HMENU menuOrId = nullptr, void* createParam = nullptr);

    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
    }

protected:
    virtual WindowClassInfo GetWindowClassInfo() const = 0;
    // Called after WM_NCDESTROY, when the handle has been cleared.
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool RegisterWindowClass();
};
