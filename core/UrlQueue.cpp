#include "core/UrlQueue.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>

bool UrlQueue::IsPreferred(const std::string& url) const {
    for (const std::string& ending : endings_) {
        if (!ending.empty() && url.size() >= ending.size() &&
            url.compare(url.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    }
    return false;
}

bool UrlQueue::PushBack(const UrlQueueEntry& entry) {
    if (IsQueued(entry.url)) return false;
    queue_.push_back(Node{entry, IsPreferred(entry.url), {}});
    NodeIter it = std::prev(queue_.end());
    if (it->preferred) it->preferredPos = preferred_.insert(preferred_.end(), it);
    index_.emplace(entry.url, it);
    return true;
}

bool UrlQueue::PushFront(const UrlQueueEntry& entry) {
    if (IsQueued(entry.url)) return false;
    queue_.push_front(Node{entry, IsPreferred(entry.url), {}});
    NodeIter it = queue_.begin();
    if (it->preferred) it->preferredPos = preferred_.insert(preferred_.begin(), it);
    index_.emplace(entry.url, it);
    return true;
}

std::vector<UrlQueueEntry> UrlQueue::QueuedEntries() const {
    std::vector<UrlQueueEntry> out;
    out.reserve(queue_.size());
    for (const Node& node : queue_) out.push_back(node.entry);
    return out;
}

void UrlQueue::ClearQueue() {
    queue_.clear();
    preferred_.clear();
    index_.clear();
}

void UrlQueue::SetPreferredEndings(const std::vector<std::string>& endings) {
    endings_ = endings;
    preferred_.clear();
    for (NodeIter it = queue_.begin(); it != queue_.end(); ++it) {
        it->preferred = IsPreferred(it->entry.url);
        if (it->preferred) it->preferredPos = preferred_.insert(preferred_.end(), it);
    }
}

void UrlQueue::Erase(NodeIter it) {
    if (it->preferred) preferred_.erase(it->preferredPos);
    index_.erase(it->entry.url);
    queue_.erase(it);
}

bool UrlQueue::TakeNext(UrlQueueEntry& out) {
    if (queue_.empty()) return false;
    NodeIter it = preferred_.empty() ? queue_.begin() : preferred_.front();
    out = it->entry;
    Erase(it);
    inProgress_[out.url] = out;
    return true;
}

bool UrlQueue::RemoveInProgress(const std::string& url, UrlQueueEntry* out) {
    auto it = inProgress_.find(url);
    if (it == inProgress_.end()) return false;
    if (out) *out = it->second;
    inProgress_.erase(it);
    return true;
}

std::vector<std::pair<const std::string*, const UrlQueueEntry*>> UrlQueue::ProcessedInKeyOrder() const {
    std::vector<std::pair<const std::string*, const UrlQueueEntry*>> out;
    out.reserve(processed_.size());
    for (const auto& element : processed_) out.emplace_back(&element.first, &element.second);
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return *a.first < *b.first; });
    return out;
}

namespace {

// Maps this large are freed by a pool thread (a page of 100,000 refused links leaves as many).
const size_t kReleaseAside = 10000;

DWORD WINAPI FreeProcessed(void* map) {
    delete static_cast<std::unordered_map<std::string, UrlQueueEntry>*>(map);
    return 0;
}

}  // namespace

void UrlQueue::ClearProcessed() {
    if (processed_.size() >= kReleaseAside) {
        std::unique_ptr<std::unordered_map<std::string, UrlQueueEntry>> aside(
            new (std::nothrow) std::unordered_map<std::string, UrlQueueEntry>());
        if (aside) {
            aside->swap(processed_);
            if (QueueUserWorkItem(FreeProcessed, aside.get(), WT_EXECUTEDEFAULT)) {
                aside.release();
                return;
            }
        }
    }
    processed_.clear();
}

void UrlQueue::ClearAll() {
    ClearQueue();
    inProgress_.clear();
    ClearProcessed();
}
