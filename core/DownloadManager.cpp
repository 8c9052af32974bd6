#include "core/DownloadManager.h"

#include "core/CAtlHttpClientT.h"
#include "core/ConnectionSetup.h"
#include "core/DownloadThread.h"
#include "core/DownloadViews.h"
#include "core/DownloadManagerTexts.h"
#include "core/FileTypes.h"
#include "core/LinkEnqueuer.h"
#include "core/PictureWriteJob.h"
#include "core/ProgramSettings.h"
#include "core/PropertyBag.h"
#include "core/ResumeFile.h"
#include "core/SystemErrorText.h"
#include "core/TaskEnqueueHost.h"
#include "core/TaskOptions.h"
#include "resources/engine_ids.h"

#include <algorithm>

DownloadManager::DownloadManager(ProgramSettings* settings, IDownloadViews* views)
    : settings_(settings), views_(views), errorLog_(settings->GetProgramFolder() + "errors.log") {}

DownloadManager::~DownloadManager() {
    // The window's WM_DESTROY stops the run; without a window the workers are stopped here.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    if (!idle_) Stop(0);
    EndDraining();
    WatchLoop(false);
    for (DownloadThread* w : workers_) delete w;
    workers_.clear();
    for (PictureWriteJob* j : writers_) delete j;
    writers_.clear();
    DeleteEndedWorkers();
}

HWND DownloadManager::CreateManagerWindow(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

LRESULT DownloadManager::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    mailbox_.SetWindow(m_hWnd);
    list_.Create(m_hWnd);
    return 0;
}

LRESULT DownloadManager::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    list_.Layout(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT DownloadManager::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->hwndFrom == list_.Handle() && header->code == NM_CUSTOMDRAW)
        return list_.OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    handled = FALSE;
    return 0;
}

LRESULT DownloadManager::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    // Timers come only when no posted message waits: the queue has just run dry.
    if (wParam == kSchedulerTimer || wParam == kDrainTimer || wParam == kHandOverTimer) lastQuietQueue_ = GetTickCount();
    if (wParam == kSchedulerTimer) Tick();
    else if (wParam == kDrainTimer) OnDrainTimer();
    else if (wParam == kHandOverTimer) OnHandOverTimer();
    else if (wParam == kSaveTimer) SaveState();
    else handled = FALSE;
    return 0;
}

LRESULT DownloadManager::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    Stop(0);
    EndDraining();
    WatchLoop(false);
    mailbox_.SetWindow(nullptr);
    list_.RemoveAll();
    handled = FALSE;
    return 0;
}

std::string DownloadManager::TaskName() const { return task_ ? task_->TaskName : std::string(); }

ErrorLogOptions DownloadManager::LogOptions() const {
    ErrorLogOptions o;
    o.use = settings_->LogFileUse;
    o.clearMode = settings_->LogFileClearMode;
    o.maxSize = settings_->LogFileMaxSize;
    return o;
}

