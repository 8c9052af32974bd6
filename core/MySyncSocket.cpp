#include "core/MySyncSocket.h"

#include "core/TextFormat.h"
#include "core/WorkerThreadPool.h"

#include <ws2tcpip.h>
#include <process.h>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// --- Socket library start-up: once, retried when it failed, shut down at exit. ---

volatile LONG g_libraryStarted = 0;
volatile LONG g_startLock = 0;

void ShutDownLibrary() {
    if (g_libraryStarted)
        WSACleanup();
}

void StartLibrary() {
    if (g_libraryStarted)
        return;
    while (InterlockedCompareExchange(&g_startLock, 1, 0) != 0)
        Sleep(0);
    if (!g_libraryStarted) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 0), &data) == 0) {
            g_libraryStarted = 1;
            atexit(ShutDownLibrary);
        }
    }
    InterlockedExchange(&g_startLock, 0);
}

// --- Name look-up that a stop can abandon. ---
// The look-up runs on its own short-lived thread; the caller waits for it together with its
// stop event. A caller that gives up simply drops its reference; the last of the two owners
// frees the job, so a late result lands in memory nobody reads any more.

struct LookupJob {
    volatile LONG references;
    HANDLE done;
    char host[256];
    char port[16];
    int error;
    sockaddr_in address;
};

void ReleaseJob(LookupJob* job) {
    if (InterlockedDecrement(&job->references) == 0) {
        CloseHandle(job->done);
        delete job;
    }
}

volatile MySyncSocket::HostResolver g_resolver = nullptr;

void RunLookup(LookupJob* job) {
    if (MySyncSocket::HostResolver resolver = g_resolver) {
        job->error = resolver(job->host, job->port, &job->address);
        return;
    }
    addrinfo hints;
    memset(&hints, 0, sizeof(hints));
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    int rc = getaddrinfo(job->host, job->port, &hints, &result);
    if (rc != 0) {
        job->error = rc;
    } else {
        job->error = WSAHOST_NOT_FOUND;
        for (addrinfo* a = result; a; a = a->ai_next) {
            if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in)) {
                memcpy(&job->address, a->ai_addr, sizeof(sockaddr_in));
                job->error = 0;
                break;
            }
        }
        freeaddrinfo(result);
    }
}

unsigned __stdcall LookupThread(void* param) {
    LookupJob* job = static_cast<LookupJob*>(param);
    RunLookup(job);
    SetEvent(job->done);
    ReleaseJob(job);
    return 0;
}

// Milliseconds left of a limit counted from start; 0 once it has passed.
DWORD TimeLeft(DWORD start, DWORD limit) {
    DWORD elapsed = GetTickCount() - start;
    return elapsed >= limit ? 0 : limit - elapsed;
}

bool IsBlankOrControl(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (*p <= 0x20 || *p == 0x7f)
            return true;
    return false;
}

}  // namespace

MySyncSocket::HostResolver MySyncSocket::SetHostResolver(HostResolver resolver) {
    // Installed while no look-up runs (at a test's start and end); a pointer store is atomic.
    HostResolver previous = g_resolver;
    g_resolver = resolver;
    return previous;
}

MySyncSocket::MySyncSocket()
    : connected_(0), socket_(INVALID_SOCKET), timeoutMs_(kDefaultTimeoutMs), lastError_(0),
      networkEvent_(WSA_INVALID_EVENT), stopEvent_(nullptr), stopRequested_(0), stopEventBorrowed_(false),
      networkEventBorrowed_(false) {
    InitializeCriticalSection(&sendLock_);
    InitializeCriticalSection(&receiveLock_);
    StartLibrary();
    // The stop event is made by the thread that first waits, not here: sockets are made on the
    // UI thread, one per download, and every system object made there delays the whole run.
}

MySyncSocket::~MySyncSocket() {
    Close();
    if (stopEvent_ && !stopEventBorrowed_)
        CloseHandle(stopEvent_);
    DeleteCriticalSection(&receiveLock_);
    DeleteCriticalSection(&sendLock_);
}

bool MySyncSocket::Fail(int32_t error) {
    lastError_ = error;
    return false;
}

void MySyncSocket::RequestStop() {
    InterlockedExchange(&stopRequested_, 1);
    // Either this sees the event, or StopEvent, which makes it, sees the flag afterwards.
    HANDLE e = InterlockedCompareExchangePointer(&stopEvent_, nullptr, nullptr);
    if (e)
        SetEvent(e);
}

void MySyncSocket::ClearStop() {
    if (InterlockedExchange(&stopRequested_, 0) && stopEvent_)
        ResetEvent(stopEvent_);
}

