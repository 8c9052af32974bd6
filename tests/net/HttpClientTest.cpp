// The HTTP client against the scripted server: exact request bytes, every body framing, status
// processing, redirects and the bounds on what a server may send.
#include <gtest/gtest.h>

#include "core/CAtlHttpClientT.h"
#include "tests/net/ScriptedServer.h"

#include <string>
#include <vector>

using namespace nettest;

namespace {

const char kUserAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

std::string Url(const ScriptedServer& s, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(s.Port()) + path;
}

std::string HostLine(const ScriptedServer& s) {
    return "Host: 127.0.0.1:" + std::to_string(s.Port()) + "\r\n";
}

std::string Body(const CAtlHttpClientT& c) {
    const uint8_t* b = c.GetBody();
    return b ? std::string(reinterpret_cast<const char*>(b), static_cast<size_t>(c.GetBodyLength())) : std::string();
}

HttpRequestSettings Quick(int timeoutMs = 3000) {
    HttpRequestSettings s;
    s.timeoutMs = timeoutMs;
    return s;
}

struct ReadLog {
    int calls = 0;
    int callsWithBody = 0;
    uint64_t lastBodyBytes = 0;
    uint64_t totalRead = 0;
    bool stopAfterBody = false;
};

bool LogRead(uint32_t bytes, void* param, const uint8_t* body, uint64_t bodyBytes) {
    ReadLog* log = static_cast<ReadLog*>(param);
    ++log->calls;
    log->totalRead += bytes;
    if (body) {
        ++log->callsWithBody;
        log->lastBodyBytes = bodyBytes;
        if (log->stopAfterBody)
            return false;
    }
    return true;
}

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Start()); }
    ScriptedServer server;
    CAtlHttpClientT client;
};

}  // namespace

TEST_F(HttpClientTest, DirectRequestBytesAndContentLengthBody) {
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 5\r\n\r\nabcde"));
    HttpRequestSettings s = Quick();
    s.extraHeaders = "Cookie:a=1;\r\n";
    ASSERT_TRUE(client.Navigate(Url(server, "/dir/pic.jpg?x=1#frag").c_str(), &s));
    EXPECT_EQ(200, client.GetStatus());
    EXPECT_EQ("abcde", Body(client));
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ("GET /dir/pic.jpg?x=1 HTTP/1.1\r\nCookie:a=1;\r\n" + HostLine(server) + kUserAgent + "\r\n",
              server.Requests()[0]);

    char buf[64];
    uint32_t len = sizeof(buf);
    ASSERT_TRUE(client.GetHeaderValue("content-type", buf, &len));
    EXPECT_STREQ("image/jpeg", buf);
    len = 3;  // too small: the needed size comes back, nothing is copied
    EXPECT_TRUE(client.GetHeaderValue("Content-Type", buf, &len));
    EXPECT_EQ(11u, len);
    EXPECT_FALSE(client.GetHeaderValue("X-Missing", buf, &len));
}

namespace {
bool LogSend(uint32_t bytes, void* param) {
    static_cast<std::vector<uint32_t>*>(param)->push_back(bytes);
    return true;
}
}  // namespace

TEST_F(HttpClientTest, RequestWithoutBodyIsReportedToTheSendCallback) {
    // Reported whether or not the flag that asks for reports on sending is set.
    for (uint32_t flags : {uint32_t(HttpRequestSettings::kProcessStatus), HttpRequestSettings::kDefaultFlags}) {
        server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"));
        std::vector<uint32_t> sent;
        HttpRequestSettings s = Quick();
        s.flags = flags;
        s.sendCallback = LogSend;
        s.sendParam = &sent;
        ASSERT_TRUE(client.Navigate(Url(server, "/s").c_str(), &s));
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(server.Requests().back().size(), sent[0]);
    }
}

