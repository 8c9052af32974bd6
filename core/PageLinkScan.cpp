#include "core/PageLinkScan.h"

#include "core/LinkEnqueuer.h"
#include "core/PageLinkParser.h"

#include <new>

PageLinkScan::PageLinkScan(const std::string& pageUrl, const std::string& referrerUrl, PageScanSettings settings)
    : pageUrl_(pageUrl), referrerUrl_(referrerUrl), settings_(std::move(settings)) {}

PageLinkScan::Outcome PageLinkScan::Run(const uint8_t* body, size_t count, const std::string& contentType,
                                        const std::function<bool()>& stopRequested) {
    links_.clear();
    dropped_ = 0;
    try {
        std::vector<std::string> found;
        {
            // The parser's two copies of the page go before the links are prepared.
            PageLinkParser parser;
            const std::vector<FileTypeGroup>& fileTypes = settings_.fileTypes;
            // Pictures are capped apart from page links, so a page crowded with links still
            // brings its pictures.
            parser.SetPictureTest(
                [&fileTypes](const std::string& url) { return IsKnownFileType(fileTypes, url, nullptr); });
            if (stopRequested) parser.SetStopTest(stopRequested);
            parser.SetPage(pageUrl_, referrerUrl_, PageKindFromContentType(contentType),
                           reinterpret_cast<const char*>(body), body ? count : 0, settings_.tags);
            if (parser.Stopped()) return outcome_ = Outcome::kStopped;
            dropped_ = parser.DroppedLinks();
            parser.TakeResults(found);
        }
        Prepare(found, stopRequested);
        if (outcome_ == Outcome::kStopped) links_.clear();
    } catch (const std::bad_alloc&) {
        links_.clear();
        links_.shrink_to_fit();
        outcome_ = Outcome::kOutOfMemory;
    }
    return outcome_;
}

void PageLinkScan::Prepare(std::vector<std::string>& found, const std::function<bool()>& stopRequested) {
    links_.reserve(found.size());
    std::string canonical;
    for (size_t i = 0; i < found.size(); ++i) {
        if (stopRequested && (i & 1023) == 1023 && stopRequested()) {
            outcome_ = Outcome::kStopped;
            return;
        }
        std::string& text = found[i];
        if (!MakeQueueUrl(text, canonical)) continue;   // not an http or file address: never queued
        FoundLink link;
        if (canonical == text) {
            link.url = std::move(text);
        } else {
            link.url = canonical;
            link.asFound = std::move(text);
        }
        link.isImage = IsKnownFileType(settings_.fileTypes, link.url, &link.extension);
        links_.push_back(std::move(link));
    }
    outcome_ = Outcome::kScanned;
}