DWORD MySyncSocket::WaitForStopOr(HANDLE stop, HANDLE other, DWORD milliseconds) {
    HANDLE handles[2] = {stop, other};
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD rc = WaitForMultipleObjects(2, handles, FALSE, TimeLeft(start, milliseconds));
        if (rc != WAIT_OBJECT_0 || !WakeWasStale(stop))
            return rc;
    }
}

bool MySyncSocket::WakeWasStale(HANDLE stop) {
    if (IsStopRequested())
        return false;
    // Set for an earlier connection of this thread (the event is borrowed): cleared, then the
    // flag looked at again, so a stop asked for meanwhile is never lost.
    ResetEvent(stop);
    return !IsStopRequested();
}

HANDLE MySyncSocket::StopEvent() {
    HANDLE e = stopEvent_;
    if (e)
        return e;
    HANDLE threadStop = nullptr, threadNetwork = nullptr;
    const bool borrowed = WorkerThreadPool::ThreadEvents(threadStop, threadNetwork);
    e = borrowed ? threadStop : CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!e)
        return nullptr;
    // Only the thread that uses the socket makes the event, so nobody else can have set one.
    InterlockedCompareExchangePointer(&stopEvent_, e, nullptr);
    stopEventBorrowed_ = borrowed;
    // A stop asked for before the event existed could set nothing.
    if (stopRequested_)
        SetEvent(e);
    return e;
}

bool MySyncSocket::IsStopRequested() const {
    // A flag, not a look at the event: this runs before every read and write, and asking the
    // system about an event costs far more than the read itself on some platforms.
    return stopRequested_ != 0;
}

bool MySyncSocket::Create(int family, int type) {
    if (socket_ != INVALID_SOCKET)
        return Fail(kErrorAlreadyCreated);
    SOCKET s = socket(family, type, 0);
    if (s == INVALID_SOCKET)
        return Fail(WSAGetLastError());
    socket_ = s;
    return true;
}

void MySyncSocket::Close() {
    if (socket_ == INVALID_SOCKET)
        return;
    InterlockedExchange(&connected_, 0);
    shutdown(socket_, SD_BOTH);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
    received_.Clear();
    if (networkEvent_ != WSA_INVALID_EVENT) {
        if (!networkEventBorrowed_)
            WSACloseEvent(networkEvent_);
        networkEvent_ = WSA_INVALID_EVENT;
        networkEventBorrowed_ = false;
    }
}