TEST_F(HttpClientTest, BodySplitOverManyReadsIsReportedReadByRead) {
    std::string body(10000, 'x');
    server.AddConnection(RespondInPieces("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + body, 1500, 20));
    ReadLog log;
    HttpRequestSettings s = Quick();
    s.readCallback = LogRead;
    s.readParam = &log;
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(body, Body(client));
    EXPECT_GT(log.callsWithBody, 1);
    EXPECT_EQ(10000u, log.lastBodyBytes);
    EXPECT_EQ(10000u + 42u, log.totalRead);  // header bytes count too
}

TEST_F(HttpClientTest, ReadCallbackCanEndTheDownload) {
    server.AddConnection(RespondInPieces("HTTP/1.1 200 OK\r\nContent-Length: 9000\r\n\r\n" + std::string(9000, 'y'), 3000, 20));
    ReadLog log;
    log.stopAfterBody = true;
    HttpRequestSettings s = Quick();
    s.readCallback = LogRead;
    s.readParam = &log;
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());
}

TEST_F(HttpClientTest, ChunkedBodies) {
    // 5 + 3 bytes, sent byte by byte so every boundary falls inside a read.
    server.AddConnection(RespondInPieces(
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n3\r\nabc\r\n0\r\n\r\n", 1, 2));
    HttpRequestSettings first = Quick();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &first));
    EXPECT_EQ("helloabc", Body(client));
    EXPECT_EQ(8u, client.GetBodyLength());

    // Trailer lines after the last chunk.
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nTrailer: X-T\r\n\r\n"
                                 "A\r\n0123456789\r\n0\r\nX-T: 1\r\n\r\n"));
    HttpRequestSettings s = Quick();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ("0123456789", Body(client));

    // Without announced trailers the last chunk ends the body: a server that then holds the
    // connection open, or closes it without the final empty line, is not waited for.
    server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                    "3\r\nabc\r\n0\r\n"),
                                Stall(120000)});
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nxy\r\n0\r\n"));
    // The server holds on for two minutes and the time-out is 40 s: a client that waited for
    // either misses the guard.
    s = Quick(40000);
    DWORD start = GetTickCount();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_LT(GetTickCount() - start, 30000u);
    EXPECT_EQ("abc", Body(client));
    client.Close();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ("xy", Body(client));

    // Chunks larger than a read, split at odd places, lower- and upper-case sizes.
    std::string big(10000, 'c');
    big[0] = 'A';
    big[9999] = 'Z';
    server.AddConnection(RespondInPieces("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2710\r\n" + big +
                                             "\r\n1f\r\n" + std::string(31, 'd') + "\r\n0\r\n\r\n",
                                         1499, 5));
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(big + std::string(31, 'd'), Body(client));
}

TEST_F(HttpClientTest, MalformedChunksFail) {
    const char* bad[] = {
        "5;x=1\r\nhello\r\n0\r\n\r\n",   // chunk extension
        "123456789\r\nx\r\n0\r\n\r\n",   // more than 8 hex digits
        "\r\nhello\r\n0\r\n\r\n",        // no size
        "5\r\nhelloXX0\r\n\r\n",         // no CR LF after the data
        "FFFFFFFF\r\nabc",               // larger than the body ceiling
        "5\r\nhel",                      // connection closes inside a chunk
    };
    for (const char* chunks : bad) {
        server.AddConnection(Respond(std::string("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n") + chunks));
        HttpRequestSettings s = Quick();
        EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s)) << chunks;
        EXPECT_EQ(CAtlHttpClientT::kReadChunkedFailed, client.GetLastReadResult()) << chunks;
    }
}

TEST_F(HttpClientTest, BodyWithoutLengthEndsOnlyAtAnOrderlyClose) {
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n0123456789"));
    HttpRequestSettings s = Quick();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ("0123456789", Body(client));

    // The server stops sending mid-body and keeps the connection: a time-out, not a picture.
    server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\n01234"), Stall(4000)});
    s.timeoutMs = 1000;
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());
    EXPECT_EQ(MySyncSocket::kErrorTimeout, client.GetSocket().GetLastError());
}

