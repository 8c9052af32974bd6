#pragma once
// Blocking-style TCP socket whose every operation is bounded by a time-out and can be
// interrupted at once from another thread through a stop event.
//
// The socket stays non-blocking with its network events selected on an event object for its
// whole life; every wait is on that event together with the stop event. That way a stop wakes
// a worker in any state: name look-up, connect, send and receive. The socket handle itself
// is only ever closed by the thread that uses it, so a handle the system reuses at once can
// never be closed from under another part of the program. On a pool thread both events are the
// thread's own, lent for the socket's life (a socket is used by one thread only), so a
// connection costs no events made and closed.
#include <winsock2.h>
#include <windows.h>
#include <cstdint>

#include "core/ReceiveBuffer.h"

class MySyncSocket {
public:
    // Error codes kept in the last error besides the socket library's own.
    static constexpr int32_t kErrorTimeout = 258;         // the platform's wait time-out code
    static constexpr int32_t kErrorAlreadyCreated = 10037;  // WSAEALREADY: a socket exists
    static constexpr int32_t kErrorStopped = 10004;        // WSAEINTR: stop was requested
    static constexpr int32_t kDefaultTimeoutMs = 30000;

    MySyncSocket();
    ~MySyncSocket();
    MySyncSocket(const MySyncSocket&) = delete;
    MySyncSocket& operator=(const MySyncSocket&) = delete;

    bool Create(int family = AF_INET, int type = SOCK_STREAM);
    // Looks the host up (IPv4, stream) and connects to its first address. True at once when
    // already connected.
    bool Connect(const char* host, int port);
    // count: in the bytes to send / the buffer size, out the bytes sent / received.
    // A read of 0 bytes (the peer closed in order) is a success; a reset connection fails
    // with WSAECONNRESET.
    bool Write(const void* bytes, uint32_t* count);
    bool Write(const WSABUF* buffers, int bufferCount, uint32_t* count);
    bool Read(void* buffer, uint32_t* count);
    // Shuts the socket down and closes it; only for the thread that uses the socket.
    void Close();

    bool IsConnected() const { return connected_ != 0; }
    bool HasSocket() const { return socket_ != INVALID_SOCKET; }
    void SetTimeout(int32_t milliseconds) { timeoutMs_ = milliseconds; }
    int32_t GetTimeout() const { return timeoutMs_; }
    int32_t GetLastError() const { return lastError_; }
    void SetLastError(int32_t error) { lastError_ = error; }

    // The name look-up used by Connect: 0 and the first IPv4 address, or the error. The
    // system's (getaddrinfo) unless another is installed, as tests do for a resolver that never
    // answers. Returns the previous one; null restores the system's.
    using HostResolver = int (*)(const char* host, const char* port, sockaddr_in* address);
    static HostResolver SetHostResolver(HostResolver resolver);

    // Called on the socket's thread when a read has waited quietMs with nothing arriving (once
    // per read), so the owner can report what it holds before waiting on. Null: none.
    using QuietHandler = void (*)(void* param);
    void SetQuietHandler(QuietHandler handler, void* param, DWORD quietMs) {
        quietHandler_ = handler;
        quietParam_ = param;
        quietMs_ = quietMs;
    }

    // Thread-safe: makes the current and every later operation fail with kErrorStopped until
    // ClearStop is called.
    void RequestStop();
    void ClearStop();
    bool IsStopRequested() const;

private:
    bool ResolveHost(const char* host, int port, sockaddr_in& address);
    bool ConnectAddress(const sockaddr_in& address);
    bool SelectEvents();
    // Waits for a network event or the stop event. False with the last error set on stop,
    // time-out or failure.
    bool WaitForNetwork(DWORD milliseconds);
    DWORD ReadWriteWaitMs() const;
    // After a receive of 0 bytes: true (the last error set) when the connection was reset
    // rather than closed in order.
    bool PeerReset();
    bool Fail(int32_t error);
    // The stop event, made now when there is none yet; null when it cannot be made.
    HANDLE StopEvent();
    // Waits for the stop event or the other object, looking past stale wakes of the stop event;
    // the wait's result as WaitForMultipleObjects gives it.
    DWORD WaitForStopOr(HANDLE stop, HANDLE other, DWORD milliseconds);
    // The stop event woke a wait though this socket's stop was never asked for: it was set for
    // an earlier user of the thread's event. Clears it; false when the stop is real.
    bool WakeWasStale(HANDLE stop);

    CRITICAL_SECTION sendLock_;
    CRITICAL_SECTION receiveLock_;
    volatile LONG connected_;
    SOCKET socket_;
    int32_t timeoutMs_;
    int32_t lastError_;
    WSAEVENT networkEvent_;
    QuietHandler quietHandler_ = nullptr;
    void* quietParam_ = nullptr;
    DWORD quietMs_ = 0;
    // Received bytes not yet read (under the receive lock).
    ReceiveBuffer received_;
    // Made on first need (StopEvent); written once, from null, by compare-and-swap.
    HANDLE volatile stopEvent_;
    // Set with the stop event: read without a system call.
    volatile LONG stopRequested_;
    // The events are a pool thread's own (WorkerThreadPool::ThreadEvents), never closed here.
    bool stopEventBorrowed_;
    bool networkEventBorrowed_;
};
