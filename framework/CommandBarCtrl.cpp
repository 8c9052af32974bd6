#include "framework/CommandBarCtrl.h"
#include "framework/WindowProcGuard.h"
#include <commctrl.h>
#include <cctype>
#include <cstring>
#include "framework/AppModule.h"
#include "framework/ToolBarResource.h"
#include "framework/ImageListStrip.h"

namespace {
const UINT_PTR kSubclassId = 3;
// Posted to the bar: open menu wParam, lParam nonzero when asked from the keyboard.
const UINT kOpenMenuMessage = WM_APP + 0x3F0;
// Button ids of the menu buttons, far from every command id.
const int kMenuButtonBase = 0xFE00;

}  // namespace

CCommandBarCtrl* CCommandBarCtrl::s_tracking = nullptr;

CCommandBarCtrl::~CCommandBarCtrl() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::RemoveWindowSubclass(m_hWnd, &SubclassProc, kSubclassId);
    if (menu_) ::DestroyMenu(menu_);
    DestroyImages();
}

void CCommandBarCtrl::DestroyImages() {
    imageList_.Reset();
    images_.clear();
}

HWND CCommandBarCtrl::Create(HWND parent, HWND owner) {
    owner_ = owner;
    m_hWnd = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                  TBSTYLE_LIST | TBSTYLE_TRANSPARENT | CCS_NODIVIDER | CCS_NORESIZE |
                                  CCS_NOPARENTALIGN,
                              0, 0, 0, 0, parent, nullptr, g_Module.GetModuleInstance(), nullptr);
    if (!m_hWnd) return nullptr;
    ::SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(m_hWnd, TB_SETPARENT, reinterpret_cast<WPARAM>(owner), 0);
    ::SendMessageA(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    ::SendMessageA(m_hWnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    // Mnemonics are underlined, as on a menu bar.
    ::SendMessageA(m_hWnd, TB_SETDRAWTEXTFLAGS, DT_NOPREFIX | DT_HIDEPREFIX, 0);
    ::SetWindowSubclass(m_hWnd, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return m_hWnd;
}

int CCommandBarCtrl::ButtonCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0)); }

bool CCommandBarCtrl::AttachMenu(HMENU menu) {
    if (!m_hWnd || !menu) return false;
    while (ButtonCount() > 0) ::SendMessageA(m_hWnd, TB_DELETEBUTTON, 0, 0);
    if (menu_ && menu_ != menu) ::DestroyMenu(menu_);
    menu_ = menu;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text) - 1, MF_BYPOSITION);
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = kMenuButtonBase + i;  // not a command: the button opens menu i
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(text);
        ::SendMessageA(m_hWnd, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    ::SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    ApplyImages(menu);
    return true;
}

