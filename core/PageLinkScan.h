#pragma once
// Finds a fetched page's links on the worker thread that fetched it, so that a page of hundreds
// of thousands of links never holds the window: the extraction (capped per kind), then the work
// on each link that needs nothing of the run, its queue form and whether it names a picture.
// What needs the run (the task's filter and link test, the queue and its maps) is left to the
// download manager on the window's thread, which takes the links over a slice at a time
// (PageLinkHandOver).
#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One found link in its queue form, its file type known.
struct FoundLink {
    std::string url;        // queue form (MakeQueueUrl)
    std::string asFound;    // as the page gave it, made absolute; empty when the same as url
    std::string extension;  // ".jpg"; empty when none
    bool isImage = false;

    // The text the task's filter judges.
    const std::string& AsFound() const { return asFound.empty() ? url : asFound; }
};

// What a scan reads from the settings, copied when the worker is made: the options may change
// while it runs.
struct PageScanSettings {
    std::vector<HtmlTagEntry> tags;        // "HtmlTagsWithUrls"
    std::vector<FileTypeGroup> fileTypes;  // tells pictures from pages
};

class PageLinkScan {
public:
    enum class Outcome { kNotRun, kScanned, kStopped, kOutOfMemory };

    PageLinkScan(const std::string& pageUrl, const std::string& referrerUrl, PageScanSettings settings);
    PageLinkScan(const PageLinkScan&) = delete;
    PageLinkScan& operator=(const PageLinkScan&) = delete;

    // Any thread. Scans the body as its Content-Type says: an HTML page, a script, or nothing.
    // stopRequested (may be empty) is asked now and then; once it says yes the scan ends and
    // keeps no link.
    Outcome Run(const uint8_t* body, size_t count, const std::string& contentType,
                const std::function<bool()>& stopRequested);

    Outcome GetOutcome() const { return outcome_; }
    // The links in the order found; links that cannot be queued (other schemes) are left out.
    std::vector<FoundLink>& Links() { return links_; }
    // Links past the cap of their kind; not 0 means the page held more than it may bring.
    size_t DroppedLinks() const { return dropped_; }

private:
    void Prepare(std::vector<std::string>& found, const std::function<bool()>& stopRequested);

    std::string pageUrl_;
    std::string referrerUrl_;
    PageScanSettings settings_;
    Outcome outcome_ = Outcome::kNotRun;
    std::vector<FoundLink> links_;
    size_t dropped_ = 0;
};
