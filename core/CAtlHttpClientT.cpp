#include "core/CAtlHttpClientT.h"

#include "core/BasicAuthObject.h"
#include "core/StringHelpers.h"
#include "core/SystemProxy.h"
#include "core/TextFormat.h"
#include "core/UrlParts.h"
#include "core/UrlReference.h"

#include <cstring>
#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

const char kUserAgentLine[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool HasControlChars(const std::string& text) {
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
            return true;
    }
    return false;
}

// Header values: only the blanks HTTP allows around them go.
std::string Trim(const std::string& text) {
    return TrimText(text, TrimSet::SpaceAndTab);
}

// Parses a decimal length with overflow checks; blanks around it are allowed.
bool ParseDecimalLength(const std::string& text, uint64_t& value) {
    std::string t = Trim(text);
    if (t.empty() || t.size() > 19)
        return false;
    uint64_t v = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    value = v;
    return true;
}

// Request-line text: bytes that may not stand in a request line are percent-escaped.
void AppendEscapedTarget(std::string& out, const std::string& text) {
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7f) {
            AppendPercentEscape(out, u);
        } else {
            out += c;
        }
    }
}

}  // namespace

bool CAtlHttpClientT::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        char x = ToLowerAscii(a[i]), y = ToLowerAscii(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

CAtlHttpClientT::CAtlHttpClientT()
    : proxyPort_(0), statusCode_(-1), bodyLength_(0), headerLength_(0), bodyOffset_(0), readPos_(0),
      hasSettings_(false), lastReadResult_(kReadNothingYet), processFlags_(0), redirectCount_(0),
      navigateDepth_(0), bodyTooLarge_(false) {}

CAtlHttpClientT::~CAtlHttpClientT() {}

void CAtlHttpClientT::OnSetCookie(const std::string&) {}

void CAtlHttpClientT::ResetResponse() {
    headers_.clear();
    authSchemes_.clear();
    buffer_.clear();
    statusCode_ = -1;
    bodyLength_ = 0;
    headerLength_ = 0;
    bodyOffset_ = 0;
    readPos_ = 0;
    bodyTooLarge_ = false;
}

bool CAtlHttpClientT::Navigate(const char* url, const HttpRequestSettings* settings) {
    // Redirects are counted over one whole navigation, authorization retries included.
    if (navigateDepth_ == 0) {
        redirectCount_ = 0;
        socket_.SetLastError(0);
    }
    ++navigateDepth_;
    bool ok = NavigateOnce(url, settings);
    --navigateDepth_;
    return ok;
}

bool CAtlHttpClientT::NavigateOnce(const char* url, const HttpRequestSettings* settings) {
    ResetResponse();
    url_ = CurrentUrl();
    method_.clear();
    lastReadResult_ = kReadNothingYet;
    // The settings may be a copy of our own (authorization retries), so copy before resetting.
    HttpRequestSettings chosen = settings ? *settings : HttpRequestSettings();
    settings_ = chosen;
    hasSettings_ = true;
    method_ = settings_.method;
    socket_.SetTimeout(settings_.timeoutMs);

    if (!url || !*url || method_.empty() || HasControlChars(method_) || method_.find(' ') != std::string::npos)
        return false;
    if (!ParseTarget(url, settings_.port, url_))
        return false;

    // Every navigation starts on a fresh connection: the previous one may lead elsewhere.
    socket_.Close();
    std::string request = BuildRequest(settings_.extraHeaders.empty() ? nullptr : &settings_.extraHeaders);
    if (!ConnectAndSend(request, true))
        return false;
    if (ReadResponse() != kReadSuccess) {
        socket_.Close();
        return false;
    }
    if ((settings_.flags & HttpRequestSettings::kProcessStatus) && !ProcessStatus(settings_.flags)) {
        socket_.Close();
        return false;
    }
    return true;
}

bool CAtlHttpClientT::ParseTarget(const std::string& text, int defaultPort, CurrentUrl& out) const {
    if (text.empty() || text.size() > kMaxUrlText || HasControlChars(text))
        return false;
    UrlParts parts;
    if (!parts.Parse(text) || parts.SchemeKind() != UrlSchemeKind::Http || parts.HostName().empty())
        return false;
    CurrentUrl url;
    url.host = parts.HostName();
    url.port = parts.HasExplicitPort() ? parts.Port() : defaultPort;
    if (url.port <= 0 || url.port > 65535)
        return false;
    url.path = parts.Path();
    if (url.path.empty() || url.path[0] != '/')
        url.path.insert(0, "/");
    const std::string& extra = parts.ExtraInfo();
    if (!extra.empty() && extra[0] == '?') {
        size_t hash = extra.find('#');
        url.query = extra.substr(0, hash);
    }
    out = url;
    return true;
}

std::string CAtlHttpClientT::GetCurrentUrlText() const {
    if (url_.host.empty())
        return std::string();
    std::string text = "http://" + url_.host;
    if (url_.port != 80)
        text += ":" + std::to_string(url_.port);
    text += url_.path;
    text += url_.query;
    return text;
}

std::string CAtlHttpClientT::BuildRequest(const std::string* extraHeaders) const {
    std::string hostLine;
    if (url_.port == 80)
        hostLine = "Host: " + url_.host + "\r\n";
    else
        hostLine = "Host: " + url_.host + ":" + std::to_string(url_.port) + "\r\n";

    std::string r = method_ + " ";
    const bool proxy = !proxyHost_.empty();
    if (proxy) {
        std::string full = "http://" + url_.host;
        if (url_.port != 80)
            full += ":" + std::to_string(url_.port);
        AppendEscapedTarget(full, url_.path);
        AppendEscapedTarget(full, url_.query);
        r += full;
    } else {
        AppendEscapedTarget(r, url_.path);
        AppendEscapedTarget(r, url_.query);
    }
    r += " HTTP/1.1\r\n";
    if (proxy)
        r += hostLine;
    if (settings_.bodyLength != 0) {
        r += FormatText("Content-Length: %u\r\n", static_cast<unsigned>(settings_.bodyLength));
    }
    if (settings_.hasContentType && (proxy || !settings_.contentType.empty()))
        r += "Content-Type: " + settings_.contentType + "\r\n";
    if (extraHeaders)
        r += *extraHeaders;
    if (!proxy)
        r += hostLine;
    r += kUserAgentLine;
    r += "\r\n";
    return r;
}

bool CAtlHttpClientT::ConnectAndSend(const std::string& request, bool withBody) {
    const bool proxy = !proxyHost_.empty();
    const std::string& host = proxy ? proxyHost_ : url_.host;
    int port = proxy ? proxyPort_ : url_.port;
    if (!socket_.Connect(host.c_str(), port))
        return false;
    uint32_t n = static_cast<uint32_t>(request.size());
    if (!socket_.Write(request.data(), &n) || n != request.size()) {
        socket_.Close();
        return false;
    }
    // A request without a body is always reported; one with a body only when sending is reported.
    const bool hasBody = withBody && settings_.bodyLength != 0;
    if (settings_.sendCallback && (!hasBody || (settings_.flags & HttpRequestSettings::kReportSending)) &&
        !settings_.sendCallback(n, settings_.sendParam)) {
        socket_.Close();
        return false;
    }
    if (withBody && settings_.bodyLength != 0 && !SendBody()) {
        socket_.Close();
        return false;
    }
    return true;
}

bool CAtlHttpClientT::SendBody() {
    if (!settings_.body)
        return false;
    uint32_t total = settings_.bodyLength;
    uint32_t block = (settings_.flags & HttpRequestSettings::kSendInBlocks) && settings_.sendBlockSize ? settings_.sendBlockSize
                                                                                                     : total;
    uint32_t sent = 0;
    while (sent < total) {
        uint32_t n = total - sent < block ? total - sent : block;
        uint32_t want = n;
        if (!socket_.Write(settings_.body + sent, &n) || n != want)
            return false;
        sent += n;
        if ((settings_.flags & HttpRequestSettings::kReportSending) && settings_.sendCallback &&
            !settings_.sendCallback(n, settings_.sendParam))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------- response reading

uint64_t CAtlHttpClientT::BodyLimit() const {
    return settings_.maxBodyBytes ? settings_.maxBodyBytes : kDefaultMaxBody;
}

bool CAtlHttpClientT::ReadMore(size_t maxBytes, uint32_t& got) {
    got = 0;
    if (maxBytes == 0)
        maxBytes = HttpRequestSettings::kDefaultBlockSize;
    size_t old = buffer_.size();
    try {
        if (buffer_.capacity() < old + maxBytes) {
            // Doubling stops short of what the address space can hold (a 32-bit process with
            // a large size ceiling): past that the plain need is asked for. It never goes past
            // what the whole response may take (headers, the body ceiling and one read), so a
            // body near the ceiling does not reserve twice its size.
            size_t doubled = buffer_.capacity() < buffer_.max_size() / 2 ? buffer_.capacity() * 2 : old + maxBytes;
            const uint64_t headerPart = bodyOffset_ ? bodyOffset_ : readPos_ + kMaxHeaderBlock + 2048;
            const uint64_t ceiling = headerPart + BodyLimit() + maxBytes;
            if (ceiling < doubled)
                doubled = static_cast<size_t>(ceiling);
            buffer_.reserve(std::max(old + maxBytes, doubled < 4096 ? size_t(4096) : doubled));
        }
        buffer_.resize(old + maxBytes);
    } catch (const std::exception&) {  // bad_alloc, or length_error beyond max_size
        buffer_.resize(old);
        return false;
    }
    uint32_t n = static_cast<uint32_t>(maxBytes);
    bool ok = socket_.Read(&buffer_[old], &n);
    if (!ok)
        n = 0;
    buffer_.resize(old + n);
    got = n;
    return ok;
}

bool CAtlHttpClientT::ReportRead(uint32_t bytes, bool withBody) {
    if (!settings_.readCallback)
        return true;
    const uint8_t* body = withBody ? GetBody() : nullptr;
    return settings_.readCallback(bytes, settings_.readParam, body, withBody ? bodyLength_ : 0);
}

const uint8_t* CAtlHttpClientT::GetBody() const {
    if (bodyOffset_ == 0 || bodyOffset_ > buffer_.size())
        return nullptr;
    return buffer_.data() + bodyOffset_;
}

int CAtlHttpClientT::ReadHeaders(size_t& headerEnd) {
    int zeroReads = 0;
    size_t searchFrom = readPos_;
    for (;;) {
        for (size_t i = searchFrom; i + 4 <= buffer_.size(); ++i) {
            if (buffer_[i] == '\r' && buffer_[i + 1] == '\n' && buffer_[i + 2] == '\r' && buffer_[i + 3] == '\n') {
                headerEnd = i;
                return kReadSuccess;
            }
        }
        if (buffer_.size() - readPos_ > kMaxHeaderBlock)
            return kReadBadHeader;
        searchFrom = buffer_.size() >= readPos_ + 3 ? buffer_.size() - 3 : readPos_;
        uint32_t got = 0;
        if (!ReadMore(2048, got))
            return kReadSocketFailed;
        if (got == 0) {
            if (++zeroReads >= 5)
                return kReadSocketFailed;
            continue;
        }
        if (!ReportRead(got, false))
            return kReadSocketFailed;
    }
}

bool CAtlHttpClientT::ParseStatusLine(size_t start, size_t end, size_t& nextLine) {
    // The status line is the first line: "HTTP/1.1 200 OK".
    size_t lf = start;
    while (lf < end && buffer_[lf] != '\n')
        ++lf;
    size_t p = start;
    while (p < lf && buffer_[p] != ' ' && buffer_[p] != '\t')
        ++p;
    while (p < lf && (buffer_[p] == ' ' || buffer_[p] == '\t'))
        ++p;
    if (p >= lf || buffer_[p] < '0' || buffer_[p] > '9')
        return false;
    int32_t code = 0;
    int digits = 0;
    while (p < lf && buffer_[p] >= '0' && buffer_[p] <= '9') {
        if (++digits > 3)
            return false;
        code = code * 10 + (buffer_[p] - '0');
        ++p;
    }
    if (code < 100 || (p < lf && buffer_[p] != ' ' && buffer_[p] != '\t' && buffer_[p] != '\r'))
        return false;
    statusCode_ = code;
    nextLine = lf < end ? lf + 1 : end;
    return true;
}

void CAtlHttpClientT::AddHeader(const std::string& name, const std::string& value) {
    if (EqualsNoCase(name, "www-authenticate"))
        authSchemes_.push_back(std::make_pair(value, false));
    else if (EqualsNoCase(name, "proxy-authenticate"))
        authSchemes_.push_back(std::make_pair(value, true));
    if (EqualsNoCase(name, "set-cookie"))
        OnSetCookie(value);
    auto it = headers_.find(name);
    if (it == headers_.end())
        headers_[name] = value;
    else
        it->second += "," + value;
}

bool CAtlHttpClientT::ParseHeaderLines(size_t start, size_t end) {
    // [start, end) holds header lines, each ending in CR LF; a line that begins with a blank
    // continues the header before it.
    std::string name, value;
    bool pending = false;
    size_t p = start;
    while (p < end) {
        size_t e = p;
        while (e + 1 < end && !(buffer_[e] == '\r' && buffer_[e + 1] == '\n'))
            ++e;
        if (e + 1 >= end)
            return false;
        std::string line(reinterpret_cast<const char*>(&buffer_[p]), e - p);
        p = e + 2;
        for (char c : line) {
            unsigned char u = static_cast<unsigned char>(c);
            if ((u < 0x20 && c != '\t') || u == 0x7f)
                return false;
        }
        if (!line.empty() && IsBlank(line[0])) {
            if (!pending)
                return false;
            std::string more = Trim(line);
            if (!more.empty())
                value += (value.empty() ? "" : " ") + more;
        } else {
            if (pending) {
                if (value.size() >= kMaxHeaderText)
                    return false;
                AddHeader(name, value);
            }
            size_t colon = line.find(':');
            if (colon == std::string::npos || colon == 0 || colon >= kMaxHeaderText)
                return false;
            name = line.substr(0, colon);
            value = Trim(line.substr(colon + 1));
            pending = true;
        }
        if (value.size() >= kMaxHeaderText)
            return false;
    }
    if (pending)
        AddHeader(name, value);
    return true;
}

int CAtlHttpClientT::ReadResponse() {
    lastReadResult_ = kReadNothingYet;
    size_t headerEnd = 0;
    int interim = 0;
    for (;;) {
        headers_.clear();
        authSchemes_.clear();
        statusCode_ = -1;
        headerLength_ = 0;
        bodyLength_ = 0;
        bodyOffset_ = 0;
        int r = ReadHeaders(headerEnd);
        if (r != kReadSuccess)
            return lastReadResult_ = r;
        size_t nextLine = 0;
        if (!ParseStatusLine(readPos_, headerEnd + 2, nextLine)) {
            statusCode_ = -1;
            return lastReadResult_ = kReadBadStatusLine;
        }
        if (statusCode_ >= 100 && statusCode_ < 200) {
            // An interim response ("100 Continue"): the real one follows.
            readPos_ = headerEnd + 4;
            if (++interim > kMaxInterimResponses) {
                statusCode_ = -1;
                return lastReadResult_ = kReadBadStatusLine;
            }
            continue;
        }
        if (!ParseHeaderLines(nextLine, headerEnd + 2))
            return lastReadResult_ = kReadBadHeader;
        headerLength_ = headerEnd + 4 - readPos_;
        break;
    }
    bodyOffset_ = headerEnd + 4;
    readPos_ = bodyOffset_;

    std::string transferEncoding, contentLength, connection;
    int r = kReadSuccess;
    if (GetHeader("Transfer-Encoding", transferEncoding) && EqualsNoCase(Trim(transferEncoding), "chunked")) {
        r = ReadChunkedBody();
    } else if (statusCode_ == 204 || statusCode_ == 304 || EqualsNoCase(method_, "HEAD")) {
        buffer_.resize(bodyOffset_);
        bodyLength_ = 0;
    } else if (GetHeader("Content-Length", contentLength)) {
        uint64_t length = 0;
        if (!ParseDecimalLength(contentLength, length))
            r = kReadBodyFailed;
        else if (length > BodyLimit())
            r = TooLarge(kReadBodyFailed);
        else
            r = ReadBodyWithLength(length);
    } else {
        r = ReadBodyToClose();
    }
    if (r != kReadSuccess)
        return lastReadResult_ = r;
    if (GetHeader("Connection", connection) && EqualsNoCase(Trim(connection), "close"))
        socket_.Close();
    return lastReadResult_ = kReadSuccess;
}

int CAtlHttpClientT::ReadBodyWithLength(uint64_t length) {
    uint64_t have = buffer_.size() - bodyOffset_;
    if (have >= length) {
        buffer_.resize(bodyOffset_ + static_cast<size_t>(length));
        bodyLength_ = length;
        return kReadSuccess;
    }
    bodyLength_ = have;
    uint32_t block = settings_.readBlockSize ? settings_.readBlockSize : HttpRequestSettings::kDefaultBlockSize;
    while (bodyLength_ < length) {
        uint64_t left = length - bodyLength_;
        uint32_t got = 0;
        if (!ReadMore(left < block ? static_cast<size_t>(left) : block, got) || got == 0)
            return kReadBodyFailed;
        bodyLength_ += got;
        if (!ReportRead(got, true))
            return kReadBodyFailed;
    }
    return kReadSuccess;
}

int CAtlHttpClientT::ReadBodyToClose() {
    // Without a length only an orderly close ends the body; a break or a time-out leaves it
    // incomplete.
    bodyLength_ = buffer_.size() - bodyOffset_;
    if (bodyLength_ > BodyLimit())
        return TooLarge(kReadBodyFailed);
    uint32_t block = settings_.readBlockSize ? settings_.readBlockSize : HttpRequestSettings::kDefaultBlockSize;
    for (;;) {
        uint32_t got = 0;
        if (!ReadMore(block, got))
            return kReadBodyFailed;
        if (got == 0)
            break;
        bodyLength_ += got;
        if (bodyLength_ > BodyLimit())
            return TooLarge(kReadBodyFailed);
        if (!ReportRead(got, true))
            return kReadBodyFailed;
    }
    socket_.Close();
    return kReadSuccess;
}

int CAtlHttpClientT::ReadChunkedBody() {
    // Decoded in place: 'out' is the end of the decoded body, 'in' the next raw byte (in >= out).
    size_t out = bodyOffset_;
    size_t in = bodyOffset_;
    uint64_t total = 0;
    const uint64_t limit = BodyLimit();
    uint32_t block = settings_.readBlockSize ? settings_.readBlockSize : HttpRequestSettings::kDefaultBlockSize;

    // Makes at least n raw bytes available from 'in', moving the raw rest down to 'out' first.
    auto ensure = [&](size_t n) -> bool {
        while (buffer_.size() - in < n) {
            if (in > out) {
                size_t rest = buffer_.size() - in;
                if (rest)
                    memmove(&buffer_[out], &buffer_[in], rest);
                buffer_.resize(out + rest);
                in = out;
            }
            uint32_t got = 0;
            if (!ReadMore(block, got) || got == 0)
                return false;
        }
        return true;
    };

    for (;;) {
        // Chunk-size line: up to 8 hexadecimal digits, then CR LF directly.
        uint64_t size = 0;
        int digits = 0;
        for (;;) {
            if (!ensure(1))
                return kReadChunkedFailed;
            int h = HexDigitValue(static_cast<char>(buffer_[in]));
            if (h < 0)
                break;
            if (++digits > 8)
                return kReadChunkedFailed;
            size = size * 16 + static_cast<uint64_t>(h);
            ++in;
        }
        if (digits == 0 || !ensure(2) || buffer_[in] != '\r' || buffer_[in + 1] != '\n')
            return kReadChunkedFailed;
        in += 2;
        if (size == 0)
            break;
        if (total + size > limit)
            return TooLarge(kReadChunkedFailed);
        uint64_t left = size;
        while (left > 0) {
            if (!ensure(1))
                return kReadChunkedFailed;
            size_t avail = buffer_.size() - in;
            size_t n = left < avail ? static_cast<size_t>(left) : avail;
            if (in != out)
                memmove(&buffer_[out], &buffer_[in], n);
            out += n;
            in += n;
            left -= n;
        }
        total += size;
        bodyLength_ = total;
        if (!ensure(2) || buffer_[in] != '\r' || buffer_[in + 1] != '\n')
            return kReadChunkedFailed;
        in += 2;
    }

    // Trailer lines up to the empty line, when the response announced them. Otherwise the
    // last chunk ends the body: its closing empty line is not waited for, as the connection
    // is never used for another request.
    std::string trailer;
    const bool hasTrailer = GetHeader("Trailer", trailer);
    size_t trailerBytes = 0;
    while (hasTrailer) {
        size_t lineLength = 0;
        for (;;) {
            if (!ensure(lineLength + 2))
                return kReadChunkedFailed;
            if (buffer_[in + lineLength] == '\r' && buffer_[in + lineLength + 1] == '\n')
                break;
            if (++lineLength + trailerBytes > kMaxHeaderBlock)
                return kReadChunkedFailed;
        }
        in += lineLength + 2;
        trailerBytes += lineLength + 2;
        if (lineLength == 0)
            break;
    }
    buffer_.resize(out);
    bodyLength_ = total;
    return kReadSuccess;
}

int CAtlHttpClientT::TooLarge(int result) {
    bodyTooLarge_ = true;
    return result;
}

// ---------------------------------------------------------------- headers

bool CAtlHttpClientT::GetHeader(const char* name, std::string& value) const {
    if (!name)
        return false;
    auto it = headers_.find(name);
    if (it == headers_.end())
        return false;
    value = it->second;
    return true;
}

bool CAtlHttpClientT::GetHeaderValue(const char* name, char* buffer, uint32_t* length) const {
    std::string value;
    if (!length || !GetHeader(name, value))
        return false;
    CopyOutText(value, buffer, length);
    return true;
}

// ---------------------------------------------------------------- status, redirects, proxy

bool CAtlHttpClientT::ProcessStatus(uint32_t flags) {
    processFlags_ = flags;
    int32_t s = statusCode_;
    if ((s >= 200 && s <= 206) || s == 304 || s == 305)
        return true;
    if (s >= 301 && s <= 303)
        return (flags & HttpRequestSettings::kFollowRedirects) ? Redirect(flags) : false;
    if (s == 401)
        return NegotiateAuth(false);
    if (s == 407)
        return NegotiateAuth(true);
    return false;
}

bool CAtlHttpClientT::Redirect(uint32_t flags) {
    std::string location;
    if (!GetHeader("Location", location))
        return true;  // nowhere to go: this response is the result
    if (++redirectCount_ > kMaxRedirects)
        return false;
    location = Trim(location);
    if (location.empty() || HasControlChars(location))
        return false;
    std::string resolved;
    if (!ResolveUrlReference(GetCurrentUrlText(), location, resolved))
        return false;
    CurrentUrl next;
    if (!ParseTarget(resolved, 80, next))
        return false;

    url_ = next;
    socket_.Close();
    ResetResponse();
    // Cookies and credentials belong to the first address: never to where it redirects.
    settings_.extraHeaders.clear();
    std::string request = BuildRequest(nullptr);
    if (!ConnectAndSend(request, false))
        return false;
    if (ReadResponse() != kReadSuccess) {
        socket_.Close();
        return false;
    }
    // The final response must pass too: a redirect to a missing page is a failure.
    return ProcessStatus(flags);
}

bool CAtlHttpClientT::SetProxy(const char* host, int port) {
    if (host) {
        std::string h(host);
        if (h.empty()) {
            proxyHost_.clear();
            proxyPort_ = 0;
            return true;
        }
        if (HasControlChars(h) || h.find(' ') != std::string::npos || port <= 0 || port > 65535)
            return false;
        proxyHost_ = h;
        proxyPort_ = static_cast<uint16_t>(port);
        return true;
    }
    std::string systemHost;
    int systemPort = 0;
    if (!ReadSystemProxy(systemHost, systemPort))
        return false;
    proxyHost_ = systemHost;
    proxyPort_ = static_cast<uint16_t>(systemPort);
    return true;
}

// ---------------------------------------------------------------- authorization

bool CAtlHttpClientT::AddAuthObj(const char* scheme, CBasicAuthObject* object, IAuthInfo* info) {
    if (!scheme || !*scheme || !object)
        return false;
    object->Init(this, info);
    AuthEntry entry = {object, info, false};
    authObjects_[scheme] = entry;
    return true;
}

void CAtlHttpClientT::MarkAuthObjectUsed(const char* scheme) {
    auto it = authObjects_.find(scheme);
    if (it != authObjects_.end())
        it->second.used = true;
}

bool CAtlHttpClientT::NegotiateAuth(bool proxy) {
    // The proxy password goes to the proxy only: a 407 without a proxy comes from elsewhere.
    if (proxy && proxyHost_.empty())
        return false;
    // Answering navigates again, which replaces the offered list: walk a copy.
    std::vector<std::pair<std::string, bool> > offered = authSchemes_;
    for (const auto& challenge : offered) {
        if (challenge.second != proxy)
            continue;
        const std::string& text = challenge.first;
        size_t blank = text.find_first_of(" \t");
        std::string word = text.substr(0, blank);
        auto it = authObjects_.find(word);
        if (it == authObjects_.end() || it->second.used)
            continue;
        try {
            if (it->second.object->Authenticate(text.c_str(), proxy))
                return true;
        } catch (...) {
        }
    }
    return false;
}
