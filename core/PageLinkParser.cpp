#include "core/PageLinkParser.h"

#include "core/StringHelpers.h"
#include "core/UrlParts.h"
#include "core/UrlReference.h"

#include <algorithm>
#include <string_view>

namespace {

const size_t npos = std::string::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

// True when text begins with a web scheme written out with its "//".
bool IsAbsoluteWebAddress(const std::string& text) {
    std::string scheme;
    if (!HasUrlScheme(text, &scheme)) return false;
    if (!IsLinkScheme(scheme)) return false;
    return text.compare(scheme.size() + 1, 2, "//") == 0;
}

// Attribute values are HTML text: "a.php?x=1&amp;y=2" names "a.php?x=1&y=2". Only the
// references that stand for ASCII characters are decoded; anything else stays as written.
std::string DecodeCharacterReferences(const std::string& value) {
    if (value.find('&') == std::string::npos) return value;
    static const struct { const char* name; char c; } kNamed[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '&') {
            out += value[i];
            continue;
        }
        bool decoded = false;
        for (const auto& named : kNamed) {
            const size_t len = std::char_traits<char>::length(named.name);
            if (value.compare(i + 1, len, named.name) == 0 ||
                (named.c == '&' && value.compare(i + 1, len, "AMP;") == 0)) {
                out += named.c;
                i += len;
                decoded = true;
                break;
            }
        }
        if (!decoded && i + 2 < value.size() && value[i + 1] == '#') {
            const bool hex = value[i + 2] == 'x' || value[i + 2] == 'X';
            size_t j = i + (hex ? 3 : 2);
            unsigned code = 0;
            size_t digits = 0;
            while (j < value.size() && digits < 6) {
                const char c = value[j];
                const int d = hex ? HexDigitValue(c) : (IsDigitAscii(c) ? c - '0' : -1);
                if (d < 0) break;
                code = code * (hex ? 16 : 10) + static_cast<unsigned>(d);
                ++digits;
                ++j;
            }
            if (digits > 0 && j < value.size() && value[j] == ';' && code > 0x20 && code < 0x7F) {
                out += static_cast<char>(code);
                i = j;
                decoded = true;
            }
        }
        if (!decoded) out += '&';
    }
    return out;
}

}  // namespace

int PageKindFromContentType(const std::string& contentType) {
    const std::string lower = ToLowerAsciiCopy(contentType.substr(0, 2047));
    if (lower.find("javascript") != std::string::npos) return kPageKindScript;
    if (lower.find("text/html") != std::string::npos) return kPageKindHtml;
    return kPageKindNone;
}

PageLinkParser::PageLinkParser() = default;

size_t PageLinkParser::Find(const std::string& needle, size_t from, size_t to) const {
    if (from >= to || needle.empty()) return npos;
    std::string_view view(lower_.data() + from, to - from);
    const size_t at = view.find(needle);
    return at == std::string_view::npos ? npos : from + at;
}

void PageLinkParser::SetPage(const std::string& pageUrl, const std::string& referrerUrl, int kind,
                             const char* body, size_t length, const std::vector<HtmlTagEntry>& tags) {
    pageUrl_ = pageUrl;
    base_.clear();
    results_.clear();
    dropped_ = 0;
    stopped_ = false;
    pageLinks_ = pictureLinks_ = 0;
    scripts_.clear();
    tagEndIndexBuilt_ = false;
    specials_.clear();
    tagEndFromSpecial_.clear();
    // Positions are kept as 32-bit numbers.
    const size_t kMaxBody = 0x7FFFFFFF;
    if (!body) length = 0;
    if (length > kMaxBody) length = kMaxBody;
    text_.assign(body ? body : "", length);
    lower_ = ToLowerAsciiCopy(text_);

    if (kind == kPageKindHtml) {
        ReadBase();
        ScanPage(tags);
    } else if (kind == kPageKindScript) {
        if (!referrerUrl.empty()) {
            std::string base;
            if (ResolveUrlReference(pageUrl_, referrerUrl, base)) base_ = base.substr(0, base.find('#'));
        }
        ScanScript(0, lower_.size());
    }
}

