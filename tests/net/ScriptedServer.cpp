#include "tests/net/ScriptedServer.h"

#include <process.h>

namespace nettest {

Step ReadRequest() { return Step{Step::kReadRequest, std::string(), 0}; }
Step Send(const std::string& bytes) { return Step{Step::kSend, bytes, 0}; }
Step Pause(int ms) { return Step{Step::kPause, std::string(), ms}; }
Step Close() { return Step{Step::kClose, std::string(), 0}; }
Step Reset() { return Step{Step::kReset, std::string(), 0}; }
Step Stall(int ms) { return Step{Step::kStall, std::string(), ms}; }
Step WaitFor(HANDLE event) { return Step{Step::kWait, std::string(), 0, event}; }

Script Respond(const std::string& bytes) {
    return Script{ReadRequest(), Send(bytes), Close()};
}

Script RespondInPieces(const std::string& bytes, size_t piece, int pauseMs) {
    Script s{ReadRequest()};
    for (size_t i = 0; i < bytes.size(); i += piece) {
        if (i)
            s.push_back(Pause(pauseMs));
        s.push_back(Send(bytes.substr(i, piece)));
    }
    s.push_back(Close());
    return s;
}

ScriptedServer::ScriptedServer()
    : listen_(INVALID_SOCKET), port_(0), thread_(nullptr), stop_(0), nextScript_(0), connections_(0) {
    InitializeCriticalSection(&lock_);
    WSADATA data;
    WSAStartup(MAKEWORD(2, 0), &data);
}

ScriptedServer::~ScriptedServer() {
    Stop();
    DeleteCriticalSection(&lock_);
    WSACleanup();
}

bool ScriptedServer::Start() {
    listen_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listen_ == INVALID_SOCKET)
        return false;
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 || listen(listen_, 16) != 0)
        return false;
    int len = sizeof(a);
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, 0, nullptr));
    return thread_ != nullptr;
}

void ScriptedServer::Stop() {
    InterlockedExchange(&stop_, 1);
    if (thread_) {
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (listen_ != INVALID_SOCKET) {
        closesocket(listen_);
        listen_ = INVALID_SOCKET;
    }
}

void ScriptedServer::AddConnection(const Script& script) {
    EnterCriticalSection(&lock_);
    scripts_.push_back(script);
    LeaveCriticalSection(&lock_);
}

std::vector<std::string> ScriptedServer::Requests() {
    EnterCriticalSection(&lock_);
    std::vector<std::string> r = requests_;
    LeaveCriticalSection(&lock_);
    return r;
}

int ScriptedServer::ConnectionCount() {
    EnterCriticalSection(&lock_);
    int n = connections_;
    LeaveCriticalSection(&lock_);
    return n;
}

unsigned __stdcall ScriptedServer::ThreadProc(void* param) {
    static_cast<ScriptedServer*>(param)->Serve();
    return 0;
}

void ScriptedServer::Serve() {
    while (!stop_) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(listen_, &set);
        timeval tv = {0, 50000};
        if (select(0, &set, nullptr, nullptr, &tv) <= 0)
            continue;
        SOCKET s = accept(listen_, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            continue;
        Script script;
        bool have = false;
        EnterCriticalSection(&lock_);
        ++connections_;
        if (nextScript_ < scripts_.size()) {
            script = scripts_[nextScript_++];
            have = true;
        }
        requests_.push_back(std::string());
        LeaveCriticalSection(&lock_);
        std::string received;
        if (have)
            Play(s, script, received);
        closesocket(s);
    }
}

void ScriptedServer::Play(SOCKET s, const Script& script, std::string& received) {
    DWORD timeout = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    for (const Step& step : script) {
        if (stop_)
            return;
        switch (step.kind) {
        case Step::kReadRequest: {
            char buf[4096];
            while (received.find("\r\n\r\n") == std::string::npos && received.size() < 1000000) {
                int n = recv(s, buf, sizeof(buf), 0);
                if (n <= 0)
                    return;
                received.append(buf, n);
            }
            // Recorded before anything is answered, so a client that has its response can
            // always see its request here.
            EnterCriticalSection(&lock_);
            requests_.back() = received;
            LeaveCriticalSection(&lock_);
            break;
        }
        case Step::kSend:
            if (!step.bytes.empty() && send(s, step.bytes.data(), static_cast<int>(step.bytes.size()), 0) <= 0)
                return;
            break;
        case Step::kPause:
            Sleep(step.ms);
            break;
        case Step::kClose:
            shutdown(s, SD_SEND);
            return;
        case Step::kReset: {
            // Lingering for no time: the close that follows sends a reset.
            linger abort = {1, 0};
            setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof(abort));
            return;
        }
        case Step::kWait:
            while (!stop_ && WaitForSingleObject(step.event, 50) == WAIT_TIMEOUT) {
            }
            break;
        case Step::kStall: {
            DWORD start = GetTickCount();
            while (!stop_ && GetTickCount() - start < static_cast<DWORD>(step.ms)) {
                fd_set set;
                FD_ZERO(&set);
                FD_SET(s, &set);
                timeval tv = {0, 50000};
                if (select(0, &set, nullptr, nullptr, &tv) > 0) {
                    char buf[256];
                    if (recv(s, buf, sizeof(buf), 0) <= 0)
                        return;  // the peer went away
                }
            }
            break;
        }
        }
    }
}

int UnusedPort() {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    int len = sizeof(a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    closesocket(s);
    return ntohs(a.sin_port);
}

FullBacklogListener::FullBacklogListener() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 0), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 || listen(listener_, 0) != 0)
        return;
    int length = sizeof(a);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length);
    port_ = ntohs(a.sin_port);
    for (int i = 0; i < 64 && !full_; ++i) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        connect(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        fillers_.push_back(s);
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        timeval wait = {0, 300000};
        full_ = select(0, nullptr, &writable, nullptr, &wait) == 0;
    }
}

FullBacklogListener::~FullBacklogListener() {
    for (SOCKET s : fillers_)
        closesocket(s);
    closesocket(listener_);
    WSACleanup();
}

}  // namespace nettest