bool MySyncSocket::SelectEvents() {
    if (networkEvent_ == WSA_INVALID_EVENT) {
        // A pool thread lends its own event; a wake it carries from an earlier connection only
        // makes the next look at the socket's events come up empty.
        HANDLE threadStop = nullptr, threadNetwork = nullptr;
        if (WorkerThreadPool::ThreadEvents(threadStop, threadNetwork)) {
            networkEvent_ = threadNetwork;
            networkEventBorrowed_ = true;
        } else {
            networkEvent_ = WSACreateEvent();
            if (networkEvent_ == WSA_INVALID_EVENT)
                return Fail(WSAGetLastError());
        }
    }
    // Selecting events also makes the socket non-blocking; it stays so for its whole life.
    if (WSAEventSelect(socket_, networkEvent_, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0)
        return Fail(WSAGetLastError());
    return true;
}

bool MySyncSocket::WaitForNetwork(DWORD milliseconds) {
    HANDLE stop = StopEvent();
    if (!stop)
        return Fail(static_cast<int32_t>(::GetLastError()));
    DWORD rc = WaitForStopOr(stop, networkEvent_, milliseconds);
    if (rc == WAIT_OBJECT_0)
        return Fail(kErrorStopped);
    if (rc == WAIT_TIMEOUT)
        return Fail(kErrorTimeout);
    if (rc != WAIT_OBJECT_0 + 1)
        return Fail(static_cast<int32_t>(::GetLastError()));
    return true;
}

bool MySyncSocket::ResolveHost(const char* host, int port, sockaddr_in& address) {
    if (!host || !*host || strlen(host) >= sizeof(LookupJob().host) || IsBlankOrControl(host) ||
        port <= 0 || port > 65535)
        return Fail(WSAHOST_NOT_FOUND);

    // A numeric address needs no look-up.
    unsigned long numeric = inet_addr(host);
    if (numeric != INADDR_NONE || strcmp(host, "255.255.255.255") == 0) {
        memset(&address, 0, sizeof(address));
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = numeric;
        return true;
    }

    HANDLE stop = StopEvent();
    if (!stop)
        return Fail(static_cast<int32_t>(::GetLastError()));
    LookupJob* job = new LookupJob();
    job->references = 2;
    job->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    job->error = WSAHOST_NOT_FOUND;
    memset(&job->address, 0, sizeof(job->address));
    FormatInto(job->host, sizeof(job->host), "%s", host);
    FormatInto(job->port, sizeof(job->port), "%d", port);
    if (!job->done) {
        int32_t error = static_cast<int32_t>(::GetLastError());
        delete job;
        return Fail(error);
    }
    uintptr_t thread = _beginthreadex(nullptr, 0, LookupThread, job, 0, nullptr);
    if (thread == 0) {
        // No thread for the look-up: do it here, stop cannot cut it short then.
        job->references = 1;
        RunLookup(job);
        SetEvent(job->done);
    } else {
        CloseHandle(reinterpret_cast<HANDLE>(thread));
    }

    DWORD timeout = timeoutMs_ < 0 ? static_cast<DWORD>(kDefaultTimeoutMs) : static_cast<DWORD>(timeoutMs_);
    DWORD rc = WaitForStopOr(stop, job->done, timeout);
    bool ok = false;
    if (rc == WAIT_OBJECT_0) {
        lastError_ = kErrorStopped;
    } else if (rc == WAIT_TIMEOUT) {
        lastError_ = kErrorTimeout;
    } else if (rc == WAIT_OBJECT_0 + 1) {
        if (job->error != 0) {
            lastError_ = job->error;
        } else {
            address = job->address;
            ok = true;
        }
    } else {
        lastError_ = static_cast<int32_t>(::GetLastError());
    }
    ReleaseJob(job);
    return ok;
}

bool MySyncSocket::Connect(const char* host, int port) {
    if (connected_)
        return true;
    if (IsStopRequested())
        return Fail(kErrorStopped);
    sockaddr_in address;
    if (!ResolveHost(host, port, address))
        return false;
    if (IsStopRequested())
        return Fail(kErrorStopped);
    if (!ConnectAddress(address)) {
        int32_t error = lastError_;
        Close();
        lastError_ = error;
        return false;
    }
    return true;
}

bool MySyncSocket::ConnectAddress(const sockaddr_in& address) {
    if (socket_ == INVALID_SOCKET && !Create(AF_INET, SOCK_STREAM))
        return false;
    if (!SelectEvents())
        return false;
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        InterlockedExchange(&connected_, 1);
        return true;
    }
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK)
        return Fail(error);

    DWORD timeout = timeoutMs_ < 0 ? static_cast<DWORD>(kDefaultTimeoutMs) : static_cast<DWORD>(timeoutMs_);
    DWORD start = GetTickCount();
    for (;;) {
        if (!WaitForNetwork(TimeLeft(start, timeout)))
            return false;
        WSANETWORKEVENTS events;
        if (WSAEnumNetworkEvents(socket_, networkEvent_, &events) != 0)
            return Fail(WSAGetLastError());
        if (events.lNetworkEvents & FD_CONNECT) {
            if (events.iErrorCode[FD_CONNECT_BIT] != 0)
                return Fail(events.iErrorCode[FD_CONNECT_BIT]);
            break;
        }
    }
    InterlockedExchange(&connected_, 1);
    return true;
}

DWORD MySyncSocket::ReadWriteWaitMs() const {
    // Reads and writes wait in whole seconds: a time-out under a second is a mere poll.
    int32_t ms = timeoutMs_ < 0 ? kDefaultTimeoutMs : timeoutMs_;
    return static_cast<DWORD>(ms / 1000) * 1000;
}

bool MySyncSocket::Write(const void* bytes, uint32_t* count) {
    if (!count)
        return Fail(WSAEFAULT);
    uint32_t wanted = *count;
    *count = 0;
    if (IsStopRequested())
        return Fail(kErrorStopped);
    if (socket_ == INVALID_SOCKET || networkEvent_ == WSA_INVALID_EVENT)
        return Fail(WSAENOTCONN);
    if (wanted > 0 && !bytes)
        return Fail(WSAEFAULT);

    const char* p = static_cast<const char*>(bytes);
    uint32_t sent = 0;
    DWORD timeout = ReadWriteWaitMs();
    DWORD start = GetTickCount();
    bool ok = true;
    EnterCriticalSection(&sendLock_);
    while (sent < wanted) {
        int chunk = static_cast<int>(wanted - sent > 0x40000000u ? 0x40000000u : wanted - sent);
        int n = send(socket_, p + sent, chunk, 0);
        if (n > 0) {
            sent += static_cast<uint32_t>(n);
            continue;
        }
        int error = WSAGetLastError();
        if (n == 0 || error != WSAEWOULDBLOCK) {
            ok = Fail(n == 0 ? WSAECONNRESET : error);
            break;
        }
        if (!WaitForNetwork(TimeLeft(start, timeout))) {
            ok = false;
            break;
        }
        WSANETWORKEVENTS events;
        WSAEnumNetworkEvents(socket_, networkEvent_, &events);
        if (IsStopRequested()) {
            ok = Fail(kErrorStopped);
            break;
        }
    }
    LeaveCriticalSection(&sendLock_);
    *count = sent;
    return ok;
}

