#include "framework/UpdateUI.h"
#include <commctrl.h>

void CUpdateUI::UIAddEntry(UINT id, unsigned kinds) {
    if (Entry* existing = Find(id)) {
        existing->kinds |= kinds;
        return;
    }
    entries_.push_back(Entry{id, kinds, true, false, true, true});
}

void CUpdateUI::UIAddToolBar(HWND toolBar) {
    if (toolBar) toolBars_.push_back(toolBar);
    MarkAllDirty();
}

CUpdateUI::Entry* CUpdateUI::Find(UINT id) {
    for (Entry& entry : entries_)
        if (entry.id == id) return &entry;
    return nullptr;
}

const CUpdateUI::Entry* CUpdateUI::Find(UINT id) const {
    for (const Entry& entry : entries_)
        if (entry.id == id) return &entry;
    return nullptr;
}

void CUpdateUI::MarkAllDirty() {
    for (Entry& entry : entries_) entry.menuDirty = entry.toolBarDirty = true;
}

bool CUpdateUI::UIEnable(UINT id, bool enable, bool now) {
    Entry* entry = Find(id);
    if (!entry) return false;
    if (entry->enabled != enable) {
        entry->enabled = enable;
        entry->menuDirty = entry->toolBarDirty = true;
    }
    if (now) Apply(*entry, true, true);
    return true;
}

bool CUpdateUI::UISetCheck(UINT id, bool check, bool now) {
    Entry* entry = Find(id);
    if (!entry) return false;
    if (entry->checked != check) {
        entry->checked = check;
        entry->menuDirty = entry->toolBarDirty = true;
    }
    if (now) Apply(*entry, true, true);
    return true;
}

void CUpdateUI::Apply(Entry& entry, bool menu, bool toolBar) {
    if (menu && entry.menuDirty && (entry.kinds & kMenu) && menu_) {
        ::EnableMenuItem(menu_, entry.id, MF_BYCOMMAND | (entry.enabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu_, entry.id, MF_BYCOMMAND | (entry.checked ? MF_CHECKED : MF_UNCHECKED));
        entry.menuDirty = false;
    }
    if (toolBar && entry.toolBarDirty && (entry.kinds & kToolBar) && !toolBars_.empty()) {
        for (HWND bar : toolBars_) {
            if (!::IsWindow(bar)) continue;
            // A button missing from this bar answers -1; leave that bar alone.
            if (::SendMessageA(bar, TB_COMMANDTOINDEX, entry.id, 0) < 0) continue;
            ::SendMessageA(bar, TB_ENABLEBUTTON, entry.id, MAKELPARAM(entry.enabled ? TRUE : FALSE, 0));
            ::SendMessageA(bar, TB_CHECKBUTTON, entry.id, MAKELPARAM(entry.checked ? TRUE : FALSE, 0));
        }
        entry.toolBarDirty = false;
    }
}

void CUpdateUI::UIUpdateMenuBar() {
    for (Entry& entry : entries_) Apply(entry, true, false);
}

void CUpdateUI::UIUpdateToolBar() {
    for (Entry& entry : entries_) Apply(entry, false, true);
}
