// Worker threads against the scripted server, reporting to a real hidden window.
#include <gtest/gtest.h>

#include "core/CAtlHttpClientT.h"
#include "core/DownloadDataMessage.h"
#include "core/DownloadThread.h"
#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"
#include "core/PageLinkScan.h"
#include "tests/net/ScriptedServer.h"

#include <process.h>

#include <memory>
#include <vector>

using namespace nettest;

namespace {

const char kUserAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

// A hidden window that collects the worker records it receives.
class RecordWindow {
public:
    RecordWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BkfNetTestRecords";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA("BkfNetTestRecords", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordWindow() {
        DestroyWindow(hwnd_);
        Pump();  // what is left in the queue is freed by the records' owner: us
        for (DownloadDataMessage* m : records)
            delete m;
    }
    HWND Handle() const { return hwnd_; }
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_DOWNLOAD_DATA && msg.hwnd == nullptr)
                DownloadDataMessage::Free(msg.lParam);
            else
                DispatchMessageA(&msg);
        }
    }
    // Handles messages until the worker's thread has ended (bounded).
    bool RunUntilDone(DownloadThread& worker, DWORD limitMs = 10000) {
        DWORD start = GetTickCount();
        while (worker.IsRunning()) {
            if (GetTickCount() - start > limitMs)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            Pump();
        }
        worker.Wait();
        Pump();
        return true;
    }
    std::vector<DownloadDataMessage*> records;
    // Worker numbers of the final records, in arrival order, and the bytes they carried.
    std::vector<int32_t> finalRecords;
    int64_t finalBytes = 0;
    bool progressAfterFinal = false;
    // Takes each record as the manager does, so the worker may send the next; null: never.
    DownloadThread* taker = nullptr;
    // Set when the first progress record comes in (when given).
    HANDLE firstRecordEvent = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_DOWNLOAD_DATA) {
            RecordWindow* self = reinterpret_cast<RecordWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            DownloadDataMessage* m = DownloadDataMessage::FromLParam(lParam);
            if (self && m->finished) {
                // The worker's last word: it must come after every progress record.
                self->finalRecords.push_back(m->workerNumber);
                self->finalBytes += m->bytesRead;
                EXPECT_FALSE(m->hasBody);
                delete m;
            } else if (self) {
                if (!self->finalRecords.empty())
                    self->progressAfterFinal = true;
                if (self->taker)
                    self->taker->RecordTaken();
                if (self->records.empty() && self->firstRecordEvent)
                    SetEvent(self->firstRecordEvent);
                self->records.push_back(m);
            } else
                DownloadDataMessage::Free(lParam);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_;
};

UrlQueueEntry Entry(const ScriptedServer& s, const std::string& path) {
    UrlQueueEntry e;
    e.url = "http://127.0.0.1:" + std::to_string(s.Port()) + path;
    e.referrer = e.url;
    e.isImage = 1;
    e.extension = ".jpg";
    return e;
}

std::unique_ptr<DownloadThread> MakeWorker(HWND window, const UrlQueueEntry& entry, int timeoutSeconds = 5) {
    return std::unique_ptr<DownloadThread>(new DownloadThread(window, DownloadThread::NextWorkerNumber(), entry,
                                                              new CAtlHttpClientT(), std::vector<MyBasicAuthObject*>(),
                                                              timeoutSeconds));
}

}  // namespace