TEST_F(HttpClientTest, AResetConnectionIsABrokenBodyWhateverTheFraming) {
    // A third of a picture, then the server resets the connection (Wine reports the reset to a
    // receive as an end of stream): without a length that is no whole body.
    const std::string third(10000, 'p');
    server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + third),
                                Pause(200), Reset()});
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate(Url(server, "/cut.jpg").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());
    EXPECT_EQ(WSAECONNRESET, client.GetSocket().GetLastError());

    // With a length the body is short anyway; the reason is the reset all the same.
    server.AddConnection(Script{ReadRequest(),
                                Send("HTTP/1.1 200 OK\r\nContent-Length: 30000\r\n\r\n" + third), Pause(200),
                                Reset()});
    EXPECT_FALSE(client.Navigate(Url(server, "/cut.jpg").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());
    EXPECT_EQ(WSAECONNRESET, client.GetSocket().GetLastError());

    // An orderly close after the same bytes is the end of the body.
    server.AddConnection(Script{ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\n" + third), Pause(200), Close()});
    ASSERT_TRUE(client.Navigate(Url(server, "/whole.jpg").c_str(), &s));
    EXPECT_EQ(third, Body(client));
}

TEST_F(HttpClientTest, ShortBodyWithLengthFails) {
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\nonly ten.."));
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());
}

TEST_F(HttpClientTest, ContinueThenRealResponse) {
    server.AddConnection(Respond("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"));
    HttpRequestSettings s = Quick();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(200, client.GetStatus());
    EXPECT_EQ("ok", Body(client));

    // A server that answers with nothing but interim responses is not followed for ever.
    std::string flood;
    for (int i = 0; i <= CAtlHttpClientT::kMaxInterimResponses; ++i)
        flood += "HTTP/1.1 100 Continue\r\n\r\n";
    server.AddConnection(Respond(flood + "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBadStatusLine, client.GetLastReadResult());
    EXPECT_EQ(-1, client.GetStatus());
}

TEST_F(HttpClientTest, BadStatusLineFailsWithResult2) {
    server.AddConnection(Respond("HTTP/1.0 abc\r\nContent-Length: 0\r\n\r\n"));
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBadStatusLine, client.GetLastReadResult());
    EXPECT_EQ(-1, client.GetStatus());
}

TEST_F(HttpClientTest, RepeatedAndFoldedHeaders) {
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\n"
                                 "X-Long: first\r\n  second\r\nContent-Length: 0\r\n\r\n"));
    HttpRequestSettings s = Quick();
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    std::string v;
    ASSERT_TRUE(client.GetHeader("set-cookie", v));
    EXPECT_EQ("a=1,b=2", v);
    ASSERT_TRUE(client.GetHeader("X-Long", v));
    EXPECT_EQ("first second", v);
}

TEST_F(HttpClientTest, OversizedOrMalformedHeadersFail) {
    std::vector<std::string> bad = {
        "HTTP/1.1 200 OK\r\nX: " + std::string(1024, 'v') + "\r\n\r\n",   // value too long
        "HTTP/1.1 200 OK\r\n" + std::string(1024, 'n') + ": v\r\n\r\n",   // name too long
        "HTTP/1.1 200 OK\r\nNoColonHere\r\n\r\n",
        "HTTP/1.1 200 OK\r\nX: a\nInjected: b\r\n\r\n",                    // bare line feed
    };
    std::string huge = "HTTP/1.1 200 OK\r\n";
    while (huge.size() < 70000)
        huge += "X-Pad: " + std::string(500, 'p') + "\r\n";
    bad.push_back(huge);  // header block beyond its bound, never terminated
    for (const std::string& response : bad) {
        server.AddConnection(Respond(response));
        HttpRequestSettings s = Quick();
        EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
        EXPECT_EQ(CAtlHttpClientT::kReadBadHeader, client.GetLastReadResult()) << response.substr(0, 40);
    }
}

TEST_F(HttpClientTest, BodySizeIsBounded) {
    // A claimed length beyond the ceiling fails before anything is read or allocated.
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999\r\n\r\nabc"));
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());

    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n\r\nabc"));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));

    // The task's maximum size caps a body that has no length.
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\n\r\n" + std::string(5000, 'z')));
    s.maxBodyBytes = 4096;
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadBodyFailed, client.GetLastReadResult());
    EXPECT_TRUE(client.BodyTooLarge());

    // A chunked body that runs past the ceiling is too large as well; a cut one is not.
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1000\r\n" +
                                 std::string(4096, 'c') + "\r\n10\r\n" + std::string(16, 'd') + "\r\n0\r\n\r\n"));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kReadChunkedFailed, client.GetLastReadResult());
    EXPECT_TRUE(client.BodyTooLarge());
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\nonly ten.."));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_FALSE(client.BodyTooLarge());
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(5000, 'z')));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_TRUE(client.BodyTooLarge());
}

TEST_F(HttpClientTest, TheBufferNeverReservesPastTheCeilingAndOneRead) {
    // Doubling from 4 KB would reserve 4 MB for a body of 2.1 MB; the ceiling bounds it.
    const size_t size = 2100 * 1024;
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n" +
                                 std::string(size, 'q')));
    HttpRequestSettings s = Quick(10000);
    s.maxBodyBytes = size;
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(size, client.GetBodyLength());
    EXPECT_LE(client.GetBufferCapacity(), size + CAtlHttpClientT::kMaxHeaderBlock + 2048 + 2 * 4096);
}

