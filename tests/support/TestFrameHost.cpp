#include "tests/support/TestFrameHost.h"

namespace testsupport {

TestFrameHost::TestFrameHost(const std::string& programFolder)
    : settings(new ProgramSettings(nullptr, programFolder, [](const std::string&) {})) {}

BOOL TestFrameHost::TrackPopupMenu(HMENU popup, UINT, int, int, const RECT*) {
    RecordMenu(popup);
    return FALSE;
}

void TestFrameHost::RecordMenu(HMENU popup) {
    ++menusTracked;
    lastMenu.clear();
    const UINT defaultId = ::GetMenuDefaultItem(popup, FALSE, 0);
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        const UINT state = ::GetMenuState(popup, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR) continue;
        lastMenu.push_back({id, (state & MF_GRAYED) != 0, id == defaultId});
    }
}

}  // namespace testsupport
