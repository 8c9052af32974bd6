#pragma once
// One scanned page's links on their way into the run's queue, a slice at a time: the task's
// filter and the enqueue rules need the run's state, which lives on the window's thread, and a
// page of hundreds of thousands of links taken in one piece would hold the window for seconds.
#include "core/LinkEnqueuer.h"
#include "core/PageLinkScan.h"
#include "core/UrlQueueEntry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class PageLinkHandOver {
public:
    // The task's filter of found links (TaskOptions::FilterFoundLinks): it drops links.
    using LinkFilter = std::function<void(std::vector<std::string>&)>;

    // page: the entry of the scanned page (the referring entry of its links); workerNumber: the
    // worker that fetched it, whose row shows the page until its links are in.
    PageLinkHandOver(const UrlQueueEntry& page, int32_t workerNumber, std::vector<FoundLink> links);
    PageLinkHandOver(const PageLinkHandOver&) = delete;
    PageLinkHandOver& operator=(const PageLinkHandOver&) = delete;

    const UrlQueueEntry& Page() const { return page_; }
    int32_t WorkerNumber() const { return workerNumber_; }
    bool Done() const { return next_ >= links_.size(); }
    size_t Remaining() const { return links_.size() - next_; }

    // Runs the next count links (or the rest) through the filter, then through the enqueue
    // rules with the page as the referring entry. Returns the number of entries queued.
    size_t Step(size_t count, UrlQueue& queue, IEnqueueHost& host, const LinkFilter& filter);
    // Gives up the links not yet taken.
    void Abandon();

private:
    UrlQueueEntry page_;
    int32_t workerNumber_;
    std::vector<FoundLink> links_;
    size_t next_ = 0;
};