bool MySyncSocket::Write(const WSABUF* buffers, int bufferCount, uint32_t* count) {
    if (!count)
        return Fail(WSAEFAULT);
    uint32_t total = 0;
    for (int i = 0; i < bufferCount; ++i) {
        uint32_t n = buffers[i].len;
        bool ok = Write(buffers[i].buf, &n);
        total += n;
        if (!ok) {
            *count = total;
            return false;
        }
    }
    *count = total;
    return true;
}

bool MySyncSocket::PeerReset() {
    // Under Wine the system's own watch on the socket takes the pending reset (SO_ERROR) as
    // soon as it arrives, and the receive that follows reads an end of stream. An empty send
    // tells the two apart: a peer that only closed its side still takes one, a reset
    // connection refuses it. It puts nothing on the wire either way.
    if (send(socket_, "", 0, 0) == 0)
        return false;
    const int error = WSAGetLastError();
    if (error != WSAECONNRESET && error != WSAECONNABORTED && error != WSAENETRESET)
        return false;
    lastError_ = error;
    return true;
}

bool MySyncSocket::Read(void* buffer, uint32_t* count) {
    if (!count)
        return Fail(WSAEFAULT);
    uint32_t size = *count;
    *count = 0;
    if (IsStopRequested())
        return Fail(kErrorStopped);
    if (socket_ == INVALID_SOCKET || networkEvent_ == WSA_INVALID_EVENT)
        return Fail(WSAENOTCONN);
    if (size == 0 || !buffer)
        return Fail(WSAEFAULT);
    if (size > 0x40000000u)
        size = 0x40000000u;

    DWORD timeout = ReadWriteWaitMs();
    DWORD start = GetTickCount();
    bool ok = false;
    EnterCriticalSection(&receiveLock_);
    if (received_.Left() > 0) {
        *count = received_.Take(buffer, size);
        LeaveCriticalSection(&receiveLock_);
        return true;
    }
    // Small reads are served from one larger receive: each receive is a round trip to the
    // system (under Wine, two), and a reader asking 4 KB at a time would pay it per 4 KB.
    bool toldQuiet = false;
    char* into = static_cast<char*>(buffer);
    uint32_t room = size;
    if (size < ReceiveBuffer::kSize && received_.Ensure()) {
        into = received_.Data();
        room = ReceiveBuffer::kSize;
    }
    for (;;) {
        int n = recv(socket_, into, static_cast<int>(room), 0);
        if (n == 0 && PeerReset()) {
            ok = Fail(lastError_);
            break;
        }
        if (n >= 0) {
            if (into == static_cast<char*>(buffer)) {
                *count = static_cast<uint32_t>(n);
            } else {
                received_.Filled(static_cast<uint32_t>(n));
                *count = received_.Take(buffer, size);
            }
            ok = true;
            break;
        }
        int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) {
            Fail(error);
            break;
        }
        const DWORD left = TimeLeft(start, timeout);
        const DWORD quietLeft = TimeLeft(start, quietMs_);
        if (quietHandler_ && !toldQuiet && quietLeft < left) {
            // Waits first until the read has been quiet that long, counted from its start so
            // that a wake with nothing to read does not use the chance up: the owner hears of
            // the quiet, then the read waits on for the rest of its time.
            const int32_t error = lastError_;
            if (!WaitForNetwork(quietLeft)) {
                if (lastError_ != kErrorTimeout)
                    break;
                lastError_ = error;
                toldQuiet = true;
                quietHandler_(quietParam_);
                continue;
            }
        } else if (!WaitForNetwork(left)) {
            break;
        }
        // Cleared before the next receive, which tells what happened and re-arms the event for
        // whatever comes after it (asking the socket for its events would cost two more trips).
        WSAResetEvent(networkEvent_);
        if (IsStopRequested()) {
            Fail(kErrorStopped);
            break;
        }
    }
    LeaveCriticalSection(&receiveLock_);
    return ok;
}
