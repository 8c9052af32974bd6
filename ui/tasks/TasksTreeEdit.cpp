// The tasks tree's own editing: selection, labels, drag and drop, deleting, folders and the
// context menu.
#include <windowsx.h>
#include <algorithm>
#include "core/DownloadManager.h"
#include "core/TaskOptions.h"
#include "core/TranslatedMenu.h"
#include "dialogs/tasks/TaskNaming.h"
#include "framework/AppModule.h"
#include "framework/UserPrompts.h"
#include "resources/app_ids.h"
#include "resources/command_ids.h"
#include "resources/frame_ids.h"
#include "resources/taskstree_ids.h"
#include "core/DownloadViews.h"
#include "ui/frame/IFrameHost.h"
#include "ui/frame/IPictureContainer.h"
#include "core/LocalText.h"
#include "ui/tasks/TasksTree.h"

namespace {
const char* const kTitleSuffix = " - Brackenfly";
const char* const kProgramTitle = "Brackenfly";
const int kDragImageOffset = 50;
}  // namespace

void TasksTree::ShowTitle(TaskOptions* task) {
    HWND frame = FrameWindow();
    if (!frame) return;
    const std::string title = task ? task->TaskName + kTitleSuffix : std::string(kProgramTitle);
    ::SetWindowTextA(frame, title.c_str());
}

void TasksTree::OnSelectionChanged() {
    // While dragging, the selection only marks the drop target: the pictures of whatever it passes
    // over are not loaded, and the views let go of the dragged task's.
    if (dragging_) {
        ShowPictures(nullptr);
        return;
    }
    ShowTitle(GetSelectedTask());
    ShowPictures(GetSelectedTask());
    UpdateCommandStates();
}

void TasksTree::ShowPictures(TaskOptions* task) {
    if (frame_ && frame_->GetImagesContainer()) frame_->GetImagesContainer()->SetTask(task);
}

LRESULT TasksTree::OnBeginLabelEdit(NMTVDISPINFOA* info) {
    HTREEITEM item = info->item.hItem;
    if (!item || item == root_) return TRUE;
    if (TaskOptions* task = TaskOf(item))
        if (HWND edit = TreeView_GetEditControl(tree_)) ::SetWindowTextA(edit, task->TaskName.c_str());
    // Only now has an edit begun: the frame leaves the keys to the edit box until it ends.
    if (frame_) frame_->SetLabelEditing(true);
    labelEditOpen_ = true;
    return FALSE;
}

LRESULT TasksTree::OnEndLabelEdit(NMTVDISPINFOA* info) {
    if (frame_) frame_->SetLabelEditing(false);
    // The tree may tell the end of one edit twice (hiding the edit box takes its focus): only the
    // first counts, so a refused name is told once.
    if (!labelEditOpen_) return FALSE;
    labelEditOpen_ = false;
    HTREEITEM item = info->item.hItem;
    if (!item || !info->item.pszText || !info->item.pszText[0]) return FALSE;
    const std::string text = info->item.pszText;
    TaskOptions* task = TaskOf(item);
    const std::string before = task ? task->TaskName : tree_.GetItemText(item, static_cast<int>(kTreeNameMax));
    if (text == before) return FALSE;
    if (const unsigned refusal = task ? TaskNameRefusal(text, *task, tasks_) : FolderNameRefusal(text)) {
        // The name stays as it was: the same rule and words as in the task's options, less
        // the name of the options page they lead with ("General : ..."), which means
        // nothing in the tree.
        std::string warning = LocalText(refusal);
        const size_t pageEnd = warning.find(" : ");
        if (pageEnd != std::string::npos && warning.find(' ') == pageEnd) warning.erase(0, pageEnd + 3);
        UserPrompts().MessageBox(FrameWindow(), warning, LocalText(IDS_CAPTION_WARNING), MB_OK | MB_ICONWARNING);
        return FALSE;
    }
    if (!task) {
        tree_.SetItemText(item, text.c_str());
        return FALSE;
    }
    task->TaskName = text;
    task->Save();
    ShowNewName(task, before);
    return FALSE;
}

void TasksTree::ShowNewName(TaskOptions* task, const std::string& oldName) {
    RefreshTaskItem(task);
    ShowTitle(task);
    if (frame_ && task->TaskName != oldName) frame_->TaskRenamed(task, oldName);
}

HTREEITEM TasksTree::NewItemParent() const {
    HTREEITEM selected = tree_.GetSelectedItem();
    if (!selected) return root_;
    if (TaskOf(selected)) return tree_.GetParentItem(selected);
    return selected;
}

void TasksTree::NewFolder() {
    HTREEITEM item = InsertFolderItem(LocalText(IDS_NEW_FOLDER), NewItemParent(), kFolderOpen, kFolderOpen);
    if (!item) return;
    tree_.SelectItem(item);
    ::SetFocus(tree_);
    TreeView_EditLabel(tree_, item);
}

