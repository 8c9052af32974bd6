#include "core/UrlParts.h"

#include "core/StringHelpers.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace {

bool IsSchemeChar(char c) {
    return IsLetterAscii(c) || IsDigitAscii(c) || c == '+' || c == '-' || c == '.';
}

bool IsWebKind(UrlSchemeKind k) {
    return k == UrlSchemeKind::Http || k == UrlSchemeKind::Https || k == UrlSchemeKind::Ftp;
}

// Characters that cannot stand in a host name.
bool IsBadHostChar(unsigned char c) {
    if (c <= 0x20 || c == 0x7F) return true;
    switch (c) {
    case '"': case '#': case '<': case '>': case '?': case '@': case '\\': case '^': case '`':
    case '{': case '|': case '}': case '/': case '[': case ']':
        return true;
    default:
        return false;
    }
}

bool NeedsEscapeInPath(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return true;
    switch (c) {
    case '"': case '<': case '>': case '`': case '{': case '}':
        return true;
    default:
        return false;
    }
}

}  // namespace

UrlParts::UrlParts() { Reset(); }

void UrlParts::Reset() {
    scheme_ = "http";
    kind_ = UrlSchemeKind::Http;
    user_.clear();
    password_.clear();
    host_.clear();
    port_ = 80;
    explicitPort_ = false;
    path_.clear();
    extra_.clear();
}

UrlSchemeKind UrlParts::KindOfScheme(const std::string& s) {
    if (s == "http") return UrlSchemeKind::Http;
    if (s == "https") return UrlSchemeKind::Https;
    if (s == "ftp") return UrlSchemeKind::Ftp;
    if (s == "file") return UrlSchemeKind::File;
    if (s == "mailto" || s == "javascript" || s == "data" || s == "news" || s == "gopher" ||
        s == "telnet" || s == "about" || s == "nntp" || s == "phone" || s == "tel")
        return UrlSchemeKind::Other;
    return UrlSchemeKind::Unknown;
}

int UrlParts::DefaultPort(UrlSchemeKind kind) {
    switch (kind) {
    case UrlSchemeKind::Https: return 443;
    case UrlSchemeKind::Ftp: return 21;
    case UrlSchemeKind::File:
    case UrlSchemeKind::Other: return 0;
    default: return 80;
    }
}

bool UrlParts::Parse(const std::string& text) {
    Reset();
    if (text.empty() || text.size() > kMaxUrlLength) return false;

    size_t pos = 0;
    bool namedScheme = false;
    // "host:8080/x" is a host with a port, not a scheme named "host".
    const size_t colon = UrlSchemeEnd(text, SchemeRule::PortMeansHost);
    if (colon != 0) {
        scheme_ = ToLowerAsciiCopy(text.substr(0, colon));
        kind_ = KindOfScheme(scheme_);
        namedScheme = true;
        pos = colon + 1;
    }

    const bool web = IsWebKind(kind_) || kind_ == UrlSchemeKind::Unknown;
    bool hasAuthority = false;
    if (text.compare(pos, 2, "//") == 0 || (web && text.compare(pos, 2, "\\\\") == 0)) {
        pos += 2;
        hasAuthority = true;
    } else if (!namedScheme || IsWebKind(kind_)) {
        // "www.host.org/x", or "http:host/x" which browsers read the same way.
        hasAuthority = true;
    }

    if (!hasAuthority && (kind_ == UrlSchemeKind::Other || kind_ == UrlSchemeKind::Unknown)) {
        // Opaque addresses such as mailto: and javascript: keep everything as their path.
        const size_t extraAt = text.find_first_of("?#", pos);
        path_ = text.substr(pos, extraAt == std::string::npos ? std::string::npos : extraAt - pos);
        if (extraAt != std::string::npos) extra_ = text.substr(extraAt);
        port_ = DefaultPort(kind_);
        return true;
    }

    if (hasAuthority) {
        size_t end = text.find_first_of(web ? "/?#\\" : "/?#", pos);
        if (end == std::string::npos) end = text.size();
        std::string authority = text.substr(pos, end - pos);
        pos = end;

        const size_t at = authority.rfind('@');
        if (at != std::string::npos) {
            const std::string userInfo = authority.substr(0, at);
            const size_t colon = userInfo.find(':');
            user_ = userInfo.substr(0, colon);
            if (colon != std::string::npos) password_ = userInfo.substr(colon + 1);
            authority.erase(0, at + 1);
        }

        std::string portText;
        bool hasPort = false;
        if (!authority.empty() && authority[0] == '[') {
            const size_t close = authority.find(']');
            if (close == std::string::npos) {
                Reset();
                return false;
            }
            host_ = authority.substr(0, close + 1);
            const std::string rest = authority.substr(close + 1);
            if (!rest.empty()) {
                if (rest[0] != ':') {
                    Reset();
                    return false;
                }
                portText = rest.substr(1);
                hasPort = true;
            }
            for (size_t i = 1; i + 1 < host_.size(); ++i) {
                const unsigned char c = static_cast<unsigned char>(host_[i]);
                if (!std::isxdigit(c) && c != ':' && c != '.') {
                    Reset();
                    return false;
                }
            }
        } else {
            const size_t colon = authority.rfind(':');
            host_ = authority.substr(0, colon);
            if (colon != std::string::npos) {
                portText = authority.substr(colon + 1);
                hasPort = true;
            }
            for (char c : host_) {
                if (IsBadHostChar(static_cast<unsigned char>(c))) {
                    Reset();
                    return false;
                }
            }
        }

        if (hasPort && !portText.empty()) {
            if (portText.size() > 5) {
                Reset();
                return false;
            }
            int value = 0;
            for (char c : portText) {
                if (!std::isdigit(static_cast<unsigned char>(c))) {
                    Reset();
                    return false;
                }
                value = value * 10 + (c - '0');
            }
            if (value > 65535) {
                Reset();
                return false;
            }
            port_ = value;
            explicitPort_ = true;
        }
        if (host_.empty() && IsWebKind(kind_)) {
            Reset();
            return false;
        }
    }

    const size_t extraAt = text.find_first_of("?#", pos);
    path_ = text.substr(pos, extraAt == std::string::npos ? std::string::npos : extraAt - pos);
    if (extraAt != std::string::npos) extra_ = text.substr(extraAt);
    if (web) {
        for (char& c : path_) {
            if (c == '\\') c = '/';
        }
    }
    if (!explicitPort_) port_ = DefaultPort(kind_);
    return true;
}