void DownloadManager::Start(TaskOptions* task, int mode) {
    if (!idle_ || busy_) return;
    if (task) task_ = task;
    if (!task_) return;
    busy_ = true;
    RemoveUnknownFileTypes(settings_->Filetypes, task_->Filetypes);
    errorsInRun_ = 0;
    writeFailures_ = 0;
    firstWriteFailure_.clear();
    pendingViews_ = PendingViewUpdates();
    lastViewRefresh_ = lastImagesAnnounce_ = 0;
    EndDraining();
    WatchLoop(true);
    lastQuietQueue_ = GetTickCount();

    ShowStatus(EngineText(IDS_STATUS_TASK_PREFIX) + TaskName() + EngineText(IDS_TASK_IS_STARTED_SUFFIX));
    list_.RemoveAll();
    // A folder that cannot take the pictures would have every one of them downloaded for nothing.
    saveFolder_ = settings_->SaveFolderOf(*task_);
    if (const unsigned long error = PrepareSaveFolder(saveFolder_)) {
        RefuseStart(WithTexts(EngineText(IDS_SAVE_FOLDER_UNUSABLE), {TaskName(), saveFolder_, SystemErrorText(error)}));
        busy_ = false;
        return;
    }
    const std::string cache = task_->GetCacheFilePath();
    if (cache.empty()) {
        queue_.ClearAll();
    } else {
        TaskOptions* t = task_;
        const ResumeLoadResult loaded =
            LoadResumeFile(cache, queue_, imagesDownloaded_, [t](PropertyBag& bag) { t->LoadProgress(bag); });
        // A resume file out of reach holds work this run cannot see; running would write over
        // it. The task is left out and the user told why.
        if (loaded == ResumeLoadResult::Unreadable) {
            RefuseStart(WithTaskName(EngineText(IDS_FILE_UNREADABLE), cache));
            busy_ = false;
            return;
        }
    }
    // Addresses that were in progress when the file was written are work still to do.
    queue_.ClearInProgress();
    if (views_ && views_->TasksTree()) views_->TasksTree()->OnTaskStarted(task_, 0);
    if (views_ && views_->MainFrame()) views_->MainFrame()->OnTaskStarted(task_);
    if (views_ && views_->DownloadGraph()) views_->DownloadGraph()->Start();
    if (views_ && views_->MessagesViewer())
        views_->MessagesViewer()->AddMessage(1, WithTaskName(EngineText(IDS_MSG_TASK_STARTED), TaskName()), "");

    hasParkedQueue_ = false;
    parkedQueue_.clear();
    parkedProcessed_.clear();
    if (mode == kRetryAllErrors || mode == kRetrySelectedError) {
        // Only the listed addresses run; the task's own queue waits for the next resume.
        parkedQueue_ = queue_.QueuedEntries();
        for (const auto& p : queue_.ProcessedInKeyOrder()) parkedProcessed_.emplace_back(*p.first, *p.second);
        hasParkedQueue_ = true;
        queue_.ClearQueue();
        queue_.ClearProcessed();
    } else if (mode != kStartOrResume) {
        queue_.ClearAll();
        imagesDownloaded_ = 0;
    }
    lastResultCode_ = 0;
    consecutiveNetFailures_ = 0;
    nothingSucceeded_ = true;
    runMode_ = mode;
    queue_.SetPreferredEndings(PictureEndings(settings_->Filetypes));
    SeedQueue(mode);
    pictureNames_.Reset(task_->DownloadedImages);
    // Once per run rather than once per download: the registry is slow to ask.
    systemProxy_ = ProxyOptions();
    if (settings_->UseWindowsProxy) systemProxy_.ReadSystemProxyOnce();

    idle_ = false;
    paused_ = false;
    errorLog_.WriteHeader(LogOptions(), TaskName(), views_ ? views_->ErrorsViewer() : nullptr);
    lastTickTime_ = GetTickCount();
    SetTimer(m_hWnd, kSchedulerTimer, schedulerPeriod_, nullptr);
    if (settings_->SaveCacheIntervale > 0) {
        UINT minutes = static_cast<UINT>(std::min<int32_t>(settings_->SaveCacheIntervale, 24 * 60));
        SetTimer(m_hWnd, kSaveTimer, minutes * 60000u, nullptr);
    }
    busy_ = false;
}

void DownloadManager::RefuseStart(const std::string& text) {
    queue_.ClearAll();
    task_->Scheduled = false;
    ShowStatus(text);
    if (views_ && views_->MainFrame()) views_->MainFrame()->OnTaskRefused(task_, text);
    if (views_ && views_->MessagesViewer()) views_->MessagesViewer()->AddMessage(0, text, "");
    // The task's item drops its "scheduled" look; the next pending task gets its turn.
    if (views_ && views_->TasksTree()) views_->TasksTree()->RefreshTaskItem(task_);
    HWND tree = views_ && views_->TasksTree() ? views_->TasksTree()->GetTasksTreeWindow() : nullptr;
    if (tree) ::PostMessageA(tree, WM_APP + 2, 0, 0);
}

void DownloadManager::SeedQueue(int mode) {
    UrlQueueEntry entry;
    if (mode == kReloadImages) {
        const ImageRecordList& images = task_->DownloadedImages;
        for (int i = 0; i < images.GetCount(); ++i)
            if (MakeStartEntry(images.GetAt(i).imageUrl, settings_->Filetypes, entry)) queue_.PushBack(entry);
    } else if (mode == kRetryAllErrors || mode == kRetrySelectedError) {
        IErrorsView* errors = views_ ? views_->ErrorsViewer() : nullptr;
        std::vector<std::string> urls;
        if (errors && mode == kRetryAllErrors) urls = errors->GetUrls();
        if (errors && mode == kRetrySelectedError) {
            std::string selected = errors->GetSelectedUrl();
            if (!selected.empty()) urls.push_back(selected);
        }
        for (const std::string& url : urls) EnqueueAddress(url);
    } else if (queue_.IsQueueEmpty()) {
        imagesDownloaded_ = 0;
        std::string start = task_->GetStartUrl();
        if (!start.empty() && MakeStartEntry(start, settings_->Filetypes, entry)) queue_.PushBack(entry);
    }
    if (mode == kRestart || mode == kReloadImages) {
        AnnounceImages();
        task_->Reset();
        task_->DownloadedImages.Clear();
        if (views_ && views_->ImagesContainer()) views_->ImagesContainer()->OnImagesCleared(task_);
        if (views_ && views_->TasksTree()) views_->TasksTree()->RefreshTaskItem(task_);
    }
}

