#pragma once
// Finds the addresses of links and pictures in a downloaded page: in the attributes of the
// configured tags and, inside scripts, in assignments to well-known properties and calls of
// open(). Works on plain text with substring searches on a lower-cased copy of the page;
// values are copied from the page as it came, so their letter case is kept.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/HtmlTagEntry.h"


enum PageKind : int32_t {
    kPageKindNone = -1,    // neither HTML nor a script: nothing is scanned
    kPageKindHtml = 1,
    kPageKindScript = 2,
};

// The kind of a fetched body from its Content-Type: a script when it names javascript (also
// when it names text/html too), HTML when it names text/html, else none.
int PageKindFromContentType(const std::string& contentType);

class PageLinkParser {
public:
    // Links of each kind (pages, pictures) taken from one page at most; a hostile page of
    // millions of links would otherwise hold the UI thread and fill memory with queue entries.
    // The kinds are counted apart so that a page's pictures keep their place however many page
    // links come before them. The rest are counted as dropped.
    static constexpr size_t kMaxLinks = 100000;
    // Tells picture links from page links (an absolute address in, true for a picture). With
    // none, every link counts as a page link. Kept for every later page.
    void SetPictureTest(std::function<bool(const std::string&)> isPicture) { isPicture_ = std::move(isPicture); }
    // Asked now and then while a page is scanned (on the scanning thread); once it says yes the
    // scan ends where it is. Kept for every later page.
    void SetStopTest(std::function<bool()> stopRequested) { stopTest_ = std::move(stopRequested); }
    // The last scan was ended by the stop test: its results are incomplete.
    bool Stopped() const { return stopped_; }

    PageLinkParser();
    PageLinkParser(const PageLinkParser&) = delete;
    PageLinkParser& operator=(const PageLinkParser&) = delete;

    // Scans one page with the settings' tag list ("HtmlTagsWithUrls"). For an HTML page the
    // base tag and the page address give the base of relative links; for a script the
    // referring page's address does. Any other kind finds nothing.
    void SetPage(const std::string& pageUrl, const std::string& referrerUrl, int kind, const char* body,
                 size_t length, const std::vector<HtmlTagEntry>& tags);

    // The found absolute addresses in the order found (duplicates kept).
    void GetResults(std::vector<std::string>& out) const { out = results_; }
    const std::vector<std::string>& Results() const { return results_; }
    // Moves the found addresses out (the parser keeps none).
    void TakeResults(std::vector<std::string>& out) {
        out.clear();
        out.swap(results_);
    }
    // Links found past the cap of their kind (not returned); not 0 means the page held more.
    // The tag scan stops once both kinds are full, so it is no full count.
    size_t DroppedLinks() const { return dropped_; }
    // The base set by the page's base tag (absolute), empty when none.
    const std::string& BaseUrl() const { return base_; }

    // The first '>' at or after pos that is not inside a quoted run, or the text's length.
    size_t FindTagEnd(size_t pos);

    // The value of attribute name (lower case) of the tag at tagPos; empty when the tag has
    // none, when it is empty or when it begins with one of the excluded prefixes.
    std::string ReadAttribute(size_t tagPos, const std::string& name,
                              const std::vector<std::string>* excludedPrefixes);

    // Makes url absolute against the base (or the page's address). Returns false, leaving
    // url unchanged, when it cannot be an http-family address (empty, javascript:, data:,
    // mailto: ...).
    bool MakeAbsolute(std::string& url) const;

private:
    struct Region {
        size_t start;
        size_t end;
    };
    // Next occurrence of one attribute name, remembered between tags so that a name that
    // occurs rarely is not searched for again to the end of the page for every tag.
    struct AttributeCursor {
        size_t searchedFrom = 0;
        size_t found = 0;         // npos when none at or after searchedFrom
        bool valid = false;
        size_t cachedAt = 0;      // occurrence and tag end the cached value was read for
        size_t cachedEnd = 0;
        bool cacheValid = false;
        std::string cachedValue;  // before the excluded-prefix test
    };

    void ReadBase();
    void ScanPage(const std::vector<HtmlTagEntry>& tags);
    void ScanScript(size_t from, size_t to);
    void ScanScriptAssignments(const std::string& word, size_t from, size_t to);
    void ScanScriptOpenCalls(size_t from, size_t to);
    void AddScriptValue(size_t valueStart, size_t valueEnd);
    void AddResult(std::string value);
    // Counts an absolute link against its kind's cap; false (and counted as dropped) when full.
    bool TakeLink(const std::string& absolute);
    bool BothKindsFull() const;
    bool ScanIsOver() const;
    bool StopRequested();
    void BuildTagEndIndex();
    size_t FindAttributeName(AttributeCursor& cursor, const std::string& name, size_t from);
    std::string ReadAttributeAt(size_t tagPos, size_t nameFrom, const std::string& name, AttributeCursor& cursor,
                                const std::vector<std::string>* excludedPrefixes);
    size_t Find(const std::string& needle, size_t from, size_t to) const;

    std::string pageUrl_;
    std::string base_;
    std::string text_;       // the page as it came
    std::string lower_;      // the same, lower-cased byte by byte
    std::vector<std::string> results_;
    std::vector<Region> scripts_;
    size_t dropped_ = 0;
    size_t pageLinks_ = 0;
    size_t pictureLinks_ = 0;
    std::function<bool(const std::string&)> isPicture_;
    std::function<bool()> stopTest_;
    bool stopped_ = false;
    uint32_t stopChecks_ = 0;

    // Positions of '>', '"' and '\'' with, for each, where a tag scan starting there ends.
    bool tagEndIndexBuilt_ = false;
    std::vector<uint32_t> specials_;
    std::vector<uint32_t> tagEndFromSpecial_;
};
