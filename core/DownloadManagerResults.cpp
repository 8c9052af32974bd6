// The download manager's handling of what workers bring: progress records, finished downloads,
// the download filter, saved pictures and scanned pages.
#include "core/DownloadManager.h"

#include "core/CAtlHttpClientT.h"
#include "core/DownloadDataMessage.h"
#include "core/DownloadFilter.h"
#include "core/DownloadManagerTexts.h"
#include "core/DownloadThread.h"
#include "core/DownloadViews.h"
#include "core/PathHelpers.h"
#include "core/PictureSaver.h"
#include "core/PictureWriteJob.h"
#include "core/ProgramSettings.h"
#include "core/SystemErrorText.h"
#include "core/TaskOptions.h"
#include "framework/AppModule.h"
#include "resources/engine_ids.h"

#include <algorithm>
#include <new>

static_assert(ErrorLog::kReadBadStatusLine == CAtlHttpClientT::kReadBadStatusLine &&
                  ErrorLog::kReadBadHeader == CAtlHttpClientT::kReadBadHeader &&
                  ErrorLog::kReadBodyFailed == CAtlHttpClientT::kReadBodyFailed &&
                  ErrorLog::kReadChunkedFailed == CAtlHttpClientT::kReadChunkedFailed,
              "the error log names the client's read results");