void DownloadManager::EnqueueAddress(const std::string& address) {
    UrlQueueEntry entry;
    if (MakeStartEntry(address, settings_->Filetypes, entry)) EnqueueLinks({entry.url}, entry);
}

void DownloadManager::EnqueueLinks(const std::vector<std::string>& links, const UrlQueueEntry& referrer) {
    EnqueueFoundLinks(queue_, links, referrer, *MakeEnqueueHost());
}

std::unique_ptr<TaskEnqueueHost> DownloadManager::MakeEnqueueHost() {
    return std::make_unique<TaskEnqueueHost>(
        *task_, settings_->Filetypes,
        [this](int index) {
            AnnounceImages();
            if (views_ && views_->ImagesContainer()) views_->ImagesContainer()->OnImageRemoved(task_, index);
        },
        [this]() { pendingViews_.taskItem = true; });
}

void DownloadManager::Tick() {
    KillTimer(m_hWnd, kSchedulerTimer);
    if (idle_ || scheduling_) return;
    lastTickTime_ = GetTickCount();
    ++ticks_;
    DeleteEndedWorkers();
    bool goesOn;
    {
        DownloadList::Batch batch(list_);
        goesOn = Schedule(true);
    }
    list_.FlushRedraw();
    if (goesOn) SetTimer(m_hWnd, kSchedulerTimer, schedulerPeriod_, nullptr);
    if (!idle_) UpdateViews(false);
}

void DownloadManager::OnWorkerEnded() {
    // The tick keeps running for pacing and the row check boxes; this only takes the result
    // early and fills the slot it frees.
    if (idle_ || scheduling_ || busy_) return;
    Schedule(false);
}

bool DownloadManager::Schedule(bool fromTick) {
    scheduling_ = true;
    ReapFinishedWorkers();
    if (idle_) {   // a dispatched Stop ended the run meanwhile
        scheduling_ = false;
        return false;
    }
    if (fromTick)
        for (int32_t number : list_.UntickedWorkers())
            if (DownloadThread* w = FindWorker(number)) w->Stop(true);

    // Checked before new workers start: an aborted run keeps its queue in order.
    const int threads = std::max<int32_t>(1, settings_->ThreadsAmount);
    if (task_->AbortOnRepeatedFailures() && consecutiveNetFailures_ > 2 * threads) {
        scheduling_ = false;
        Stop(kStopRepeatedFailures);
        return false;
    }
    const bool paced = !paused_ && !StartWorkers();
    // No worker is left to wake the manager: the last pictures are waited for here (a write
    // takes a moment), so the run ends now rather than at the next tick.
    if (!paced && workers_.empty()) FinishPendingWrites();
    scheduling_ = false;
    if (paced || !workers_.empty() || !writers_.empty() || !handOvers_.empty()) return true;
    Finish(0);
    return false;
}

void DownloadManager::ReapFinishedWorkers() {
    ReapFinishedWrites();
    // A worker is reaped once its final record, which carries its last bytes, has been taken;
    // or, should that record be lost, once its thread is done with it. Which threads are done
    // is looked at before the box is emptied: a thread that ends in between has put its final
    // record in the box after the take, and reaping it now would drop that record's bytes.
    DownloadList::Batch batch(list_);
    std::vector<DownloadThread*> threadDone;
    for (DownloadThread* w : workers_)
        if (!w->IsRunning() && w->HasEnded()) threadDone.push_back(w);
    TakeMailbox();
    for (;;) {
        auto done = std::find_if(workers_.begin(), workers_.end(), [&threadDone](DownloadThread* w) {
            return w->EndNoticed() || std::find(threadDone.begin(), threadDone.end(), w) != threadDone.end();
        });
        if (done == workers_.end()) return;
        DownloadThread* worker = *done;
        workers_.erase(done);
        // Its thread is on its way out; the next tick finds it gone rather than waiting now.
        if (!HandleResult(worker)) endedWorkers_.push_back(worker);
    }
}

void DownloadManager::ReapFinishedWrites() {
    for (;;) {
        auto done = std::find_if(writers_.begin(), writers_.end(), [](PictureWriteJob* j) { return !j->IsRunning(); });
        if (done == writers_.end()) return;
        PictureWriteJob* job = *done;
        writers_.erase(done);
        FinishWrite(job);
        endedWorkers_.push_back(job);
    }
}

