#include "core/RecordMailbox.h"

#include "core/DownloadDataMessage.h"

#include <new>

RecordMailbox::RecordMailbox() : notified_(false), window_(nullptr) { InitializeCriticalSection(&lock_); }

RecordMailbox::~RecordMailbox() {
    for (DownloadDataMessage* m : records_)
        delete m;
    DeleteCriticalSection(&lock_);
}

void RecordMailbox::SetWindow(HWND window) {
    EnterCriticalSection(&lock_);
    window_ = window;
    LeaveCriticalSection(&lock_);
}

void RecordMailbox::Deliver(DownloadDataMessage* record) {
    EnterCriticalSection(&lock_);
    try {
        records_.push_back(record);
    } catch (const std::bad_alloc&) {
        LeaveCriticalSection(&lock_);
        delete record;  // the manager's tick still finds an ended worker by its flag
        return;
    }
    const bool notify = !notified_;
    notified_ = true;
    HWND window = window_;
    LeaveCriticalSection(&lock_);
    if (notify && !(window && PostMessageA(window, WM_DOWNLOAD_DATA, 0, 0))) {
        // Not posted: the next record tries again; the box frees whatever is never taken.
        EnterCriticalSection(&lock_);
        notified_ = false;
        LeaveCriticalSection(&lock_);
    }
}

void RecordMailbox::TakeAll(std::vector<DownloadDataMessage*>& records, bool holdNotices) {
    records.clear();
    EnterCriticalSection(&lock_);
    records.swap(records_);
    notified_ = holdNotices;
    LeaveCriticalSection(&lock_);
}

bool RecordMailbox::HasRecords() {
    EnterCriticalSection(&lock_);
    const bool any = !records_.empty();
    LeaveCriticalSection(&lock_);
    return any;
}
