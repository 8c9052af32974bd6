#include "ui/monitor/ContextMenu.h"

#include "core/TranslatedMenu.h"
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
    TranslatedMenu menu(menuId);
    if (HMENU popup = menu.Popup()) {
        if (prepare) prepare(popup);
        TrackContextMenu(popup, screen, owner);
    }
}
