#include "core/WindowRoutines.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <cstdlib>
#include <cstring>
#include <utility>
#include "framework/AppModule.h"
#include "framework/GdiHolders.h"

void GetWorkArea(RECT* out) {
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, out, 0))
        SetRect(out, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void CenteredRectInWorkArea(RECT* out, int width, int height) {
    RECT work;
    GetWorkArea(&work);
    out->left = work.left + (work.right - work.left - width) / 2;
    out->top = work.top + (work.bottom - work.top - height) / 2;
    out->right = out->left + width - 1;
    out->bottom = out->top + height - 1;
}

void CenterWindowOver(HWND window, HWND reference) {
    RECT work, ref, win;
    GetWorkArea(&work);
    if (!reference || !GetWindowRect(reference, &ref) || IsRectEmpty(&ref)) ref = work;
    if (!GetWindowRect(window, &win)) return;
    int w = win.right - win.left, h = win.bottom - win.top;
    int x = ref.left + (ref.right - ref.left - w) / 2;
    int y = ref.top + (ref.bottom - ref.top - h) / 2;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    if (x != win.left || y != win.top)
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterWindowInParentWidth(HWND window, HWND parent) {
    RECT client, win;
    if (!GetClientRect(parent, &client) || !GetWindowRect(window, &win)) return;
    POINT topLeft = {win.left, win.top};
    ScreenToClient(parent, &topLeft);
    int x = (client.right - (win.right - win.left)) / 2;
    SetWindowPos(window, nullptr, x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static RECT FrameGrownWorkArea(DWORD style) {
    RECT work, frame = {0, 0, 0, 0};
    GetWorkArea(&work);
    AdjustWindowRect(&frame, style, FALSE);
    work.left += frame.left;
    work.top += frame.top;
    work.right += frame.right;
    work.bottom += frame.bottom;
    return work;
}

void KeepWindowInWorkArea(HWND window, DWORD style) {
    RECT area = FrameGrownWorkArea(style), win;
    if (!GetWindowRect(window, &win)) return;
    int w = win.right - win.left, h = win.bottom - win.top;
    int x = win.left, y = win.top;
    if (x + w > area.right) x = area.right - w;
    if (y + h > area.bottom) y = area.bottom - h;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    if (x != win.left || y != win.top)
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT SnapRectToWorkArea(const RECT& windowRect, int distance, DWORD style) {
    RECT area = FrameGrownWorkArea(style);
    int w = windowRect.right - windowRect.left, h = windowRect.bottom - windowRect.top;
    POINT p = {windowRect.left, windowRect.top};
    if (abs(windowRect.left - area.left) < distance) p.x = area.left;
    else if (abs(windowRect.right - area.right) < distance) p.x = area.right - w;
    if (abs(windowRect.top - area.top) < distance) p.y = area.top;
    else if (abs(windowRect.bottom - area.bottom) < distance) p.y = area.bottom - h;
    return p;
}

void NormalizeRect(RECT* rect) {
    if (rect->left > rect->right) std::swap(rect->left, rect->right);
    if (rect->top > rect->bottom) std::swap(rect->top, rect->bottom);
}

static int TextWidth(HDC dc, const char* text, int length) {
    SIZE s = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &s);
    return s.cx;
}

bool FitTextWithEllipsis(HDC dc, const char* text, const RECT& rect, char* out, size_t outSize) {
    if (!out || outSize == 0) return false;
    out[0] = 0;
    if (!text) return false;
    const int room = rect.right - rect.left;
    const int length = static_cast<int>(strnlen(text, 0x7fffffff));
    if (TextWidth(dc, text, length) <= room) {
        if (static_cast<size_t>(length) >= outSize) return false;
        memcpy(out, text, static_cast<size_t>(length) + 1);
        return true;
    }
    const int dots = TextWidth(dc, "...", 3);
    if (dots > room) return false;
    // Binary search for the longest prefix that fits beside the dots.
    int lo = 0, hi = length;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (TextWidth(dc, text, mid) + dots <= room) lo = mid;
        else hi = mid - 1;
    }
    if (static_cast<size_t>(lo) + 4 > outSize) lo = static_cast<int>(outSize) - 4;
    if (lo < 0) return false;
    memcpy(out, text, static_cast<size_t>(lo));
    memcpy(out + lo, "...", 4);
    return true;
}

void DrawInvertedFocusFrame(HDC dc, const RECT& rect, COLORREF textColor, COLORREF backColor) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(255 - GetRValue(backColor), 255 - GetGValue(backColor),
                                                       255 - GetBValue(backColor))));
    FrameRect(dc, &rect, brush.Get());
    COLORREF oldText = SetTextColor(dc, textColor);
    COLORREF oldBack = SetBkColor(dc, backColor);
    DrawFocusRect(dc, &rect);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void SendKeyStroke(WORD virtualKey, unsigned flags) {
    INPUT inputs[8];
    int n = 0;
    auto key = [&](WORD vk, bool up, bool extended) {
        INPUT in;
        ZeroMemory(&in, sizeof(in));
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs[n++] = in;
    };
    if (flags & 1) key(VK_SHIFT, false, false);
    if (flags & 2) key(VK_CONTROL, false, false);
    if (flags & 4) key(VK_MENU, false, false);
    key(virtualKey, false, (flags & 8) != 0);
    key(virtualKey, true, (flags & 8) != 0);
    if (flags & 4) key(VK_MENU, true, false);
    if (flags & 2) key(VK_CONTROL, true, false);
    if (flags & 1) key(VK_SHIFT, true, false);
    SendInput(static_cast<UINT>(n), inputs, sizeof(INPUT));
}

bool PlayWaveResource(HMODULE module, const char* resourceName) {
    HRSRC found = FindResourceA(module, resourceName, "WAVE");
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    // Resources stay mapped for the module's lifetime, so an asynchronous play is safe.
    return sndPlaySoundA(static_cast<const char*>(data), SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

const char* LoadResourceText(UINT id) {
    static char buffer[260];
    if (LoadStringA(g_Module.GetModuleInstance(), id, buffer, sizeof(buffer)) <= 0) buffer[0] = 0;
    return buffer;
}

static void ClearListSelection(HWND list) {
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

static void SetListItemState(HWND list, int index, UINT state) {
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.state = state;
    item.stateMask = state;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SelectOnlyListItem(HWND list, int index) {
    ClearListSelection(list);
    SetListItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void SelectListItems(HWND list, const std::vector<int>& indexes, bool scrollToFirst) {
    ClearListSelection(list);
    for (int i : indexes) SetListItemState(list, i, LVIS_SELECTED);
    if (indexes.empty()) return;
    int target = scrollToFirst ? indexes.front() : indexes.back();
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(target), FALSE);
}
