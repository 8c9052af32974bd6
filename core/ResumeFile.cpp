#include "core/ResumeFile.h"

#include "core/AppDirectory.h"
#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/LinkEnqueuer.h"
#include "core/PropertyBag.h"
#include "core/StoredFileGuard.h"

#include <windows.h>

namespace {

const char kImagesKey[] = "ImagesDownloadCount";
const char kQueueKey[] = "AvailibleUrls";
const char kProcessedKey[] = "ProcessedUrls";

// Smallest stored entry: three strings of count 0 (4 bytes each), level, retry count, flag.
const size_t kMinEntrySize = 4 + 4 + 4 + 4 + 1 + 4;

void WriteEntry(BlobWriter& w, const UrlQueueEntry& e) {
    w.WriteCountedString(e.url);
    w.WriteCountedString(e.referrer);
    w.WriteI32(e.level);
    w.WriteI32(e.retryCount);
    w.WriteU8(e.isImage);
    w.WriteCountedString(e.extension);
}

bool ReadEntry(BlobReader& r, UrlQueueEntry& e) {
    r.ReadCountedString(e.url);
    r.ReadCountedString(e.referrer);
    r.ReadI32(e.level);
    r.ReadI32(e.retryCount);
    uint8_t flag = 0;
    r.ReadU8(flag);
    e.isImage = flag ? 1 : 0;
    r.ReadCountedString(e.extension);
    return !r.Failed();
}

}  // namespace

std::vector<uint8_t> EncodeQueueEntries(const std::vector<UrlQueueEntry>& entries) {
    BlobWriter w;
    w.WriteU32(static_cast<uint32_t>(entries.size()));
    for (const UrlQueueEntry& e : entries) WriteEntry(w, e);
    return w.Bytes();
}

std::vector<uint8_t> EncodeProcessedEntries(const std::vector<std::pair<std::string, UrlQueueEntry>>& elements) {
    BlobWriter w;
    w.WriteU32(static_cast<uint32_t>(elements.size()));
    for (const auto& element : elements) {
        w.WriteCountedString(element.first);
        WriteEntry(w, element.second);
    }
    return w.Bytes();
}

bool DecodeQueueEntries(const std::vector<uint8_t>& blob, std::vector<UrlQueueEntry>& out) {
    out.clear();
    BlobReader r(blob);
    uint32_t count = 0;
    if (!r.ReadCount(count, kMinEntrySize)) return false;
    std::vector<UrlQueueEntry> entries;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        UrlQueueEntry e;
        if (!ReadEntry(r, e)) return false;
        entries.push_back(std::move(e));
    }
    if (!r.AtEnd()) return false;
    out.swap(entries);
    return true;
}

bool DecodeProcessedEntries(const std::vector<uint8_t>& blob, std::vector<std::pair<std::string, UrlQueueEntry>>& out) {
    out.clear();
    BlobReader r(blob);
    uint32_t count = 0;
    if (!r.ReadCount(count, 4 + kMinEntrySize)) return false;
    std::vector<std::pair<std::string, UrlQueueEntry>> elements;
    elements.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::pair<std::string, UrlQueueEntry> element;
        r.ReadCountedString(element.first);
        if (!ReadEntry(r, element.second)) return false;
        elements.push_back(std::move(element));
    }
    if (!r.AtEnd()) return false;
    out.swap(elements);
    return true;
}

std::string ResumeFilePath(const std::string& taskFileName) {
    return GetAppDirectory() + "Tasks\\" + taskFileName + ".cache";
}

bool SaveResumeFile(const std::string& path, const UrlQueue& queue, int32_t imagesDownloaded,
                    const TaskProgressHook& saveTaskProgress) {
    PropertyBag bag;
    bag.SetCurrentVersion();
    if (saveTaskProgress) saveTaskProgress(bag);
    bag.SetInt32(kImagesKey, imagesDownloaded);

    std::vector<UrlQueueEntry> entries = queue.QueuedEntries();
    for (const auto& element : queue.InProgress()) {
        if (!queue.IsQueued(element.first)) entries.push_back(element.second);
    }
    bag.SetBlob(kQueueKey, EncodeQueueEntries(entries));

    std::vector<std::pair<std::string, UrlQueueEntry>> processed;
    for (const auto& element : queue.ProcessedInKeyOrder()) processed.emplace_back(*element.first, *element.second);
    bag.SetBlob(kProcessedKey, EncodeProcessedEntries(processed));
    return bag.Save(path);
}

ResumeLoadResult LoadResumeFile(const std::string& path, UrlQueue& queue, int32_t& imagesDownloaded,
                                const TaskProgressHook& loadTaskProgress) {
    PropertyBag bag;
    // A damaged or newer file is kept aside and gives what it holds whole; a missing one is an
    // empty bag.
    StoredFileGuard guard(path);
    const PropertyBag::LoadStatus status = guard.Load(bag);
    // One out of reach, or one that could not be kept aside, holds work this run cannot see.
    if (!guard.MayWrite())
        return ResumeLoadResult::Unreadable;
    if (loadTaskProgress) loadTaskProgress(bag);
    int32_t images = 0;
    if (bag.GetInt32(kImagesKey, images)) imagesDownloaded = images;

    queue.ClearQueue();
    std::vector<uint8_t> blob;
    if (bag.GetBlob(kQueueKey, blob)) {
        std::vector<UrlQueueEntry> entries;
        if (DecodeQueueEntries(blob, entries)) {
            // The file is outside the program's control: every address goes through the
            // canonical form again (no control characters reach a request line) or is left out.
            for (UrlQueueEntry& e : entries) {
                if (MakeQueueUrl(e.url, e.url)) queue.PushBack(e);
            }
        } else {
            guard.Damaged();
        }
    }
    queue.ClearProcessed();
    if (bag.GetBlob(kProcessedKey, blob)) {
        std::vector<std::pair<std::string, UrlQueueEntry>> elements;
        if (DecodeProcessedEntries(blob, elements)) {
            for (auto& element : elements) {
                std::string key;
                if (MakeQueueUrl(element.first, key)) queue.MarkProcessed(key, element.second);
            }
        } else {
            guard.Damaged();
        }
    }
    if (!guard.MayWrite()) {
        queue.ClearAll();
        return ResumeLoadResult::Unreadable;
    }
    if (!guard.KeptCopy().empty()) return ResumeLoadResult::KeptAside;
    return status == PropertyBag::LoadStatus::Loaded || bag.Count() > 0 ? ResumeLoadResult::Loaded
                                                                        : ResumeLoadResult::Missing;
}
