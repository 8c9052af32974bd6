#pragma once
// The menu drawn as a toolbar: one button per top-level menu item opens that menu under it.
// Keyboard access as with a real menu bar: Alt or F10 selects the first item (Left and Right move,
// Down, Up or Enter open, Escape leaves), Alt+letter or the letter in that mode opens the menu with
// that mnemonic; inside an open menu Left and Right move on to the neighbouring menus, and moving
// the mouse over another button opens that one. Menu items whose command has a picture show it;
// context menus tracked through the bar show theirs too. Commands reach the owner window.
#include <windows.h>
#include <commctrl.h>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "framework/ImageList.h"
#include "framework/Window.h"

class CCommandBarCtrl : public CWindow {
public:
    CCommandBarCtrl() = default;
    virtual ~CCommandBarCtrl();
    CCommandBarCtrl(const CCommandBarCtrl&) = delete;
    CCommandBarCtrl& operator=(const CCommandBarCtrl&) = delete;

    HWND Create(HWND parent, HWND owner);
    // Shows the menu's top-level items as buttons. The bar owns the menu from now on.
    bool AttachMenu(HMENU menu);
    HMENU GetMenu() const { return menu_; }
    // Pictures for menu items: image i of the strip belongs to the i-th command of `commands`
    // (separators, written as 0, take no image).
    bool AddImages(UINT bitmapId, int width, int height, const std::vector<WORD>& commands);
    bool HasImage(UINT command) const { return images_.count(command) != 0; }
    // The owner passes its WM_MEASUREITEM and WM_DRAWITEM on: item pictures are drawn here, with
    // their mask, greyed for a disabled item. False when the item is none of ours.
    bool OnMeasureItem(MEASUREITEMSTRUCT* item) const;
    bool OnDrawItem(const DRAWITEMSTRUCT* item) const;
    // A context menu at screen position x, y, with the owner as its command target and the item
    // pictures shown. Returns what TrackPopupMenuEx returns.
    BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude = nullptr);
    // Alt, F10 and mnemonics; TRUE when the message was used.
    BOOL PreTranslateMessage(MSG* msg);
    // The owner passes its WM_MENUSELECT on, so that Left and Right know where they are.
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    bool IsTrackingMenu() const { return tracking_; }
    bool IsKeyboardMode() const { return keyboardMode_; }
    int GetHotItem() const;

    // The button whose text has `key` as its mnemonic (case-insensitive), or -1.
    static int FindMnemonic(const std::vector<std::string>& texts, char key);
    std::vector<std::string> ButtonTexts() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT OnBarMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam);
    bool HandleMenuHookMessage(const MSG& msg);
    void TrackMenus(int index, bool fromKeyboard);
    void RequestMenu(int index, bool fromKeyboard);
    void EnterKeyboardMode();
    void LeaveKeyboardMode();
    void ApplyImages(HMENU menu);
    int ButtonCount() const;
    void DestroyImages();

    HWND owner_ = nullptr;
    HMENU menu_ = nullptr;
    std::map<UINT, int> images_;  // command -> image in imageList_
    std::set<UINT> blanks_;       // commands without a picture in menus where others have one
    ImageList imageList_;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    bool tracking_ = false;
    int trackedIndex_ = -1;
    int nextIndex_ = -1;
    bool nextFromKeyboard_ = false;
    HMENU trackedPopup_ = nullptr;
    HMENU selectedMenu_ = nullptr;
    bool selectedIsPopup_ = false;
    bool altPressed_ = false;
    bool keyboardMode_ = false;
    HHOOK hook_ = nullptr;
    static CCommandBarCtrl* s_tracking;
};