TEST(Worker, DownloadsAndReportsEachRead) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    std::string body(6000, 'j');
    server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 6000\r\n\r\n"),
                                Pause(50), Send(body.substr(0, 3000)), Pause(50), Send(body.substr(3000)), Close()});
    RecordWindow window;
    auto worker = MakeWorker(window.Handle(), Entry(server, "/p.jpg"));
    // Every read reported, as long as the records are taken.
    worker->SetRecordInterval(0);
    window.taker = worker.get();
    EXPECT_EQ(DownloadThread::kCreated, worker->GetStatus());
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(window.RunUntilDone(*worker));
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
    EXPECT_EQ(0, worker->GetLastSocketError());
    EXPECT_EQ(6000u, worker->GetClient()->GetBodyLength());

    // The cookie line goes out even without cookies.
    EXPECT_EQ("GET /p.jpg HTTP/1.1\r\nCookie:;\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n" + kUserAgent + "\r\n",
              server.Requests()[0]);

    ASSERT_GE(window.records.size(), 2u);
    // The read that completes the headers carries an empty copy and no header values yet.
    DownloadDataMessage* first = window.records[0];
    EXPECT_EQ(worker->GetNumber(), first->workerNumber);
    EXPECT_TRUE(first->hasBody);
    EXPECT_EQ(0, first->bodyLength);
    EXPECT_EQ("", first->contentType);
    EXPECT_EQ(0, first->contentLength);
    DownloadDataMessage* last = window.records.back();
    EXPECT_EQ("image/jpeg", last->contentType);
    EXPECT_EQ(6000, last->contentLength);
    EXPECT_EQ(6000, last->bodyLength);
    EXPECT_EQ(body, std::string(last->body.begin(), last->body.end()));
    int64_t total = window.finalBytes;
    for (DownloadDataMessage* m : window.records)
        total += m->bytesRead;
    EXPECT_EQ(static_cast<int64_t>(6000 + 67), total);
    // Then one final record, after all the progress.
    EXPECT_EQ(std::vector<int32_t>{worker->GetNumber()}, window.finalRecords);
    EXPECT_FALSE(window.progressAfterFinal);
}

TEST(Worker, CookieTextCannotAddHeaderLines) {
    EXPECT_EQ("Cookie:a=1; b=2;\r\n", DownloadThread::BuildCookieLine("a=1; b=2"));
    EXPECT_EQ("Cookie:a=1X-Evil: 1;\r\n", DownloadThread::BuildCookieLine("a=1\r\nX-Evil: 1"));

    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 1\r\n\r\nx"));
    RecordWindow window;
    auto worker = MakeWorker(window.Handle(), Entry(server, "/"));
    worker->SetCookies("sid=7\r\n\r\nGET /evil");
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(window.RunUntilDone(*worker));
    EXPECT_NE(std::string::npos, server.Requests()[0].find("\r\nCookie:sid=7GET /evil;\r\nHost: "));
}

TEST(Worker, FilterDecidedRecordsCarryCountsOnly) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(RespondInPieces("HTTP/1.1 200 OK\r\nContent-Length: 20000\r\n\r\n" + std::string(20000, 'b'), 2000, 30));
    RecordWindow window;
    auto worker = MakeWorker(window.Handle(), Entry(server, "/big.jpg"));
    worker->SetFilterDecided();
    ASSERT_TRUE(worker->Start());  // Start clears the flag ...
    worker->SetFilterDecided();    // ... so the manager sets it while the worker runs
    ASSERT_TRUE(window.RunUntilDone(*worker));
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
    size_t withBody = 0;
    for (DownloadDataMessage* m : window.records)
        if (m->bodyLength > 0)
            ++withBody;
    EXPECT_LE(withBody, 1u);  // at most a record made before the flag was seen
}

TEST(Worker, RecordsAreFewAndTheFinalOneCarriesTheRest) {
    // None while the last record is untaken (nobody takes them here): of the ten reads one goes
    // out once a good share of the body came in, the rest ride on the final record, and no byte
    // goes uncounted. The interval is out of reach, so how slowly this machine connects or reads
    // does not decide which read makes the record.
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    const std::string body(80000, 'c');
    server.AddConnection(RespondInPieces("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 80000\r\n\r\n" + body, 8000, 30));
    RecordWindow window;
    auto worker = MakeWorker(window.Handle(), Entry(server, "/many.jpg"));
    worker->SetRecordInterval(60000);
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(window.RunUntilDone(*worker));
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
    ASSERT_EQ(1u, window.records.size());
    DownloadDataMessage* progress = window.records[0];
    EXPECT_EQ("image/jpeg", progress->contentType);
    EXPECT_EQ(80000, progress->contentLength);
    EXPECT_TRUE(progress->hasBody);
    EXPECT_GT(progress->bodyLength, 0);
    EXPECT_EQ(static_cast<int64_t>(80000 + 68), progress->bytesRead + window.finalBytes);
    EXPECT_EQ(std::vector<int32_t>{worker->GetNumber()}, window.finalRecords);
    EXPECT_FALSE(window.progressAfterFinal);

    // A small picture that comes at once costs only its final record.
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 3000\r\n\r\n" +
                                 std::string(3000, 'd')));
    RecordWindow quick;
    auto fast = MakeWorker(quick.Handle(), Entry(server, "/small.jpg"));
    fast->SetRecordInterval(60000);   // however slowly this machine connects
    ASSERT_TRUE(fast->Start());
    ASSERT_TRUE(quick.RunUntilDone(*fast));
    EXPECT_EQ(DownloadThread::kDone, fast->GetStatus());
    EXPECT_TRUE(quick.records.empty());
    EXPECT_EQ(3000 + 67, quick.finalBytes);
}

