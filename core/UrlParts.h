#pragma once
// The engine's one URL parser: splits an address into its parts, gives it back as text and
// builds the canonical form under which addresses are queued and compared.
#include <cstdint>
#include <string>

enum class UrlSchemeKind { Http, Https, Ftp, File, Other, Unknown };

class UrlParts {
public:
    // Longest address text the engine handles (the classic browser limit).
    static const size_t kMaxUrlLength = 2083;

    UrlParts();

    // Splits text into its parts. A text that names no scheme is taken as http ("www.x.org/a"
    // and "host:8080/a" are http addresses). Returns false for a text that is no usable
    // address (empty host of a web address, a bad port, control characters in the host...);
    // the parts are then reset to the defaults.
    bool Parse(const std::string& text);

    const std::string& SchemeName() const { return scheme_; }
    UrlSchemeKind SchemeKind() const { return kind_; }
    const std::string& UserName() const { return user_; }
    const std::string& Password() const { return password_; }
    const std::string& HostName() const { return host_; }
    int Port() const { return port_; }
    // True when the text named the port itself (":8080").
    bool HasExplicitPort() const { return explicitPort_; }
    const std::string& Path() const { return path_; }
    // The query and fragment, from the first '?' or '#' on, including that character.
    const std::string& ExtraInfo() const { return extra_; }

    // The address as text: scheme, "//", user info, host, port when it is not the scheme's
    // default, path, extra information. Empty when that would exceed kMaxUrlLength.
    std::string ToString() const;

    // Canonical form: scheme and host lower-cased, "." and ".." path segments resolved,
    // characters that may not stand in a path percent-escaped, the query kept as it is
    // (only blanks and control characters escaped), the fragment removed. User name and
    // password are dropped; a port other than the scheme's default is kept.
    // Returns false for a text that does not parse or whose result is too long.
    static bool Canonicalize(const std::string& text, std::string& out);

    // Default port of a scheme kind (80 for http and unknown schemes).
    static int DefaultPort(UrlSchemeKind kind);
    static UrlSchemeKind KindOfScheme(const std::string& lowerScheme);

private:
    void Reset();

    std::string scheme_;
    UrlSchemeKind kind_;
    std::string user_;
    std::string password_;
    std::string host_;
    int port_;
    bool explicitPort_;
    std::string path_;
    std::string extra_;
};

// Which texts the scheme reader takes for a scheme name. Both read a letter, then letters, digits,
// '+', '-' or '.', then ':'. An address as typed or stored reads a name followed by ':' and a
// digit as a host with its port ("example.com:8080/x"); a link on a page does not (browsers read
// the reference "host:8080" as the scheme "host").
enum class SchemeRule { PortMeansHost, AnyName };

// Where the scheme name at text[from] ends: the index of its ':', or 0 when none stands there.
size_t UrlSchemeEnd(const std::string& text, SchemeRule rule, size_t from = 0);

// The schemes whose links the engine follows: http, https, ftp and file (lower case).
bool IsLinkScheme(const std::string& lowerScheme);

// Resolves "." and ".." segments of a path that begins with '/' (or is empty).
std::string RemoveDotSegments(const std::string& path);

// The length of the "http://" or "https://" (any case) the text begins with; 0 for any other
// start. The checks of an address typed or shown as a web page start here.
size_t WebSchemeLength(const std::string& text);
