#pragma once
// How the monitor views show their context menus: through their host's menu tracking, or, in a
// view without a host, a plain popup menu owned by the view.
#include <windows.h>
#include <functional>

class IPopupMenuHost;

// Loads menu `menuId`, translates it and shows its first sub-menu; `prepare` may gray items.
void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, IPopupMenuHost* host,
                         const std::function<void(HMENU)>& prepare);
