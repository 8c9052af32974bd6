// MySyncSocket against real loopback servers: time-outs, refusals, stop from another thread.
#include <gtest/gtest.h>

#include "core/MySyncSocket.h"
#include "core/Threadable.h"
#include "core/WorkerThreadPool.h"
#include "tests/net/ScriptedServer.h"

#include <process.h>
#include <string>

using namespace nettest;

namespace {

struct StopLater {
    MySyncSocket* socket;
    int delayMs;
};

unsigned __stdcall StopThread(void* param) {
    StopLater* s = static_cast<StopLater*>(param);
    Sleep(s->delayMs);
    s->socket->RequestStop();
    return 0;
}

HANDLE StopAfter(StopLater* s) {
    return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopThread, s, 0, nullptr));
}

// Reads a first piece, then waits through the server's pause with a quiet handler, on a pool
// thread so that the test can reach the network event the socket borrows.
class QuietReader : public Threadable {
public:
    QuietReader(int port, HANDLE reading) : port_(port), reading_(reading) {}
    ~QuietReader() override { Wait(); }
    HANDLE networkEvent = nullptr;
    int quietCalls = 0;
    bool quietBeforeData = false;
    std::string got;

protected:
    unsigned Run() override {
        HANDLE stop = nullptr;
        WorkerThreadPool::ThreadEvents(stop, networkEvent);
        MySyncSocket s;
        s.SetTimeout(10000);
        if (!s.Connect("127.0.0.1", port_))
            return 1;
        char buf[64];
        uint32_t n = sizeof(buf);
        if (!s.Read(buf, &n))
            return 1;
        got.assign(buf, n);
        s.SetQuietHandler(OnQuiet, this, 150);
        SetEvent(reading_);
        n = sizeof(buf);
        if (s.Read(buf, &n))
            got.append(buf, n);
        s.Close();
        return 0;
    }

private:
    static void OnQuiet(void* param) {
        QuietReader* self = static_cast<QuietReader*>(param);
        ++self->quietCalls;
        self->quietBeforeData = self->got == "first";
    }
    int port_;
    HANDLE reading_;
};

// One read of a connection whose server sends only once the read has found nothing and waits
// on: the socket's quiet handler, asked for after the first millisecond of quiet, tells it.
struct ReadToldWhenWaiting {
    HANDLE readIsWaiting = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int quietCalls = 0;
    bool read = false;
    int32_t error = 0;
    std::string got;

    ReadToldWhenWaiting() = default;
    ~ReadToldWhenWaiting() { CloseHandle(readIsWaiting); }
    ReadToldWhenWaiting(const ReadToldWhenWaiting&) = delete;
    ReadToldWhenWaiting& operator=(const ReadToldWhenWaiting&) = delete;

    void Run(ScriptedServer& server, int32_t timeoutMs) {
        server.AddConnection(Script{WaitFor(readIsWaiting), Send("late"), Stall(2000)});
        MySyncSocket s;
        s.SetTimeout(timeoutMs);
        s.SetQuietHandler(&ReadToldWhenWaiting::OnQuiet, this, 1);
        ASSERT_TRUE(s.Connect("127.0.0.1", server.Port()));
        char buf[16];
        uint32_t n = sizeof(buf);
        read = s.Read(buf, &n);
        error = s.GetLastError();
        got.assign(buf, read ? n : 0);
        SetEvent(readIsWaiting);  // the server's script may end now
    }

private:
    static void OnQuiet(void* param) {
        ReadToldWhenWaiting* self = static_cast<ReadToldWhenWaiting*>(param);
        ++self->quietCalls;
        SetEvent(self->readIsWaiting);
    }
};

}  // namespace

TEST(Socket, AQuietReadIsToldOfTheQuietEvenAfterAWakeWithNothingToRead) {
    // The network event is woken while nothing has come (as a late event of the connect, or one
    // left from the thread's earlier connection, does): the read must still tell its owner of
    // the quiet instead of waiting the whole pause out silently.
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(Script{Send("first"), Pause(1500), Send("second"), Close()});
    HANDLE reading = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    QuietReader reader(server.Port(), reading);
    ASSERT_EQ(0, reader.Start());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reading, 10000));
    Sleep(30);
    ASSERT_NE(nullptr, reader.networkEvent);
    SetEvent(reader.networkEvent);
    reader.Wait();
    CloseHandle(reading);
    EXPECT_EQ("firstsecond", reader.got);
    EXPECT_EQ(1, reader.quietCalls);
    EXPECT_TRUE(reader.quietBeforeData);
}

