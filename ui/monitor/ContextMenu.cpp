#include "ui/monitor/ContextMenu.h"

#include "core/InternationalSupport.h"
#include "framework/AppModule.h"

namespace {
ContextMenuTracker& Tracker() {
    static ContextMenuTracker tracker;
    return tracker;
}
}  // namespace

void SetContextMenuTracker(ContextMenuTracker tracker) { Tracker() = std::move(tracker); }

void TrackContextMenu(HMENU popup, POINT screen, HWND owner) {
    if (Tracker()) {
        Tracker()(popup, screen, owner);
        return;
    }
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}

void ShowViewContextMenu(unsigned menuId, POINT screen, HWND owner, const std::function<void(HMENU)>& prepare) {
    HMENU menu = ::LoadMenuA(g_Module.GetResourceInstance(), MAKEINTRESOURCEA(menuId));
    if (!menu) return;
    g_InternationalSupport.TranslateMenu(menuId, menu);
    HMENU popup = ::GetSubMenu(menu, 0);
    if (popup) {
        if (prepare) prepare(popup);
        TrackContextMenu(popup, screen, owner);
    }
    ::DestroyMenu(menu);
}
