#include "core/DownloadThread.h"

#include "core/BasicAuthObject.h"
#include "core/CAtlHttpClientT.h"
#include "core/DownloadDataMessage.h"
#include "core/RecordMailbox.h"

#include <new>

namespace {

volatile LONG g_nextWorkerNumber = -1;

int64_t ParseContentLength(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    int64_t value = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (++digits > 18)
            return 0;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

DownloadThread::DownloadThread(HWND notifyWindow, int32_t number, const UrlQueueEntry& entry, CAtlHttpClientT* client,
                               const std::vector<MyBasicAuthObject*>& authObjects, int32_t socketTimeoutSeconds)
    : notifyWindow_(notifyWindow), number_(number), entry_(entry), client_(client), authObjects_(authObjects),
      socketTimeout_(socketTimeoutSeconds), status_(kCreated), stop_(0), skip_(0), filterDecided_(0),
      lastSocketError_(0), maxBodyBytes_(0), prefixSent_(0), unreportedBytes_(0), lastRecordTime_(0),
      recordIntervalMs_(kRecordIntervalMs), recordsInFlight_(0) {}

DownloadThread::~DownloadThread() {
    Wait();
    delete client_;
    for (MyBasicAuthObject* a : authObjects_)
        delete a;
}

int32_t DownloadThread::NextWorkerNumber() {
    return static_cast<int32_t>(InterlockedIncrement(&g_nextWorkerNumber));
}

bool DownloadThread::Start() {
    if (IsRunning() || !client_)
        return false;
    EnterCriticalSection(&lock_);
    stop_ = 0;
    skip_ = 0;
    filterDecided_ = 0;
    status_ = kRunning;
    LeaveCriticalSection(&lock_);
    client_->ClearStop();
    prefixSent_ = 0;
    recordsInFlight_ = 0;
    if (Threadable::Start() != 0) {
        SetStatus(kFailed);
        return false;
    }
    return true;
}

void DownloadThread::Stop(bool skip) {
    if (!IsRunning())
        return;
    EnterCriticalSection(&lock_);
    stop_ = 1;
    if (skip)
        skip_ = 1;
    LeaveCriticalSection(&lock_);
    // Outside the lock: wakes the worker wherever it waits. The worker closes its socket itself.
    client_->RequestStop();
}

int32_t DownloadThread::GetStatus() {
    EnterCriticalSection(&lock_);
    int32_t s = status_;
    LeaveCriticalSection(&lock_);
    return s;
}

void DownloadThread::SetStatus(int32_t status) {
    EnterCriticalSection(&lock_);
    status_ = status;
    LeaveCriticalSection(&lock_);
}

bool DownloadThread::IsFilterDecided() {
    EnterCriticalSection(&lock_);
    bool d = filterDecided_ != 0;
    LeaveCriticalSection(&lock_);
    return d;
}

void DownloadThread::SetFilterDecided(bool decided) {
    EnterCriticalSection(&lock_);
    filterDecided_ = decided ? 1 : 0;
    LeaveCriticalSection(&lock_);
}

bool DownloadThread::StopOrSkipRequested() {
    EnterCriticalSection(&lock_);
    bool r = stop_ || skip_;
    LeaveCriticalSection(&lock_);
    return r;
}

std::string DownloadThread::BuildCookieLine(const std::string& cookies) {
    std::string line = "Cookie:";
    for (char c : cookies) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f)
            continue;
        line += c;
    }
    line += ";\r\n";
    return line;
}

unsigned DownloadThread::Run() {
    HttpRequestSettings settings;
    settings.extraHeaders = BuildCookieLine(cookies_);
    settings.method = "GET";
    settings.port = 80;
    settings.flags = HttpRequestSettings::kFollowRedirects | HttpRequestSettings::kProcessStatus |
                     HttpRequestSettings::kReportSending;
    settings.timeoutMs = socketTimeout_ == -1 ? HttpRequestSettings::kDefaultTimeoutMs
                                              : (socketTimeout_ > 0 && socketTimeout_ < 2000000 ? socketTimeout_ * 1000
                                                                                               : HttpRequestSettings::kDefaultTimeoutMs);
    settings.sendBlockSize = 4096;
    settings.readBlockSize = 4096;
    settings.readCallback = OnReadProgress;
    settings.readParam = this;
    settings.maxBodyBytes = maxBodyBytes_;

    unreportedBytes_ = 0;
    lastRecordTime_ = GetTickCount();
    // Bytes held back for the next record are reported once the server goes quiet for as long.
    if (recordIntervalMs_ > 0)
        client_->GetSocket().SetQuietHandler(OnQuiet, this, recordIntervalMs_);
    bool ok = client_->Navigate(entry_.url.c_str(), &settings);
    lastSocketError_ = client_->GetSocket().GetLastError();
    // The worker closes its own socket: no other thread ever touches the handle.
    client_->Close();
    if (ok && pageScan_ && !StopOrSkipRequested())
        ScanPage();

    EnterCriticalSection(&lock_);
    status_ = ok ? kDone : kFailed;
    // A body past the ceiling (the task's maximum size for a picture) is no failure to retry:
    // it is skipped as too large, whatever framing the server chose.
    if (!ok && client_->BodyTooLarge())
        status_ = kSkipped;
    if (stop_)
        status_ = kStopped;
    if (skip_)
        status_ = kSkipped;
    LeaveCriticalSection(&lock_);
    return 0;
}

