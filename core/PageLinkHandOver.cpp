#include "core/PageLinkHandOver.h"

#include <algorithm>

PageLinkHandOver::PageLinkHandOver(const UrlQueueEntry& page, int32_t workerNumber, std::vector<FoundLink> links)
    : page_(page), workerNumber_(workerNumber), links_(std::move(links)) {}

size_t PageLinkHandOver::Step(size_t count, UrlQueue& queue, IEnqueueHost& host, const LinkFilter& filter) {
    const size_t end = next_ + std::min(count, Remaining());
    std::vector<std::string> kept;
    kept.reserve(end - next_);
    for (size_t i = next_; i < end; ++i) kept.push_back(links_[i].AsFound());
    if (filter) filter(kept);

    // The filter drops links and keeps the others in order: each kept text is matched to its
    // prepared link. A text the filter made up itself is prepared here.
    size_t queued = 0;
    size_t at = next_;
    for (std::string& text : kept) {
        while (at < end && links_[at].AsFound() != text) ++at;
        UrlQueueEntry entry;
        if (at < end) {
            FoundLink& link = links_[at++];
            entry.url = std::move(link.url);
            entry.isImage = link.isImage ? 1 : 0;
            entry.extension = std::move(link.extension);
        } else {
            if (!MakeQueueUrl(text, entry.url)) continue;
            entry.isImage = host.ClassifyUrl(entry.url, entry.extension) ? 1 : 0;
        }
        if (EnqueuePreparedLink(queue, entry, page_, host)) ++queued;
    }
    // What was taken is let go of at once: a long page frees its memory as it goes.
    for (size_t i = next_; i < end; ++i) links_[i] = FoundLink();
    next_ = end;
    return queued;
}

void PageLinkHandOver::Abandon() {
    links_.clear();
    links_.shrink_to_fit();
    next_ = 0;
}
