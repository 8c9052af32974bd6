#pragma once
// The run's three address containers: the ordered queue, the addresses workers are fetching
// (in progress) and the addresses already handled in this task (processed). Every membership
// test is a hash look-up, so large queues cost no linear scans.
#include "core/UrlQueueEntry.h"

#include <list>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class UrlQueue {
public:
    UrlQueue() = default;
    UrlQueue(const UrlQueue&) = delete;
    UrlQueue& operator=(const UrlQueue&) = delete;

    // --- the queue (an address at most once) ---
    size_t QueueSize() const { return queue_.size(); }
    bool IsQueueEmpty() const { return queue_.empty(); }
    bool IsQueued(const std::string& url) const { return index_.count(url) != 0; }
    // Both return false (and add nothing) when the address is already queued.
    bool PushBack(const UrlQueueEntry& entry);
    bool PushFront(const UrlQueueEntry& entry);
    // The queued entries in queue order.
    std::vector<UrlQueueEntry> QueuedEntries() const;
    void ClearQueue();

    // Endings (".jpg", ...) of addresses that are fetched before the others: the next address
    // is the first queued one that ends with one of them, else the front one. Compared byte
    // for byte.
    void SetPreferredEndings(const std::vector<std::string>& endings);
    // Takes the next address out of the queue and records it as in progress; false when the
    // queue is empty.
    bool TakeNext(UrlQueueEntry& out);

    // --- in progress ---
    bool IsInProgress(const std::string& url) const { return inProgress_.count(url) != 0; }
    void AddInProgress(const UrlQueueEntry& entry) { inProgress_[entry.url] = entry; }
    // Removes the address, copying its entry to out when given; false when it was not there.
    bool RemoveInProgress(const std::string& url, UrlQueueEntry* out = nullptr);
    size_t InProgressCount() const { return inProgress_.size(); }
    // In byte order of the address.
    const std::map<std::string, UrlQueueEntry>& InProgress() const { return inProgress_; }
    void ClearInProgress() { inProgress_.clear(); }

    // --- processed ---
    bool IsProcessed(const std::string& url) const { return processed_.count(url) != 0; }
    void MarkProcessed(const UrlQueueEntry& entry) { processed_[entry.url] = entry; }
    void MarkProcessed(const std::string& key, const UrlQueueEntry& entry) { processed_[key] = entry; }
    size_t ProcessedCount() const { return processed_.size(); }
    // The processed map's elements in byte order of their keys.
    std::vector<std::pair<const std::string*, const UrlQueueEntry*>> ProcessedInKeyOrder() const;
    // A large map is let go of on another thread: a free per address would hold the caller.
    void ClearProcessed();

    // Queued, in progress or processed: a found link with this address is not queued again.
    bool IsKnown(const std::string& url) const { return IsQueued(url) || IsInProgress(url) || IsProcessed(url); }

    void ClearAll();

private:
    struct Node {
        UrlQueueEntry entry;
        bool preferred = false;
        std::list<std::list<Node>::iterator>::iterator preferredPos;
    };
    using NodeIter = std::list<Node>::iterator;

    bool IsPreferred(const std::string& url) const;
    void Erase(NodeIter it);

    std::list<Node> queue_;
    // The preferred entries, in queue order (entries only join at either end of the queue,
    // so pushing at the same end here keeps the two orders alike).
    std::list<NodeIter> preferred_;
    std::unordered_map<std::string, NodeIter> index_;
    std::vector<std::string> endings_;
    std::map<std::string, UrlQueueEntry> inProgress_;
    std::unordered_map<std::string, UrlQueueEntry> processed_;
};
