#pragma once
// Runs one download task at a time: the run's queue and maps, a scheduler on a window timer that
// starts one worker thread per address, the handling of each finished worker (retry, log, save
// the picture or scan the page for links), the status line, the error log, and the periodic
// save that lets a stopped task continue where it stopped. Everything here runs on the UI
// thread; workers reach it only through posted WM_USER+1 records. A page's links are found by
// the worker that fetched it and taken into the queue here a slice at a time.
#include <windows.h>
#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/ConnectionSetup.h"
#include "core/DownloadList.h"
#include "core/ErrorLog.h"
#include "core/PageLinkHandOver.h"
#include "core/PictureSaver.h"
#include "core/RecordMailbox.h"
#include "core/UrlQueue.h"
#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"

class DownloadThread;
class PictureWriteJob;
class Threadable;
class IDownloadViews;
class MyBasicAuthObject;
class CAtlHttpClientT;
class ProgramSettings;
class TaskEnqueueHost;
class TaskOptions;

class DownloadManager : public CWindowImplBase, private CIdleHandler, private CMessageFilter {
public:
    enum StartMode { kStartOrResume = 0, kRestart = 1, kReloadImages = 2, kRetryAllErrors = 3, kRetrySelectedError = 4 };
    // Why a run is ended before it ran out of work: the user paused it (or the program closes),
    // the abort rule (repeated network failures), or its task is being deleted.
    enum StopReason { kStopPause = 0, kStopRepeatedFailures = 1, kStopTaskDeleted = 2 };
    static const UINT kSchedulerTimer = 1;
    static const UINT kSaveTimer = 2;
    static const UINT kSchedulerPeriod = 200;
    // While workers' notices keep coming, records are collected on this timer instead.
    static const UINT kDrainTimer = 3;
    static const UINT kDrainPeriod = 10;
    // Notices are taken as they come until the queue has not run dry for this long.
    static const DWORD kQuietQueueGapMs = 100;
    // The status line, the task's item, the statistics and the last picture shown change at
    // most this often; new pictures join the picture views at most every kImagesAnnouncePeriodMs.
    static const DWORD kViewRefreshPeriodMs = 150;
    static const DWORD kImagesAnnouncePeriodMs = 500;
    // A scanned page's links join the queue in slices of at most kHandOverSliceLinks links and
    // about kHandOverSliceMs, one slice per tick of this timer: timers come only when no other
    // message waits, so input and painting get their turn between slices.
    static const UINT kHandOverTimer = 4;
    static const UINT kHandOverPeriod = 10;
    static const size_t kHandOverSliceLinks = 2048;
    static const DWORD kHandOverSliceMs = 20;
    static const int64_t kHeaderSlack = 16384;

    DECLARE_WND_CLASS("Brackenfly_DownloadManager")

    DownloadManager(ProgramSettings* settings, IDownloadViews* views);
    ~DownloadManager() override;

    // Creates the manager's window (a child of parent) with its list.
    HWND CreateManagerWindow(HWND parent);

    // Starts a run; ignored unless idle. A null task keeps the current one.
    void Start(TaskOptions* task, int mode);
    // Ends a run at once (a StopReason).
    void Stop(int reason);
    // No new worker starts; pages in flight stop, pictures in flight complete.
    void FinishDownloadingAndPause();

    bool IsIdle() const { return idle_; }
    bool IsPaused() const { return paused_; }
    TaskOptions* GetTask() const { return task_; }
    // The task a run is active for; null while idle (the last task is kept after its run).
    TaskOptions* GetRunningTask() const { return idle_ ? nullptr : task_; }
    // The task is about to be deleted: an idle manager lets go of it. False while it runs it.
    bool ForgetTask(const TaskOptions* task);
    // Totals over the program's lifetime.
    int64_t LifetimeBytes() const { return lifetimeBytes_; }
    int32_t LifetimeImages() const { return lifetimeImages_; }
    int32_t LifetimeGivenUp() const { return lifetimeGivenUp_; }
    int32_t ImagesDownloaded() const { return imagesDownloaded_; }
    int32_t ErrorsInRun() const { return errorsInRun_; }
    int32_t LastResultCode() const { return lastResultCode_; }
    size_t WorkerCount() const { return workers_.size(); }
    // Pictures handed to the disk and not yet reported back.
    size_t PendingWrites() const { return writers_.size(); }
    // Scanned pages whose links are not all in the queue yet.
    size_t PendingPages() const { return handOvers_.size(); }
    int64_t SchedulerTicks() const { return ticks_; }
    // The tick's period, kSchedulerPeriod unless a test lengthens it; taken at the next arming.
    void SetSchedulerPeriod(UINT milliseconds) { schedulerPeriod_ = milliseconds ? milliseconds : kSchedulerPeriod; }
    const UrlQueue& Queue() const { return queue_; }
    DownloadList& List() { return list_; }
    // The status line as last shown.
    std::string StatusLine() const;
    // The task was given another name: a status line that names the manager's task (running or
    // run last) names it anew.
    void TaskRenamed(const TaskOptions* task, const std::string& oldName);

