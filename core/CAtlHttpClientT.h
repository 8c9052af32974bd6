#pragma once
// HTTP/1.1 client over the time-out socket: sends one GET (or other) request, reads the whole
// response into memory, follows redirects and answers 401/407 challenges through the
// registered authorization objects. Runs entirely on its worker's thread; another thread may
// only call RequestStop.
#include "core/HttpRequestSettings.h"
#include "core/MySyncSocket.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CBasicAuthObject;
class IAuthInfo;

class CAtlHttpClientT {
public:
    // Result of the last response read.
    enum ReadResult {
        kReadSuccess = 0,
        kReadBadStatusLine = 2,
        kReadBadHeader = 3,
        kReadSocketFailed = 4,
        kReadBodyFailed = 5,
        kReadChunkedFailed = 6,
        kReadNothingYet = 7,
    };

    // Bounds on what a server may send.
    static constexpr size_t kMaxHeaderBlock = 64 * 1024;       // one response's status line and headers
    static constexpr size_t kMaxHeaderText = 1024;             // a header name or value (one line)
    static constexpr uint64_t kDefaultMaxBody = 64ull * 1024 * 1024;
    static constexpr int kMaxRedirects = 10;
    static constexpr int kMaxInterimResponses = 16;            // "100 Continue" before the real one
    static constexpr size_t kMaxUrlText = 2083;

    CAtlHttpClientT();
    virtual ~CAtlHttpClientT();
    CAtlHttpClientT(const CAtlHttpClientT&) = delete;
    CAtlHttpClientT& operator=(const CAtlHttpClientT&) = delete;

    // Fetches url with the settings (null: the defaults). False for an unusable URL, a failed
    // connection, send or read, and (with kProcessStatus) a status that processing rejects.
    bool Navigate(const char* url, const HttpRequestSettings* settings);

    int32_t GetStatus() const { return statusCode_; }
    // Header value by name (case ignored), handed out as CopyOutText does; true whether or not it
    // fitted, false when absent.
    bool GetHeaderValue(const char* name, char* buffer, uint32_t* length) const;
    bool GetHeader(const char* name, std::string& value) const;
    const uint8_t* GetBody() const;
    uint64_t GetBodyLength() const { return bodyLength_; }
    int GetLastReadResult() const { return lastReadResult_; }
    // True when the response failed because its body (announced or received) went past the
    // ceiling: too large, not broken.
    bool BodyTooLarge() const { return bodyTooLarge_; }
    // Bytes held in reserve for the response (headers and body).
    size_t GetBufferCapacity() const { return buffer_.capacity(); }

    // Registers an authorization object under a scheme ("basic"); a later one replaces an
    // earlier one under the same scheme. The client does not own it.
    bool AddAuthObj(const char* scheme, CBasicAuthObject* object, IAuthInfo* info);
    // With a host: that proxy. With none: the system proxy; false when it cannot be read.
    bool SetProxy(const char* host, int port);
    const std::string& GetProxyHost() const { return proxyHost_; }
    int GetProxyPort() const { return proxyPort_; }

    void Close() { socket_.Close(); }
    // Thread-safe: interrupts whatever the client does now and makes every later operation
    // fail until the next ClearStop.
    void RequestStop() { socket_.RequestStop(); }
    void ClearStop() { socket_.ClearStop(); }
    MySyncSocket& GetSocket() { return socket_; }
    const MySyncSocket& GetSocket() const { return socket_; }

    // Used by authorization objects while they answer a challenge.
    bool NegotiateAuth(bool proxy);
    bool ProcessStatus(uint32_t flags);
    uint32_t GetProcessFlags() const { return processFlags_; }
    const HttpRequestSettings* GetCurrentSettings() const { return hasSettings_ ? &settings_ : nullptr; }
    std::string GetCurrentUrlText() const;
    const std::string& GetCurrentHost() const { return url_.host; }
    void MarkAuthObjectUsed(const char* scheme);

protected:
    // Each "Set-Cookie" header value; does nothing here.
    virtual void OnSetCookie(const std::string& value);

private:
    struct CurrentUrl {
        std::string host;
        int port = 80;
        std::string path;   // begins with '/'
        std::string query;  // with its '?', or empty
    };
    struct AuthEntry {
        CBasicAuthObject* object;
        IAuthInfo* info;
        bool used;
    };
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    bool NavigateOnce(const char* url, const HttpRequestSettings* settings);
    void ResetResponse();
    bool ParseTarget(const std::string& text, int defaultPort, CurrentUrl& out) const;
    std::string BuildRequest(const std::string* extraHeaders) const;
    bool ConnectAndSend(const std::string& request, bool withBody);
    bool SendBody();
    bool Redirect(uint32_t flags);

    // Response reading.
    int ReadResponse();
    int ReadHeaders(size_t& headerEnd);
    bool ParseStatusLine(size_t start, size_t end, size_t& nextLine);
    bool ParseHeaderLines(size_t start, size_t end);
    void AddHeader(const std::string& name, const std::string& value);
    int ReadBodyWithLength(uint64_t length);
    int ReadBodyToClose();
    int ReadChunkedBody();
    bool ReadMore(size_t maxBytes, uint32_t& got);
    bool ReportRead(uint32_t bytes, bool withBody);
    uint64_t BodyLimit() const;
    int TooLarge(int result);

    MySyncSocket socket_;
    std::map<std::string, std::string, NoCaseLess> headers_;
    std::map<std::string, AuthEntry, NoCaseLess> authObjects_;
    // Offered schemes: the challenge text and whether a proxy offered it.
    std::vector<std::pair<std::string, bool> > authSchemes_;
    std::vector<uint8_t> buffer_;
    CurrentUrl url_;
    std::string method_;
    std::string proxyHost_;
    uint16_t proxyPort_;
    int32_t statusCode_;
    uint64_t bodyLength_;
    size_t headerLength_;
    size_t bodyOffset_;
    size_t readPos_;
    HttpRequestSettings settings_;
    bool hasSettings_;
    int lastReadResult_;
    uint32_t processFlags_;
    int redirectCount_;
    int navigateDepth_;
    bool bodyTooLarge_;
};
