// The commands that act on one task, and the list of tasks waiting for their turn to run.
#include "core/AppDirectory.h"
#include "core/ConstructLinkTask.h"
#include "core/DownloadManager.h"
#include "core/SearchLinkTask.h"
#include "framework/UserPrompts.h"
#include "resources/app_ids.h"
#include "resources/command_ids.h"
#include "resources/taskstree_ids.h"
#include "core/DownloadViews.h"
#include "ui/frame/IFrameHost.h"
#include "ui/frame/IPictureContainer.h"
#include "core/LocalText.h"
#include "core/TextFill.h"
#include "dialogs/tasks/TaskDialogs.h"
#include "ui/tasks/TaskFolder.h"
#include "ui/tasks/TasksTree.h"

namespace {
// A page's cookies are rarely above a few kilobytes; the clipboard may hold anything.
const size_t kMessageMax = 1024;
}  // namespace

bool TasksTree::StartTask(int mode) {
    TaskOptions* task = GetSelectedTask();
    if (!task || task == RunningTask() || pending_.Contains(task)) return false;
    if (task->CollectCookies && login_ && !login_(::GetActiveWindow(), *task)) return false;
    pending_.Append(task, mode);
    task->Scheduled = true;
    OnTaskStarted(task, 1);
    if (RunningTask()) RefreshQueuePane();
    else PostMessage(WM_START_NEXT_PENDING);
    return true;
}

LRESULT TasksTree::OnStartNextPending(UINT, WPARAM, LPARAM, BOOL&) {
    DownloadManager* manager = Manager();
    // A run still going calls for the next one when it ends.
    if (pending_.Empty() || !manager || RunningTask()) return 0;
    const PendingStarts::Entry entry = pending_.Front();
    manager->Start(entry.task, entry.mode);
    pending_.Remove(entry.task);
    if (manager->GetRunningTask() != entry.task) {
        // The manager refused the run (its resume file is out of reach or a newer version's):
        // the task stays as it was, shown idle, and the next one gets its turn.
        MakeIdle(entry.task);
        if (!pending_.Empty()) PostMessage(WM_START_NEXT_PENDING);
    }
    RefreshQueuePane();
    return 0;
}

void TasksTree::MakeIdle(TaskOptions* task) {
    task->Scheduled = false;
    SetTaskIcon(task, kIdle);
    UpdateCommandStates();
    if (frame_) frame_->EnableCommand(ID_TASK_PAUSE_ALL, RunningTask() != nullptr, true);
}

