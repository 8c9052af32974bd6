#pragma once
// The per-task resume file (".cache"): a property bag with the task's own progress keys, the
// images-downloaded counter, the queue ("AvailibleUrls") and the processed map
// ("ProcessedUrls"), so that a stopped or paused run continues where it stopped.
#include "core/UrlQueue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class PropertyBag;

// Lists as stored: u32 count, then per entry the URL, referrer (counted strings: u32 length
// including the terminating zero, the bytes, the zero), int32 level, int32 retry count, byte
// is-image, extension string. Processed elements carry their key string first.
std::vector<uint8_t> EncodeQueueEntries(const std::vector<UrlQueueEntry>& entries);
std::vector<uint8_t> EncodeProcessedEntries(const std::vector<std::pair<std::string, UrlQueueEntry>>& elements);
// Every entry read whole is kept in out, in stored order; false when the list is damaged: a count
// or a string claims more bytes than remain (out holds the entries before the fault), or bytes
// are left over after the last counted entry.
bool DecodeQueueEntries(const std::vector<uint8_t>& blob, std::vector<UrlQueueEntry>& out);
bool DecodeProcessedEntries(const std::vector<uint8_t>& blob, std::vector<std::pair<std::string, UrlQueueEntry>>& out);

// The program folder + "Tasks\" + task file name + ".cache".
std::string ResumeFilePath(const std::string& taskFileName);

using TaskProgressHook = std::function<void(PropertyBag&)>;

// Writes the file (replacing the old one only when the whole file was written). The queue is
// stored in queue order followed by the addresses still in progress, so that a crash after a
// periodic save loses none of them. saveTaskProgress may be empty.
bool SaveResumeFile(const std::string& path, const UrlQueue& queue, int32_t imagesDownloaded,
                    const TaskProgressHook& saveTaskProgress);

enum class ResumeLoadResult {
    Loaded,      // the file was read whole
    Missing,     // no file: queue and processed map are empty
    KeptAside,   // damaged or of a newer version: a copy lies beside it (the user was told) and
                 // what it held whole was read (a damaged list gives the entries before the fault)
    Unreadable,  // there but locked or forbidden, or damaged and no copy could be kept: left on
                 // disk as it is, nothing changed
};

// Reads the file: the task's progress keys (loadTaskProgress, may be empty), the images
// counter when present (else it keeps its value), then the queue and the processed map,
// each emptied first.
ResumeLoadResult LoadResumeFile(const std::string& path, UrlQueue& queue, int32_t& imagesDownloaded,
                                const TaskProgressHook& loadTaskProgress);
