#pragma once
// Worker records on their way to the download manager's window. A worker drops its record in
// the box and posts WM_USER+1 (with no record) only when the box was empty, so however many
// records come in while the window is busy, they cost one posted message and are taken in one go.
// While the window holds notices back, workers post none at all and the window collects on a
// timer: a steady stream of notices would keep its painting, timers and input from their turn.
#include <windows.h>
#include <vector>

struct DownloadDataMessage;

class RecordMailbox {
public:
    RecordMailbox();
    // Frees the records never taken.
    ~RecordMailbox();
    RecordMailbox(const RecordMailbox&) = delete;
    RecordMailbox& operator=(const RecordMailbox&) = delete;

    void SetWindow(HWND window);
    // Any thread; the box owns the record from here on.
    void Deliver(DownloadDataMessage* record);
    // The window's thread: every record delivered so far, oldest first, now the caller's. With
    // holdNotices the records that follow post no notice until a take without it.
    void TakeAll(std::vector<DownloadDataMessage*>& records, bool holdNotices = false);
    // Any thread: whether a record waits (a moment later it may be otherwise).
    bool HasRecords();

private:
    CRITICAL_SECTION lock_;
    std::vector<DownloadDataMessage*> records_;
    // A notice is on its way to the window: later records need none of their own.
    bool notified_;
    HWND window_;
};
