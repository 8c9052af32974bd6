// Downloads through a real proxy with Basic authorization (tinyproxy, started by the CTest
// fixture in extra.cmake) from the scripted server.
#include <gtest/gtest.h>

#include "core/BasicAuthObject.h"
#include "core/CAtlHttpClientT.h"
#include "tests/net/ScriptedServer.h"

#include <cstdlib>

using namespace nettest;

namespace {

struct ProxyConfig {
    int port = 0;
    std::string user;
    std::string password;
};

bool FindProxy(ProxyConfig& config, std::string& why) {
    const char* port = getenv("BKF_NET_PROXY_PORT");
    const char* user = getenv("BKF_NET_PROXY_USER");
    const char* password = getenv("BKF_NET_PROXY_PASSWORD");
    if (!port || !user || !password) {
        why = "BKF_NET_PROXY_PORT/USER/PASSWORD not set: run through ctest, which starts tinyproxy";
        return false;
    }
    config.port = atoi(port);
    config.user = user;
    config.password = password;
    MySyncSocket probe;
    probe.SetTimeout(1000);
    if (!probe.Connect("127.0.0.1", config.port)) {
        why = "no proxy answers on 127.0.0.1:" + std::string(port) + " (is tinyproxy installed?)";
        return false;
    }
    return true;
}

}  // namespace

TEST(RealProxy, BasicAuthorizationToTheProxy) {
    ProxyConfig proxy;
    std::string why;
    if (!FindProxy(proxy, why))
        GTEST_SKIP() << why;

    ScriptedServer origin;
    ASSERT_TRUE(origin.Start());
    origin.AddConnection(Respond("HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\nContent-Length: 6\r\n\r\nGIF89a"));

    CAtlHttpClientT client;
    MyBasicAuthObject auth("", "", proxy.user, proxy.password);
    client.AddAuthObj("basic", &auth, &auth);
    ASSERT_TRUE(client.SetProxy("127.0.0.1", proxy.port));
    HttpRequestSettings s;
    s.timeoutMs = 5000;
    s.extraHeaders = "Cookie:k=v;\r\n";
    std::string url = "http://127.0.0.1:" + std::to_string(origin.Port()) + "/pics/a.gif";
    ASSERT_TRUE(client.Navigate(url.c_str(), &s)) << "status " << client.GetStatus();
    EXPECT_EQ(200, client.GetStatus());
    ASSERT_EQ(6u, client.GetBodyLength());
    EXPECT_EQ(0, memcmp(client.GetBody(), "GIF89a", 6));
    // The proxy asked first (407), then passed the answered request on.
    ASSERT_EQ(1u, origin.Requests().size());
    EXPECT_EQ(0u, origin.Requests()[0].find("GET /pics/a.gif HTTP/1.1\r\n"));
    EXPECT_NE(std::string::npos, origin.Requests()[0].find("k=v;"));
}

TEST(RealProxy, WrongProxyPasswordFails) {
    ProxyConfig proxy;
    std::string why;
    if (!FindProxy(proxy, why))
        GTEST_SKIP() << why;

    ScriptedServer origin;
    ASSERT_TRUE(origin.Start());
    CAtlHttpClientT client;
    MyBasicAuthObject auth("", "", proxy.user, proxy.password + "x");
    client.AddAuthObj("basic", &auth, &auth);
    ASSERT_TRUE(client.SetProxy("127.0.0.1", proxy.port));
    HttpRequestSettings s;
    s.timeoutMs = 5000;
    std::string url = "http://127.0.0.1:" + std::to_string(origin.Port()) + "/a.gif";
    EXPECT_FALSE(client.Navigate(url.c_str(), &s));
    // tinyproxy refuses wrong credentials with a 401 of its own rather than another 407.
    EXPECT_TRUE(client.GetStatus() == 407 || client.GetStatus() == 401) << client.GetStatus();
    EXPECT_EQ(0, origin.ConnectionCount());
}
