#pragma once
// The program's top-level window, in its first form: an empty frame under the class name the
// browser plug-in looks for. Its views, menus and bars come with the main-window code.
#include <windows.h>
#include "framework/WindowImpl.h"

class Application;

class MainFrame : public CWindowImplBase {
public:
    explicit MainFrame(Application* app);
    // Destroys the window while the frame's handlers still exist, so WM_DESTROY still saves.
    virtual ~MainFrame();

    WindowClassInfo GetWindowClassInfo() const override;

    // Creates the window with no parent, default position and size, and the frame's own styles.
    HWND CreateFrame();
    // The window that receives the "New Task" command (the tasks tree once it exists).
    HWND GetNewTaskReceiver() const { return m_hWnd; }

    BEGIN_MSG_MAP(MainFrame)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    Application* app_;
};
