#pragma once
// The record a worker posts to the download manager's window with WM_USER+1 (or drops in its
// mailbox) after a read, at most once per interval, and once more when it has ended.
// The receiver owns it and frees it with DownloadDataMessage::Free.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

const UINT WM_DOWNLOAD_DATA = WM_USER + 1;

struct DownloadDataMessage {
    static constexpr size_t kMaxContentType = 4095;

    int32_t workerNumber = 0;
    // Body bytes from the first one: an empty copy while the headers are incomplete. hasBody
    // is false when the record carries no copy (filter decided, or nothing new for it).
    bool hasBody = false;
    std::vector<uint8_t> body;
    int32_t bodyLength = 0;
    // Bytes of the read that caused this record (header bytes included).
    int32_t bytesRead = 0;
    // The "Content-Length" header as a number; 0 when absent or not yet read.
    int64_t contentLength = 0;
    // The "Content-Type" header; empty when absent or not yet read.
    std::string contentType;
    // The worker's last record, posted once its thread has finished the download: its result
    // can be taken at once. Carries the bytes and header values not reported before, no copy.
    bool finished = false;
    // The whole page is in and its worker is looking for its links; the record carries the
    // bytes not reported before, no copy.
    bool scanning = false;

    static DownloadDataMessage* FromLParam(LPARAM lParam) { return reinterpret_cast<DownloadDataMessage*>(lParam); }
    static void Free(LPARAM lParam) { delete FromLParam(lParam); }
};