TEST(Socket, ReadsWhatTheServerSendsAndSeesTheClose) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(Respond("hello"));
    MySyncSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", server.Port()));
    ASSERT_TRUE(s.Connect("127.0.0.1", server.Port()));  // already connected: reused
    const char req[] = "GET / HTTP/1.1\r\n\r\n";
    uint32_t n = sizeof(req) - 1;
    ASSERT_TRUE(s.Write(req, &n));
    EXPECT_EQ(sizeof(req) - 1, n);
    std::string got;
    for (;;) {
        char buf[64];
        uint32_t m = sizeof(buf);
        ASSERT_TRUE(s.Read(buf, &m));
        if (m == 0)
            break;
        got.append(buf, m);
    }
    EXPECT_EQ("hello", got);
    EXPECT_EQ(1, server.ConnectionCount());
}

TEST(Socket, NameLookUpOfLocalhostConnects) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    MySyncSocket s;
    EXPECT_TRUE(s.Connect("localhost", server.Port()));
}

TEST(Socket, RefusedConnectionKeepsTheRefusalCode) {
    MySyncSocket s;
    s.SetTimeout(3000);
    EXPECT_FALSE(s.Connect("127.0.0.1", UnusedPort()));
    EXPECT_EQ(WSAECONNREFUSED, s.GetLastError());
    EXPECT_FALSE(s.IsConnected());
}

TEST(Socket, CreateTwiceFails) {
    MySyncSocket s;
    ASSERT_TRUE(s.Create());
    EXPECT_FALSE(s.Create());
    EXPECT_EQ(MySyncSocket::kErrorAlreadyCreated, s.GetLastError());
}

TEST(Socket, ReadTimesOutWith258) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    // The server says nothing for two minutes: only the read's own time-out ends it in time.
    server.AddConnection(Script{Stall(120000)});
    MySyncSocket s;
    s.SetTimeout(1000);
    ASSERT_TRUE(s.Connect("127.0.0.1", server.Port()));
    char buf[16];
    uint32_t n = sizeof(buf);
    DWORD start = GetTickCount();
    EXPECT_FALSE(s.Read(buf, &n));
    DWORD took = GetTickCount() - start;
    EXPECT_EQ(MySyncSocket::kErrorTimeout, s.GetLastError());
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 60000u);
}

TEST(Socket, SubSecondTimeOutIsAPoll) {
    // A read that waits always gets the server's bytes, however slow the machine; a poll never
    // waits, so it never tells the server and gets nothing. The same read with a time-out of
    // whole seconds shows the difference.
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    ReadToldWhenWaiting poll, wait;
    poll.Run(server, 999);
    EXPECT_FALSE(poll.read);
    EXPECT_EQ(MySyncSocket::kErrorTimeout, poll.error);
    EXPECT_EQ(0, poll.quietCalls);

    wait.Run(server, 30000);
    EXPECT_TRUE(wait.read);
    EXPECT_EQ("late", wait.got);
    EXPECT_EQ(1, wait.quietCalls);
    server.Stop();
}

TEST(Socket, StopFromAnotherThreadEndsABlockedRead) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    // The server says nothing for two minutes and the read's time-out is 30 s: only the stop
    // ends it within the guard.
    server.AddConnection(Script{Stall(120000)});
    MySyncSocket s;
    s.SetTimeout(30000);
    ASSERT_TRUE(s.Connect("127.0.0.1", server.Port()));
    StopLater later = {&s, 200};
    HANDLE t = StopAfter(&later);
    char buf[16];
    uint32_t n = sizeof(buf);
    DWORD start = GetTickCount();
    EXPECT_FALSE(s.Read(buf, &n));
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_EQ(MySyncSocket::kErrorStopped, s.GetLastError());
    WaitForSingleObject(t, 5000);
    CloseHandle(t);
    // Every later operation fails at once until the stop is cleared.
    EXPECT_FALSE(s.Read(buf, &n));
    s.Close();
    EXPECT_FALSE(s.Connect("127.0.0.1", server.Port()));
    EXPECT_EQ(MySyncSocket::kErrorStopped, s.GetLastError());
    s.ClearStop();
    EXPECT_TRUE(s.Connect("127.0.0.1", server.Port()));
}

TEST(Socket, StopEndsAConnectThatHangs) {
    // Nothing answers: the listener's queue is full. The connect waits until the stop.
    FullBacklogListener silent;
    ASSERT_TRUE(silent.Full());
    MySyncSocket s;
    s.SetTimeout(20000);
    StopLater later = {&s, 300};
    HANDLE t = StopAfter(&later);
    DWORD start = GetTickCount();
    EXPECT_FALSE(s.Connect("127.0.0.1", silent.Port()));
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 250u);  // it really waited for the stop
    EXPECT_LT(took, 15000u);  // and not for its 20 s time-out
    EXPECT_EQ(MySyncSocket::kErrorStopped, s.GetLastError());
    WaitForSingleObject(t, 5000);
    CloseHandle(t);
}