bool TasksTree::IsBelow(HTREEITEM item, HTREEITEM ancestor) const {
    for (HTREEITEM walk = item; walk; walk = tree_.GetParentItem(walk))
        if (walk == ancestor) return true;
    return false;
}

void TasksTree::DeleteSelected() {
    HTREEITEM item = tree_ ? tree_.GetSelectedItem() : nullptr;
    if (!item || item == root_) return;
    TaskOptions* task = TaskOf(item);
    const std::string label = task ? task->TaskName : tree_.GetItemText(item);
    const std::string question =
        task ? LocalText(IDS_DELETE_TASK_QUESTION) + label + LocalText(IDS_TREE_QUESTION_END)
             : LocalText(IDS_DELETE_FOLDER_QUESTION) + label + LocalText(IDS_DELETE_FOLDER_QUESTION_END);
    if (UserPrompts().MessageBox(m_hWnd, question, LocalText(IDS_CAPTION_QUESTION), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    DeleteItem(item);
}

void TasksTree::DeleteItem(HTREEITEM item) {
    pending_.RemoveIf([&](TaskOptions* t) { return IsBelow(ItemOf(t), item); });
    std::vector<TaskOptions*> doomed;
    for (TaskOptions* task : tasks_)
        if (IsBelow(ItemOf(task), item)) doomed.push_back(task);
    // The picture views let go of a task before it is deleted, then show what is selected next.
    if (!doomed.empty()) ShowPictures(nullptr);
    for (TaskOptions* task : doomed) DeleteTask(task);
    tree_.DeleteItem(item);
    ShowPictures(GetSelectedTask());
    RefreshQueuePane();
    UpdateCommandStates();
}

void TasksTree::DeleteTask(TaskOptions* task) {
    if (DownloadManager* manager = Manager()) {
        if (manager->GetRunningTask() == task) manager->Stop(DownloadManager::kStopTaskDeleted);
        // The manager keeps its last task after a run: it must not keep this one.
        if (manager->GetTask() == task) {
            manager->ForgetTask(task);
            if (frame_ && frame_->GetDownloadViews().ErrorsViewer()) frame_->GetDownloadViews().ErrorsViewer()->Clear();
            // The status bar and the monitor's title named this task (running or run last).
            if (frame_) frame_->ForgetStatusTask();
        }
    }
    // A task without a file name has no files: its empty paths must not name "Tasks\.cache".
    for (const std::string& path : {task->GetTaskFilePath(), task->GetCacheFilePath(), task->GetDownloadsFilePath()})
        if (!path.empty()) ::DeleteFileA(path.c_str());
    tasks_.erase(std::remove(tasks_.begin(), tasks_.end(), task), tasks_.end());
    items_.erase(task);
    delete task;
}

bool TasksTree::CopySubtree(HTREEITEM item, HTREEITEM newParent) {
    if (!item || !newParent || IsBelow(newParent, item)) return false;
    TVITEMA source = {};
    char text[kTreeRecordSize * 4] = {};
    source.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    source.hItem = item;
    source.pszText = text;
    source.cchTextMax = sizeof(text) - 1;
    if (!TreeView_GetItem(tree_, &source)) return false;
    HTREEITEM copy = InsertFolderItem(text, newParent, source.iImage, source.iSelectedImage);
    if (!copy) return false;
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = copy;
    data.lParam = source.lParam;
    TreeView_SetItem(tree_, &data);
    if (TaskOptions* task = TaskOf(copy)) items_[task] = copy;
    held_.ItemCopied(item, copy);
    tree_.Expand(newParent);
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = tree_.GetChildItem(item); child; child = tree_.GetNextSiblingItem(child))
        children.push_back(child);
    for (HTREEITEM child : children) CopySubtree(child, copy);
    return true;
}

void TasksTree::BeginDrag(HTREEITEM item) {
    if (!item || item == root_ || dragging_) return;
    dragImage_.Reset(TreeView_CreateDragImage(tree_, item));
    if (dragImage_) {
        ::ImageList_BeginDrag(dragImage_.Get(), 0, 0, 0);
        ::ImageList_DragEnter(tree_, kDragImageOffset, kDragImageOffset);
    }
    dragItem_ = item;
    dragging_ = true;
    ::SetCapture(m_hWnd);
}

LRESULT TasksTree::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!dragging_) return 0;
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::MapWindowPoints(m_hWnd, tree_, &point, 1);
    if (dragImage_) ::ImageList_DragMove(point.x, point.y);
    RECT client;
    ::GetClientRect(tree_, &client);
    const bool inside = ::PtInRect(&client, point) != 0;
    ::SetCursor(::LoadCursorA(nullptr, inside ? reinterpret_cast<LPCSTR>(IDC_ARROW) : reinterpret_cast<LPCSTR>(IDC_NO)));
    TVHITTESTINFO hit = {};
    hit.pt = point;
    HTREEITEM target = TreeView_HitTest(tree_, &hit);
    HTREEITEM selected = tree_.GetSelectedItem();
    // Above or below the tree the target moves on by one, so the tree scrolls.
    if (point.y < client.top && selected) target = TreeView_GetPrevVisible(tree_, selected);
    else if (point.y > client.bottom && selected) target = TreeView_GetNextVisible(tree_, selected);
    if (target && target != selected) {
        if (dragImage_) ::ImageList_DragShowNolock(FALSE);
        tree_.SelectItem(target);
        TreeView_EnsureVisible(tree_, target);
        ::UpdateWindow(tree_);
        if (dragImage_) ::ImageList_DragShowNolock(TRUE);
    }
    return 0;
}