std::vector<std::string> CCommandBarCtrl::ButtonTexts() const {
    std::vector<std::string> texts;
    if (!menu_) return texts;
    const int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        ::GetMenuStringA(menu_, static_cast<UINT>(i), text, sizeof(text) - 1, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

bool CCommandBarCtrl::AddImages(UINT bitmapId, int width, int height,
                                const std::vector<WORD>& commands) {
    if (imageList_ && (width != imageWidth_ || height != imageHeight_)) return false;
    const ImageList strip = LoadImageListStrip(bitmapId, width, height, kImageMaskColor);
    if (!strip) return false;
    if (!imageList_) {
        imageList_.Reset(::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 32, 8));
        imageWidth_ = width;
        imageHeight_ = height;
    }
    const int available = ::ImageList_GetImageCount(strip.Get());
    int image = 0;
    for (WORD command : commands) {
        if (command == 0) continue;
        if (image >= available) break;
        HICON icon = ::ImageList_GetIcon(strip.Get(), image++, ILD_NORMAL);
        if (!icon) continue;
        const int index = ::ImageList_ReplaceIcon(imageList_.Get(), -1, icon);
        ::DestroyIcon(icon);
        if (index >= 0) images_[command] = index;
    }
    if (menu_) ApplyImages(menu_);
    return true;
}

bool CCommandBarCtrl::OnMeasureItem(MEASUREITEMSTRUCT* item) const {
    if (item->CtlType != ODT_MENU || (!images_.count(item->itemID) && !blanks_.count(item->itemID))) return false;
    item->itemWidth = static_cast<UINT>(imageWidth_);
    item->itemHeight = static_cast<UINT>(imageHeight_);
    return true;
}

bool CCommandBarCtrl::OnDrawItem(const DRAWITEMSTRUCT* item) const {
    if (item->CtlType != ODT_MENU) return false;
    auto found = images_.find(item->itemID);
    if (found == images_.end()) return blanks_.count(item->itemID) != 0;  // room kept, nothing drawn
    const int x = item->rcItem.left + ((item->rcItem.right - item->rcItem.left) - imageWidth_) / 2;
    const int y = item->rcItem.top + ((item->rcItem.bottom - item->rcItem.top) - imageHeight_) / 2;
    if (item->itemState & (ODS_GRAYED | ODS_DISABLED)) {
        HICON icon = ::ImageList_GetIcon(imageList_.Get(), found->second, ILD_NORMAL);
        ::DrawStateA(item->hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, imageWidth_,
                     imageHeight_, DST_ICON | DSS_DISABLED);
        ::DestroyIcon(icon);
    } else {
        ::ImageList_Draw(imageList_.Get(), found->second, item->hDC, x, y, ILD_TRANSPARENT);
    }
    return true;
}

void CCommandBarCtrl::ApplyImages(HMENU menu) {
    if (!menu || images_.empty()) return;
    const int count = ::GetMenuItemCount(menu);
    // The menu lines up its shortcut column from each item's own picture room: when only some
    // items had a picture, the shortcuts of the others were placed as if their labels started
    // further left and ran over them. So once any item of a menu has a picture, every command
    // item gets the same room (a blank picture where it has none).
    std::vector<UINT> commands;
    bool anyPicture = false;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item)) continue;
        if (item.hSubMenu) {
            ApplyImages(item.hSubMenu);
            continue;
        }
        if (item.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) continue;
        commands.push_back(static_cast<UINT>(i));
        if (images_.count(item.wID)) anyPicture = true;
    }
    if (!anyPicture) return;
    for (UINT position : commands) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID;
        if (!::GetMenuItemInfoA(menu, position, TRUE, &item)) continue;
        if (!images_.count(item.wID)) blanks_.insert(item.wID);
        // The owner draws the picture (OnDrawItem): with its mask on every system.
        MENUITEMINFOA picture = {};
        picture.cbSize = sizeof(picture);
        picture.fMask = MIIM_BITMAP;
        picture.hbmpItem = HBMMENU_CALLBACK;
        ::SetMenuItemInfoA(menu, position, TRUE, &picture);
    }
}

BOOL CCommandBarCtrl::TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude) {
    ApplyImages(popup);
    TPMPARAMS params = {};
    params.cbSize = sizeof(params);
    if (exclude) params.rcExclude = *exclude;
    // A menu follows the mouse only while its owner is the foreground window: opened from the
    // tray or over another of our windows (the full-screen viewer), the owner is brought forward
    // first, and the posted WM_NULL lets a click elsewhere close the menu at once, as the system
    // asks of menus tracked from a background window.
    HWND previous = ::GetForegroundWindow();
    if (previous != owner_) ::SetForegroundWindow(owner_);
    const BOOL result = ::TrackPopupMenuEx(popup, flags, x, y, owner_, exclude ? &params : nullptr);
    ::PostMessageA(owner_, WM_NULL, 0, 0);
    // Back to the window of ours the user was in (the full-screen viewer keeps its keys).
    if (previous && previous != owner_ && ::IsWindowVisible(previous) &&
        ::GetWindowThreadProcessId(previous, nullptr) == ::GetCurrentThreadId())
        ::SetForegroundWindow(previous);
    return result;
}

int CCommandBarCtrl::FindMnemonic(const std::vector<std::string>& texts, char key) {
    const int wanted = std::toupper(static_cast<unsigned char>(key));
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        for (size_t at = 0; at + 1 < text.size(); ++at) {
            if (text[at] != '&') continue;
            if (text[at + 1] == '&') {
                ++at;
                continue;
            }
            if (std::toupper(static_cast<unsigned char>(text[at + 1])) == wanted) return static_cast<int>(i);
            break;
        }
    }
    return -1;
}

