#include "ui/monitor/ContextMenu.h"

#include "core/TranslatedMenu.h"
#include "framework/IPopupMenuHost.h"

void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, IPopupMenuHost* host,
                         const std::function<void(HMENU)>& prepare) {
    TranslatedMenu menu(menuId);
    HMENU popup = menu.Popup();
    if (!popup) return;
    if (prepare) prepare(popup);
    if (host) host->TrackPanePopupMenu(popup, screen, owner);
    else ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}
