#pragma once
// How the monitor views show their context menus: through the frame's command bar, so items
// show their pictures and the chosen command takes the frame's routing back to the view.
#include <windows.h>
#include <functional>

class IFrameHost;

// Loads menu `menuId`, translates it and shows its first sub-menu at the screen point; `prepare`
// may gray items. Without a frame (a view on its own) the menu is a plain pop-up owned by `owner`.
void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, IFrameHost* frame,
                         const std::function<void(HMENU)>& prepare);