LRESULT TasksTree::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!dragging_) return 0;
    // The drop lands where the button went up, not where the cursor is by the time this runs.
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::MapWindowPoints(m_hWnd, tree_, &point, 1);
    EndDrag(true, &point);
    return 0;
}

LRESULT TasksTree::OnCaptureChanged(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (dragging_ && reinterpret_cast<HWND>(lParam) != m_hWnd) EndDrag(false);
    return 0;
}

LRESULT TasksTree::OnCancelMode(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (dragging_) EndDrag(false);
    handled = FALSE;
    return 0;
}

void TasksTree::EndDrag(bool drop, const POINT* dropPoint) {
    // Cleared first: releasing the capture below comes back here as a lost capture.
    dragging_ = false;
    HTREEITEM dragged = dragItem_;
    dragItem_ = nullptr;
    HTREEITEM target = nullptr;
    if (drop && dropPoint) {
        TVHITTESTINFO hit = {};
        hit.pt = *dropPoint;
        target = TreeView_HitTest(tree_, &hit);
    }
    if (dragImage_) {
        ::ImageList_DragLeave(tree_);
        ::ImageList_EndDrag();
        dragImage_.Reset();
    }
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    // Where the mouse was let go is where the user looks: that item is selected even when nothing
    // could be moved there (a task, or the dragged item's own branch).
    HTREEITEM select = target ? target : dragged;
    if (target && !TaskOf(target) && CopySubtree(dragged, target)) {
        tree_.DeleteItem(dragged);
        tree_.Expand(target);
    }
    // The selection is handled once, now that the drag is over.
    tree_.SelectItem(select);
    OnSelectionChanged();
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    ::InvalidateRect(tree_, nullptr, TRUE);
}

LRESULT TasksTree::OnContextMenu(UINT, WPARAM, LPARAM lParam, BOOL&) {
    POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HTREEITEM item = nullptr;
    if (lParam == -1) {
        // From the keyboard: the selected item's place.
        item = tree_.GetSelectedItem();
        RECT rect;
        if (!item || !TreeView_GetItemRect(tree_, item, &rect, TRUE)) return 0;
        screen = {rect.left, rect.bottom};
        ::ClientToScreen(tree_, &screen);
    } else {
        TVHITTESTINFO hit = {};
        hit.pt = screen;
        ::ScreenToClient(tree_, &hit.pt);
        item = TreeView_HitTest(tree_, &hit);
        if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT | TVHT_ONITEMSTATEICON)))
            return 0;
    }
    tree_.SelectItem(item);
    TaskOptions* task = TaskOf(item);
    TranslatedMenu menu(IDR_MENU_TREE);
    HMENU popup = menu.Popup(task ? 0 : 1);
    if (!popup) return 0;
    const UINT pauseAll = RunningTask() ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(popup, ID_TASK_PAUSE_ALL, MF_BYCOMMAND | pauseAll);
    if (task) {
        const bool busy = IsPendingOrRunning(task);
        for (UINT id : {ID_TASK_START, ID_TASK_RESTART, ID_TASK_RELOAD_IMAGES})
            ::EnableMenuItem(popup, id, MF_BYCOMMAND | (busy ? MF_GRAYED : MF_ENABLED));
        ::EnableMenuItem(popup, ID_TASK_PAUSE, MF_BYCOMMAND | (busy ? MF_ENABLED : MF_GRAYED));
        ::SetMenuDefaultItem(popup, ID_TASK_OPTIONS, FALSE);
    } else if (item == root_) {
        ::EnableMenuItem(popup, ID_TASK_RENAME, MF_BYCOMMAND | MF_GRAYED);
        ::EnableMenuItem(popup, ID_TASK_DELETE, MF_BYCOMMAND | MF_GRAYED);
    }
    if (frame_) frame_->TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y);
    else ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr);
    return 0;
}
