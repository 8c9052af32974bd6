#pragma once
// How the monitor views show their context menus. By default a plain popup menu owned by the
// view; the main frame installs its command bar's tracking so items show their pictures.
#include <windows.h>
#include <functional>

// Shows `popup` at the screen point; the chosen command goes to `owner` as WM_COMMAND.
using ContextMenuTracker = std::function<void(HMENU popup, POINT screen, HWND owner)>;

// Installs the tracker the views use (an empty one: back to the plain popup menu).
void SetContextMenuTracker(ContextMenuTracker tracker);
void TrackContextMenu(HMENU popup, POINT screen, HWND owner);

// Loads menu `menuId`, translates it and shows its first sub-menu; `prepare` may gray items.
void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, const std::function<void(HMENU)>& prepare);
