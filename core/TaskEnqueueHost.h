#pragma once
// The enqueue rules' view of a running task: its link test, its saved pictures and its
// scanning order, with the settings' file-type groups for telling pictures from pages.
#include "core/FileTypes.h"
#include "core/LinkEnqueuer.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class TaskOptions;

class TaskEnqueueHost : public IEnqueueHost {
public:
    // beforeRemove(index) runs before a saved-picture record whose file is gone is removed
    // from the task's list (the picture views drop it), afterRemove() after it (the tasks
    // tree refreshes the task). Either may be empty.
    TaskEnqueueHost(TaskOptions& task, const std::vector<FileTypeGroup>& groups,
                    std::function<void(int)> beforeRemove = nullptr, std::function<void()> afterRemove = nullptr);

    bool ClassifyUrl(const std::string& url, std::string& extension) override;
    bool AcceptLink(const UrlQueueEntry& entry) override;
    int FindDownloadedPicture(const std::string& url, std::string& localPath) override;
    void ForgetDownloadedPicture(int index) override;
    bool ScanInDepth() override;

private:
    TaskOptions& task_;
    const std::vector<FileTypeGroup>& groups_;
    std::function<void(int)> beforeRemove_;
    std::function<void()> afterRemove_;
    // Picture address to the index of its first record, made at the first look-up, so a page
    // of many links costs one pass over the task's pictures, not one per link. A host kept
    // while the list changes (pictures saved, records deleted) follows it: records appended
    // are added, and a shorter list or a record found moved makes the index anew.
    void IndexPictures(bool anew);
    std::unordered_map<std::string, int> pictureIndex_;
    int indexedCount_ = 0;
    bool pictureIndexBuilt_ = false;
};

// Every extension of every group (group names skipped): the endings of addresses the queue
// hands out first.
std::vector<std::string> PictureEndings(const std::vector<FileTypeGroup>& groups);

// A queue entry for an address the run adds itself (start address, reload, retry of a listed
// error): canonical URL, referrer the URL itself, level 0. False when the address is not an
// http or file address.
bool MakeStartEntry(const std::string& address, const std::vector<FileTypeGroup>& groups, UrlQueueEntry& out);
