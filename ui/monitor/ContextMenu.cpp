#include "ui/monitor/ContextMenu.h"

#include "core/InternationalSupport.h"
#include "framework/AppModule.h"
#include "framework/IPopupMenuHost.h"

void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, IPopupMenuHost* host,
                         const std::function<void(HMENU)>& prepare) {
    HMENU menu = ::LoadMenuA(g_Module.GetResourceInstance(), MAKEINTRESOURCEA(menuId));
    if (!menu) return;
    g_InternationalSupport.TranslateMenu(menuId, menu);
    HMENU popup = ::GetSubMenu(menu, 0);
    if (popup) {
        if (prepare) prepare(popup);
        if (host) host->TrackPanePopupMenu(popup, screen, owner);
        else ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    }
    ::DestroyMenu(menu);
}
