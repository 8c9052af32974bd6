#include "ui/tasks/TasksTree.h"
#include "core/Application.h"
#include "core/ConstructLinkTask.h"
#include "core/DownloadManager.h"
#include "core/DownloadManagerTexts.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "dialogs/webbrowser/WebLogin.h"
#include "framework/AppModule.h"
#include "framework/UserPrompts.h"
#include "framework/ImageListStrip.h"
#include "resources/app_ids.h"
#include "resources/command_ids.h"
#include "resources/engine_ids.h"
#include "resources/taskstree_ids.h"
#include "core/DownloadViews.h"
#include "ui/frame/IFrameHost.h"
#include "ui/frame/IPictureContainer.h"
#include "core/LocalText.h"
#include "ui/tasks/TaskOptionsDialogs.h"

namespace {
const int kImageSize = 16;
const int kImageGrow = 4;
const size_t kItemTextMax = 1024;
const char* const kTreeFileName = "Tree.config";
}  // namespace

TasksTree::TasksTree(Application* app)
    : app_(app), dialogs_(new TaskOptionsDialogs(app, this)),
      login_([](HWND owner, TaskOptions& task) { return LogInBeforeStart(owner, task); }) {}

TasksTree::~TasksTree() {
    if (IsWindow()) DestroyWindow();
    FreeTasks();
}

HWND TasksTree::CreatePane(HWND parent) {
    RECT rect = {0, 0, 100, 100};
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
}

LRESULT TasksTree::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    return LoadAll() ? 0 : -1;
}

LRESULT TasksTree::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (dragging_) EndDrag(false);
    SaveAll();
    FreeTasks();
    if (images_) {
        TreeView_SetImageList(tree_, nullptr, TVSIL_NORMAL);
        images_.Reset();
    }
    handled = FALSE;
    return 0;
}

LRESULT TasksTree::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (tree_) ::MoveWindow(tree_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
}

LRESULT TasksTree::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    if (tree_) ::SetFocus(tree_);
    return 0;
}

bool TasksTree::LoadAll() {
    ControlArgs args;
    args.parent = m_hWnd;
    args.style = WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;
    args.exStyle = WS_EX_CLIENTEDGE;
    args.id = kTreeControlId;
    args.place = {0, 0, 100, 100};
    tree_.Create(args);
    // Without its tree control the pane cannot work: nothing is loaded, and so nothing saved over.
    if (!tree_) return false;
    images_ = LoadImageListStrip(IDB_TASKS_TREE, kImageSize, kImageSize, kWhiteTransparent, kImageGrow);
    TreeView_SetImageList(tree_, images_.Get(), TVSIL_NORMAL);
    root_ = InsertFolderItem(LocalText(IDS_TREE_ROOT), TVI_ROOT, kFolderClosed, kFolderOpen);

    LoadTaskFiles("*.task", [] { return new SearchLinkTask(); });
    LoadTaskFiles("*.task2", [] { return new ConstructLinkTask(); });
    // The window was closed while a warning was up (a program closing windows by class): what is
    // not loaded yet stays unread, and nothing of this run is written.
    if (!::IsWindow(tree_)) return false;

    const std::string treeFile = GetTasksFolder() + kTreeFileName;
    std::vector<TreeFileNode> nodes;
    const TreeFileStatus status = LoadTreeFile(treeFile, nodes);
    // The folders are in that file: a flat tree written at close would lose them for good.
    treeFileWritable_ = status != TreeFileStatus::Locked && status != TreeFileStatus::NotKept;
    if (status == TreeFileStatus::Locked) WarnLoadFailure(WithTaskName(EngineText(IDS_FILE_UNREADABLE), treeFile));
    if (!::IsWindow(tree_)) return false;
    PlaceLevel(nodes, root_);
    for (TaskOptions* task : tasks_)
        if (!items_.count(task)) InsertTaskItem(task, root_, task->Resume ? kPaused : kIdle);
    tree_.Expand(root_);
    UpdateCommandStates();
    loaded_ = true;
    return true;
}

