// The tree's context menus as they are drawn: a folder's menu, where only some items have a
// picture, keeps each shortcut clear of its label.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "resources/command_ids.h"
#include "tests/support/Dib32.h"
#include "tests/taskstree/TreeTestSupport.h"

using treetest::TreeTest;

namespace {

// Reads, once the menu has painted, which columns of one item's row on the screen hold text,
// then closes the menu.
struct MenuRowReader {
    static MenuRowReader* current;
    HHOOK hook = nullptr;
    HMENU popup = nullptr;
    std::string label;      // the item whose row is read, by its text before the tab
    std::vector<bool> ink;  // per column of the row: some pixel darker than the menu's face
    MenuRowReader() {
        current = this;
        hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MenuRowReader() {
        ::UnhookWindowsHookEx(hook);
        current = nullptr;
    }
    void ReadRow() {
        const int count = ::GetMenuItemCount(popup);
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            ::GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof(text) - 1, MF_BYPOSITION);
            const std::string item = text;
            if (item.substr(0, item.find('\t')) != label) continue;
            RECT row = {};
            if (!::GetMenuItemRect(nullptr, popup, static_cast<UINT>(i), &row)) return;
            const int width = row.right - row.left, height = row.bottom - row.top;
            HDC screen = ::GetDC(nullptr);
            HDC memory = ::CreateCompatibleDC(screen);
            void* bits = nullptr;
            HBITMAP bitmap = testsupport::CreateDib32(width, height, &bits);
            if (!bitmap) return;
            HGDIOBJ old = ::SelectObject(memory, bitmap);
            ::BitBlt(memory, 0, 0, width, height, screen, row.left, row.top, SRCCOPY);
            ::GdiFlush();
            ink.assign(static_cast<size_t>(width), false);
            const auto* pixels = static_cast<const BYTE*>(bits);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const BYTE* p = pixels + (static_cast<size_t>(y) * width + x) * 4;
                    if (p[0] + p[1] + p[2] < 3 * 100) ink[static_cast<size_t>(x)] = true;
                }
            ::SelectObject(memory, old);
            ::DeleteObject(bitmap);
            ::DeleteDC(memory);
            ::ReleaseDC(nullptr, screen);
            return;
        }
    }
    static void CALLBACK Read(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (current) current->ReadRow();
        ::EndMenu();
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && current && !current->popup) {
            current->popup = reinterpret_cast<HMENU>(message->wParam);
            ::SetTimer(nullptr, 0, 300, &Read);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // The widest run of blank columns between the first and the last inked one.
    int WidestInnerGap() const {
        int first = -1, last = -1;
        for (size_t x = 0; x < ink.size(); ++x)
            if (ink[x]) {
                if (first < 0) first = static_cast<int>(x);
                last = static_cast<int>(x);
            }
        int widest = 0, run = 0;
        for (int x = first; x >= 0 && x <= last; ++x) {
            run = ink[static_cast<size_t>(x)] ? 0 : run + 1;
            if (run > widest) widest = run;
        }
        return widest;
    }
};
MenuRowReader* MenuRowReader::current = nullptr;

}  // namespace

TEST_F(TreeTest, FolderMenuDrawsShortcutsClearOfTheirLabels) {
    MakeTaskFile("Birds");
    CreateFrame();
    Select(tree_->Tree().GetRootItem());
    Command(ID_TASK_NEW_FOLDER);
    TreeView_EndEditLabelNow(tree_->Tree(), TRUE);
    Pump(100);
    HTREEITEM folder = FindItem("New Folder");
    ASSERT_TRUE(folder);
    for (const char* label : {"&Rename", "&Delete"}) {
        MenuRowReader reader;
        reader.label = label;
        RightClickItem(folder);
        Pump(50);
        ASSERT_TRUE(reader.popup) << label;
        ASSERT_FALSE(reader.ink.empty()) << "the row of " << label << " was read";
        // A one-word label and its shortcut: between them at least a few blank columns, where
        // a shortcut drawn over the label's end leaves none wider than a letter's own gaps.
        EXPECT_GE(reader.WidestInnerGap(), 6) << label;
    }
}
