#include "core/TaskEnqueueHost.h"

#include "core/TaskOptions.h"
#include "core/UrlQueueEntry.h"

TaskEnqueueHost::TaskEnqueueHost(TaskOptions& task, const std::vector<FileTypeGroup>& groups,
                                 std::function<void(int)> beforeRemove, std::function<void()> afterRemove)
    : task_(task), groups_(groups), beforeRemove_(std::move(beforeRemove)), afterRemove_(std::move(afterRemove)) {}

bool TaskEnqueueHost::ClassifyUrl(const std::string& url, std::string& extension) {
    return IsKnownFileType(groups_, url, &extension);
}

bool TaskEnqueueHost::AcceptLink(const UrlQueueEntry& entry) {
    return task_.AcceptLink(entry);
}

void TaskEnqueueHost::IndexPictures(bool anew) {
    const ImageRecordList& images = task_.DownloadedImages;
    if (anew || !pictureIndexBuilt_ || indexedCount_ > images.GetCount()) {
        pictureIndex_.clear();
        pictureIndex_.reserve(static_cast<size_t>(images.GetCount()));
        indexedCount_ = 0;
        pictureIndexBuilt_ = true;
    }
    // In list order, an address's first record is the one kept.
    for (int i = indexedCount_; i < images.GetCount(); ++i) pictureIndex_.emplace(images.GetAt(i).imageUrl, i);
    indexedCount_ = images.GetCount();
}

int TaskEnqueueHost::FindDownloadedPicture(const std::string& url, std::string& localPath) {
    const ImageRecordList& images = task_.DownloadedImages;
    IndexPictures(false);
    auto it = pictureIndex_.find(url);
    if (it != pictureIndex_.end() && images.GetAt(it->second).imageUrl != url) {
        IndexPictures(true);
        it = pictureIndex_.find(url);
    }
    if (it == pictureIndex_.end()) return -1;
    localPath = images.GetAt(it->second).localPath;
    return it->second;
}

void TaskEnqueueHost::ForgetDownloadedPicture(int index) {
    if (index < 0 || index >= task_.DownloadedImages.GetCount()) return;
    if (beforeRemove_) beforeRemove_(index);
    task_.DownloadedImages.RemoveAt(index);
    pictureIndexBuilt_ = false;  // later records moved down by one
    if (afterRemove_) afterRemove_();
}

bool TaskEnqueueHost::ScanInDepth() {
    return task_.ScanningType != 0;
}

std::vector<std::string> PictureEndings(const std::vector<FileTypeGroup>& groups) {
    std::vector<std::string> endings;
    for (const FileTypeGroup& group : groups) {
        for (size_t i = 1; i < group.size(); ++i) {
            if (!group[i].empty()) endings.push_back(group[i]);
        }
    }
    return endings;
}

bool MakeStartEntry(const std::string& address, const std::vector<FileTypeGroup>& groups, UrlQueueEntry& out) {
    UrlQueueEntry entry;
    if (!MakeQueueUrl(address, entry.url)) return false;
    entry.referrer = entry.url;
    entry.level = 0;
    entry.retryCount = 0;
    entry.isImage = IsKnownFileType(groups, entry.url, &entry.extension) ? 1 : 0;
    out = entry;
    return true;
}