TEST(Worker, BytesHeldBackAreReportedWhenTheServerGoesQuiet) {
    // Half a picture at once, then nothing until the window has its record of that half: the
    // connections list must not show nothing for it all that while.
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    HANDLE firstRecord = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 6000\r\n\r\n";
    server.AddConnection(Script{ReadRequest(), Send(head + std::string(3000, 'h')), WaitFor(firstRecord),
                                Send(std::string(3000, 'h')), Close()});
    RecordWindow window;
    window.firstRecordEvent = firstRecord;
    auto worker = MakeWorker(window.Handle(), Entry(server, "/half.jpg"));
    window.taker = worker.get();
    ASSERT_TRUE(worker->Start());
    // A worker that held the record back would wait for the rest, which never comes: its read
    // times out (the minute only guards against that).
    ASSERT_TRUE(window.RunUntilDone(*worker, 60000));
    server.Stop();
    CloseHandle(firstRecord);
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
    ASSERT_FALSE(window.records.empty());
    EXPECT_EQ(static_cast<int32_t>(head.size() + 3000), window.records[0]->bytesRead);
    EXPECT_EQ(3000, window.records[0]->bodyLength);   // the filter gets its look meanwhile too
    int64_t total = window.finalBytes;
    for (DownloadDataMessage* m : window.records)
        total += m->bytesRead;
    EXPECT_EQ(static_cast<int64_t>(head.size() + 6000), total);
}

TEST(Worker, BodyCopiesStopAtABoundedPrefix) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    const size_t size = DownloadThread::kMaxFilterPrefix + 100000;
    server.AddConnection(RespondInPieces("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n" +
                                             std::string(size, 'q'), 32768, 30));
    RecordWindow window;
    auto worker = MakeWorker(window.Handle(), Entry(server, "/big.jpg"));
    worker->SetRecordInterval(0);
    window.taker = worker.get();
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(window.RunUntilDone(*worker));
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
    size_t largest = 0, fullCopies = 0;
    for (DownloadDataMessage* m : window.records) {
        largest = std::max(largest, m->body.size());
        if (m->body.size() == DownloadThread::kMaxFilterPrefix)
            ++fullCopies;
    }
    EXPECT_EQ(DownloadThread::kMaxFilterPrefix, largest);
    EXPECT_EQ(1u, fullCopies);
}

TEST(Worker, StopAndSkipEndAStalledDownloadAtOnce) {
    for (bool skip : {false, true}) {
        ScriptedServer server;
        ASSERT_TRUE(server.Start());
        server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc"), Stall(20000)});
        RecordWindow window;
        auto worker = MakeWorker(window.Handle(), Entry(server, "/s.jpg"), 30);
        ASSERT_TRUE(worker->Start());
        Sleep(300);
        worker->Stop(skip);
        // The stall lasts 20 s and the worker's own time-out 30 s: a stop that waited for
        // either misses this guard.
        ASSERT_TRUE(window.RunUntilDone(*worker, 15000));
        EXPECT_EQ(skip ? DownloadThread::kSkipped : DownloadThread::kStopped, worker->GetStatus());
        EXPECT_FALSE(worker->GetClient()->GetSocket().HasSocket());  // closed by the worker itself
    }
}

namespace {

// A resolver that does not answer until the test lets it go.
HANDLE g_resolverRelease = nullptr;
volatile LONG g_resolverCalls = 0;
int SilentResolver(const char*, const char*, sockaddr_in*) {
    InterlockedIncrement(&g_resolverCalls);
    WaitForSingleObject(g_resolverRelease, 60000);
    return WSAHOST_NOT_FOUND;
}

}  // namespace

