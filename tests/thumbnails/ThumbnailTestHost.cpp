#include "tests/thumbnails/ThumbnailTestHost.h"
#include "tests/support/Dib32.h"

#include <commctrl.h>

namespace thumbtest {

void Pump(int milliseconds) {
    // Timer messages keep coming while pictures load: the time limit holds inside the loop too.
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(milliseconds > 0 ? milliseconds : 2000);
    for (;;) {
        MSG msg;
        bool idle = true;
        while (static_cast<int>(end - ::GetTickCount()) > 0 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            idle = false;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (static_cast<int>(end - ::GetTickCount()) <= 0 || (milliseconds <= 0 && idle)) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(timeoutMs);
    while (!done()) {
        if (static_cast<int>(end - ::GetTickCount()) <= 0) return done();
        Pump(5);
    }
    return true;
}

HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    void* bits = nullptr;
    HBITMAP bitmap = testsupport::CreateDib32(width, height, &bits);
    if (!bitmap) return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    const DWORD value = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < width * height; ++i) pixels[i] = value;
    return bitmap;
}

std::vector<ThumbnailItemData> MakeItems(int count, HBITMAP placeholder, const std::string& folder) {
    std::vector<ThumbnailItemData> items;
    for (int i = 0; i < count; ++i) {
        ThumbnailItemData data;
        data.bitmap = placeholder;
        data.source = {0, 0, 17, 24};
        data.caption = "picture " + std::to_string(i) + ".jpg";
        data.path = folder + data.caption;
        items.push_back(data);
    }
    return items;
}

void ViewFixture::SetUp() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    placeholder = SolidBitmap(17, 24, RGB(128, 128, 128));
    listener.picture = SolidBitmap(100, 110, RGB(255, 0, 0));
    listener.pictureWidth = 100;
    listener.pictureHeight = 110;
    MakeHost(640, 520);
}

void ViewFixture::MakeHost(int clientWidth, int clientHeight) {
    RECT frame = {50, 50, 50 + clientWidth, 50 + clientHeight};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    ASSERT_TRUE(host.Create(nullptr, &frame, "thumbnails", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN));
    host.view = &view;
    RECT client;
    ::GetClientRect(host, &client);
    ASSERT_TRUE(view.Create(host, &client, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                            WS_EX_CLIENTEDGE, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1))));
    view.SetListener(&listener);
    host.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(host);
    ::SetFocus(view);
    Pump(50);
}

void ViewFixture::TearDown() {
    view.SetItems({}, false);
    if (view.m_hWnd) view.DestroyWindow();
    if (host.m_hWnd) host.DestroyWindow();
    Pump();
    ::DeleteObject(placeholder);
    ::DeleteObject(listener.picture);
}

void ViewFixture::Fill(int count, bool start) { view.SetItems(MakeItems(count, placeholder), start); }

POINT ViewFixture::PointOnItem(int index) const {
    const RECT cell = view.GetItemCell(index);
    const POINT scroll = view.GetScrollPosition();
    POINT point = {(cell.left + cell.right) / 2 - scroll.x, cell.top + 30 - scroll.y};
    return point;
}

void ViewFixture::ClickAt(POINT point, WPARAM keys) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    view.SendMessage(WM_LBUTTONUP, keys, at);
}

void ViewFixture::Click(int index, WPARAM keys) { ClickAt(PointOnItem(index), keys); }

void ViewFixture::Key(UINT key) {
    view.SendMessage(WM_KEYDOWN, key, 1);
    view.SendMessage(WM_KEYUP, key, 0xC0000001);
}

std::vector<int> ViewFixture::Selected() const {
    std::vector<int> selected;
    for (int i = 0; i < view.GetItemCount(); ++i)
        if (view.GetItemState(i) & kThumbnailSelected) selected.push_back(i);
    return selected;
}

}  // namespace thumbtest