    BEGIN_MSG_MAP(DownloadManager)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_USER + 1, OnDownloadData)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDownloadData(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    // Handles a record of its own (lParam, may be 0) and every record in the box.
    void TakeRecords(LPARAM record);
    // The drain timer, or the message loop's idle moment, whichever comes first: the queue ran
    // dry; notices come straight in again.
    void OnDrainTimer();
    BOOL OnIdle() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // During a run the manager watches the thread's message loop (when it has one): its idle
    // moments, and every message while notices are held back.
    void WatchLoop(bool watch);
    // Ends the held-back notices: the next record posts one again.
    void EndDraining();

    // Scheduler.
    void Tick();
    // A worker's final record came in: take its result and fill the freed slot now.
    void OnWorkerEnded();
    // Reaps, fills free slots, applies the abort rule and ends a run that has nothing left.
    // True while the run goes on.
    bool Schedule(bool fromTick);
    void ReapFinishedWorkers();
    void ReapFinishedWrites();
    // Waits for every picture write under way and takes its result.
    void FinishPendingWrites();
    // Waits for and deletes the workers and write jobs whose results have been taken.
    void DeleteEndedWorkers();
    bool StartWorkers();
    bool TakeNextUrl(UrlQueueEntry& entry);
    DownloadThread* MakeWorker(const UrlQueueEntry& entry);
    void SetUpConnection(const UrlQueueEntry& entry, std::vector<MyBasicAuthObject*>& auth, CAtlHttpClientT* client);
    void Finish(int reason);
    void SeedQueue(int mode);
    // The run cannot begin (its resume file cannot be read, or its save folder cannot take
    // pictures): the task is left as it was and the user told why in text.
    void RefuseStart(const std::string& text);
    void EnqueueAddress(const std::string& address);
    void EnqueueLinks(const std::vector<std::string>& links, const UrlQueueEntry& referrer);
    std::unique_ptr<TaskEnqueueHost> MakeEnqueueHost();
    void SaveState();

    // Results (DownloadManagerResults.cpp). True when the worker went on to a picture write
    // job, which owns it from then on.
    bool HandleResult(DownloadThread* worker);
    bool HandleCompleted(DownloadThread* worker, const UrlQueueEntry& entry);
    bool PastMaximumSize(DownloadThread* worker, int64_t received) const;
    bool PassesFilter(DownloadThread* worker, const uint8_t* body, size_t count, uint64_t contentLength,
                      const std::string& contentType);
    // Chooses the picture's name and hands the write to a pool thread; true when it did.
    bool SavePicture(DownloadThread* worker, const UrlQueueEntry& entry);
    // A write is over: record the picture, or report why it is not stored.
    void FinishWrite(PictureWriteJob* job);
    // systemError: why, as the system tells it.
    void ReportWriteFailure(const UrlQueueEntry& entry, const std::string& path, unsigned long systemError);
    // Takes the links the worker found on its page (and tells of a page capped).
    void TakePageLinks(DownloadThread* worker, const UrlQueueEntry& entry);
    // A page or picture too big for the memory left: the download is given up and logged.
    void GiveUpOutOfMemory(const UrlQueueEntry& entry);
    // Links of scanned pages (DownloadManagerHandOver.cpp). The first page waiting takes its
    // first slice at once; the rest follow on the hand-over timer.
    void BeginHandOver(const UrlQueueEntry& page, int32_t workerNumber, std::vector<FoundLink> links);
    void HandOverLinks();
    void OnHandOverTimer();
    bool HandingOver(int32_t workerNumber) const;
    // A stop: pages whose links are not all in go back to the queue; their other links never come.
    void DropHandOvers();
    // False for a worker's final record, which carries no progress.
    bool HandleProgress(LPARAM record);
    // Handles every record in the box; true when a worker's final record was among them.
    bool TakeMailbox();
    DownloadThread* FindWorker(int32_t number) const;
    // The finish message's detail: the last error (when the run was stopped or nothing
    // succeeded) and the pictures that could not be written.
    std::string ResultText(int reason) const;
    std::string LastErrorText(int reason) const;

    // Status line and views (DownloadManagerViews.cpp). What changes per picture or record is
    // noted here and shown by UpdateViews, so its cost does not grow with the run's speed.
    void ShowStatus(const std::string& text);
    // The status line is due for a refresh.
    void RefreshStatusLine();
    void NoteImageAdded(int index);
    // The picture views get the records appended since the last call (before anything that
    // changes indices: a removal or clearing).
    void AnnounceImages();
    // When the period has passed (or now): appends the new rows and refreshes what is due.
    void UpdateViews(bool now);
    ErrorLogOptions LogOptions() const;
    std::string TaskName() const;

    ProgramSettings* settings_;
    IDownloadViews* views_;
    DownloadList list_;
    UrlQueue queue_;
    TaskOptions* task_ = nullptr;
    std::vector<DownloadThread*> workers_;
    // Picture writes under way, in the order they were handed out.
    std::vector<PictureWriteJob*> writers_;
    // Reaped workers and write jobs whose threads may still be ending.
    std::vector<Threadable*> endedWorkers_;
    // Scanned pages whose links are being taken into the queue, in the order they were reaped,
    // and the enqueue rules' view of the task, kept while any is.
    std::deque<std::unique_ptr<PageLinkHandOver>> handOvers_;
    std::unique_ptr<TaskEnqueueHost> handOverHost_;
    // Worker records on their way to this window.
    RecordMailbox mailbox_;
    ErrorLog errorLog_;
    // The task's saved paths for name clashes; a record dropped meanwhile only costs a number.
    PictureNameIndex pictureNames_;
    ProxyOptions systemProxy_;
    int32_t imagesDownloaded_ = 0;
    int32_t errorsInRun_ = 0;
    int32_t writeFailures_ = 0;   // pictures of this run that could not be written
    // The folder of the first of them and the system's reason, for the run's result.
    std::string firstWriteFailure_;
    std::string firstWriteFailureReason_;
    // Where this run saves its pictures, as its start found it usable.
    std::string saveFolder_;
    bool idle_ = true;
    bool paused_ = true;
    // Set while Stop waits for workers and while a run is being set up: Start and Stop coming
    // in through messages dispatched meanwhile are refused.
    bool busy_ = false;
    int32_t lastResultCode_ = -2;
    int32_t consecutiveNetFailures_ = 0;
    bool nothingSucceeded_ = false;
    int runMode_ = 0;
    time_t lastConnectionStart_ = 0;
    DWORD lastTickTime_ = 0;
    // Set while the scheduler works: a worker's end seen meanwhile waits for its next pass.
    bool scheduling_ = false;
    UINT schedulerPeriod_ = kSchedulerPeriod;
    // Scheduler ticks since construction.
    int64_t ticks_ = 0;
    // Retrying listed errors runs only those addresses; the task's saved queue waits here and
    // goes back into the resume file when the retry run ends.
    std::vector<UrlQueueEntry> parkedQueue_;
    std::vector<std::pair<std::string, UrlQueueEntry>> parkedProcessed_;
    bool hasParkedQueue_ = false;
    int64_t lifetimeBytes_ = 0;
    int32_t lifetimeImages_ = 0;
    int32_t lifetimeGivenUp_ = 0;
    std::string statusLine_;
    struct PendingViewUpdates {
        int firstImage = 0;
        int images = 0;          // appended records the picture views have not been told of
        bool showImage = false;  // the newest picture is still to be shown
        bool taskItem = false;
        bool counters = false;
        bool status = false;
    };
    PendingViewUpdates pendingViews_;
    DWORD lastViewRefresh_ = 0;
    DWORD lastImagesAnnounce_ = 0;
    // Notices are held back and records collected between messages, at the loop's next idle
    // moment, or on the drain timer (without a loop of ours, as in a modal one).
    bool draining_ = false;
    CMessageLoop* watchedLoop_ = nullptr;
    // When the queue was last seen to run dry (a timer of this window came in).
    DWORD lastQuietQueue_ = 0;
};