bool DownloadThread::PastTheClientsCeiling() const {
    return maxBodyBytes_ == 0 && client_ && client_->BodyTooLarge();
}

void DownloadThread::ScanPage() {
    if (DownloadDataMessage* m = MakeRecord(nullptr, 0, false)) {
        m->scanning = true;
        PostRecord(m);
    }
    std::string type;
    client_->GetHeader("Content-Type", type);
    const uint8_t* body = client_->GetBody();
    // A stop or skip asked for meanwhile ends the scan: the status below says which.
    pageScan_->Run(body, body ? static_cast<size_t>(client_->GetBodyLength()) : 0, type,
                   [this] { return StopOrSkipRequested(); });
}

void DownloadThread::OnEnded() {
    if (!notifyWindow_ && !mailbox_)
        return;
    // The last record: what no progress record has reported yet, and the end.
    DownloadDataMessage* m = MakeRecord(nullptr, 0, false);
    if (!m)
        return;  // the manager's tick finds the worker ended all the same
    m->finished = true;
    if (mailbox_)
        mailbox_->Deliver(m);
    else if (!PostMessageA(notifyWindow_, WM_DOWNLOAD_DATA, 0, reinterpret_cast<LPARAM>(m)))
        delete m;
}

void DownloadThread::PostRecord(DownloadDataMessage* m) {
    InterlockedIncrement(&recordsInFlight_);
    if (mailbox_) {
        mailbox_->Deliver(m);
        return;
    }
    if (!notifyWindow_ || !PostMessageA(notifyWindow_, WM_DOWNLOAD_DATA, 0, reinterpret_cast<LPARAM>(m))) {
        InterlockedDecrement(&recordsInFlight_);
        delete m;  // nobody will receive it
    }
}

void DownloadThread::RecordTaken() {
    if (InterlockedDecrement(&recordsInFlight_) < 0)
        InterlockedIncrement(&recordsInFlight_);
}

bool DownloadThread::OnReadProgress(uint32_t bytesRead, void* param, const uint8_t* body, uint64_t bodyBytes) {
    return static_cast<DownloadThread*>(param)->ReadProgress(bytesRead, body, bodyBytes);
}

void DownloadThread::OnQuiet(void* param) {
    DownloadThread* self = static_cast<DownloadThread*>(param);
    if (self->unreportedBytes_ == 0 || self->recordsInFlight_ > 0)
        return;
    self->PostProgress(self->client_->GetBody(), self->client_->GetBodyLength(), GetTickCount());
}

void DownloadThread::PostProgress(const uint8_t* body, uint64_t bodyBytes, DWORD now) {
    if (DownloadDataMessage* m = MakeRecord(body, bodyBytes, true)) {
        PostRecord(m);
        lastRecordTime_ = now;
    }
}

bool DownloadThread::ReadProgress(uint32_t bytesRead, const uint8_t* body, uint64_t bodyBytes) {
    unreportedBytes_ += bytesRead;
    // A record goes out once the manager has taken the last one, and when the interval since the
    // last one (or the start) has passed or a good share of body came in meanwhile: a small
    // picture that arrives within the interval costs the manager a single record, the final one,
    // however many reads it took, and a burst followed by a stall is never held back long.
    const DWORD now = GetTickCount();
    if (recordsInFlight_ == 0 && (now - lastRecordTime_ >= recordIntervalMs_ || unreportedBytes_ >= kRecordBytes))
        PostProgress(body, bodyBytes, now);
    return !StopOrSkipRequested();
}

DownloadDataMessage* DownloadThread::MakeRecord(const uint8_t* body, uint64_t bodyBytes, bool withBody) {
    DownloadDataMessage* m = new (std::nothrow) DownloadDataMessage();
    if (!m)
        return nullptr;
    m->workerNumber = number_;
    m->bytesRead = static_cast<int32_t>(unreportedBytes_ > 0x7fffffff ? 0x7fffffff : unreportedBytes_);
    unreportedBytes_ = 0;
    try {
        std::string value;
        if (client_->GetHeader("Content-Type", value))
            m->contentType = value.substr(0, DownloadDataMessage::kMaxContentType);
        if (client_->GetHeader("Content-Length", value))
            m->contentLength = ParseContentLength(value);
        if (withBody && !IsFilterDecided()) {
            if (!body) {
                m->hasBody = true;  // headers incomplete: an empty copy
            } else {
                uint64_t prefix = bodyBytes < kMaxFilterPrefix ? bodyBytes : kMaxFilterPrefix;
                // Only a prefix that grew is worth another look by the filter.
                if (prefix > prefixSent_ || prefix == 0) {
                    m->body.assign(body, body + static_cast<size_t>(prefix));
                    m->bodyLength = static_cast<int32_t>(prefix);
                    m->hasBody = true;
                    prefixSent_ = prefix;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        m->body.clear();
        m->hasBody = false;
        m->bodyLength = 0;
    }
    return m;
}