void TasksTree::LoadTaskFiles(const char* pattern, const std::function<TaskOptions*()>& make) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((GetTasksFolder() + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!::IsWindow(tree_)) break;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // "*.task" also matches longer extensions on some systems: take only the exact one.
        const std::string name = found.cFileName;
        const std::string extension = pattern + 1;
        if (name.size() <= extension.size() ||
            _stricmp(name.c_str() + name.size() - extension.size(), extension.c_str()) != 0)
            continue;
        std::unique_ptr<TaskOptions> task(make());
        if (task->Load(name)) {
            tasks_.push_back(task.release());
        } else {
            // The file stays as it is; the user learns why the task is missing.
            const std::string why = task->DescribeLoadFailure();
            if (!why.empty()) WarnLoadFailure(why);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

void TasksTree::WarnLoadFailure(const std::string& text) {
    UserPrompts().MessageBox(frame_ ? FrameWindow() : m_hWnd, text, LocalText(IDS_CAPTION_WARNING),
                             MB_OK | MB_ICONWARNING);
}

void TasksTree::PlaceLevel(const std::vector<TreeFileNode>& nodes, HTREEITEM parent) {
    HTREEITEM last = nullptr;
    for (const TreeFileNode& node : nodes) {
        if (node.folder) {
            HTREEITEM folder = InsertFolderItem(node.name, parent, kFolderClosed, kFolderOpen);
            PlaceLevel(node.children, folder);
            if (folder) last = folder;
            continue;
        }
        bool placed = false;
        for (TaskOptions* task : tasks_) {
            if (task->TaskFileName != node.name) continue;
            placed = true;
            // A task named twice in the file is placed once.
            if (items_.count(task)) break;
            if (HTREEITEM item = InsertTaskItem(task, parent, task->Resume ? kPaused : kIdle)) last = item;
            break;
        }
        // A task whose file is still there but could not be loaded keeps its place in the file.
        if (!placed && IsSafeFileName(node.name) &&
            ::GetFileAttributesA((GetTasksFolder() + node.name).c_str()) != INVALID_FILE_ATTRIBUTES)
            held_.Hold(node.name, parent, last);
    }
}

HTREEITEM TasksTree::InsertFolderItem(const std::string& label, HTREEITEM parent, int image, int selectedImage) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(label.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.lParam = 0;
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM TasksTree::InsertTaskItem(TaskOptions* task, HTREEITEM parent, int state) {
    const int image = task->GetTreeIconIndex(state);
    HTREEITEM item = InsertFolderItem(task->TaskName, parent, image, image);
    if (!item) return nullptr;
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    data.lParam = reinterpret_cast<LPARAM>(task);
    TreeView_SetItem(tree_, &data);
    items_[task] = item;
    RefreshTaskItem(task);
    return item;
}

void TasksTree::SetTaskIcon(TaskOptions* task, int state) {
    HTREEITEM item = ItemOf(task);
    if (!item) return;
    TVITEMA data = {};
    data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    data.hItem = item;
    data.iImage = data.iSelectedImage = task->GetTreeIconIndex(state);
    TreeView_SetItem(tree_, &data);
}

std::string TasksTree::TaskItemText(TaskOptions* task) const {
    std::string text = task->TaskName;
    if (task->DownloadedImages.GetCount() > 0)
        text += " (" + std::to_string(task->DownloadedImages.GetCount()) + ")";
    return text.substr(0, kItemTextMax);
}

void TasksTree::CollectLevel(HTREEITEM parent, std::vector<TreeFileNode>& nodes) {
    held_.WriteAfter(parent, nullptr, nodes);
    for (HTREEITEM child = tree_.GetChildItem(parent); child; child = tree_.GetNextSiblingItem(child)) {
        TreeFileNode node;
        if (TaskOptions* task = TaskOf(child)) {
            node.name = task->TaskFileName;
        } else {
            node.folder = true;
            node.name = tree_.GetItemText(child, static_cast<int>(kTreeNameMax));
            CollectLevel(child, node.children);
        }
        // A task whose file could not be made leaves nothing to find next time.
        if (node.folder || !node.name.empty()) nodes.push_back(std::move(node));
        held_.WriteAfter(parent, child, nodes);
    }
    held_.WriteRest(parent, nodes);
}

void TasksTree::SaveAll() {
    // A tree still loading (a start-up warning is up) holds only part of what the files hold:
    // written now, it would replace the folders, and the lists of the tasks not read yet, for good.
    if (!tree_ || saved_ || !loaded_) return;
    pending_.Clear();
    if (DownloadManager* manager = Manager()) manager->Stop(0);
    std::vector<TreeFileNode> nodes;
    held_.BeginWrite();
    CollectLevel(root_, nodes);
    held_.WriteRest(nullptr, nodes);
    if (treeFileWritable_) SaveTreeFile(GetTasksFolder() + kTreeFileName, nodes);
    for (TaskOptions* task : tasks_) task->SaveDownloads();
    saved_ = true;
}

void TasksTree::FreeTasks() {
    if (tasks_.empty()) return;
    if (DownloadManager* manager = Manager())
        for (TaskOptions* task : tasks_) manager->ForgetTask(task);
    for (TaskOptions* task : tasks_) delete task;
    tasks_.clear();
    items_.clear();
}

HTREEITEM TasksTree::ItemOf(const TaskOptions* task) const {
    auto found = items_.find(task);
    return found == items_.end() ? nullptr : found->second;
}

TaskOptions* TasksTree::TaskOf(HTREEITEM item) const {
    return item ? reinterpret_cast<TaskOptions*>(tree_.GetItemData(item)) : nullptr;
}

TaskOptions* TasksTree::GetSelectedTask() const { return tree_ ? TaskOf(tree_.GetSelectedItem()) : nullptr; }

bool TasksTree::HasFocus() const {
    HWND focus = ::GetFocus();
    return focus && m_hWnd && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
}

void TasksTree::RefreshTaskItem(TaskOptions* task) {
    HTREEITEM item = ItemOf(task);
    if (!item) return;
    tree_.SetItemText(item, TaskItemText(task).c_str());
    UpdateCommandStates();
}

void TasksTree::OnTaskStarted(TaskOptions* task, int waiting) {
    for (const PendingStarts::Entry& entry : pending_.Entries()) SetTaskIcon(entry.task, kWaiting);
    SetTaskIcon(task, waiting ? kWaiting : kRunning);
    UpdateCommandStates();
    if (frame_) frame_->EnableCommand(ID_TASK_PAUSE_ALL, true, true);
}

void TasksTree::OnTaskFinished(TaskOptions* task, bool stopped) {
    SetTaskIcon(task, stopped ? kPaused : kFinished);
    UpdateCommandStates();
    if (frame_) frame_->EnableCommand(ID_TASK_PAUSE_ALL, RunningTask() != nullptr, true);
}

bool TasksTree::IsPendingOrRunning(const TaskOptions* task) const {
    return task && (task->Scheduled || pending_.Contains(task) || task == RunningTask());
}

void TasksTree::UpdateCommandStates() {
    if (!frame_) return;
    TaskOptions* task = GetSelectedTask();
    HTREEITEM selected = tree_ ? tree_.GetSelectedItem() : nullptr;
    const bool busy = IsPendingOrRunning(task);
    const bool startable = task && !busy;
    frame_->EnableCommand(ID_TASK_START, startable, true);
    frame_->EnableCommand(ID_TASK_RESTART, startable, true);
    frame_->EnableCommand(ID_TASK_RELOAD_IMAGES, startable && task->DownloadedImages.GetCount() > 0, true);
    frame_->EnableCommand(ID_TASK_PAUSE, busy, true);
    frame_->EnableCommand(ID_TASK_FINISH_AND_PAUSE, busy, true);
    frame_->EnableCommand(ID_TASK_PAUSE_ALL, RunningTask() != nullptr, true);
    frame_->EnableCommand(ID_TASK_RENAME, selected && selected != root_, true);
    frame_->EnableCommand(ID_TASK_DELETE, selected && selected != root_, true);
    for (UINT id : {ID_TASK_OPTIONS, ID_TASK_LOCATE_IMAGES, ID_TASK_BROWSE_FOLDER, ID_TASK_OPEN_START_URL,
                    ID_TASK_CLEAR_FOLDER})
        frame_->EnableCommand(id, task != nullptr, true);
}

DownloadManager* TasksTree::Manager() const { return frame_ ? frame_->GetDownloadManager() : nullptr; }

TaskOptions* TasksTree::RunningTask() const {
    DownloadManager* manager = Manager();
    return manager ? manager->GetRunningTask() : nullptr;
}

HWND TasksTree::FrameWindow() const { return frame_ ? frame_->GetFrameWindow() : ::GetAncestor(m_hWnd, GA_ROOT); }

void TasksTree::RefreshQueuePane() {
    if (frame_) frame_->UpdateQueuePane(false);
}

LRESULT TasksTree::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    // Commands sent to the tree itself ("New Task" from the command line and the plug-in).
    if (!HandleCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) handled = FALSE;
    return 0;
}

bool TasksTree::HandleCommand(WORD id, WORD, HWND) {
    switch (id) {
    case ID_TASK_START: StartTask(0); return true;
    case ID_TASK_RESTART: OnRestartOrReload(1); return true;
    case ID_TASK_RELOAD_IMAGES: OnRestartOrReload(2); return true;
    case ID_TASK_PAUSE: OnPause(false); return true;
    case ID_TASK_FINISH_AND_PAUSE: OnPause(true); return true;
    case ID_TASK_PAUSE_ALL: OnPauseAll(); return true;
    case ID_TASK_NEW_FOLDER: NewFolder(); return true;
    case ID_TASK_NEW: OnNewTask(false); return true;
    case ID_TASK_NEW_TEMPLATED: OnNewTask(true); return true;
    case ID_TASK_RENAME:
        if (HTREEITEM item = tree_.GetSelectedItem())
            if (item != root_) {
                ::SetFocus(tree_);
                TreeView_EditLabel(tree_, item);
            }
        return true;
    case ID_TASK_OPTIONS: OnTaskOptions(); return true;
    case ID_TASK_OPEN_START_URL: OnOpenStartUrl(); return true;
    case ID_TASK_LOCATE_IMAGES: OnLocateImages(); return true;
    case ID_TASK_CLEAR_FOLDER: OnClearTaskFolder(); return true;
    case ID_TASK_BROWSE_FOLDER: OnBrowseTaskFolder(); return true;
    case ID_TASK_DELETE: DeleteSelected(); return true;
    default: return false;
    }
}

LRESULT TasksTree::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != tree_) {
        handled = FALSE;
        return 0;
    }
    switch (header->code) {
    case TVN_SELCHANGEDA: OnSelectionChanged(); return 0;
    case TVN_BEGINLABELEDITA: return OnBeginLabelEdit(reinterpret_cast<NMTVDISPINFOA*>(lParam));
    case TVN_ENDLABELEDITA: return OnEndLabelEdit(reinterpret_cast<NMTVDISPINFOA*>(lParam));
    case TVN_BEGINDRAGA: BeginDrag(reinterpret_cast<NMTREEVIEWA*>(lParam)->itemNew.hItem); return 0;
    case TVN_KEYDOWN:
        if (dragging_ && reinterpret_cast<NMTVKEYDOWN*>(lParam)->wVKey == VK_ESCAPE) EndDrag(false);
        return 0;
    case NM_DBLCLK:
        if (GetSelectedTask()) OnTaskOptions();
        return 0;
    default: handled = FALSE; return 0;
    }
}
