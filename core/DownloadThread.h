#pragma once
// One worker: fetches one address on its own thread through its own HTTP client and reports
// each read to the download manager's window as a DownloadDataMessage.
#include "core/Threadable.h"
#include "core/UrlQueueEntry.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CAtlHttpClientT;
class MyBasicAuthObject;
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

    // Takes ownership of the client and of the authorization objects (already registered with
    // the client). socketTimeoutSeconds -1 means the client's default of 30 seconds.
    DownloadThread(HWND notifyWindow, int32_t number, const UrlQueueEntry& entry, CAtlHttpClientT* client,
                   const std::vector<MyBasicAuthObject*>& authObjects, int32_t socketTimeoutSeconds);
    ~DownloadThread() override;

    // A fresh worker number for each new worker, never reused in the life of the program, so
    // that late records of a stopped run never match a worker of a new one.
    static int32_t NextWorkerNumber();

    void SetCookies(const std::string& cookies) { cookies_ = cookies; }
    // Largest body accepted (the task's maximum size when set); 0: the client's ceiling.
    void SetMaxBodyBytes(uint64_t bytes) { maxBodyBytes_ = bytes; }

    // False when already running or when the thread cannot be made (status 2 then).
    bool Start();
    // Any thread: asks the worker to stop (status 1, or 5 with skip). The worker is woken at
    // once in whatever it waits for and closes its own socket. Nothing when not running.
    void Stop(bool skip);

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

    // The cookie header line as sent: control characters are dropped so the task's text can
    // never add header lines of its own.
    static std::string BuildCookieLine(const std::string& cookies);

protected:
    unsigned Run() override;
    // Posts the final record, so the manager takes the result without waiting for its tick.
    void OnEnded() override;

private:
    static bool OnReadProgress(uint32_t bytesRead, void* param, const uint8_t* body, uint64_t bodyBytes);
    bool ReadProgress(uint32_t bytesRead, const uint8_t* body, uint64_t bodyBytes);
    bool StopOrSkipRequested();
    void PostRecord(DownloadDataMessage* m);

    HWND notifyWindow_;
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
    // Worker thread only: how much of the body the last record's copy held.
    uint64_t prefixSent_;
    // Worker thread only: a record held back while the manager has one still to take.
    DownloadDataMessage* pending_;
    // Progress records posted and not yet taken by the manager.
    volatile LONG recordsInFlight_;
};
