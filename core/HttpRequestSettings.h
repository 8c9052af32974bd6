#pragma once
// One request's settings for the HTTP client: method, extra header lines, time-out, block
// sizes, callbacks and the ceiling on what the server may send.
#include <cstdint>
#include <string>

// Called on the worker thread after each socket read of a response: the bytes of that read,
// the read parameter, the body's first byte in the client's buffer (null while the end of the
// headers has not been found) and the body bytes received so far. False ends the read as failed.
typedef bool (*HttpReadCallback)(uint32_t bytesRead, void* param, const uint8_t* body, uint64_t bodyBytes);
// Told how many request bytes went out. False ends the request as failed.
typedef bool (*HttpSendCallback)(uint32_t bytesSent, void* param);

struct HttpRequestSettings {
    enum Flags : uint32_t {
        kFollowRedirects = 1,
        kProcessStatus = 2,
        kSendInBlocks = 4,
        kReportSending = 8,
    };
    static constexpr uint32_t kDefaultFlags = kFollowRedirects | kProcessStatus | kReportSending;
    static constexpr int32_t kDefaultTimeoutMs = 30000;
    static constexpr uint32_t kDefaultBlockSize = 4096;

    // Header lines (each ending in "\r\n") added to the first request; empty for none.
    std::string extraHeaders;
    std::string method = "GET";
    // Content type of the request body; sent only when set.
    std::string contentType;
    bool hasContentType = false;
    uint32_t bodyLength = 0;
    uint32_t flags = kDefaultFlags;
    int32_t timeoutMs = kDefaultTimeoutMs;
    uint32_t sendBlockSize = kDefaultBlockSize;
    uint32_t readBlockSize = kDefaultBlockSize;
    void* sendParam = nullptr;
    void* readParam = nullptr;
    int port = 80;
    const uint8_t* body = nullptr;
    HttpSendCallback sendCallback = nullptr;
    HttpReadCallback readCallback = nullptr;
    // Largest body accepted (decoded bytes); 0 means the client's fixed ceiling.
    uint64_t maxBodyBytes = 0;
};
