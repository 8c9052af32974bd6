#pragma once
// The table of command ids whose enabled and checked states a frame keeps current on idle. An
// entry names where the id appears (menu items, toolbar buttons or both); owners change states
// whenever they like, and the frame applies what changed to its menu and toolbars when idle.
#include <windows.h>
#include <vector>

class CUpdateUI {
public:
    enum Kind : unsigned { kMenu = 1, kToolBar = 2, kMenuAndToolBar = 3 };

    void UIAddEntry(UINT id, unsigned kinds);
    void UIAddToolBar(HWND toolBar);
    // The menu whose items follow the table (the command bar's menu).
    void UISetMenu(HMENU menu) { menu_ = menu; MarkAllDirty(); }

    // False when the id has no entry. `now` applies the change at once instead of on idle.
    bool UIEnable(UINT id, bool enable, bool now = false);
    bool UISetCheck(UINT id, bool check, bool now = false);

    // Applies every changed state to the menu and the toolbars.
    void UIUpdateMenuBar();
    void UIUpdateToolBar();

protected:
    ~CUpdateUI() = default;

private:
    struct Entry {
        UINT id;
        unsigned kinds;
        bool enabled;
        bool checked;
        bool menuDirty;
        bool toolBarDirty;
    };
    Entry* Find(UINT id);
    const Entry* Find(UINT id) const;
    void Apply(Entry& entry, bool menu, bool toolBar);
    void MarkAllDirty();

    std::vector<Entry> entries_;
    std::vector<HWND> toolBars_;
    HMENU menu_ = nullptr;
};