void PageLinkParser::BuildTagEndIndex() {
    tagEndIndexBuilt_ = true;
    const size_t len = lower_.size();
    for (size_t i = 0; i < len; ++i) {
        const char c = lower_[i];
        if (c == '>' || c == '"' || c == '\'') specials_.push_back(static_cast<uint32_t>(i));
    }
    const size_t n = specials_.size();
    tagEndFromSpecial_.assign(n, static_cast<uint32_t>(len));
    // Right to left: where a scan that starts outside quotes at special k ends. A quote
    // jumps to the next quote of its kind and the scan goes on after it.
    size_t nextDouble = npos, nextSingle = npos;
    for (size_t k = n; k-- > 0;) {
        const char c = lower_[specials_[k]];
        if (c == '>') {
            tagEndFromSpecial_[k] = specials_[k];
            continue;
        }
        const size_t close = (c == '"') ? nextDouble : nextSingle;
        if (close == npos || close + 1 >= n) tagEndFromSpecial_[k] = static_cast<uint32_t>(len);
        else tagEndFromSpecial_[k] = tagEndFromSpecial_[close + 1];
        if (c == '"') nextDouble = k;
        else nextSingle = k;
    }
}

size_t PageLinkParser::FindTagEnd(size_t pos) {
    if (!tagEndIndexBuilt_) BuildTagEndIndex();
    if (pos >= lower_.size()) return lower_.size();
    const auto it = std::lower_bound(specials_.begin(), specials_.end(), static_cast<uint32_t>(pos));
    if (it == specials_.end()) return lower_.size();
    return tagEndFromSpecial_[static_cast<size_t>(it - specials_.begin())];
}

size_t PageLinkParser::FindAttributeName(AttributeCursor& cursor, const std::string& name, size_t from) {
    // Tags are visited in increasing order, so an occurrence found for an earlier tag is
    // still the first one for a later tag that starts before it.
    if (cursor.valid && from >= cursor.searchedFrom && (cursor.found == npos || cursor.found >= from))
        return cursor.found;
    cursor.valid = true;
    cursor.searchedFrom = from;
    cursor.found = Find(name, from, lower_.size());
    return cursor.found;
}

std::string PageLinkParser::ReadAttributeAt(size_t tagPos, size_t nameFrom, const std::string& name,
                                            AttributeCursor& cursor,
                                            const std::vector<std::string>* excludedPrefixes) {
    if (name.empty()) return std::string();
    const size_t end = FindTagEnd(tagPos);
    const size_t at = FindAttributeName(cursor, name, nameFrom);
    if (at == npos || at >= end) return std::string();

    std::string value;
    if (cursor.cacheValid && cursor.cachedAt == at && cursor.cachedEnd == end) {
        value = cursor.cachedValue;
    } else {
        const size_t len = lower_.size();
        size_t i = at + name.size();
        while (i < len && IsSpace(lower_[i])) ++i;
        if (i < len && lower_[i] == '=') {
            ++i;
            while (i < end && IsSpace(lower_[i])) ++i;
            if (i < end) {
                if (lower_[i] == '\\') ++i;  // \" inside script text
                char delimiter = 0;
                if (i < end && IsQuote(lower_[i])) delimiter = lower_[i++];
                for (; i < end; ++i) {
                    const char c = text_[i];
                    if (IsSpace(c) || (delimiter && c == delimiter)) break;
                    if (c != '\\') {
                        value += c;
                    } else if (i + 1 < end && !IsQuote(text_[i + 1])) {
                        value += '/';  // browsers read "dir\file" as "dir/file"
                    }                  // "\"" is an escaped closing quote: dropped
                }
            }
        }
        value = DecodeCharacterReferences(value);
        cursor.cacheValid = true;
        cursor.cachedAt = at;
        cursor.cachedEnd = end;
        cursor.cachedValue = value;
    }
    if (excludedPrefixes) {
        for (const std::string& prefix : *excludedPrefixes) {
            if (!prefix.empty() && StartsWithNoCase(value, prefix)) return std::string();
        }
    }
    return value;
}

