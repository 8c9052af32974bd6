#pragma once
// The real main frame with the real tasks tree and monitor views, over a scratch "Tasks\" folder;
// task dialogs that answer as a test says; helpers that read what the tree shows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>
#include "core/Application.h"
#include "core/SearchLinkTask.h"
#include "framework/MessageLoop.h"
#include "ui/MainFrame.h"
#include "ui/frame/MonitorPane.h"
#include "ui/tasks/TasksTree.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

namespace treetest {

struct ScriptedTaskDialogs : ITaskDialogs {
    TaskDialogResult answer = TaskDialogResult::Ok;
    bool save = true;
    int newTasks = 0, options = 0;
    std::string lastUrl, lastCookies;
    TaskDialogResult NewTask(HWND, SearchLinkTask& task) override;
    TaskDialogResult NewTemplateTask(HWND, ConstructLinkTask& task) override;
    TaskDialogResult TaskOptionsOf(HWND, TaskOptions&) override {
        ++options;
        return TaskDialogResult::Cancel;
    }
};

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void CreateFrame();
    void DestroyFrame();
    void Pump(DWORD ms = 120);
    // Saves a site-scanning task named `name` into the scratch "Tasks\" folder.
    std::string MakeTaskFile(const std::string& name, const std::string& url = "http://example.com/");
    std::string TasksFolder() const { return dir_.Path() + "Tasks\\"; }
    TaskOptions* FindTask(const std::string& name);
    HTREEITEM FindItem(const std::string& text, HTREEITEM parent = nullptr);
    int ImageOf(TaskOptions* task);
    void Select(HTREEITEM item);
    void SelectTask(TaskOptions* task) { Select(tree_->ItemOf(task)); }
    void Command(WORD id);
    std::vector<std::string> ChildTexts(HTREEITEM parent);
    // A drag as the mouse makes it: the button goes down on `item` and the mouse moves away, so
    // the tree control itself begins the drag. False when it did not begin.
    bool BeginRealDrag(HTREEITEM item);
    void MoveDragOver(HTREEITEM item);
    void DropOn(HTREEITEM item);
    POINT ItemPointInDragWindow(HTREEITEM item);
    // A right click on the item as the tree passes it on (WM_CONTEXTMENU at its middle).
    void RightClickItem(HTREEITEM item);
    // The task whose pictures the real picture container shows (realPictures_ set).
    TaskOptions* ShownTask();

    testsupport::ScratchDir dir_;
    CMessageLoop loop_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<MainFrame> frame_;
    TasksTree* tree_ = nullptr;
    MonitorPane* monitor_ = nullptr;   // the program's own monitor views
    ScriptedTaskDialogs* dialogs_ = nullptr;
    // Set before CreateFrame: the program's own picture container instead of an empty pane.
    bool realPictures_ = false;
};

// Puts text on the clipboard as CF_TEXT, as the browser plug-in does.
void PutClipboardText(const std::string& text);

}  // namespace treetest
