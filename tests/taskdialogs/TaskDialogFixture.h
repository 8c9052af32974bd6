#pragma once
// The task dialogs through their real windows: an application whose settings, tasks and
// profiles live in a scratch folder, the prompts answered by script, and helpers that reach the
// pages of the dialog running now and act on them as a user's clicks do.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "core/TaskFileNames.h"
#include "dialogs/tasks/TaskDialogs.h"
#include "dialogs/tasks/TaskOptions2Dlg.h"
#include "dialogs/tasks/TaskOptionsDlg.h"
#include "resources/options_ids.h"
#include "resources/task_options_ids.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

class TaskDialogFixture : public ::testing::Test {
protected:
    TaskDialogFixture() {
        SetTaskProgramFolder(dir_.Path());
        app_.reset(new Application(new ProgramSettings(nullptr, dir_.Path(), [](const std::string&) {})));
    }
    ~TaskDialogFixture() override { SetTaskProgramFolder(""); }

    ProgramSettings& Settings() { return *app_->GetSettings(); }
    std::string TasksFolder() const { return dir_.Path() + "Tasks\\"; }

    // A page of the task dialog open now (pages answer to their resource id as frame controls).
    static HWND Page(HWND frame, UINT pageId) { return ::GetDlgItem(frame, static_cast<int>(pageId)); }
    // Selects the tree item of a page as a user's click does.
    static void SelectPage(HWND frame, UINT pageId) {
        CTreeViewCtrl tree(::GetDlgItem(frame, IDC_OPTIONS_TREE));
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemData(item) == static_cast<LPARAM>(pageId)) tree.SelectItem(item);
            for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child)) {
                if (tree.GetItemData(child) == static_cast<LPARAM>(pageId)) tree.SelectItem(child);
            }
        }
    }

    INT_PTR RunSiteDialog(SearchLinkTask* task, bool showStartNow, testsupport::ModalScript& script) {
        TaskOptionsDlg dialog(task, app_.get(), showStartNow, tasks_);
        const INT_PTR result = script.Run([&] { return dialog.DoModal(nullptr); });
        EXPECT_TRUE(script.Finished());
        return result;
    }
    INT_PTR RunTemplateDialog(ConstructLinkTask* task, bool showStartNow, testsupport::ModalScript& script) {
        TaskOptions2Dlg dialog(task, app_.get(), showStartNow, tasks_);
        const INT_PTR result = script.Run([&] { return dialog.DoModal(nullptr); });
        EXPECT_TRUE(script.Finished());
        return result;
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : prompts_.boxes) texts.push_back(box.text);
        return texts;
    }
    std::string LastBoxText() const { return prompts_.boxes.empty() ? std::string() : prompts_.boxes.back().text; }

    testsupport::ScratchDir dir_;
    std::unique_ptr<Application> app_;
    testsupport::ScriptedPrompts prompts_;
    std::vector<TaskOptions*> tasks_;  // the tree's tasks for the name check (not owned)
};

namespace taskdialogs {

inline bool IsChecked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }

inline void PutClipboardText(const std::string& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* chars = static_cast<char*>(::GlobalLock(block));
    memcpy(chars, text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
}

// A user's click with the cursor at a point of the window's client area.
inline void ClickAt(HWND window, POINT point) {
    POINT screen = point;
    ::ClientToScreen(window, &screen);
    ::SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(window, WM_LBUTTONUP, 0, at);
    testsupport::PumpMessages(300);
}

}  // namespace taskdialogs