std::string PageLinkParser::ReadAttribute(size_t tagPos, const std::string& name,
                                          const std::vector<std::string>* excludedPrefixes) {
    AttributeCursor cursor;
    return ReadAttributeAt(tagPos, tagPos + 1, ToLowerAsciiCopy(name), cursor, excludedPrefixes);
}

void PageLinkParser::ReadBase() {
    size_t pos = 0;
    while ((pos = Find("<base", pos, lower_.size())) != npos) {
        const size_t next = pos + 5;
        if (next < lower_.size() && IsSpace(lower_[next])) {
            std::string href = ReadAttribute(pos, "href", nullptr);
            std::string resolved;
            if (!href.empty() && ResolveUrlReference(pageUrl_, href, resolved))
                base_ = resolved.substr(0, resolved.find('#'));
            return;  // later base tags are ignored
        }
        pos = next;
    }
}

void PageLinkParser::ScanPage(const std::vector<HtmlTagEntry>& tags) {
    const size_t len = lower_.size();

    // Script regions: from the end of the opening tag to the next "</script", unless
    // another "<script" opens before that. The close search remembers its last answer so
    // that many openings do not rescan the page.
    size_t closeSearchedFrom = 0, nextClose = npos;
    bool closeKnown = false;
    size_t open = Find("<script", 0, len);
    while (open != npos && !StopRequested()) {
        const size_t nextOpen = Find("<script", open + 1, len);
        if (!closeKnown || open + 1 < closeSearchedFrom || (nextClose != npos && nextClose <= open)) {
            closeSearchedFrom = open + 1;
            nextClose = Find("</script", open + 1, len);
            closeKnown = true;
        }
        if (nextClose != npos && (nextOpen == npos || nextOpen > nextClose)) {
            const size_t tagEnd = FindTagEnd(open);
            const size_t start = std::min(tagEnd + 1, nextClose);
            scripts_.push_back(Region{start, nextClose});
            ScanScript(start, nextClose);
        }
        open = nextOpen;
    }

    for (const HtmlTagEntry& rule : tags) {
        // Once both kinds are full and a link past them turned up, the rest brings nothing more.
        if (ScanIsOver() || StopRequested()) break;
        const std::string needle = "<" + ToLowerAsciiCopy(rule.tag);
        std::vector<std::string> attributes;
        for (const std::string& a : rule.attributes) attributes.push_back(ToLowerAsciiCopy(a));
        std::vector<AttributeCursor> cursors(attributes.size());
        size_t region = 0;
        size_t pos = 0;
        while (!ScanIsOver() && !StopRequested() && (pos = Find(needle, pos, len)) != npos) {
            const size_t next = pos + needle.size();
            if (next < len && IsSpace(lower_[next])) {
                while (region < scripts_.size() && scripts_[region].end < pos) ++region;
                const bool inScript = region < scripts_.size() && scripts_[region].start <= pos;
                if (!inScript) {
                    for (size_t a = 0; a < attributes.size(); ++a) {
                        // The search starts after the tag name, which may contain the attribute's.
                        std::string value =
                            ReadAttributeAt(pos, next, attributes[a], cursors[a], &rule.excludedPrefixes);
                        if (!value.empty()) AddResult(std::move(value));
                    }
                }
            }
            ++pos;
        }
    }
}

bool PageLinkParser::BothKindsFull() const {
    return pageLinks_ >= kMaxLinks && (!isPicture_ || pictureLinks_ >= kMaxLinks);
}

bool PageLinkParser::ScanIsOver() const {
    return dropped_ > 0 && BothKindsFull();
}

