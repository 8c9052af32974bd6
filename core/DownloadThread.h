#pragma once
// One worker: fetches one address on a pool thread through its own HTTP client and reports its
// progress to the download manager's window as DownloadDataMessage records.
#include "core/Threadable.h"
#include "core/UrlQueueEntry.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/PageLinkScan.h"

class CAtlHttpClientT;
class MyBasicAuthObject;
class RecordMailbox;
struct DownloadDataMessage;

class DownloadThread : public Threadable {
public:
    enum Status : int32_t {
        kDone = 0,
        kStopped = 1,
        kFailed = 2,
        kRunning = 3,
        kCreated = 4,
        kSkipped = 5,
    };
    // Body bytes copied into records while the download filter has not decided: enough for
    // any picture header, never the whole of a large body again and again.
    static constexpr size_t kMaxFilterPrefix = 256 * 1024;
    // Shortest time between two progress records of one worker: enough for the connections list
    // and the filter, and a burst of small pictures does not flood the manager.
    static const DWORD kRecordIntervalMs = 100;
    // Bytes that make a progress record go out before the interval has passed.
    static constexpr uint64_t kRecordBytes = 64 * 1024;

    // Takes ownership of the client and of the authorization objects (already registered with
    // the client). socketTimeoutSeconds -1 means the client's default of 30 seconds.
    DownloadThread(HWND notifyWindow, int32_t number, const UrlQueueEntry& entry, CAtlHttpClientT* client,
                   const std::vector<MyBasicAuthObject*>& authObjects, int32_t socketTimeoutSeconds);
    ~DownloadThread() override;

    // A fresh worker number for each new worker, never reused in the life of the program, so
    // that late records of a stopped run never match a worker of a new one.
    static int32_t NextWorkerNumber();

    void SetCookies(const std::string& cookies) { cookies_ = cookies; }
    // Records go into the box (which posts WM_USER+1 without a record when it was empty)
    // instead of one posted message each. Set before the start; the box outlives the worker.
    void SetMailbox(RecordMailbox* mailbox) { mailbox_ = mailbox; }
    // Largest body accepted (the task's maximum size when set); 0: the client's ceiling.
    void SetMaxBodyBytes(uint64_t bytes) { maxBodyBytes_ = bytes; }
    // A page's links are looked for here, on the worker's thread, once the whole page is in;
    // the window's thread only takes them over. Set before the start.
    void SetPageScan(std::unique_ptr<PageLinkScan> scan) { pageScan_ = std::move(scan); }
    // The page's scan (run or not), once the thread has ended; null for a picture.
    std::unique_ptr<PageLinkScan> TakePageScan() { return std::move(pageScan_); }

    // False when already running or when the thread cannot be made (status 2 then).
    bool Start();
    // Any thread: asks the worker to stop (status 1, or 5 with skip). The worker is woken at
    // once in whatever it waits for and closes its own socket. Nothing when not running.
    void Stop(bool skip);

    // Milliseconds between progress records; 0 reports every read the manager keeps up with.
    void SetRecordInterval(DWORD milliseconds) { recordIntervalMs_ = milliseconds; }

    // The manager has taken the final record (UI thread only): its result may be taken.
    void MarkEndNoticed() { endNoticed_ = true; }
    bool EndNoticed() const { return endNoticed_; }

    // The manager has taken one of this worker's progress records.
    void RecordTaken();

    int32_t GetStatus();
    void SetStatus(int32_t status);
    bool IsFilterDecided();
    void SetFilterDecided(bool decided = true);
    int32_t GetNumber() const { return number_; }
    const UrlQueueEntry& GetEntry() const { return entry_; }
    CAtlHttpClientT* GetClient() const { return client_; }
    // The socket's last error after the request; 0 when none. Read after the thread ended.
    int32_t GetLastSocketError() const { return lastSocketError_; }
    // The body went past the client's own ceiling, no smaller maximum having been set: the
    // download was skipped for a size nobody chose. Read after the thread ended.
    bool PastTheClientsCeiling() const;

    // The cookie header line as sent: control characters are dropped so the task's text can
    // never add header lines of its own.
    static std::string BuildCookieLine(const std::string& cookies);

protected:
    unsigned Run() override;
    // Posts the final record, so the manager takes the result without waiting for its tick. It
    // carries the bytes and header values no progress record has reported yet.
    void OnEnded() override;

private:
    static bool OnReadProgress(uint32_t bytesRead, void* param, const uint8_t* body, uint64_t bodyBytes);
    // The server went quiet: what was held back for the next record goes out now.
    static void OnQuiet(void* param);
    bool ReadProgress(uint32_t bytesRead, const uint8_t* body, uint64_t bodyBytes);
    // Posts a progress record (with a body copy when the filter still wants one) made now.
    void PostProgress(const uint8_t* body, uint64_t bodyBytes, DWORD now);
    // A record of the bytes not yet reported and the header values; with a body copy (while the
    // filter has not decided and the prefix grew) when withBody.
    DownloadDataMessage* MakeRecord(const uint8_t* body, uint64_t bodyBytes, bool withBody);
    bool StopOrSkipRequested();
    void PostRecord(DownloadDataMessage* m);
    // The whole page is in: tells the manager (its row shows it being parsed), then scans it.
    void ScanPage();

    HWND notifyWindow_;
    RecordMailbox* mailbox_ = nullptr;
    bool endNoticed_ = false;
    int32_t number_;
    UrlQueueEntry entry_;
    CAtlHttpClientT* client_;
    std::vector<MyBasicAuthObject*> authObjects_;
    int32_t socketTimeout_;
    int32_t status_;
    uint8_t stop_;
    uint8_t skip_;
    uint8_t filterDecided_;
    std::string cookies_;
    int32_t lastSocketError_;
    uint64_t maxBodyBytes_;
    std::unique_ptr<PageLinkScan> pageScan_;
    // Worker thread only: how much of the body the last record's copy held.
    uint64_t prefixSent_;
    // Worker thread only: bytes read since the last record, and when that record went out.
    uint64_t unreportedBytes_;
    DWORD lastRecordTime_;
    DWORD recordIntervalMs_;
    // Progress records posted and not yet taken by the manager.
    volatile LONG recordsInFlight_;
};
