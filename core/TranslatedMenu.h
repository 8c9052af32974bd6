#pragma once
// The one way the program shows a menu of its resources: loaded, translated into the user's
// language, and destroyed when the holder goes (an exception's path included). The caller takes
// the sub-menu it shows, grays its items and tracks it.
#include <windows.h>

class TranslatedMenu {
public:
    explicit TranslatedMenu(UINT menuId);
    ~TranslatedMenu();
    TranslatedMenu(const TranslatedMenu&) = delete;
    TranslatedMenu& operator=(const TranslatedMenu&) = delete;

    // The index-th sub-menu; null when the menu could not be loaded or has none there.
    HMENU Popup(int index = 0) const { return menu_ ? ::GetSubMenu(menu_, index) : nullptr; }

private:
    HMENU menu_;
};
