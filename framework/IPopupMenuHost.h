#pragma once
// How a pane shows its context menu: through the window that hosts it (the main frame tracks it
// with its command bar, so the items show their pictures and the menu follows the mouse).
#include <windows.h>

class IPopupMenuHost {
public:
    virtual ~IPopupMenuHost() = default;
    // Shows popup at the screen point; the chosen command reaches `target` as WM_COMMAND.
    virtual void TrackPanePopupMenu(HMENU popup, POINT screen, HWND target) = 0;
};
