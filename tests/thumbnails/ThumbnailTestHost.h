#pragma once
// A plain parent window holding a real thumbnail control, a listener that records what the
// control tells it, and helpers that send the messages a user's mouse and keys send.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/WindowImpl.h"
#include "ui/thumbnails/ThumbnailView.h"

namespace thumbtest {

struct StateChange {
    int index;
    UINT oldState;
    UINT newState;
};

class RecordingListener : public IThumbnailViewListener {
public:
    std::vector<int> fetched;  // GetItemTip calls in order
    std::vector<StateChange> changes;
    std::vector<int> added, removed;
    std::vector<std::pair<UINT, bool>> keys;
    std::vector<std::pair<int, bool>> leftButtons, contextMenus;
    std::vector<int> doubleClicks;
    // Fills the picture of an item; by default the test picture and a tip naming the item.
    std::function<void(int, ThumbnailItemData&)> fill;
    HBITMAP picture = nullptr;
    int pictureWidth = 0, pictureHeight = 0;
    // How long each default fill takes (a slow decode).
    int fillDelayMs = 0;
    // When set, pictures go through the control's decode thread as the picture views do.
    std::function<bool(const ThumbnailItemData&)> needsDecode;
    std::function<void(HBITMAP, int, int, ThumbnailItemData&)> takeDecoded;
    std::vector<int> decoded;  // TakeDecodedPicture calls in order

    void OnKey(int, bool down, UINT key, LPARAM) override { keys.push_back({key, down}); }
    void OnContextMenu(int index, bool down, UINT, POINT) override { contextMenus.push_back({index, down}); }
    void OnLeftButton(int index, bool down, UINT, POINT) override { leftButtons.push_back({index, down}); }
    void OnItemDoubleClick(int index, UINT, POINT) override { doubleClicks.push_back(index); }
    void GetItemTip(int index, const ThumbnailSizes&, ThumbnailItemData& data) override {
        fetched.push_back(index);
        if (fill) {
            fill(index, data);
            return;
        }
        if (fillDelayMs > 0) ::Sleep(static_cast<DWORD>(fillDelayMs));
        data.bitmap = picture;
        data.source = {0, 0, pictureWidth, pictureHeight};
        data.tip = "tip of " + std::to_string(index);
        data.pending = false;
    }
    bool NeedsDecode(int index, const ThumbnailItemData& data) override {
        return needsDecode ? needsDecode(data) : IThumbnailViewListener::NeedsDecode(index, data);
    }
    void TakeDecodedPicture(int index, const ThumbnailSizes& sizes, HBITMAP bitmap, int width, int height,
                            ThumbnailItemData& data) override {
        decoded.push_back(index);
        if (takeDecoded)
            takeDecoded(bitmap, width, height, data);
        else
            IThumbnailViewListener::TakeDecodedPicture(index, sizes, bitmap, width, height, data);
    }
    void OnItemStateChanged(int index, UINT oldState, UINT newState) override {
        changes.push_back({index, oldState, newState});
    }
    void OnItemAdded(int index) override { added.push_back(index); }
    void OnItemRemoved(int index) override { removed.push_back(index); }
};

class HostWindow : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("Bkf_ThumbnailTestHost")
    CThumbnailView* view = nullptr;
    BEGIN_MSG_MAP(HostWindow)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()
private:
    LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
        if (view && view->m_hWnd) ::MoveWindow(view->m_hWnd, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
};

// Runs the message loop until nothing is left (timers included when they are due).
void Pump(int milliseconds = 0);
// Runs the message loop until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// A solid 24-bit bitmap of one colour.
HBITMAP SolidBitmap(int width, int height, COLORREF colour);

// Plain thumbnail descriptions named "picture N.jpg" with the given placeholder.
std::vector<ThumbnailItemData> MakeItems(int count, HBITMAP placeholder, const std::string& folder = "");

// The control in a visible host window whose client area is width x height.
class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void MakeHost(int clientWidth, int clientHeight);
    void Fill(int count, bool start);

    // Client point inside the picture frame of item index (as now scrolled).
    POINT PointOnItem(int index) const;
    void Click(int index, WPARAM keys = 0);
    void ClickAt(POINT point, WPARAM keys = 0);
    void Key(UINT key);
    std::vector<int> Selected() const;

    HostWindow host;
    CThumbnailView view;
    RecordingListener listener;
    HBITMAP placeholder = nullptr;
};

}  // namespace thumbtest