TEST(Worker, StopWhileConnectingOrLookingUp) {
    RecordWindow window;
    ASSERT_TRUE(window.Handle() != nullptr);
    FullBacklogListener silent;
    ASSERT_TRUE(silent.Full()) << "the listener's queue never filled";
    UrlQueueEntry e;
    e.url = "http://127.0.0.1:" + std::to_string(silent.Port()) + "/x.jpg";
    for (bool skip : {true, false}) {
        auto worker = MakeWorker(window.Handle(), e, 30);
        ASSERT_TRUE(worker->Start());
        Sleep(500);
        // Still connecting: nothing answers.
        ASSERT_TRUE(worker->IsRunning());
        EXPECT_EQ(DownloadThread::kRunning, worker->GetStatus());
        worker->Stop(skip);
        // Nothing ever answers and the worker's time-out is 30 s: the guard is missed only by a
        // stop that waited for it.
        ASSERT_TRUE(window.RunUntilDone(*worker, 15000));
        EXPECT_EQ(skip ? DownloadThread::kSkipped : DownloadThread::kStopped, worker->GetStatus());
    }

    // A name whose look-up never ends.
    g_resolverRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_resolverCalls = 0;
    MySyncSocket::HostResolver previous = MySyncSocket::SetHostResolver(SilentResolver);
    e.url = "http://pictures.example/x.jpg";
    auto second = MakeWorker(window.Handle(), e, 30);
    ASSERT_TRUE(second->Start());
    DWORD begin = GetTickCount();
    while (g_resolverCalls == 0 && GetTickCount() - begin < 5000) Sleep(10);
    Sleep(200);
    const bool lookingUp = second->IsRunning() && g_resolverCalls == 1;
    second->Stop(false);
    // The look-up is held for a minute: only a stop that does not wait for it meets the guard.
    const bool done = window.RunUntilDone(*second, 15000);
    SetEvent(g_resolverRelease);  // the abandoned look-up thread ends now
    MySyncSocket::SetHostResolver(previous);
    Sleep(50);
    EXPECT_TRUE(lookingUp);
    ASSERT_TRUE(done);
    EXPECT_EQ(DownloadThread::kStopped, second->GetStatus());
    EXPECT_EQ(MySyncSocket::kErrorStopped, second->GetLastSocketError());
}

TEST(Worker, FailuresKeepStatusAndSocketError) {
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(Respond("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\nab"), Stall(5000)});
    RecordWindow window;
    auto notFound = MakeWorker(window.Handle(), Entry(server, "/missing.jpg"));
    ASSERT_TRUE(notFound->Start());
    ASSERT_TRUE(window.RunUntilDone(*notFound));
    EXPECT_EQ(DownloadThread::kFailed, notFound->GetStatus());
    EXPECT_EQ(404, notFound->GetClient()->GetStatus());

    auto stalled = MakeWorker(window.Handle(), Entry(server, "/slow.jpg"), 1);
    ASSERT_TRUE(stalled->Start());
    ASSERT_TRUE(window.RunUntilDone(*stalled));
    EXPECT_EQ(DownloadThread::kFailed, stalled->GetStatus());
    EXPECT_EQ(258, stalled->GetLastSocketError());
}

TEST(Worker, NumbersKeepCountingAndLostRecordsAreFreed) {
    int32_t a = DownloadThread::NextWorkerNumber();
    int32_t b = DownloadThread::NextWorkerNumber();
    EXPECT_EQ(a + 1, b);

    // A worker whose window is gone frees every record it cannot post.
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc"));
    HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    auto worker = MakeWorker(gone, Entry(server, "/a.jpg"));
    ASSERT_TRUE(worker->Start());
    worker->Wait();
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
}

namespace {

struct DelayedStop {
    DownloadThread* worker;
    int delayMs;
};

unsigned __stdcall StopLater(void* param) {
    DelayedStop* d = static_cast<DelayedStop*>(param);
    Sleep(d->delayMs);
    d->worker->Stop(false);
    return 0;
}

}  // namespace