bool PageLinkParser::StopRequested() {
    // The test may take a lock: it is asked once every few hundred steps.
    if (!stopped_ && stopTest_ && (++stopChecks_ & 255) == 0) stopped_ = stopTest_();
    return stopped_;
}

bool PageLinkParser::TakeLink(const std::string& absolute) {
    size_t& taken = isPicture_ && isPicture_(absolute) ? pictureLinks_ : pageLinks_;
    if (taken >= kMaxLinks) {
        ++dropped_;
        return false;
    }
    ++taken;
    return true;
}

void PageLinkParser::AddResult(std::string value) {
    if (BothKindsFull()) {
        ++dropped_;
        return;
    }
    if (MakeAbsolute(value) && TakeLink(value)) results_.push_back(std::move(value));
}

void PageLinkParser::AddScriptValue(size_t valueStart, size_t valueEnd) {
    if (BothKindsFull()) {
        ++dropped_;
        return;
    }
    std::string value = text_.substr(valueStart, valueEnd - valueStart);
    // A value written as \"x\" inside a string keeps its escaping backslash at the end.
    if (!value.empty() && value.back() == '\\') value.pop_back();
    if (value.empty() || !MakeAbsolute(value)) return;
    UrlParts parts;
    if (parts.Parse(value) && TakeLink(value)) results_.push_back(std::move(value));
}

void PageLinkParser::ScanScriptAssignments(const std::string& word, size_t from, size_t to) {
    size_t pos = from;
    while (!StopRequested() && (pos = Find(word, pos, to)) != npos) {
        size_t i = pos + word.size();
        while (i < to && IsSpace(lower_[i])) ++i;
        if (i >= to || lower_[i] != '=') {
            pos = i;
            continue;
        }
        ++i;
        while (i < to && IsSpace(lower_[i])) ++i;
        if (i < to && lower_[i] == '\\') ++i;
        if (i >= to || !IsQuote(lower_[i])) {
            pos = i;  // unquoted values (variables, expressions) are no addresses
            continue;
        }
        const size_t valueStart = ++i;
        while (i < to && !IsQuote(lower_[i]) && lower_[i] != '\0' && !IsSpace(lower_[i])) ++i;
        if (i < to && IsQuote(lower_[i])) {
            AddScriptValue(valueStart, i);
            ++i;
        }
        pos = i;
    }
}

void PageLinkParser::ScanScriptOpenCalls(size_t from, size_t to) {
    size_t pos = from;
    while (!StopRequested() && (pos = Find("open", pos, to)) != npos) {
        size_t i = pos + 4;
        while (i < to && IsSpace(lower_[i])) ++i;
        if (i >= to || lower_[i] != '(') {
            pos = i;
            continue;
        }
        ++i;
        while (i < to && IsSpace(lower_[i])) ++i;
        if (i >= to || !IsQuote(lower_[i])) {
            pos = i;
            continue;
        }
        const char quote = lower_[i];
        const size_t valueStart = ++i;
        while (i < to && lower_[i] != quote && lower_[i] != '\0' && !IsSpace(lower_[i])) ++i;
        if (i < to && lower_[i] == quote) {
            AddScriptValue(valueStart, i);
            ++i;
        }
        pos = i;
    }
}

void PageLinkParser::ScanScript(size_t from, size_t to) {
    if (from >= to) return;
    static const char* const kWords[] = {"src", "location", "href", "background"};
    for (const char* word : kWords) ScanScriptAssignments(word, from, to);
    ScanScriptOpenCalls(from, to);
}

bool PageLinkParser::MakeAbsolute(std::string& url) const {
    if (url.empty()) return false;
    const std::string& base = base_.empty() ? pageUrl_ : base_;
    std::string resolved;
    if (!ResolveUrlReference(base, url, resolved)) return false;
    // A link written out in full keeps its fragment; a resolved one loses it.
    if (!IsAbsoluteWebAddress(url)) resolved = resolved.substr(0, resolved.find('#'));
    url = resolved;
    return true;
}