int CCommandBarCtrl::GetHotItem() const { return static_cast<int>(::SendMessageA(m_hWnd, TB_GETHOTITEM, 0, 0)); }

void CCommandBarCtrl::EnterKeyboardMode() {
    if (ButtonCount() == 0) return;
    keyboardMode_ = true;
    ::SendMessageA(m_hWnd, TB_SETHOTITEM, 0, 0);
}

void CCommandBarCtrl::LeaveKeyboardMode() {
    keyboardMode_ = false;
    ::SendMessageA(m_hWnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

void CCommandBarCtrl::RequestMenu(int index, bool fromKeyboard) {
    // Opened from the message loop, not from inside the key filter that asked.
    ::PostMessageA(m_hWnd, kOpenMenuMessage, static_cast<WPARAM>(index), fromKeyboard ? 1 : 0);
}

BOOL CCommandBarCtrl::PreTranslateMessage(MSG* msg) {
    // Every message of the thread passes here: anything but keys and clicks leaves at once, before
    // the window queries, which under Wine each wait their turn at a server busy with the sockets.
    const UINT message = msg->message;
    const bool concerned = (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_LBUTTONDOWN ||
                           message == WM_RBUTTONDOWN || message == WM_NCLBUTTONDOWN;
    if (!concerned || !m_hWnd || !menu_ || tracking_ || !::IsWindowVisible(m_hWnd)) return FALSE;
    if (::GetAncestor(msg->hwnd, GA_ROOT) != ::GetAncestor(m_hWnd, GA_ROOT)) return FALSE;
    const int count = ButtonCount();
    switch (msg->message) {
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) {
            if (!(msg->lParam & (1 << 30))) altPressed_ = true;
            return FALSE;
        }
        altPressed_ = false;
        if (msg->wParam == VK_F10 && ::GetKeyState(VK_SHIFT) >= 0) {
            if (keyboardMode_) LeaveKeyboardMode();
            else EnterKeyboardMode();
            return TRUE;
        }
        return FALSE;
    case WM_SYSKEYUP:
        if (msg->wParam == VK_MENU && altPressed_) {
            altPressed_ = false;
            if (keyboardMode_) LeaveKeyboardMode();
            else EnterKeyboardMode();
            return TRUE;
        }
        if (msg->wParam == VK_F10) return TRUE;
        return FALSE;
    case WM_SYSCHAR: {
        const int index = FindMnemonic(ButtonTexts(), static_cast<char>(msg->wParam));
        if (index < 0) return FALSE;
        LeaveKeyboardMode();
        RequestMenu(index, true);
        return TRUE;
    }
    case WM_KEYDOWN:
        altPressed_ = false;
        if (!keyboardMode_) return FALSE;
        switch (msg->wParam) {
        case VK_LEFT:
        case VK_RIGHT: {
            int hot = GetHotItem();
            hot = msg->wParam == VK_LEFT ? (hot + count - 1) % count : (hot + 1) % count;
            ::SendMessageA(m_hWnd, TB_SETHOTITEM, static_cast<WPARAM>(hot), 0);
            return TRUE;
        }
        case VK_DOWN:
        case VK_UP:
        case VK_RETURN: {
            const int hot = GetHotItem();
            LeaveKeyboardMode();
            if (hot >= 0) RequestMenu(hot, true);
            return TRUE;
        }
        case VK_ESCAPE:
            LeaveKeyboardMode();
            return TRUE;
        default: {
            BYTE state[256];
            WORD ch = 0;
            if (::GetKeyboardState(state) &&
                ::ToAscii(static_cast<UINT>(msg->wParam), (static_cast<UINT>(msg->lParam) >> 16) & 0xFF, state, &ch, 0) ==
                    1) {
                const int index = FindMnemonic(ButtonTexts(), static_cast<char>(ch & 0xFF));
                LeaveKeyboardMode();
                if (index >= 0) RequestMenu(index, true);
                return TRUE;
            }
            LeaveKeyboardMode();
            return FALSE;
        }
        }
    case WM_CHAR:
        return keyboardMode_ ? TRUE : FALSE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        if (keyboardMode_) LeaveKeyboardMode();
        return FALSE;
    default:
        return FALSE;
    }
}

void CCommandBarCtrl::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    if (!tracking_) return;
    selectedMenu_ = reinterpret_cast<HMENU>(lParam);
    selectedIsPopup_ = (HIWORD(wParam) & MF_POPUP) != 0;
}

void CCommandBarCtrl::TrackMenus(int index, bool fromKeyboard) {
    if (tracking_ || !menu_) return;
    tracking_ = true;
    nextIndex_ = index;
    nextFromKeyboard_ = fromKeyboard;
    while (nextIndex_ >= 0 && nextIndex_ < ButtonCount()) {
        const int current = nextIndex_;
        const bool keyboard = nextFromKeyboard_;
        nextIndex_ = -1;
        HMENU popup = ::GetSubMenu(menu_, current);
        if (!popup) break;
        trackedIndex_ = current;
        trackedPopup_ = popup;
        selectedMenu_ = popup;
        selectedIsPopup_ = false;
        ApplyImages(popup);

        RECT button = {};
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(current), reinterpret_cast<LPARAM>(&button));
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
        ::SendMessageA(m_hWnd, TB_PRESSBUTTON, static_cast<WPARAM>(kMenuButtonBase + current), TRUE);
        if (keyboard) ::PostMessageA(owner_, WM_KEYDOWN, VK_DOWN, 0);  // selects the first item

        s_tracking = this;
        hook_ = ::SetWindowsHookExA(WH_MSGFILTER, &MenuHook, nullptr, ::GetCurrentThreadId());
        TPMPARAMS params = {};
        params.cbSize = sizeof(params);
        params.rcExclude = button;
        ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, button.left,
                           button.bottom, owner_, &params);
        if (hook_) ::UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        s_tracking = nullptr;
        ::SendMessageA(m_hWnd, TB_PRESSBUTTON, static_cast<WPARAM>(kMenuButtonBase + current), FALSE);
    }
    trackedIndex_ = -1;
    trackedPopup_ = nullptr;
    tracking_ = false;
}

