#include "core/LinkEnqueuer.h"

#include "core/UrlParts.h"

#include <windows.h>

namespace {

bool IsExistingFile(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool MakeQueueUrl(const std::string& text, std::string& out) {
    std::string canonical;
    if (!UrlParts::Canonicalize(text, canonical)) return false;
    if (canonical.compare(0, 7, "http://") != 0 && canonical.compare(0, 7, "file://") != 0) return false;
    out = canonical;
    return true;
}

bool EnqueuePreparedLink(UrlQueue& queue, UrlQueueEntry& entry, const UrlQueueEntry& referrer, IEnqueueHost& host) {
    if (queue.IsKnown(entry.url)) return false;

    entry.referrer = referrer.url;
    entry.level = referrer.level + 1;
    entry.retryCount = 0;

    if (!host.AcceptLink(entry)) {
        queue.MarkProcessed(entry);  // not asked again in this task
        return false;
    }

    std::string localPath;
    const int record = host.FindDownloadedPicture(entry.url, localPath);
    if (record >= 0) {
        if (IsExistingFile(localPath)) {
            queue.MarkProcessed(entry);
            return false;
        }
        host.ForgetDownloadedPicture(record);
    }

    return host.ScanInDepth() ? queue.PushFront(entry) : queue.PushBack(entry);
}

size_t EnqueueFoundLinks(UrlQueue& queue, const std::vector<std::string>& links, const UrlQueueEntry& referrer,
                         IEnqueueHost& host) {
    size_t queued = 0;
    for (const std::string& link : links) {
        UrlQueueEntry entry;
        if (!MakeQueueUrl(link, entry.url) || queue.IsKnown(entry.url)) continue;
        entry.isImage = host.ClassifyUrl(entry.url, entry.extension) ? 1 : 0;
        if (EnqueuePreparedLink(queue, entry, referrer, host)) ++queued;
    }
    return queued;
}
