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

size_t EnqueueFoundLinks(UrlQueue& queue, const std::vector<std::string>& links, const UrlQueueEntry& referrer,
                         IEnqueueHost& host) {
    size_t queued = 0;
    for (const std::string& link : links) {
        UrlQueueEntry entry;
        if (!MakeQueueUrl(link, entry.url)) continue;
        if (queue.IsKnown(entry.url)) continue;

        entry.referrer = referrer.url;
        entry.level = referrer.level + 1;
        entry.retryCount = 0;
        entry.isImage = host.ClassifyUrl(entry.url, entry.extension) ? 1 : 0;

        if (!host.AcceptLink(entry)) {
            queue.MarkProcessed(entry);  // not asked again in this task
            continue;
        }

        std::string localPath;
        const int record = host.FindDownloadedPicture(entry.url, localPath);
        if (record >= 0) {
            if (IsExistingFile(localPath)) {
                queue.MarkProcessed(entry);
                continue;
            }
            host.ForgetDownloadedPicture(record);
        }

        const bool added = host.ScanInDepth() ? queue.PushFront(entry) : queue.PushBack(entry);
        if (added) ++queued;
    }
    return queued;
}