void TasksTree::OnRestartOrReload(int mode) {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    if (task->DownloadedImages.GetCount() > 0) {
        const bool restart = mode == DownloadManager::kRestart;
        const std::string question = LocalText(restart ? IDS_RESTART_QUESTION : IDS_RELOAD_QUESTION) +
                                     task->TaskName +
                                     LocalText(restart ? IDS_RESTART_QUESTION_END : IDS_RELOAD_QUESTION_END);
        if (UserPrompts().MessageBox(m_hWnd, question, LocalText(IDS_CAPTION_QUESTION),
                                     MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    StartTask(mode);
}

void TasksTree::OnPause(bool finishFirst) {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    DownloadManager* manager = Manager();
    if (manager && task == RunningTask()) {
        if (finishFirst) {
            if (frame_) frame_->EnableCommand(ID_TASK_FINISH_AND_PAUSE, false, true);
            manager->FinishDownloadingAndPause();
        } else {
            manager->Stop(0);
        }
        return;
    }
    if (pending_.Remove(task)) {
        MakeIdle(task);
        RefreshQueuePane();
    }
}

void TasksTree::OnPauseAll() {
    if (DownloadManager* manager = Manager())
        if (RunningTask()) manager->Stop(0);
    const std::vector<PendingStarts::Entry> entries = pending_.Entries();
    pending_.Clear();
    for (const PendingStarts::Entry& entry : entries) MakeIdle(entry.task);
    RefreshQueuePane();
}

void TasksTree::OnNewTask(bool templated) {
    std::unique_ptr<TaskOptions> task;
    TaskDialogResult result = TaskDialogResult::Cancel;
    HWND owner = FrameWindow();
    if (templated) {
        auto* made = new ConstructLinkTask();
        task.reset(made);
        result = dialogs_->NewTemplateTask(owner, *made);
    } else {
        auto* made = new SearchLinkTask();
        task.reset(made);
        made->StartingAddresses.assign(1, StartingAddress());
        ApplyPageHandOver(*made, ReadClipboardText(m_hWnd));
        result = dialogs_->NewTask(owner, *made);
    }
    if (result != TaskDialogResult::Ok && result != TaskDialogResult::StartNow) return;
    TaskOptions* added = task.release();
    tasks_.push_back(added);
    HTREEITEM item = InsertTaskItem(added, NewItemParent(), kIdle);
    tree_.Expand(tree_.GetParentItem(item));
    tree_.SelectItem(item);
    if (result == TaskDialogResult::StartNow) StartTask(DownloadManager::kStartOrResume);
}

void TasksTree::OnTaskOptions() {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    const std::string oldName = task->TaskName;
    dialogs_->TaskOptionsOf(::GetActiveWindow(), *task);
    ShowNewName(task, oldName);
}

void TasksTree::OnOpenStartUrl() {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    const std::string address = task->GetDisplayUrl();
    // Only a web address goes to the shell: a task file's text never names a program to run.
    if (!IsWebAddress(address)) return;
    const std::string url = WebAddressToOpen(address);
    if (!UserPrompts().ShellExecute(m_hWnd, "open", url, "", "", SW_SHOW))
        UserPrompts().ShellExecute(m_hWnd, "open", "iexplore.exe", "\"" + url + "\"", "", SW_SHOW);
}

void TasksTree::OnBrowseTaskFolder() {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    const std::string folder = TaskSaveFolder(*task, frame_ ? frame_->GetSettings() : nullptr);
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    // Opened through explorer with the folder as its quoted argument: never run as a program.
    UserPrompts().ShellExecute(m_hWnd, "open", "explorer.exe", "\"" + folder + "\"", "", SW_SHOWNORMAL);
}

void TasksTree::OnClearTaskFolder() {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    const std::string caption = LocalText(IDS_CAPTION_WARNING);
    if (IsPendingOrRunning(task)) {
        UserPrompts().MessageBox(m_hWnd, LocalText(IDS_CLEAR_FOLDER_BUSY), caption, MB_OK | MB_ICONWARNING);
        return;
    }
    const std::string folder = TaskSaveFolder(*task, frame_ ? frame_->GetSettings() : nullptr);
    if (!IsClearableFolder(folder, GetAppDirectory())) {
        UserPrompts().MessageBox(m_hWnd, FillInTexts(LocalText(IDS_CLEAR_FOLDER_UNSAFE), {folder}, kMessageMax),
                                 caption, MB_OK | MB_ICONWARNING);
        return;
    }
    const std::string question = FillInTexts(LocalText(IDS_CLEAR_FOLDER_QUESTION), {folder}, kMessageMax);
    if (UserPrompts().MessageBox(m_hWnd, question, LocalText(IDS_CAPTION_QUESTION),
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    const bool cleared = ClearFolderContents(folder);
    task->DownloadedImages.Clear();
    task->SaveDownloads();
    RefreshTaskItem(task);
    if (frame_ && frame_->GetDownloadViews().ImagesContainer()) frame_->GetDownloadViews().ImagesContainer()->OnImagesCleared(task);
    if (!cleared)
        UserPrompts().MessageBox(m_hWnd, FillInTexts(LocalText(IDS_CLEAR_FOLDER_FAILED), {folder}, kMessageMax),
                                 caption, MB_OK | MB_ICONWARNING);
}

void TasksTree::OnLocateImages() {
    TaskOptions* task = GetSelectedTask();
    if (!task) return;
    std::string folder = TaskSaveFolder(*task, frame_ ? frame_->GetSettings() : nullptr);
    if (!UserPrompts().BrowseForFolder(::GetActiveWindow(), LocalText(IDS_LOCATE_IMAGES_TITLE), folder)) return;
    task->LocateImages(folder, frame_);
    RefreshTaskItem(task);
    // The records point at new places: the views read them again.
    if (frame_ && frame_->GetDownloadViews().ImagesContainer()) frame_->GetDownloadViews().ImagesContainer()->OnImagesCleared(task);
    ShowPictures(task);
}
