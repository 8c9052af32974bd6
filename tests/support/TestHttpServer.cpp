#include "tests/support/TestHttpServer.h"

#include <ws2tcpip.h>
#include <cstring>

namespace testsupport {

namespace {

struct ConnectionStart {
    TestHttpServer* server;
    SOCKET socket;
};

std::string Response(int code, const std::string& reason, const std::string& headers, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(code) + " " + reason + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

TestHttpServer::TestHttpServer() {
    InitializeCriticalSection(&lock_);
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

TestHttpServer::~TestHttpServer() {
    Stop();
    for (auto& held : held_) CloseHandle(held.second);
    DeleteCriticalSection(&lock_);
    WSACleanup();
}

bool TestHttpServer::Start() {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return false;
    sockaddr_in addr;
    memset(&addr, 0, sizeof(addr));
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(listener_, 64) != 0)
        return false;
    int len = sizeof(addr);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    stopEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, AcceptThread, this, 0, nullptr);
    return thread_ != nullptr;
}

void TestHttpServer::Stop() {
    if (stopEvent_) SetEvent(stopEvent_);
    if (listener_ != INVALID_SOCKET) {
        closesocket(listener_);   // wakes the blocked accept
        listener_ = INVALID_SOCKET;
    }
    if (thread_) {
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    EnterCriticalSection(&lock_);
    std::vector<HANDLE> connections;
    connections.swap(connections_);
    LeaveCriticalSection(&lock_);
    for (HANDLE h : connections) {
        WaitForSingleObject(h, 10000);
        CloseHandle(h);
    }
    if (stopEvent_) {
        CloseHandle(stopEvent_);
        stopEvent_ = nullptr;
    }
}

std::string TestHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TestHttpServer::SetRaw(const std::string& path, const std::string& response) {
    EnterCriticalSection(&lock_);
    routes_[path] = Route{response, "", "", 0};
    LeaveCriticalSection(&lock_);
}

void TestHttpServer::SetOk(const std::string& path, const std::string& contentType, const std::string& body) {
    SetRaw(path, Response(200, "OK", "Content-Type: " + contentType + "\r\n", body));
}

void TestHttpServer::SetStatus(const std::string& path, int code, const std::string& reason) {
    SetRaw(path, Response(code, reason, "Content-Type: text/html\r\n", "<html>" + reason + "</html>"));
}

void TestHttpServer::SetRedirect(const std::string& path, const std::string& location) {
    SetRaw(path, Response(302, "Found", "Location: " + location + "\r\n", ""));
}

void TestHttpServer::SetProtected(const std::string& path, const std::string& token, const std::string& contentType,
                                  const std::string& body) {
    EnterCriticalSection(&lock_);
    Route r;
    r.response = Response(401, "Unauthorized", "WWW-Authenticate: Basic realm=\"test\"\r\nContent-Type: text/html\r\n",
                          "<html>401</html>");
    r.token = token;
    r.protectedResponse = Response(200, "OK", "Content-Type: " + contentType + "\r\n", body);
    routes_[path] = r;
    LeaveCriticalSection(&lock_);
}

void TestHttpServer::SetStall(const std::string& path, DWORD milliseconds) {
    SetStall(path, milliseconds, "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 100000\r\n\r\n");
}

void TestHttpServer::SetStall(const std::string& path, DWORD milliseconds, const std::string& response) {
    Route r;
    r.response = response;
    r.stall = milliseconds;
    SetRoute(path, r);
}

void TestHttpServer::SetReset(const std::string& path, const std::string& response) {
    Route r;
    r.response = response;
    r.reset = true;
    SetRoute(path, r);
}

void TestHttpServer::SetRoute(const std::string& path, const Route& route) {
    EnterCriticalSection(&lock_);
    routes_[path] = route;
    LeaveCriticalSection(&lock_);
}

void TestHttpServer::SetHeld(const std::string& path, const std::string& contentType, const std::string& body) {
    EnterCriticalSection(&lock_);
    HANDLE& release = held_[path];
    if (!release) release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Route r;
    r.response = Response(200, "OK", "Content-Type: " + contentType + "\r\n", body);
    r.release = release;
    routes_[path] = r;
    LeaveCriticalSection(&lock_);
}

void TestHttpServer::Release(const std::string& path) {
    EnterCriticalSection(&lock_);
    auto it = held_.find(path);
    if (it != held_.end()) SetEvent(it->second);
    LeaveCriticalSection(&lock_);
}

std::vector<std::string> TestHttpServer::Requests() {
    EnterCriticalSection(&lock_);
    std::vector<std::string> copy = requests_;
    LeaveCriticalSection(&lock_);
    return copy;
}

int TestHttpServer::CountRequests(const std::string& path) {
    int n = 0;
    for (const std::string& r : Requests())
        if (r.compare(0, 4 + path.size() + 1, "GET " + path + " ") == 0) ++n;
    return n;
}

DWORD WINAPI TestHttpServer::AcceptThread(void* self) {
    TestHttpServer* server = static_cast<TestHttpServer*>(self);
    for (;;) {
        SOCKET s = accept(server->listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) return 0;
        if (WaitForSingleObject(server->stopEvent_, 0) == WAIT_OBJECT_0) {
            closesocket(s);
            return 0;
        }
        ConnectionStart* start = new ConnectionStart{server, s};
        HANDLE h = CreateThread(nullptr, 0, ConnectionThread, start, 0, nullptr);
        if (!h) {
            closesocket(s);
            delete start;
            continue;
        }
        EnterCriticalSection(&server->lock_);
        server->connections_.push_back(h);
        LeaveCriticalSection(&server->lock_);
    }
}

DWORD WINAPI TestHttpServer::ConnectionThread(void* param) {
    ConnectionStart* start = static_cast<ConnectionStart*>(param);
    start->server->Serve(start->socket);
    closesocket(start->socket);
    delete start;
    return 0;
}

void TestHttpServer::Serve(SOCKET s) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int n = recv(s, buffer, sizeof(buffer), 0);
        if (n <= 0) return;
        head.append(buffer, static_cast<size_t>(n));
    }
    EnterCriticalSection(&lock_);
    requests_.push_back(head);
    size_t sp1 = head.find(' '), sp2 = head.find(' ', sp1 + 1);
    std::string path = (sp1 != std::string::npos && sp2 != std::string::npos) ? head.substr(sp1 + 1, sp2 - sp1 - 1) : "";
    Route route;
    auto it = routes_.find(path);
    bool found = it != routes_.end();
    if (found) route = it->second;
    LeaveCriticalSection(&lock_);

    std::string response;
    if (!found) {
        response = Response(404, "Not Found", "Content-Type: text/html\r\n", "<html>404</html>");
    } else if (!route.token.empty() && head.find("Authorization: Basic " + route.token + "\r\n") != std::string::npos) {
        response = route.protectedResponse;
    } else {
        response = route.response;
    }
    if (route.release) {
        HANDLE waits[2] = {route.release, stopEvent_};
        WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    }
    send(s, response.data(), static_cast<int>(response.size()), 0);
    if (route.stall) WaitForSingleObject(stopEvent_, route.stall);
    if (route.reset) {
        // Lingering for no time: the close that follows sends a reset.
        linger abort = {1, 0};
        setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof(abort));
        return;
    }
    shutdown(s, SD_SEND);
}

}  // namespace testsupport