namespace {

// Digits only, at most 18 of them: a hostile header cannot overflow the value.
uint64_t ParseLength(const std::string& text) {
    uint64_t value = 0;
    size_t i = text.find_first_not_of(" \t");
    for (size_t digits = 0; i != std::string::npos && i < text.size() && text[i] >= '0' && text[i] <= '9';
         ++i, ++digits) {
        if (digits >= 18) return 0;
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    return value;
}

int32_t Clamp32(int64_t value) {
    return value < 0 ? 0 : value > 0x7fffffff ? 0x7fffffff : static_cast<int32_t>(value);
}

}  // namespace

DownloadThread* DownloadManager::FindWorker(int32_t number) const {
    for (DownloadThread* w : workers_)
        if (w->GetNumber() == number) return w;
    return nullptr;
}

LRESULT DownloadManager::OnDownloadData(UINT, WPARAM, LPARAM lParam, BOOL&) {
    // Notices that keep coming would leave the queue no moment to run dry, and painting, timers
    // and input only get their turn then: past the gap, the next records wait for the drain timer.
    if (!idle_ && !draining_ && GetTickCount() - lastQuietQueue_ >= kQuietQueueGapMs) {
        draining_ = true;
        SetTimer(m_hWnd, kDrainTimer, kDrainPeriod, nullptr);
    }
    TakeRecords(lParam);
    return 0;
}

void DownloadManager::OnDrainTimer() {
    EndDraining();
    if (!idle_) TakeRecords(0);
}

BOOL DownloadManager::OnIdle() {
    // Every moment the queue runs dry counts: notices are held back only when it truly never does.
    lastQuietQueue_ = GetTickCount();
    if (draining_) OnDrainTimer();
    return FALSE;
}

BOOL DownloadManager::PreTranslateMessage(MSG*) {
    // While notices are held back, records are taken between any two messages (a paint, a timer,
    // input): a worker that has finished waits for one message at most, not for the drain timer.
    if (draining_ && !idle_ && mailbox_.HasRecords()) TakeRecords(0);
    return FALSE;
}

void DownloadManager::WatchLoop(bool watch) {
    // A loop that has left the module meanwhile took its handlers with it.
    if (watchedLoop_ && watchedLoop_ == g_Module.GetMessageLoop()) {
        watchedLoop_->RemoveIdleHandler(this);
        watchedLoop_->RemoveMessageFilter(this);
    }
    watchedLoop_ = nullptr;
    if (!watch) return;
    if (CMessageLoop* loop = g_Module.GetMessageLoop()) {
        loop->AddIdleHandler(this);
        loop->AddMessageFilter(this);
        watchedLoop_ = loop;
    }
}

void DownloadManager::EndDraining() {
    if (draining_ && m_hWnd) KillTimer(m_hWnd, kDrainTimer);
    draining_ = false;
}

void DownloadManager::TakeRecords(LPARAM lParam) {
    {
        DownloadList::Batch batch(list_);
        // A record of its own in the message, or the notice that the box holds some: every record
        // that came in meanwhile is taken in one go, so a flood of them costs one pass of view updates.
        bool ended = lParam && !HandleProgress(lParam);
        if (TakeMailbox()) ended = true;
        if (ended) OnWorkerEnded();
    }
    // A run that just ended shows its emptied list at once.
    if (idle_) list_.FlushRedraw();
    if (!idle_ && !scheduling_ && GetTickCount() - lastTickTime_ >= 2 * schedulerPeriod_) Tick();
    if (!idle_) UpdateViews(false);
}

bool DownloadManager::TakeMailbox() {
    std::vector<DownloadDataMessage*> records;
    mailbox_.TakeAll(records, draining_ && !idle_);
    bool ended = false;
    for (DownloadDataMessage* m : records)
        if (!HandleProgress(reinterpret_cast<LPARAM>(m))) ended = true;
    return ended;
}

bool DownloadManager::HandleProgress(LPARAM record) {
    DownloadDataMessage* m = DownloadDataMessage::FromLParam(record);
    if (!m) return true;
    const bool finished = m->finished;
    DownloadThread* worker = FindWorker(m->workerNumber);
    if (worker) {
        if (finished) worker->MarkEndNoticed();
        else worker->RecordTaken();
        if (m->bytesRead > 0) lifetimeBytes_ += m->bytesRead;
        pendingViews_.counters = true;
        list_.UpdateProgress(m->workerNumber, Clamp32(m->contentLength), m->bytesRead);
        // The page is in and its worker is looking for its links.
        if (m->scanning) list_.FinishRow(m->workerNumber, true, false);
        // A final record only counts: the whole body gets the filter when the result is taken.
        if (!finished && !m->scanning) {
            if (PastMaximumSize(worker, list_.BytesReceived(m->workerNumber))) {
                // A picture sent without a length is held to the maximum size as it arrives.
                worker->Stop(true);
            } else if (m->hasBody && !worker->IsFilterDecided() &&
                       !PassesFilter(worker, m->body.data(), m->body.size(),
                                     static_cast<uint64_t>(std::max<int64_t>(0, m->contentLength)), m->contentType)) {
                worker->Stop(true);
            }
        }
    }
    delete m;
    return !finished;
}

bool DownloadManager::PastMaximumSize(DownloadThread* worker, int64_t received) const {
    // Header bytes are counted too; a few kilobytes of slack keep pictures at the limit.
    return worker->GetEntry().isImage && task_->MaximumSize.enabled && task_->MaximumSize.value >= 0 &&
           received > int64_t(task_->MaximumSize.value) * 1024 + kHeaderSlack;
}

bool DownloadManager::PassesFilter(DownloadThread* worker, const uint8_t* body, size_t count, uint64_t contentLength,
                                   const std::string& contentType) {
    DownloadFilterLimits limits;
    limits.minimumWidthOn = task_->MinimumWidth.enabled;
    limits.minimumWidth = task_->MinimumWidth.value;
    limits.minimumHeightOn = task_->MinimumHeight.enabled;
    limits.minimumHeight = task_->MinimumHeight.value;
    limits.minimumSizeOn = task_->MinimumSize.enabled;
    limits.minimumSize = task_->MinimumSize.value;
    limits.maximumSizeOn = task_->MaximumSize.enabled;
    limits.maximumSize = task_->MaximumSize.value;
    const UrlQueueEntry& entry = worker->GetEntry();
    DownloadFilterVerdict verdict =
        RunDownloadFilter(limits, entry.isImage != 0, entry.extension, body, count, contentLength, contentType);
    if (verdict.decided) worker->SetFilterDecided(true);
    return verdict.accept;
}

bool DownloadManager::HandleResult(DownloadThread* worker) {
    UrlQueueEntry entry = worker->GetEntry();
    queue_.RemoveInProgress(entry.url);
    CAtlHttpClientT* client = worker->GetClient();
    const int code = client ? client->GetStatus() : -1;
    lastResultCode_ = code > 0 ? code : -1;
    const int32_t status = worker->GetStatus();
    bool requeued = false;
    if (status == DownloadThread::kStopped) {
        queue_.PushBack(entry);
        requeued = true;
    } else if (status == DownloadThread::kFailed) {
        if (task_->AllowRetry(entry.retryCount) && entry.retryCount < settings_->MaxAttempts - 1) {
            ++entry.retryCount;
            queue_.PushBack(entry);
            requeued = true;
        } else {
            ++errorsInRun_;
            ++lifetimeGivenUp_;
            errorLog_.WriteLine(LogOptions(), code, worker->GetLastSocketError(),
                                client ? client->GetLastReadResult() : -1, entry.url,
                                views_ ? views_->ErrorsViewer() : nullptr);
        }
    } else if (status == DownloadThread::kSkipped && worker->PastTheClientsCeiling()) {
        // Beyond what any download may bring: fetching it again would end the same way, but the
        // user is told why it is missing (one above the task's own maximum size is the user's choice).
        ++errorsInRun_;
        ++lifetimeGivenUp_;
        const std::string megabytes = std::to_string(CAtlHttpClientT::kDefaultMaxBody / (1024 * 1024));
        errorLog_.WriteReasonLine(LogOptions(),
                                  EngineText(IDS_LOG_NET_ERROR) + WithTexts(EngineText(IDS_LOG_TOO_LARGE), {megabytes}),
                                  entry.url, views_ ? views_->ErrorsViewer() : nullptr);
    }
    list_.FinishRow(worker->GetNumber(), status == DownloadThread::kDone, false);
    if (lastResultCode_ == -1) ++consecutiveNetFailures_;
    else consecutiveNetFailures_ = 0;
    const int32_t number = worker->GetNumber();
    bool handedOver = false;
    if (status == DownloadThread::kDone) {
        try {
            handedOver = HandleCompleted(worker, entry);
        } catch (const std::bad_alloc&) {
            // A page or picture too big for the memory left: this download fails, the run and
            // the program go on.
            worker->SetStatus(DownloadThread::kFailed);
            GiveUpOutOfMemory(entry);
        }
    }
    // A page stays in progress, its row showing it parsed, until its links are all in the queue.
    if (HandingOver(number)) return handedOver;
    if (!requeued) queue_.MarkProcessed(entry);
    list_.FinishRow(number, false, true);
    RefreshStatusLine();
    return handedOver;
}

bool DownloadManager::HandleCompleted(DownloadThread* worker, const UrlQueueEntry& entry) {
    nothingSucceeded_ = false;
    lastResultCode_ = -2;
    CAtlHttpClientT* client = worker->GetClient();
    std::string type, length;
    client->GetHeader("Content-Type", type);
    if (type.size() > 4095) type.resize(4095);
    client->GetHeader("Content-Length", length);
    if (type.empty()) {
        worker->SetStatus(DownloadThread::kSkipped);
        return false;
    }
    const uint8_t* body = client->GetBody();
    const size_t count = static_cast<size_t>(client->GetBodyLength());
    // The whole body is here, so its real size stands in for a missing Content-Length.
    uint64_t declared = ParseLength(length);
    if (!PassesFilter(worker, body, count, declared ? declared : count, type)) {
        worker->SetStatus(DownloadThread::kSkipped);
        return false;
    }
    if (entry.isImage) return SavePicture(worker, entry);
    TakePageLinks(worker, entry);
    return false;
}

bool DownloadManager::SavePicture(DownloadThread* worker, const UrlQueueEntry& entry) {
    PicturePlace place;
    std::string path;
    // An address that would lead out of the folder, or a name numbered beyond reason.
    unsigned long refused = ERROR_BAD_PATHNAME;
    if (PlanPicturePlace(task_->ImageSaveType, saveFolder_, entry, place)) {
        path = ChooseUnlistedPicturePath(place, pictureNames_);
        refused = ERROR_FILE_EXISTS;
    }
    if (path.empty()) {
        ReportWriteFailure(entry, place.folder + place.name, refused);
        return false;
    }
    // Taken from now on: another picture of the same name coming in meanwhile gets a number.
    pictureNames_.Add(path);
    PictureWriteJob* job = new PictureWriteJob(worker, path, place);
    writers_.push_back(job);
    if (job->Start() != 0) {
        // No thread to write on: write here.
        writers_.pop_back();
        job->WriteHere(path);
        FinishWrite(job);
        endedWorkers_.push_back(job);
    }
    return true;
}

void DownloadManager::FinishWrite(PictureWriteJob* job) {
    PictureWriteResult result = job->GetResult();
    // A file of that name was on disk though the task does not list it: the disk is asked for a
    // free name now. Rare (a restarted task whose files are still there), so done right here.
    for (int tries = 0; result == PictureWriteResult::kNameTaken && tries < 3; ++tries) {
        std::string path = ChooseFreePicturePath(job->GetPlace(), pictureNames_);
        if (path.empty()) break;
        pictureNames_.Add(path);
        result = job->WriteHere(path);
    }
    const UrlQueueEntry& entry = job->GetEntry();
    const std::string& path = job->GetPath();
    if (result != PictureWriteResult::kWritten && result != PictureWriteResult::kAlreadyThere) {
        // Not recorded: the user would find no file behind the record.
        const unsigned long error = result == PictureWriteResult::kNameTaken ? ERROR_FILE_EXISTS : job->GetError();
        ReportWriteFailure(entry, path, error ? error : ERROR_WRITE_FAULT);
        return;
    }
    // The name index (letter case ignored) already keeps a listed path from being chosen twice.
    ImageRecordList& images = task_->DownloadedImages;
    images.Append(MakePictureRecord(entry, path, job->BodySize()));
    NoteImageAdded(images.GetCount() - 1);
    ++imagesDownloaded_;
    ++lifetimeImages_;
    pendingViews_.counters = true;
    RefreshStatusLine();
}

void DownloadManager::ReportWriteFailure(const UrlQueueEntry& entry, const std::string& path,
                                         unsigned long systemError) {
    ++errorsInRun_;
    ++writeFailures_;
    const std::string reason = SystemErrorText(systemError);
    if (firstWriteFailure_.empty()) {
        std::string name;
        SplitPathAtLastBackslash(path, firstWriteFailure_, name);
        if (firstWriteFailure_.empty()) firstWriteFailure_ = path;
        firstWriteFailureReason_ = reason;
    }
    // The reason first: the errors view's column shows the beginning of the text.
    errorLog_.WriteReasonLine(LogOptions(), WithTexts(EngineText(IDS_LOG_FILE_ERROR), {reason, path}), entry.url,
                              views_ ? views_->ErrorsViewer() : nullptr);
    RefreshStatusLine();
}

void DownloadManager::TakePageLinks(DownloadThread* worker, const UrlQueueEntry& entry) {
    std::unique_ptr<PageLinkScan> scan = worker->TakePageScan();
    if (!scan) return;
    // The worker ran out of memory looking for the links: as if it had happened here.
    if (scan->GetOutcome() == PageLinkScan::Outcome::kOutOfMemory) throw std::bad_alloc();
    if (scan->DroppedLinks() > 0 && views_ && views_->MessagesViewer())
        views_->MessagesViewer()->AddMessage(0, WithTaskName(EngineText(IDS_LINKS_DROPPED), entry.url), "");
    if (!scan->Links().empty()) BeginHandOver(entry, worker->GetNumber(), std::move(scan->Links()));
}

void DownloadManager::GiveUpOutOfMemory(const UrlQueueEntry& entry) {
    ++errorsInRun_;
    ++lifetimeGivenUp_;
    errorLog_.WriteReasonLine(LogOptions(), EngineText(IDS_LOG_OUT_OF_MEMORY), entry.url,
                              views_ ? views_->ErrorsViewer() : nullptr);
}

std::string DownloadManager::ResultText(int reason) const {
    std::string text = LastErrorText(reason);
    // Pictures that arrived but could not be stored are a result the user must hear of, even
    // when every download succeeded.
    if (writeFailures_ > 0)
        text += (text.empty() ? "" : "\n\n") +
                WithTexts(EngineText(IDS_RESULT_WRITE_FAILED),
                          {std::to_string(writeFailures_), firstWriteFailure_, firstWriteFailureReason_});
    return text;
}

std::string DownloadManager::LastErrorText(int reason) const {
    if (lastResultCode_ == -2 || lastResultCode_ == 0) return std::string();
    if (reason != kStopRepeatedFailures && !nothingSucceeded_) return std::string();
    // Only a run in which nothing came in may say so; one stopped by repeated failures after
    // some downloads succeeded says why it stopped.
    std::string text =
        EngineText(nothingSucceeded_ ? IDS_NO_ADDRESS_PROCESSED : IDS_STOPPED_AFTER_FAILURES) + EngineText(IDS_LAST_ERROR);
    const int threads = std::max<int32_t>(1, settings_->ThreadsAmount);
    switch (lastResultCode_) {
    case 400: return text + EngineText(IDS_RESULT_400);
    case 401: return text + EngineText(IDS_RESULT_401);
    case 404: return text + EngineText(IDS_RESULT_404);
    case 405: return text + EngineText(IDS_RESULT_405);
    case 407: return text + EngineText(IDS_RESULT_407);
    case 500: return text + EngineText(IDS_RESULT_500);
    case 503: return text + EngineText(IDS_RESULT_503);
    default: break;
    }
    if (lastResultCode_ == -1 && (consecutiveNetFailures_ >= 2 * threads || nothingSucceeded_))
        return text + EngineText(IDS_RESULT_NO_SERVER);
    text += std::to_string(lastResultCode_);
    if (lastResultCode_ >= 400 && lastResultCode_ <= 499) text += EngineText(IDS_RESULT_REQUEST_ERROR);
    else if (lastResultCode_ >= 500 && lastResultCode_ <= 599) text += EngineText(IDS_RESULT_SERVER_ERROR);
    return text;
}
