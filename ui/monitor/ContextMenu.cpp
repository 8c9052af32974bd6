#include "ui/monitor/ContextMenu.h"

#include "core/TranslatedMenu.h"
#include "ui/frame/IFrameHost.h"

void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, IFrameHost* frame,
                         const std::function<void(HMENU)>& prepare) {
    TranslatedMenu menu(menuId);
    HMENU popup = menu.Popup();
    if (!popup) return;
    if (prepare) prepare(popup);
    const UINT flags = TPM_LEFTALIGN | TPM_RIGHTBUTTON;
    if (frame) frame->TrackPopupMenu(popup, flags, screen.x, screen.y);
    else ::TrackPopupMenu(popup, flags, screen.x, screen.y, 0, owner, nullptr);
}
