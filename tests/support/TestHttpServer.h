#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: each path answers with the exact bytes given
// (status line, headers and body), one request per connection. Requests are recorded.
#include <windows.h>
#include <winsock2.h>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

class TestHttpServer {
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    // Listens on an ephemeral loopback port; false when that fails.
    bool Start();
    void Stop();
    int Port() const { return port_; }
    std::string Url(const std::string& path) const;

    // Raw response bytes for a path (query included).
    void SetRaw(const std::string& path, const std::string& response);
    // "200 OK" with Content-Type and Content-Length.
    void SetOk(const std::string& path, const std::string& contentType, const std::string& body);
    void SetStatus(const std::string& path, int code, const std::string& reason);
    void SetRedirect(const std::string& path, const std::string& location);
    // Answers only when the request carries "Authorization: Basic <token>"; 401 otherwise.
    void SetProtected(const std::string& path, const std::string& token, const std::string& contentType,
                      const std::string& body);
    // Sends the headers, then waits (up to the given time) before the body: a stalled download.
    void SetStall(const std::string& path, DWORD milliseconds);
    // Sends these bytes, then waits as above.
    void SetStall(const std::string& path, DWORD milliseconds, const std::string& response);

    // Sends these bytes, then resets the connection (RST) instead of closing it in order.
    void SetReset(const std::string& path, const std::string& response);

    // "200 OK" as SetOk, but held back until Release(path) (or the server stops): a test that
    // needs a run to last until it has seen something holds one of its replies.
    void SetHeld(const std::string& path, const std::string& contentType, const std::string& body);
    void Release(const std::string& path);

    // Every request head received so far, in arrival order.
    std::vector<std::string> Requests();
    int CountRequests(const std::string& path);

private:
    struct Route {
        std::string response;
        std::string token;
        std::string protectedResponse;
        DWORD stall = 0;
        HANDLE release = nullptr;  // a held reply waits for this event
        bool reset = false;
    };
    void SetRoute(const std::string& path, const Route& route);
    static DWORD WINAPI AcceptThread(void* self);
    static DWORD WINAPI ConnectionThread(void* param);
    void Serve(SOCKET s);

    SOCKET listener_ = INVALID_SOCKET;
    HANDLE thread_ = nullptr;
    HANDLE stopEvent_ = nullptr;
    int port_ = 0;
    CRITICAL_SECTION lock_;
    std::map<std::string, Route> routes_;
    std::vector<std::string> requests_;
    std::vector<HANDLE> connections_;
    std::map<std::string, HANDLE> held_;  // the release events of held paths
};

}  // namespace testsupport
