// The download manager's view updates: noted per picture and record, shown in batches.
#include "core/DownloadManager.h"

#include "core/DownloadManagerTexts.h"
#include "core/DownloadViews.h"
#include "core/TaskOptions.h"
#include "resources/engine_ids.h"

void DownloadManager::ShowStatus(const std::string& text) {
    statusLine_ = text;
    pendingViews_.status = false;
    if (views_) views_->SetStatusLine(text);
}

std::string DownloadManager::StatusLine() const { return statusLine_; }

void DownloadManager::TaskRenamed(const TaskOptions* task, const std::string& oldName) {
    if (!task || task != task_) return;
    // Every status line of a run leads with the task's name; a title another view put there
    // since (the idle monitor's) is left alone.
    const std::string prefix = EngineText(IDS_STATUS_TASK_PREFIX);
    const std::string line = views_ ? views_->GetStatusLine() : statusLine_;
    const std::string named = prefix + oldName;
    if (line.compare(0, named.size(), named) != 0) return;
    ShowStatus(prefix + task_->TaskName + line.substr(named.size()));
}

void DownloadManager::RefreshStatusLine() { pendingViews_.status = true; }

void DownloadManager::NoteImageAdded(int index) {
    // Appends are consecutive: anything that moves indices announces the pending ones first.
    if (pendingViews_.images == 0) pendingViews_.firstImage = index;
    ++pendingViews_.images;
    pendingViews_.showImage = true;
    pendingViews_.taskItem = true;
}

void DownloadManager::AnnounceImages() {
    PendingViewUpdates& p = pendingViews_;
    if (p.images == 0) return;
    const int first = p.firstImage, count = p.images;
    p.images = 0;
    if (views_ && views_->ImagesContainer()) views_->ImagesContainer()->OnImagesAdded(task_, first, count, false);
}

void DownloadManager::UpdateViews(bool now) {
    const DWORD time = GetTickCount();
    if (!now && time - lastViewRefresh_ < kViewRefreshPeriodMs) return;
    lastViewRefresh_ = time;
    // A picture view's count change redraws its scroll bar, which costs 5 to 50 ms under Wine
    // whatever it adds: new rows join the views on a longer period than the texts change.
    if (now || time - lastImagesAnnounce_ >= kImagesAnnouncePeriodMs) {
        lastImagesAnnounce_ = time;
        AnnounceImages();
    }
    PendingViewUpdates& p = pendingViews_;
    if (!task_) {
        p = PendingViewUpdates();
        return;
    }
    if (p.taskItem && views_ && views_->TasksTree()) views_->TasksTree()->RefreshTaskItem(task_);
    // Only the newest picture is shown, once per period, however many came in.
    if (p.showImage && views_ && views_->ImagesContainer()) {
        const int newest = task_->DownloadedImages.GetCount() - 1;
        if (newest >= 0) views_->ImagesContainer()->OnImagesAdded(task_, newest + 1, 0, true);
    }
    if (p.counters && views_ && views_->DownloadStatDlg()) views_->DownloadStatDlg()->UpdateCounters();
    p.taskItem = p.showImage = p.counters = false;
    if (p.status) ShowStatus(BuildStatusLine(TaskName(), queue_.QueueSize(), imagesDownloaded_, errorsInRun_));
}