bool CCommandBarCtrl::HandleMenuHookMessage(const MSG& msg) {
    const int count = ButtonCount();
    if (count == 0) return false;
    if (msg.message == WM_MOUSEMOVE) {
        POINT point = msg.pt;
        ::ScreenToClient(m_hWnd, &point);
        const int hit = static_cast<int>(::SendMessageA(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
        if (hit >= 0 && hit < count && hit != trackedIndex_) {
            nextIndex_ = hit;
            nextFromKeyboard_ = false;
            ::EndMenu();
        }
        return false;
    }
    if (msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_RIGHT && !selectedIsPopup_) {
            nextIndex_ = (trackedIndex_ + 1) % count;
            nextFromKeyboard_ = true;
            ::EndMenu();
            return true;
        }
        if (msg.wParam == VK_LEFT && selectedMenu_ == trackedPopup_) {
            nextIndex_ = (trackedIndex_ + count - 1) % count;
            nextFromKeyboard_ = true;
            ::EndMenu();
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK CCommandBarCtrl::MenuHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && s_tracking && lParam) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        CCommandBarCtrl* tracking = s_tracking;
        if (GuardedCallback<bool>(msg.hwnd, true, [&] { return tracking->HandleMenuHookMessage(msg); })) return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CCommandBarCtrl::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<CCommandBarCtrl*>(data);
    return GuardedCallback<LRESULT>(hWnd, 0, [&] { return self->OnBarMessage(hWnd, msg, wParam, lParam); });
}

LRESULT CCommandBarCtrl::OnBarMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CCommandBarCtrl* self = this;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int hit = static_cast<int>(::SendMessageA(hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
        if (hit >= 0 && hit < self->ButtonCount()) {
            self->LeaveKeyboardMode();
            self->TrackMenus(hit, false);
            return 0;
        }
        break;
    }
    case kOpenMenuMessage:
        self->TrackMenus(static_cast<int>(wParam), lParam != 0);
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hWnd, &SubclassProc, kSubclassId);
        self->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
