#include "tests/taskstree/TreeTestSupport.h"
#include "tests/support/MessagePump.h"
#include "ui/pictures/ImagesContainer.h"
#include "core/AppDirectory.h"
#include "core/ConstructLinkTask.h"
#include "core/ProgramSettings.h"
#include "core/TaskFileNames.h"
#include "framework/AppModule.h"
#include "ui/frame/MonitorPane.h"
#include "tests/support/PlaceholderPieces.h"

namespace treetest {

TaskDialogResult ScriptedTaskDialogs::NewTask(HWND, SearchLinkTask& task) {
    ++newTasks;
    lastUrl = task.StartingAddresses.empty() ? "" : task.StartingAddresses[0].Url;
    lastCookies = task.Cookies;
    if (answer != TaskDialogResult::Cancel && save) {
        task.TaskName = "Clipboard task";
        task.Save();
    }
    return answer;
}

TaskDialogResult ScriptedTaskDialogs::NewTemplateTask(HWND, ConstructLinkTask& task) {
    ++newTasks;
    if (answer != TaskDialogResult::Cancel && save) {
        task.TaskName = "Template task";
        task.Save();
    }
    return answer;
}

void TreeTest::SetUp() {
    SetTaskProgramFolder(dir_.Path());
    ::DeleteFileA((GetAppDirectory() + "Brackenfly.config").c_str());
    ASSERT_TRUE(g_Module.AddMessageLoop(&loop_));
    app_.reset(new Application());
    ProgramSettings* settings = app_->GetSettings();
    settings->ShowTip = false;
    settings->ThreadsAmount = 2;
    settings->PauseBetweenConnections = 0;
    settings->SaveCacheIntervale = 0;
    settings->FolderForImages = dir_.Path() + "Images\\";
}

void TreeTest::CreateFrame() {
    FramePieces pieces;
    tree_ = new TasksTree(app_.get());
    dialogs_ = new ScriptedTaskDialogs();
    tree_->SetTaskDialogs(std::unique_ptr<ITaskDialogs>(dialogs_));
    pieces.tasks.reset(tree_);
    monitor_ = new MonitorPane();
    pieces.monitor.reset(monitor_);
    if (realPictures_) pieces.pictures.reset(new ImagesContainer());
    CompleteFramePieces(pieces);
    frame_.reset(new MainFrame(app_.get(), std::move(pieces)));
    ASSERT_TRUE(frame_->CreateFrame());
    ::SetWindowPos(*frame_, nullptr, 10, 10, 900, 700, SWP_NOZORDER);
    ::ShowWindow(*frame_, SW_SHOW);
    ::SetForegroundWindow(*frame_);
    Pump();
}

void TreeTest::DestroyFrame() {
    frame_.reset();
    tree_ = nullptr;
    monitor_ = nullptr;
    Pump(20);
}

void TreeTest::TearDown() {
    DestroyFrame();
    app_.reset();
    g_Module.RemoveMessageLoop();
    ::DeleteFileA((GetAppDirectory() + "Brackenfly.config").c_str());
    SetTaskProgramFolder("");
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void TreeTest::Pump(DWORD ms) { testsupport::PumpLoopFor(loop_, ms); }

std::string TreeTest::MakeTaskFile(const std::string& name, const std::string& url) {
    SearchLinkTask task;
    task.TaskName = name;
    StartingAddress start;
    start.Url = url;
    task.StartingAddresses.push_back(start);
    EXPECT_TRUE(task.Save());
    return task.TaskFileName;
}

TaskOptions* TreeTest::FindTask(const std::string& name) {
    for (TaskOptions* task : tree_->Tasks())
        if (task->TaskName == name) return task;
    return nullptr;
}

POINT TreeTest::ItemPointInDragWindow(HTREEITEM item) {
    RECT rect = {};
    TreeView_GetItemRect(tree_->Tree(), item, &rect, TRUE);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::MapWindowPoints(tree_->Tree(), tree_->GetWindow(), &point, 1);
    return point;
}

void TreeTest::RightClickItem(HTREEITEM item) {
    RECT rect = {};
    TreeView_GetItemRect(tree_->Tree(), item, &rect, TRUE);
    POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(tree_->Tree(), &at);
    ::SendMessageA(tree_->GetWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(static_cast<HWND>(tree_->Tree())),
                   MAKELPARAM(at.x, at.y));
}

TaskOptions* TreeTest::ShownTask() {
    auto* pictures = dynamic_cast<ImagesContainer*>(frame_->GetImagesContainer());
    return pictures ? pictures->GetTask() : nullptr;
}

bool TreeTest::BeginRealDrag(HTREEITEM item) {
    HWND tree = tree_->Tree();
    TreeView_EnsureVisible(tree, item);
    RECT rect = {};
    if (!TreeView_GetItemRect(tree, item, &rect, TRUE)) return false;
    const POINT down = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    // The control watches for the mouse leaving the drag rectangle while the button is down: that
    // move waits in the queue when the button goes down.
    const int away = 4 * ::GetSystemMetrics(SM_CYDRAG) + 8;
    ::PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(down.x, down.y + away));
    ::SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    Pump(30);
    return tree_->IsDragging();
}

void TreeTest::MoveDragOver(HTREEITEM item) {
    const POINT point = ItemPointInDragWindow(item);
    ::SendMessageA(tree_->GetWindow(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    Pump(30);
}

void TreeTest::DropOn(HTREEITEM item) {
    const POINT point = ItemPointInDragWindow(item);
    ::SendMessageA(tree_->GetWindow(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    Pump(30);
}

HTREEITEM TreeTest::FindItem(const std::string& text, HTREEITEM parent) {
    CTreeViewCtrl& tree = tree_->Tree();
    if (!parent) parent = tree.GetRootItem();
    for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child)) {
        if (tree.GetItemText(child) == text) return child;
        if (HTREEITEM below = FindItem(text, child)) return below;
    }
    return nullptr;
}

int TreeTest::ImageOf(TaskOptions* task) {
    TVITEMA item = {};
    item.mask = TVIF_IMAGE;
    item.hItem = tree_->ItemOf(task);
    if (!item.hItem || !TreeView_GetItem(tree_->Tree(), &item)) return -1;
    return item.iImage;
}

void TreeTest::Select(HTREEITEM item) {
    tree_->Tree().SelectItem(item);
    Pump(30);
}

void TreeTest::Command(WORD id) {
    ::SendMessageA(*frame_, WM_COMMAND, id, 0);
    Pump(60);
}

std::vector<std::string> TreeTest::ChildTexts(HTREEITEM parent) {
    std::vector<std::string> texts;
    CTreeViewCtrl& tree = tree_->Tree();
    for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child))
        texts.push_back(tree.GetItemText(child));
    return texts;
}

void PutClipboardText(const std::string& text) {
    // Another test program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt) ::Sleep(20);
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* bytes = static_cast<char*>(::GlobalLock(block));
    memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
}

}  // namespace treetest
