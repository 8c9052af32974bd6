#pragma once
// A pane with a title strip and a close button over one client window. The close button sends
// WM_COMMAND with the id given at creation to the parent, with the container's window as lParam,
// so the owner knows which pane asked to close. Commands and notices of the client go on to the
// parent as well.
#include <windows.h>
#include <string>
#include "framework/GdiHolders.h"
#include "framework/WindowImpl.h"

class CPaneContainer : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("Brackenfly_PaneContainer")

    HWND CreatePane(HWND parent, const std::string& title, UINT closeCommand);
    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return title_; }
    void SetClient(HWND client);
    HWND GetClient() const { return client_; }
    // Height of the title strip in pixels.
    int TitleHeight() const;
    // The close button's window (for tests and keyboard access).
    HWND GetCloseButton() const { return closeButton_; }

    BEGIN_MSG_MAP(CPaneContainer)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        MESSAGE_HANDLER(WM_NOTIFY, ForwardToParent)
    END_MSG_MAP()

protected:
    virtual void DrawTitle(HDC dc, const RECT& strip);

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT ForwardToParent(UINT, WPARAM, LPARAM, BOOL&);
    void Layout();
    HGDIOBJ TitleFont() const;

    std::string title_;
    UINT closeCommand_ = 0;
    HWND client_ = nullptr;
    HWND closeButton_ = nullptr;
    GdiObject<HFONT> font_;
};