std::string UrlParts::ToString() const {
    std::string out = scheme_;
    const bool opaque = (kind_ == UrlSchemeKind::Other || kind_ == UrlSchemeKind::Unknown) && host_.empty() &&
                        (path_.empty() || path_[0] != '/');
    if (opaque) {
        out += ':';
    } else {
        out += "://";
        if (!user_.empty() || !password_.empty()) {
            out += user_;
            if (!password_.empty()) out += ':' + password_;
            out += '@';
        }
        out += host_;
        if (explicitPort_ && port_ != DefaultPort(kind_)) out += ':' + std::to_string(port_);
        if (!path_.empty() && path_[0] != '/') out += '/';
    }
    out += path_;
    out += extra_;
    if (out.size() > kMaxUrlLength) return std::string();
    return out;
}

std::string RemoveDotSegments(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    if (path.find("/.") == std::string::npos) return path;  // nothing to resolve
    std::vector<std::string> out;
    size_t start = 1;
    while (true) {
        size_t slash = path.find('/', start);
        const bool last = slash == std::string::npos;
        const std::string seg = path.substr(start, last ? std::string::npos : slash - start);
        if (seg == ".") {
            if (last) out.emplace_back();
        } else if (seg == "..") {
            if (!out.empty()) out.pop_back();
            if (last) out.emplace_back();
        } else {
            out.push_back(seg);
        }
        if (last) break;
        start = slash + 1;
    }
    std::string result;
    for (const std::string& seg : out) {
        result += '/';
        result += seg;
    }
    return result.empty() ? "/" : result;
}

bool UrlParts::Canonicalize(const std::string& text, std::string& out) {
    UrlParts parts;
    if (!parts.Parse(text)) return false;

    std::string host = ToLowerAsciiCopy(parts.host_);
    std::string result = parts.scheme_;
    const bool hierarchical = parts.kind_ != UrlSchemeKind::Other &&
                              !(parts.kind_ == UrlSchemeKind::Unknown && host.empty());
    if (!hierarchical) {
        result += ':';
        result += parts.path_;
    } else {
        result += "://";
        result += host;
        if (parts.explicitPort_ && parts.port_ != DefaultPort(parts.kind_))
            result += ':' + std::to_string(parts.port_);
        std::string path = parts.path_;
        if (path.empty() || path[0] != '/') path.insert(path.begin(), '/');
        path = RemoveDotSegments(path);
        for (char c : path) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (NeedsEscapeInPath(u)) AppendPercentEscape(result, u);
            else result += c;
        }
    }
    // The fragment never reaches the server; the query goes as written, but a blank or a
    // control character would break the request line.
    std::string query = parts.extra_.substr(0, parts.extra_.find('#'));
    for (char c : query) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F) AppendPercentEscape(result, u);
        else result += c;
    }
    if (result.size() > kMaxUrlLength) return false;
    out = result;
    return true;
}

size_t UrlSchemeEnd(const std::string& text, SchemeRule rule, size_t from) {
    if (from >= text.size() || !IsLetterAscii(text[from])) return 0;
    size_t i = from + 1;
    while (i < text.size() && IsSchemeChar(text[i])) ++i;
    if (i >= text.size() || text[i] != ':') return 0;
    if (rule == SchemeRule::PortMeansHost && i + 1 < text.size() && IsDigitAscii(text[i + 1])) return 0;
    return i;
}

bool IsLinkScheme(const std::string& lowerScheme) {
    const UrlSchemeKind kind = UrlParts::KindOfScheme(lowerScheme);
    return kind == UrlSchemeKind::Http || kind == UrlSchemeKind::Https || kind == UrlSchemeKind::Ftp ||
           kind == UrlSchemeKind::File;
}

size_t WebSchemeLength(const std::string& text) {
    for (const char* scheme : {"http://", "https://"})
        if (StartsWithNoCase(text, scheme)) return std::strlen(scheme);
    return 0;
}
