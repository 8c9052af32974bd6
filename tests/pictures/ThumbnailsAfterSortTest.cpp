// Sorting while the thumbnails show: every cell in view shows its own picture again (the one its
// caption names), all rows stay laid out, and scrolling or switching views keeps it so. Read back
// from the control's items and from the pixels it draws.
#include <windows.h>
#include <commctrl.h>
#include <cstdlib>
#include <sstream>
#include "core/ImageRecord.h"
#include "resources/command_ids.h"
#include "tests/pictures/PicturesHarness.h"

namespace picturetest {
namespace {

struct Kind {
    const char* fixture;
    const char* extension;
    COLORREF colour;
    const char* dimensions;
};
const Kind kKinds[] = {{"p100x80.png", ".png", RGB(0, 255, 0), "100 x 80"},
                       {"o60x40.gif", ".gif", RGB(255, 165, 0), "60 x 40"},
                       {"b30x20.bmp", ".bmp", RGB(0, 0, 255), "30 x 20"},
                       {"r120x90.jpg", ".jpg", RGB(255, 0, 0), "120 x 90"}};

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 24 && std::abs(GetGValue(a) - GetGValue(b)) <= 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 24;
}

// Chooses an item of each pop-up menu as it opens by its mnemonic, as a user's key would.
struct ChoosingByKey {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            ++opened;
            ::PostMessageA(message->hwnd, WM_CHAR, key, 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static int opened;
    static WPARAM key;
};
int ChoosingByKey::opened = 0;
WPARAM ChoosingByKey::key = 0;

class ThumbnailsAfterSortTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        // Names in another order than the files' sizes, so each sort moves every picture.
        for (int i = 0; i < 24; ++i) {
            const Kind& kind = kKinds[i % 4];
            const std::string name = std::string(1, static_cast<char>('a' + (i * 7) % 24)) + "_" +
                                     std::to_string(i) + kind.extension;
            AddPicture(kind.fixture, "", name);
        }
        pictures_->SetTask(&task_);
        Pump();
    }

    const Kind& KindOf(int index) {
        const std::string& name = RecordName(index);
        for (const Kind& kind : kKinds)
            if (name.size() > 4 && name.compare(name.size() - 4, 4, kind.extension) == 0) return kind;
        return kKinds[0];
    }

    void WaitForThumbnails() {
        for (DWORD begin = ::GetTickCount(); Thumbnails().IsLoading() && ::GetTickCount() - begin < 60000;) Pump(50);
        Pump(50);
    }

    POINT ClientPointOf(int index) {
        const RECT cell = Thumbnails().GetItemCell(index);
        const POINT scroll = Thumbnails().GetScrollPosition();
        // The middle of the picture: below the shadow and the frame, half a thumbnail down.
        return POINT{(cell.left + cell.right) / 2 - scroll.x, cell.top + 4 + 50 + 3 - scroll.y};
    }

    void Click(int index, UINT down, UINT up, WPARAM button) {
        const POINT at = ClientPointOf(index);
        HWND control = Thumbnails().m_hWnd;
        ::SendMessageA(control, down, button, MAKELPARAM(at.x, at.y));
        ::SendMessageA(control, up, 0, MAKELPARAM(at.x, at.y));
    }

    void ChooseFromPictureMenu(int index, char key) {
        ChoosingByKey::opened = 0;
        ChoosingByKey::key = static_cast<WPARAM>(key);
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &ChoosingByKey::Hook, nullptr, ::GetCurrentThreadId());
        Click(index, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
        Pump(100);
        ::UnhookWindowsHookEx(hook);
        ASSERT_EQ(1, ChoosingByKey::opened);
    }

    // What is wrong with the cells in view: each must be laid out, hold its record's picture
    // (its tip tells the picture's size) and draw that picture's colour under its caption.
    std::string WrongCellsInView() {
        CThumbnailView& view = Thumbnails();
        ::UpdateWindow(view);
        RECT client;
        ::GetClientRect(view, &client);
        std::ostringstream wrong;
        int inView = 0;
        HDC dc = ::GetDC(view);
        for (int i = 0; i < view.GetItemCount(); ++i) {
            const RECT cell = view.GetItemCell(i);
            if (::IsRectEmpty(&cell)) {
                wrong << " [" << i << " not laid out]";
                continue;
            }
            const POINT at = ClientPointOf(i);
            if (!::PtInRect(&client, at)) continue;
            ++inView;
            const ThumbnailItemData* data = view.GetItemData(i);
            const Kind& kind = KindOf(i);
            if (data->caption != RecordName(i)) wrong << " [" << i << " caption " << data->caption << "]";
            if (view.IsItemPending(i) || !data->bitmap || data->tip.find(kind.dimensions) == std::string::npos)
                wrong << " [" << i << " " << RecordName(i) << " holds no thumbnail of its own: '" << data->tip << "']";
            const COLORREF drawn = ::GetPixel(dc, at.x, at.y);
            if (!Near(drawn, kind.colour))
                wrong << " [" << i << " " << RecordName(i) << " drawn " << std::hex << drawn << std::dec << "]";
        }
        ::ReleaseDC(view, dc);
        if (inView < 2 * view.GetGrid().columns) wrong << " [only " << inView << " cells in view]";
        return wrong.str();
    }
};

TEST_F(ThumbnailsAfterSortTest, SortedCellsShowTheirOwnPicturesThroughScrollingAndViewSwitches) {
    ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);
    WaitForThumbnails();
    ASSERT_EQ(0, Thumbnails().GetPendingCount());
    ASSERT_GT(Thumbnails().GetGrid().rows, Thumbnails().GetGrid().visibleRows) << "the test needs rows out of view";
    ASSERT_EQ("", WrongCellsInView()) << "before any sort";

    for (char key : {'z', 'n'}) {
        SCOPED_TRACE(key == 'z' ? "sort by size" : "sort by name");
        Click(1, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
        const std::string clicked = RecordName(Thumbnails().GetFocusedIndex());
        ChooseFromPictureMenu(Thumbnails().GetFocusedIndex(), key);
        WaitForThumbnails();
        EXPECT_EQ(clicked, RecordName(Thumbnails().GetFocusedIndex())) << "the focus stays on the clicked picture";
        for (int i = 0; i + 1 < 24; ++i) {
            if (key == 'z')
                ASSERT_LE(task_.DownloadedImages.GetAt(i).fileSize, task_.DownloadedImages.GetAt(i + 1).fileSize);
            else
                ASSERT_LT(RecordName(i), RecordName(i + 1));
        }
        EXPECT_EQ("", WrongCellsInView()) << "after the sort";

        ::SendMessageA(Thumbnails().m_hWnd, WM_KEYDOWN, VK_NEXT, 1);
        ::SendMessageA(Thumbnails().m_hWnd, WM_KEYUP, VK_NEXT, 0xC0000001);
        WaitForThumbnails();
        EXPECT_GT(Thumbnails().GetScrollPosition().y, 0);
        EXPECT_EQ("", WrongCellsInView()) << "after Page Down";
        ::SendMessageA(Thumbnails().m_hWnd, WM_KEYDOWN, VK_PRIOR, 1);
        ::SendMessageA(Thumbnails().m_hWnd, WM_KEYUP, VK_PRIOR, 0xC0000001);
        WaitForThumbnails();
        EXPECT_EQ("", WrongCellsInView()) << "after Page Up";

        ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_LIST, 0);
        Pump(50);
        ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);
        WaitForThumbnails();
        EXPECT_EQ("", WrongCellsInView()) << "after the list and back";
    }
}

}  // namespace
}  // namespace picturetest