void DownloadManager::FinishPendingWrites() {
    if (writers_.empty()) return;
    std::vector<Threadable*> writes(writers_.begin(), writers_.end());
    Threadable::WaitForAll(writes.data(), writes.size());
    ReapFinishedWrites();
}

void DownloadManager::DeleteEndedWorkers() {
    for (Threadable* w : endedWorkers_) {
        w->Wait();
        delete w;
    }
    endedWorkers_.clear();
}

bool DownloadManager::StartWorkers() {
    const size_t threads = static_cast<size_t>(std::max<int32_t>(1, settings_->ThreadsAmount));
    while (workers_.size() < threads) {
        time_t now = time(nullptr);
        // A clock set back must not hold connections forever.
        if (now < lastConnectionStart_) lastConnectionStart_ = now - settings_->PauseBetweenConnections;
        if (settings_->PauseBetweenConnections > 0 && now - lastConnectionStart_ < settings_->PauseBetweenConnections)
            return false;
        lastConnectionStart_ = now;
        UrlQueueEntry entry;
        if (!TakeNextUrl(entry)) break;
        DownloadThread* worker = MakeWorker(entry);
        worker->SetMailbox(&mailbox_);
        workers_.push_back(worker);
        list_.AddRow(worker->GetNumber(), entry.url, entry.isImage != 0);
        worker->Start();   // a thread that cannot start leaves status 2 and is reaped next tick
    }
    return true;
}

bool DownloadManager::TakeNextUrl(UrlQueueEntry& entry) {
    for (;;) {
        if (queue_.TakeNext(entry)) return true;
        if (runMode_ >= kReloadImages) return false;
        std::string url;
        if (!task_->GetNextGeneratedUrl(url)) return false;
        UrlQueueEntry referrer;
        EnqueueLinks({url}, referrer);
    }
}

DownloadThread* DownloadManager::MakeWorker(const UrlQueueEntry& entry) {
    CAtlHttpClientT* client = new CAtlHttpClientT;
    std::vector<MyBasicAuthObject*> auth;
    SetUpConnection(entry, auth, client);
    DownloadThread* worker = new DownloadThread(m_hWnd, DownloadThread::NextWorkerNumber(), entry, client, auth,
                                                settings_->SocketTimeout);
    worker->SetCookies(task_->Cookies);
    // The worker itself stops a picture past the maximum size (and the slack the progress check
    // allows for header bytes): it does not wait for its progress records to be looked at, so a
    // server that sends too much and then goes quiet cannot hold the slot. Memory stays bounded.
    if (entry.isImage && task_->MaximumSize.enabled && task_->MaximumSize.value >= 0)
        worker->SetMaxBodyBytes(uint64_t(task_->MaximumSize.value) * 1024u + uint64_t(kHeaderSlack));
    // The task's maximum size is left to the download filter: it applies to pictures only and
    // skips them rather than failing them.
    if (!entry.isImage) {
        PageScanSettings scan;
        scan.tags = settings_->HtmlTagsWithUrls;
        scan.fileTypes = settings_->Filetypes;
        worker->SetPageScan(std::make_unique<PageLinkScan>(entry.url, entry.referrer, std::move(scan)));
    }
    return worker;
}

void DownloadManager::SetUpConnection(const UrlQueueEntry& entry, std::vector<MyBasicAuthObject*>& auth,
                                      CAtlHttpClientT* client) {
    // The settings as they are now; the system proxy as read when the run started.
    ProxyOptions proxy = ProxyOptions::FromSettings(*settings_);
    proxy.systemProxyRead = systemProxy_.systemProxyRead;
    proxy.systemProxyFound = systemProxy_.systemProxyFound;
    proxy.systemProxyHost = systemProxy_.systemProxyHost;
    proxy.systemProxyPort = systemProxy_.systemProxyPort;
    SetUpHttpConnection(entry.url, task_->StartingAddresses, proxy, auth, *client);
}