TEST_F(HttpClientTest, StatusProcessing) {
    server.AddConnection(Respond("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(404, client.GetStatus());

    // Without status processing the 404 is just a response.
    server.AddConnection(Respond("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
    s.flags = HttpRequestSettings::kFollowRedirects;
    EXPECT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));

    server.AddConnection(Respond("HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n"));
    s = Quick();
    EXPECT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));  // no Location: final
    EXPECT_EQ(302, client.GetStatus());
}

TEST_F(HttpClientTest, RedirectGoesWithoutExtraHeadersAndFinalStatusCounts) {
    server.AddConnection(Respond("HTTP/1.1 302 Found\r\nLocation: next.jpg\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Respond("HTTP/1.1 301 Moved\r\nLocation: /other/final.jpg\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nend"));
    HttpRequestSettings s = Quick();
    s.extraHeaders = "Cookie:secret=1;\r\n";
    ASSERT_TRUE(client.Navigate(Url(server, "/dir/first.jpg").c_str(), &s));
    EXPECT_EQ("end", Body(client));
    std::vector<std::string> r = server.Requests();
    ASSERT_EQ(3u, r.size());
    EXPECT_EQ("GET /dir/next.jpg HTTP/1.1\r\n" + HostLine(server) + kUserAgent + "\r\n", r[1]);
    EXPECT_EQ("GET /other/final.jpg HTTP/1.1\r\n" + HostLine(server) + kUserAgent + "\r\n", r[2]);

    server.AddConnection(Respond("HTTP/1.1 302 Found\r\nLocation: /gone\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Respond("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(404, client.GetStatus());
}

TEST_F(HttpClientTest, RedirectsAreCappedAndLocationsCannotInjectLines) {
    for (int i = 0; i <= CAtlHttpClientT::kMaxRedirects; ++i)
        server.AddConnection(Respond("HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n"));
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
    EXPECT_EQ(CAtlHttpClientT::kMaxRedirects + 1, server.ConnectionCount());

    // A folded Location turns into one line with a blank, which the request line escapes.
    server.AddConnection(Respond("HTTP/1.1 302 Found\r\nLocation: /a\r\n X-Evil: 1\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"));
    ASSERT_TRUE(client.Navigate(Url(server, "/").c_str(), &s));
    std::vector<std::string> r = server.Requests();
    EXPECT_EQ("GET /a%20X-Evil:%201 HTTP/1.1\r\n" + HostLine(server) + kUserAgent + "\r\n", r.back());

    // Another scheme is not followed.
    server.AddConnection(Respond("HTTP/1.1 302 Found\r\nLocation: https://127.0.0.1/x\r\nContent-Length: 0\r\n\r\n"));
    EXPECT_FALSE(client.Navigate(Url(server, "/").c_str(), &s));
}

TEST_F(HttpClientTest, UnusableUrlsAndConnectionFailures) {
    HttpRequestSettings s = Quick();
    EXPECT_FALSE(client.Navigate("", &s));
    EXPECT_FALSE(client.Navigate("https://127.0.0.1/", &s));
    EXPECT_FALSE(client.Navigate("http://127.0.0.1/a\r\nX: y", &s));
    EXPECT_FALSE(client.Navigate(("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/").c_str(), &s));
    EXPECT_EQ(-1, client.GetStatus());
    EXPECT_EQ(WSAECONNREFUSED, client.GetSocket().GetLastError());
}

TEST_F(HttpClientTest, ProxyRequestCarriesTheWholeUrl) {
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\np"));
    ASSERT_TRUE(client.SetProxy("127.0.0.1", server.Port()));
    HttpRequestSettings s = Quick();
    s.extraHeaders = "Cookie:;\r\n";
    ASSERT_TRUE(client.Navigate("http://pictures.example:8080/a b.jpg", &s));
    EXPECT_EQ("GET http://pictures.example:8080/a%20b.jpg HTTP/1.1\r\nHost: pictures.example:8080\r\nCookie:;\r\n" +
                  std::string(kUserAgent) + "\r\n",
              server.Requests()[0]);
    server.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\np"));
    ASSERT_TRUE(client.Navigate("http://pictures.example/x", &s));
    ASSERT_EQ(2u, server.Requests().size());
    EXPECT_EQ("GET http://pictures.example/x HTTP/1.1\r\nHost: pictures.example\r\nCookie:;\r\n" +
                  std::string(kUserAgent) + "\r\n",
              server.Requests()[1]);
}
