#pragma once
// A tooltip that follows the mouse over a list view and shows something about the row under
// it. The tip appears after the mouse rests on a row for a moment, moves with the mouse across
// rows and hides when the mouse leaves the list. Its text is asked from the parent
// (TTN_GETDISPINFO with the list as the tool) whenever the row changes. The object stands for
// the tip window it makes.
#include <windows.h>
#include <commctrl.h>
#include "framework/ToolTipCtrl.h"

class CListViewTrackTip : public CToolTipCtrl {
public:
    static constexpr UINT kShowTimer = 438;
    static constexpr UINT kShowDelay = 100;

    CListViewTrackTip() = default;
    ~CListViewTrackTip();
    CListViewTrackTip(const CListViewTrackTip&) = delete;
    CListViewTrackTip& operator=(const CListViewTrackTip&) = delete;

    bool Attach(HWND parent, HWND list);
    void Detach();
    // The parent's messages come here first; true when this object took the message.
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    int Row() const { return row_; }
    bool IsShowing() const { return showing_; }

private:
    static LRESULT CALLBACK ListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    void OnMouseMove(LPARAM lParam);
    void OnMouseLeave();
    void Track(bool on);
    TTTOOLINFOA Tool() const;

    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    int row_ = -1;
    bool trackingMouse_ = false;
    bool showing_ = false;
};