void DownloadManager::SaveState() {
    if (!task_ || task_->GetCacheFilePath().empty()) return;
    TaskOptions* t = task_;
    auto saveProgress = [t](PropertyBag& bag) { t->SaveProgress(bag); };
    if (!hasParkedQueue_) {
        SaveResumeFile(task_->GetCacheFilePath(), queue_, imagesDownloaded_, saveProgress);
    } else {
        // A retry run keeps the task's own queue parked: the file holds both.
        UrlQueue merged;
        for (const UrlQueueEntry& e : queue_.QueuedEntries()) merged.PushBack(e);
        for (const auto& p : queue_.InProgress()) merged.PushBack(p.second);
        for (const UrlQueueEntry& e : parkedQueue_) merged.PushBack(e);
        for (const auto& p : queue_.ProcessedInKeyOrder())
            if (!merged.IsQueued(*p.first)) merged.MarkProcessed(*p.first, *p.second);
        for (const auto& p : parkedProcessed_)
            if (!merged.IsKnown(p.first)) merged.MarkProcessed(p.first, p.second);
        SaveResumeFile(task_->GetCacheFilePath(), merged, imagesDownloaded_, saveProgress);
    }
    task_->SaveDownloads();
}

void DownloadManager::Finish(int reason) {
    const bool stopped = idle_ || paused_;
    KillTimer(m_hWnd, kSchedulerTimer);
    // No worker is left; the box must post again for the next run.
    EndDraining();
    WatchLoop(false);
    TakeMailbox();
    bool parkedWork = false;
    if (hasParkedQueue_) {
        for (const UrlQueueEntry& e : parkedQueue_) {
            if (queue_.IsProcessed(e.url)) continue;
            queue_.PushBack(e);
            parkedWork = true;
        }
        for (const auto& p : parkedProcessed_)
            if (!queue_.IsKnown(p.first)) queue_.MarkProcessed(p.first, p.second);
        parkedQueue_.clear();
        parkedProcessed_.clear();
        hasParkedQueue_ = false;
    }
    task_->Resume = stopped || parkedWork;
    task_->Scheduled = false;
    if (!task_->Resume) queue_.ClearProcessed();
    KillTimer(m_hWnd, kSaveTimer);
    DeleteEndedWorkers();
    SaveState();
    UpdateViews(true);
    // Stopped by the abort rule or for its task's deletion, paused by the user (or the program's
    // end), or out of work: every view says the same.
    const RunEnd end = !stopped ? RunEnd::kCompleted
                       : idle_ && reason != kStopPause ? RunEnd::kStopped
                                                        : RunEnd::kPaused;
    const std::string result = ResultText(reason);
    const std::string title = views_ ? views_->GetStatusLine() : statusLine_;
    ShowStatus(title.substr(0, 1023) + EngineText(RunEndTitleSuffix(end, !result.empty())));
    list_.RemoveAll();
    idle_ = true;

    if (views_ && views_->TasksTree()) views_->TasksTree()->OnTaskFinished(task_, stopped);
    if (views_ && views_->MainFrame()) views_->MainFrame()->OnTaskCompleted(task_, end, result);
    if (views_ && views_->DownloadGraph()) views_->DownloadGraph()->Stop();
    if (views_ && views_->MessagesViewer())
        views_->MessagesViewer()->AddMessage(result.empty() ? 1 : 0,
                                             WithTaskName(EngineText(RunEndMessage(end, !result.empty())), TaskName()),
                                             result);
    errorLog_.WriteFooter(LogOptions(), TaskName());
    HWND tree = views_ && views_->TasksTree() ? views_->TasksTree()->GetTasksTreeWindow() : nullptr;
    if (tree) ::PostMessageA(tree, WM_APP + 2, 0, 0);
}

void DownloadManager::Stop(int reason) {
    if (idle_ || busy_) return;
    busy_ = true;
    idle_ = true;
    KillTimer(m_hWnd, kSchedulerTimer);
    EndDraining();
    WatchLoop(false);
    DropHandOvers();
    for (DownloadThread* w : workers_) w->Stop(false);
    std::vector<Threadable*> threads(workers_.begin(), workers_.end());
    if (!threads.empty()) Threadable::WaitForAll(threads.data(), threads.size());
    TakeMailbox();   // their last progress counts
    for (DownloadThread* w : workers_) {
        queue_.PushBack(w->GetEntry());
        list_.FinishRow(w->GetNumber(), false, true);
        delete w;
    }
    workers_.clear();
    // Pictures already on their way to the disk are stored and recorded before the lists are
    // saved: a stop never leaves a file the task does not know of.
    FinishPendingWrites();
    queue_.ClearInProgress();
    Finish(reason);
    busy_ = false;
}

bool DownloadManager::ForgetTask(const TaskOptions* task) {
    if (task_ != task) return true;
    if (!idle_ || busy_) return false;
    task_ = nullptr;
    return true;
}

void DownloadManager::FinishDownloadingAndPause() {
    if (idle_) return;
    paused_ = true;
    for (DownloadThread* w : workers_)
        if (!w->GetEntry().isImage) w->Stop(false);
}
