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

namespace {

// Up to the stored count of items, each kept once read whole; true when the count and the bytes
// agree. The count is cut to what the bytes can hold before anything is reserved for it.
template <typename Item, typename ReadItem>
bool DecodeList(const uint8_t* data, size_t size, size_t minItemSize, std::vector<Item>& out, ReadItem readItem) {
    out.clear();
    BlobReader r(data, size);
    uint32_t count = 0;
    if (!r.ReadCount(count, minItemSize)) return false;
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        Item item;
        if (!readItem(r, item)) return false;
        out.push_back(std::move(item));
    }
    return r.AtEnd();
}

bool ReadProcessedElement(BlobReader& r, std::pair<std::string, UrlQueueEntry>& element) {
    r.ReadCountedString(element.first);
    return ReadEntry(r, element.second);
}

// The list stored under name: the bag's value, or the part of it there was when the file ended
// inside it. Null when there is neither.
const PropertyBagValue* StoredList(const PropertyBag& bag, const char* name) {
    if (const PropertyBagValue* value = bag.Find(name)) return value;
    const PropertyBagValue* cut = bag.CutValue();
    return cut && cut->GetName() == name ? cut : nullptr;
}

bool DecodeQueueBytes(const uint8_t* data, size_t size, std::vector<UrlQueueEntry>& out) {
    return DecodeList(data, size, kMinEntrySize, out, ReadEntry);
}

bool DecodeProcessedBytes(const uint8_t* data, size_t size, std::vector<std::pair<std::string, UrlQueueEntry>>& out) {
    return DecodeList(data, size, 4 + kMinEntrySize, out, ReadProcessedElement);
}

}  // namespace

bool DecodeQueueEntries(const std::vector<uint8_t>& blob, std::vector<UrlQueueEntry>& out) {
    return DecodeQueueBytes(blob.data(), blob.size(), out);
}

bool DecodeProcessedEntries(const std::vector<uint8_t>& blob, std::vector<std::pair<std::string, UrlQueueEntry>>& out) {
    return DecodeProcessedBytes(blob.data(), blob.size(), out);
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

    // A list that does not read whole (a wrong count, bytes left over, the file ending inside
    // it) still gives every entry read whole before the fault; the file is kept aside.
    queue.ClearQueue();
    if (const PropertyBagValue* list = StoredList(bag, kQueueKey)) {
        std::vector<UrlQueueEntry> entries;
        if (!DecodeQueueBytes(list->GetData(), list->GetSize(), entries)) guard.Damaged();
        // The file is outside the program's control: every address goes through the canonical
        // form again (no control characters reach a request line) or is left out.
        for (UrlQueueEntry& e : entries) {
            if (MakeQueueUrl(e.url, e.url)) queue.PushBack(e);
        }
    }
    queue.ClearProcessed();
    if (const PropertyBagValue* list = StoredList(bag, kProcessedKey)) {
        std::vector<std::pair<std::string, UrlQueueEntry>> elements;
        if (!DecodeProcessedBytes(list->GetData(), list->GetSize(), elements)) guard.Damaged();
        for (auto& element : elements) {
            std::string key;
            if (MakeQueueUrl(element.first, key)) queue.MarkProcessed(key, element.second);
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
