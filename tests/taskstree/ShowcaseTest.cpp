// Photographs of the tree's context menus for scripts/dialog-shots.sh (SHOTS_PROGRAMS=taskstree);
// not part of the ordinary run.
#include <windows.h>
#include <commctrl.h>
#include "resources/command_ids.h"
#include "tests/support/DialogShots.h"
#include "tests/taskstree/TreeTestSupport.h"

namespace treetest {
namespace {

// Photographs each pop-up menu once it has painted, then closes it.
struct MenuPhotographer {
    static MenuPhotographer* current;
    HHOOK hook = nullptr;
    std::string name;
    explicit MenuPhotographer(const std::string& shot) : name(shot) {
        current = this;
        hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MenuPhotographer() {
        ::UnhookWindowsHookEx(hook);
        current = nullptr;
    }
    static void CALLBACK Shoot(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (current) testsupport::Photograph(current->name);
        ::EndMenu();
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && current)
            ::SetTimer(nullptr, 0, 400, &Shoot);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
MenuPhotographer* MenuPhotographer::current = nullptr;

}  // namespace

TEST_F(TreeTest, DISABLED_Showcase) {
    MakeTaskFile("Birds");
    CreateFrame();
    HTREEITEM root = tree_->Tree().GetRootItem();
    Select(root);
    Command(ID_TASK_NEW_FOLDER);
    TreeView_EndEditLabelNow(tree_->Tree(), TRUE);
    Pump(300);
    {
        MenuPhotographer shot("tree-folder-menu");
        RightClickItem(FindItem("New Folder"));
    }
    {
        MenuPhotographer shot("tree-task-menu");
        RightClickItem(tree_->ItemOf(FindTask("Birds")));
    }
}

}  // namespace treetest
