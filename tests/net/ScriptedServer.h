#pragma once
// A scripted TCP server on 127.0.0.1 for the network tests: each accepted connection plays one
// script (read the request, send exact bytes, pause, close, stall) and records what it received.
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

namespace nettest {

struct Step {
    enum Kind { kReadRequest, kSend, kPause, kClose, kStall, kWait, kReset };
    Kind kind;
    std::string bytes;
    int ms;
    HANDLE event = nullptr;
};

typedef std::vector<Step> Script;

Step ReadRequest();
Step Send(const std::string& bytes);
Step Pause(int ms);
Step Close();
// Ends the connection with a reset (RST) instead of an orderly close.
Step Reset();
// Keeps the connection open without sending, until the peer closes or ms pass.
Step Stall(int ms);
// Sends nothing until the test sets the event (or the server stops).
Step WaitFor(HANDLE event);

// Read the request, send the bytes, close.
Script Respond(const std::string& bytes);
// Read the request, send the bytes in pieces of 'piece' bytes with a pause between, close.
Script RespondInPieces(const std::string& bytes, size_t piece, int pauseMs);

class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    // Binds 127.0.0.1 on a free port and starts serving. False when that fails.
    bool Start();
    void Stop();
    int Port() const { return port_; }
    // Scripts for the next connections, in order; a connection with no script left is closed.
    void AddConnection(const Script& script);
    // The request bytes each connection received (read by kReadRequest), in accept order.
    std::vector<std::string> Requests();
    int ConnectionCount();

private:
    static unsigned __stdcall ThreadProc(void* param);
    void Serve();
    void Play(SOCKET s, const Script& script, std::string& received);

    SOCKET listen_;
    int port_;
    HANDLE thread_;
    volatile LONG stop_;
    CRITICAL_SECTION lock_;
    std::vector<Script> scripts_;
    size_t nextScript_;
    std::vector<std::string> requests_;
    int connections_;
};

// A local port on which nothing listens (bound, then released).
int UnusedPort();

// A loopback listener that never accepts, its backlog filled by pending connections: a further
// connect to it gets no answer and waits, as one to a silent host does.
class FullBacklogListener {
public:
    FullBacklogListener();
    ~FullBacklogListener();
    FullBacklogListener(const FullBacklogListener&) = delete;
    FullBacklogListener& operator=(const FullBacklogListener&) = delete;
    // True once a connection was left waiting: from then on the queue takes no more.
    bool Full() const { return full_; }
    int Port() const { return port_; }

private:
    SOCKET listener_;
    std::vector<SOCKET> fillers_;
    int port_ = 0;
    bool full_ = false;
};

}  // namespace nettest
