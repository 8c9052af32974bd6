#include "core/SiteLinkTest.h"

#include "core/SearchLinkTask.h"
#include "core/StringHelpers.h"
#include "core/UrlHelpers.h"
#include "core/UrlParts.h"
#include "core/UrlQueueEntry.h"
#include "core/WildcardMatch.h"

#include <cstdint>

namespace {

// Location rules: 0 same host and path, 1 same host, 2 anywhere. Values the dialogs never
// produce are judged as "same host", the safe middle.
int LocationRule(int32_t value) {
    return (value >= 0 && value <= 2) ? value : 1;
}

// Found links arrive escaped ("%C3%A4", "%20", "%7B"), while start addresses, filters and
// masks are what the user typed. Both sides are compared unescaped: one form for both.
std::string Unescaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        int high, low;
        if (text[i] == '%' && i + 2 < text.size() && (high = HexDigitValue(text[i + 1])) >= 0 &&
            (low = HexDigitValue(text[i + 2])) >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// An address in the canonical form of found links (dot segments resolved, unsafe characters
// escaped), then unescaped; a text that is no address is only unescaped.
std::string ComparableUrl(const std::string& url) {
    std::string canonical;
    return Unescaped(UrlParts::Canonicalize(url, canonical) ? canonical : url);
}

// Empty filter texts would match every address; they are no filters.
bool ContainsAny(const std::string& url, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        if (!part.empty() && ContainsNoCase(url, Unescaped(part))) return true;
    }
    return false;
}

bool HasAny(const std::vector<std::string>& list) {
    for (const std::string& s : list) {
        if (!s.empty()) return true;
    }
    return false;
}

bool PassesUrlLists(const std::string& url, const std::vector<std::string>& excluded,
                    const std::vector<std::string>& included) {
    if (!HasAny(excluded) && !HasAny(included)) return true;
    const std::string comparable = ComparableUrl(url);
    if (ContainsAny(comparable, excluded)) return false;
    if (HasAny(included) && !ContainsAny(comparable, included)) return false;
    return true;
}

// name is unescaped already.
bool MatchesAnyMask(const std::string& name, const std::vector<std::string>& masks) {
    for (const std::string& mask : masks) {
        if (!mask.empty() && WildcardMatch(name, Unescaped(mask), true)) return true;
    }
    return false;
}

bool WithinAnyStart(const SearchLinkTask& task, const std::string& url, bool withPath) {
    for (const StartingAddress& start : task.StartingAddresses) {
        if (IsWithinStartAddress(url, start.Url, withPath)) return true;
    }
    return false;
}

bool HasWantedFileType(const SearchLinkTask& task, const std::string& extension,
                       const std::vector<FileTypeGroup>& groups) {
    if (extension.empty()) return false;
    if (task.UseAllFileTypes) return IsListedFileType(groups, extension);
    for (const std::string& type : task.Filetypes) {
        if (type == extension) return true;  // the task's own list: exact, case included
    }
    return false;
}

bool AcceptPictureLink(const SearchLinkTask& task, const UrlQueueEntry& entry,
                       const std::vector<FileTypeGroup>& groups) {
    if (!PassesUrlLists(entry.url, task.ImageExcludedUrls, task.ImageIncludedUrls)) return false;
    if (task.DownloadImagesOnlyFromSite && !WithinAnyStart(task, entry.url, false)) return false;

    std::string name;
    SplitUrl(entry.url, nullptr, &name, true);
    name = Unescaped(name);
    if (MatchesAnyMask(name, task.ExcludedNames)) return false;
    if (HasAny(task.IncludedNames) && !MatchesAnyMask(name, task.IncludedNames)) return false;

    if (!HasWantedFileType(task, entry.extension, groups)) return false;

    // Judged on the page the picture was found on, not on the picture's own address.
    const int location = LocationRule(task.ImageLinksLocation);
    if (location == 2) return true;
    return WithinAnyStart(task, entry.referrer, location == 0);
}

bool AcceptPageLink(const SearchLinkTask& task, const UrlQueueEntry& entry) {
    if (!PassesUrlLists(entry.url, task.ExcludedUrls, task.IncludedUrls)) return false;
    // -1 ("no limit") is the largest unsigned number.
    if (static_cast<uint32_t>(entry.level) > static_cast<uint32_t>(task.Levels)) return false;
    const int location = LocationRule(task.PageLinksLocation);
    if (location == 2) return true;
    return WithinAnyStart(task, entry.url, location == 0);
}

}  // namespace

bool IsWithinStartAddress(const std::string& url, const std::string& startUrl, bool withPath) {
    // Both in the found links' canonical form: the start address as typed may hold dot
    // segments, blanks, braces or letters that a found link carries escaped.
    std::string linkText, startText;
    if (!UrlParts::Canonicalize(url, linkText)) linkText = url;
    if (!UrlParts::Canonicalize(startUrl, startText)) startText = startUrl;
    UrlParts link, start;
    link.Parse(linkText);  // a malformed address keeps an empty host and path
    start.Parse(startText);
    if (start.HostName().empty() || !EqualsNoCase(link.HostName(), start.HostName())) return false;
    return !withPath || StartsWithNoCase(Unescaped(link.Path()), Unescaped(start.Path()));
}

bool AcceptSiteLink(const SearchLinkTask& task, const UrlQueueEntry& entry, const std::vector<FileTypeGroup>& groups) {
    return entry.isImage ? AcceptPictureLink(task, entry, groups) : AcceptPageLink(task, entry);
}
