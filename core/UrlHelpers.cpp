#include "core/UrlHelpers.h"

#include <algorithm>

#include "core/UrlParts.h"

namespace {

// Length of a leading "scheme:" to drop, or 0. A name followed by ':' and a digit is a host
// with its port ("example.com:8080"), not a scheme.
size_t LeadingSchemeLength(const std::string& s)
{
    // Spaces go anyway; a pasted address may begin with some.
    const size_t start = s.find_first_not_of(' ');
    if (start == std::string::npos)
        return 0;
    const size_t colon = UrlSchemeEnd(s, SchemeRule::PortMeansHost, start);
    return colon == 0 ? 0 : colon + 1;
}

}  // namespace

void NormalizeUrl(std::string& url)
{
    // The two-scheme test looks at the text as typed, before backslashes turn into slashes.
    const bool bothSchemes = url.find("http://") != std::string::npos && url.find("https://") != std::string::npos;
    std::replace(url.begin(), url.end(), '\\', '/');
    if (bothSchemes)
        return;

    std::string s = url.substr(LeadingSchemeLength(url));

    // Only the path part is tidied; the query and fragment may hold slashes that mean something.
    size_t pathEnd = s.find_first_of("?#");
    if (pathEnd == std::string::npos)
        pathEnd = s.size();
    std::string out;
    out.reserve(s.size() + 8);
    // Slash runs shrink before spaces go, so a space between two slashes keeps both.
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ' ')
            continue;
        if (c == '/' && i < pathEnd && i > 0 && s[i - 1] == '/')
            continue;
        out.push_back(c);
    }
    url = (!out.empty() && out[0] == '/') ? "http:/" + out : "http://" + out;
}

void UrlPathToFilePath(std::string& path)
{
    const size_t q = path.find('?');
    if (q != std::string::npos)
        path.erase(q);
    std::replace(path.begin(), path.end(), '/', '\\');
}

std::string GetUrlFileExtension(const std::string& url)
{
    if (url.size() <= 7)
        return std::string();
    std::string rest = url.substr(7);
    const size_t q = rest.find('?');
    if (q != std::string::npos)
        rest.erase(q);
    const size_t slash = rest.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    const size_t dot = rest.rfind('.');
    if (dot == std::string::npos || dot < slash)
        return std::string();
    return rest.substr(dot);
}

void SplitUrl(const std::string& text, std::string* folder, std::string* name, bool slash)
{
    const char sep = slash ? '/' : '\\';
    size_t s = text.rfind(sep);
    if (slash && s != std::string::npos && s < 7 &&
        (text.compare(0, 7, "http://") == 0 || text.compare(0, 7, "file://") == 0)) {
        s = text.size() - 1;
    }
    auto whole = [&]() {
        if (folder)
            *folder = text;
        if (name)
            name->clear();
    };
    if (s == std::string::npos) {
        whole();
        return;
    }
    const size_t q = text.find('?');
    if (q != std::string::npos && q < s) {
        s = q == 0 ? std::string::npos : text.rfind(sep, q - 1);
        if (s == std::string::npos) {
            whole();
            return;
        }
    }
    std::string f = text.substr(0, s + 1);
    if (!f.empty() && f[0] == sep)
        f.erase(0, 1);
    std::string n = text.substr(s + 1);
    if (folder)
        *folder = f;
    if (name)
        *name = n;
}
