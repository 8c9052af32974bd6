#pragma once
// Resolving a link found on a page against the page's address, the way browsers do it.
#include <string>

// Resolves reference against the absolute address base: "?q" replaces the base's query,
// "#f" keeps the base with a new fragment, "//host/x" takes only the base's scheme, "/x"
// keeps the base's scheme, user info, host and port, and any other relative path is
// merged with the base's folder; "." and ".." segments are resolved. Letter case is kept.
// Absolute http, https, ftp and file addresses are returned as written. Returns false (out
// untouched) for an empty reference, for any other scheme (javascript:, data:, mailto:,
// ...) and when base is not an absolute hierarchical address.
bool ResolveUrlReference(const std::string& base, const std::string& reference, std::string& out);

// True when text begins with a scheme name and ':' ("mailto:", "HTTP:").
bool HasUrlScheme(const std::string& text, std::string* lowerScheme = nullptr);
