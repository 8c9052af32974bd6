#pragma once
// Base of a top-level frame: a bar host at the top (a rebar), a status bar at the bottom and one
// client window filling the rest. It shows a command's prompt in the status bar while its menu
// item is highlighted and gives toolbar buttons their tooltips; both come from the string of the
// command's id in the module's own string table: the prompt before a line feed, the tip after it.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "framework/WindowImpl.h"

// Splits a command string into its prompt and tooltip; false when it holds no line feed (then it
// is not a command string and neither is shown).
bool SplitCommandString(const std::string& text, std::string& prompt, std::string& tip);
// The command string of an id from the module's string table (at most 255 characters).
std::string LoadCommandString(UINT id);

class CFrameWindowImplBase : public CWindowImplBase {
public:
    // Places the bar host, the status bar and the client; hidden bars take no room.
    virtual void UpdateLayout();

    BEGIN_MSG_MAP(CFrameWindowImplBase)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_MENUSELECT, OnMenuSelect)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOA, OnToolTipTextA)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, OnToolTipTextW)
        NOTIFY_CODE_HANDLER(RBN_HEIGHTCHANGE, OnBarHostHeightChange)
    END_MSG_MAP()

protected:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMenuSelect(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnToolTipTextA(int, LPNMHDR, BOOL&);
    LRESULT OnToolTipTextW(int, LPNMHDR, BOOL&);
    LRESULT OnBarHostHeightChange(int, LPNMHDR, BOOL&);

    HWND barHost_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND client_ = nullptr;

private:
    char tipBuffer_[80] = {};
    wchar_t tipBufferW_[80] = {};
};
