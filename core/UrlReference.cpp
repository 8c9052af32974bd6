#include "core/UrlReference.h"

#include "core/StringHelpers.h"
#include "core/UrlParts.h"

namespace {

struct SplitAddress {
    std::string scheme;     // lower case
    std::string authority;  // as written, user info and port included
    std::string path;
    std::string query;      // with its '?', empty when none
};

// Splits an absolute hierarchical address; false when it has no scheme or no "//".
bool SplitBase(const std::string& text, SplitAddress& out) {
    std::string scheme;
    if (!HasUrlScheme(text, &scheme)) return false;
    size_t pos = scheme.size() + 1;
    if (text.compare(pos, 2, "//") != 0) return false;
    pos += 2;
    size_t end = text.find_first_of("/?#", pos);
    if (end == std::string::npos) end = text.size();
    out.scheme = scheme;
    out.authority = text.substr(pos, end - pos);
    const size_t queryAt = text.find_first_of("?#", end);
    out.path = text.substr(end, queryAt == std::string::npos ? std::string::npos : queryAt - end);
    out.query.clear();
    if (queryAt != std::string::npos && text[queryAt] == '?') {
        const size_t hash = text.find('#', queryAt);
        out.query = text.substr(queryAt, hash == std::string::npos ? std::string::npos : hash - queryAt);
    }
    return true;
}

// Browsers drop tabs and line breaks anywhere in an address and blanks at its ends.
std::string CleanReference(const std::string& ref) {
    std::string r;
    r.reserve(ref.size());
    for (char c : ref) {
        if (c != '\t' && c != '\n' && c != '\r') r += c;
    }
    return TrimText(r, TrimSet::SpaceAndControls);
}

}  // namespace

bool HasUrlScheme(const std::string& text, std::string* lowerScheme) {
    const size_t colon = UrlSchemeEnd(text, SchemeRule::AnyName);
    if (colon == 0) return false;
    if (lowerScheme) *lowerScheme = ToLowerAsciiCopy(text.substr(0, colon));
    return true;
}

bool ResolveUrlReference(const std::string& base, const std::string& reference, std::string& out) {
    std::string ref = CleanReference(reference);
    if (ref.empty()) return false;

    SplitAddress b;
    const bool baseOk = SplitBase(base, b);

    std::string refScheme;
    if (HasUrlScheme(ref, &refScheme)) {
        if (!IsLinkScheme(refScheme)) return false;
        const std::string rest = ref.substr(refScheme.size() + 1);
        const bool relativeForm = rest.compare(0, 2, "//") != 0 && rest.compare(0, 2, "\\\\") != 0;
        if (!relativeForm) {
            out = ref;
            return true;
        }
        // "http:page.html" on an http page is relative; without its "//" under another
        // scheme it names no host and is no usable address.
        if (!baseOk || refScheme != b.scheme) return false;
        ref = rest;
        if (ref.empty()) return false;
    }
    if (!baseOk) return false;

    // In web addresses browsers read a backslash as a slash (up to the query).
    const size_t refQuery = ref.find_first_of("?#");
    for (size_t i = 0; i < ref.size() && i < refQuery; ++i) {
        if (ref[i] == '\\') ref[i] = '/';
    }

    const std::string prefix = b.scheme + "://" + b.authority;
    if (ref.compare(0, 2, "//") == 0) {
        const size_t pathAt = ref.find_first_of("/?#", 2);
        std::string result = b.scheme + ":" + ref.substr(0, pathAt);
        if (pathAt != std::string::npos) {
            const size_t q = ref.find_first_of("?#", pathAt);
            result += RemoveDotSegments(ref.substr(pathAt, q == std::string::npos ? std::string::npos : q - pathAt));
            if (q != std::string::npos) result += ref.substr(q);
        }
        out = result;
        return true;
    }
    if (ref[0] == '#') {
        out = prefix + (b.path.empty() ? "/" : b.path) + b.query + ref;
        return true;
    }
    if (ref[0] == '?') {
        out = prefix + (b.path.empty() ? "/" : b.path) + ref;
        return true;
    }

    const size_t q = ref.find_first_of("?#");
    std::string refPath = ref.substr(0, q);
    const std::string refRest = q == std::string::npos ? std::string() : ref.substr(q);
    std::string merged;
    if (refPath[0] == '/') {
        merged = refPath;
    } else if (b.path.empty()) {
        merged = "/" + refPath;
    } else {
        const size_t slash = b.path.rfind('/');
        merged = (slash == std::string::npos ? std::string("/") : b.path.substr(0, slash + 1)) + refPath;
    }
    out = prefix + RemoveDotSegments(merged) + refRest;
    return true;
}