TEST(Worker, WaitingForAWorkerDispatchesNoPostedMessages) {
    // A command posted while the UI thread waits must not run inside the wait (it could stop
    // or start a run from there); it runs afterwards from the message loop.
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    server.AddConnection(Script{ReadRequest(), Stall(10000)});
    RecordWindow window;
    ASSERT_TRUE(window.Handle() != nullptr);
    auto worker = MakeWorker(window.Handle(), Entry(server, "/w.jpg"), 30);
    ASSERT_TRUE(worker->Start());
    DownloadDataMessage* marker = new DownloadDataMessage();
    marker->workerNumber = -12345;
    ASSERT_TRUE(PostMessageA(window.Handle(), WM_DOWNLOAD_DATA, 0, reinterpret_cast<LPARAM>(marker)));
    DelayedStop d = {worker.get(), 300};
    HANDLE t = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopLater, &d, 0, nullptr));
    // The stall outlasts the stop by seconds: a worker that ended otherwise is not "stopped".
    worker->Wait();
    EXPECT_TRUE(window.records.empty());
    window.Pump();
    ASSERT_FALSE(window.records.empty());
    EXPECT_EQ(-12345, window.records[0]->workerNumber);
    EXPECT_EQ(DownloadThread::kStopped, worker->GetStatus());
    WaitForSingleObject(t, 5000);
    CloseHandle(t);
}

TEST(Worker, APageIsScannedForItsLinksByTheWorkerThatFetchedIt) {
    std::string page = "<html>";
    for (int i = 0; i < 3000; ++i)
        page += "<a href='p" + std::to_string(i) + ".html'>p</a>" + (i % 1000 == 0 ? "<img src='i.gif'>" : "");
    page += "</html>";
    ScriptedServer server;
    ASSERT_TRUE(server.Start());
    const std::string response =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(page.size()) + "\r\n\r\n" + page;
    server.AddConnection(Respond(response));
    server.AddConnection(Respond("HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\nContent-Length: 0\r\n\r\n"));
    PageScanSettings settings;
    settings.tags = DefaultHtmlTagEntries();
    settings.fileTypes = DefaultFileTypeGroups();

    RecordWindow window;
    UrlQueueEntry entry = Entry(server, "/dir/index.html");
    entry.isImage = 0;
    auto worker = MakeWorker(window.Handle(), entry);
    worker->SetPageScan(std::unique_ptr<PageLinkScan>(new PageLinkScan(entry.url, entry.referrer, settings)));
    window.taker = worker.get();
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(window.RunUntilDone(*worker));
    EXPECT_EQ(DownloadThread::kDone, worker->GetStatus());
    // This thread only took records: the links were found on the worker's.
    std::unique_ptr<PageLinkScan> scan = worker->TakePageScan();
    ASSERT_TRUE(scan);
    EXPECT_FALSE(worker->TakePageScan());
    ASSERT_EQ(PageLinkScan::Outcome::kScanned, scan->GetOutcome());
    ASSERT_EQ(3003u, scan->Links().size());
    const std::string dir = "http://127.0.0.1:" + std::to_string(server.Port()) + "/dir/";
    EXPECT_EQ(dir + "p0.html", scan->Links()[0].url);
    EXPECT_FALSE(scan->Links()[0].isImage);
    EXPECT_EQ(dir + "i.gif", scan->Links()[3000].url);   // the img tags after the a tags
    EXPECT_TRUE(scan->Links()[3000].isImage);
    // The manager heard that the page is in and being scanned, with every byte, before the end.
    ASSERT_FALSE(window.records.empty());
    EXPECT_TRUE(window.records.back()->scanning);
    int64_t total = 0;
    for (DownloadDataMessage* m : window.records) total += m->bytesRead;
    EXPECT_EQ(static_cast<int64_t>(response.size()), total);
    EXPECT_EQ(0, window.finalBytes);
    EXPECT_EQ(1u, window.finalRecords.size());
    EXPECT_FALSE(window.progressAfterFinal);

    // A page that did not come is not scanned.
    auto failed = MakeWorker(window.Handle(), entry);
    failed->SetPageScan(std::unique_ptr<PageLinkScan>(new PageLinkScan(entry.url, entry.referrer, settings)));
    ASSERT_TRUE(failed->Start());
    ASSERT_TRUE(window.RunUntilDone(*failed));
    EXPECT_EQ(DownloadThread::kFailed, failed->GetStatus());
    EXPECT_EQ(PageLinkScan::Outcome::kNotRun, failed->TakePageScan()->GetOutcome());
}
