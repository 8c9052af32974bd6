// Basic authorization for server and proxy, the system proxy from the registry, and the
// set-up that gives a worker's client its proxy and authorization objects.
#include <gtest/gtest.h>

#include "core/BasicAuthObject.h"
#include "core/CAtlHttpClientT.h"
#include "core/ConnectionSetup.h"
#include "core/SystemProxy.h"
#include "tests/net/ScriptedServer.h"

#include <memory>

using namespace nettest;

namespace {

const char kUserAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
const char kOk[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
const char kProxyChallenge[] = "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"proxy\"\r\nContent-Length: 0\r\n\r\n";
const char kServerChallenge[] = "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"site\"\r\nContent-Length: 0\r\n\r\n";

std::string Local(const ScriptedServer& s, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(s.Port()) + path;
}

class AuthTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        settings.timeoutMs = 3000;
        settings.extraHeaders = "Cookie:;\r\n";
    }
    void Register(MyBasicAuthObject* object) {
        auth.reset(object);
        client.AddAuthObj("basic", object, object);
    }
    ScriptedServer server;
    CAtlHttpClientT client;
    std::unique_ptr<MyBasicAuthObject> auth;
    HttpRequestSettings settings;
};

}  // namespace

TEST_F(AuthTest, ProxyChallengeThenServerChallengeAreAnsweredWithTheirPairs) {
    server.AddConnection(Respond(kProxyChallenge));
    server.AddConnection(Respond(kServerChallenge));
    server.AddConnection(Respond(kOk));
    Register(new MyBasicAuthObject("u", "p", "pu", "pp"));
    ASSERT_TRUE(client.SetProxy("127.0.0.1", server.Port()));
    ASSERT_TRUE(client.Navigate("http://site.example/pic.jpg", &settings));
    EXPECT_EQ(200, client.GetStatus());
    std::vector<std::string> r = server.Requests();
    ASSERT_EQ(3u, r.size());
    const std::string head = "GET http://site.example/pic.jpg HTTP/1.1\r\nHost: site.example\r\nCookie:;\r\n";
    EXPECT_EQ(head + kUserAgent + "\r\n", r[0]);
    EXPECT_EQ(head + "Proxy-Authorization: Basic cHU6cHA=\r\n" + kUserAgent + "\r\n", r[1]);
    EXPECT_EQ(head + "Proxy-Authorization: Basic cHU6cHA=\r\nAuthorization: Basic dTpw\r\n" + kUserAgent + "\r\n", r[2]);
}

TEST_F(AuthTest, WrongCredentialsFailAfterOneRetry) {
    server.AddConnection(Respond(kServerChallenge));
    server.AddConnection(Respond(kServerChallenge));
    server.AddConnection(Respond(kOk));
    Register(new MyBasicAuthObject("u", "bad", "", ""));
    EXPECT_FALSE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_EQ(401, client.GetStatus());
    EXPECT_EQ(2, server.ConnectionCount());
}

TEST_F(AuthTest, ChallengeWithoutRealmIsAnswered) {
    server.AddConnection(Respond("HTTP/1.1 401 No\r\nWWW-Authenticate: Basic\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Respond(kOk));
    Register(new MyBasicAuthObject("user", "pw", "", ""));
    ASSERT_TRUE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_NE(std::string::npos, server.Requests()[1].find("Authorization: Basic dXNlcjpwdw==\r\n"));
}

TEST_F(AuthTest, UnquotedRealmWithBlanksIsAnswered) {
    server.AddConnection(Respond("HTTP/1.1 401 No\r\nWWW-Authenticate: Basic realm=Photo Archive\r\nContent-Length: 0\r\n\r\n"));
    server.AddConnection(Respond(kOk));
    Register(new MyBasicAuthObject("user", "pw", "", ""));
    ASSERT_TRUE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_EQ(200, client.GetStatus());
    EXPECT_EQ("Photo Archive", auth->GetRealm());
    EXPECT_NE(std::string::npos, server.Requests()[1].find("Authorization: Basic dXNlcjpwdw==\r\n"));
}

TEST_F(AuthTest, OtherSchemesAreIgnored) {
    server.AddConnection(Respond("HTTP/1.1 401 No\r\nWWW-Authenticate: Digest realm=\"x\"\r\nContent-Length: 0\r\n\r\n"));
    Register(new MyBasicAuthObject("user", "pw", "", ""));
    EXPECT_FALSE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_EQ(1, server.ConnectionCount());
}

TEST_F(AuthTest, ProxyPasswordNeverGoesToAServer) {
    // A 407 from a server while no proxy is in use is not answered.
    server.AddConnection(Respond(kProxyChallenge));
    server.AddConnection(Respond(kOk));
    Register(new MyBasicAuthObject("u", "p", "pu", "pp"));
    EXPECT_FALSE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_EQ(407, client.GetStatus());
    EXPECT_EQ(1, server.ConnectionCount());
}

TEST_F(AuthTest, ServerPairGoesOnlyToItsOwnHost) {
    server.AddConnection(Respond(kServerChallenge));
    MyBasicAuthObject* object = new MyBasicAuthObject("u", "p", "", "");
    object->RestrictToHost("elsewhere.example");
    Register(object);
    EXPECT_FALSE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_EQ(1, server.ConnectionCount());
}

TEST_F(AuthTest, ProxyOnlyObjectAnswersAServerWithAnEmptyPair) {
    server.AddConnection(Respond(kServerChallenge));
    server.AddConnection(Respond(kOk));
    Register(new MyBasicAuthObject("", "", "pu", "pp"));
    ASSERT_TRUE(client.Navigate(Local(server, "/").c_str(), &settings));
    EXPECT_NE(std::string::npos, server.Requests()[1].find("\r\nAuthorization: Basic Og==\r\n"));
}

TEST(BasicAuth, RealmParsingAndEncoding) {
    std::string realm;
    EXPECT_TRUE(CBasicAuthObject::ParseRealm("Basic realm=\"Pictures\"", realm));
    EXPECT_EQ("Pictures", realm);
    EXPECT_TRUE(CBasicAuthObject::ParseRealm("Basic REALM = \"a\\\"b%41\"", realm));
    EXPECT_EQ("a\"bA", realm);
    EXPECT_TRUE(CBasicAuthObject::ParseRealm("Basic realm=\"x\", charset=\"UTF-8\"", realm));
    EXPECT_EQ("x", realm);
    EXPECT_TRUE(CBasicAuthObject::ParseRealm("Basic", realm));
    EXPECT_EQ("", realm);
    EXPECT_TRUE(CBasicAuthObject::ParseRealm("Basic realm=my pictures  ", realm));
    EXPECT_EQ("my pictures", realm);
    EXPECT_TRUE(CBasicAuthObject::ParseRealm("Basic realm=a b, charset=UTF-8", realm));
    EXPECT_EQ("a b", realm);
    EXPECT_FALSE(CBasicAuthObject::ParseRealm("Basic realm=\"x\" junk", realm));
    EXPECT_FALSE(CBasicAuthObject::ParseRealm("Basic realm=\"ab%4\"", realm));
    EXPECT_FALSE(CBasicAuthObject::ParseRealm("Basic realm=\"" + std::string(1024, 'r') + "\"", realm));

    EXPECT_EQ("", CBasicAuthObject::Base64Encode(""));
    EXPECT_EQ("Zg==", CBasicAuthObject::Base64Encode("f"));
    EXPECT_EQ("Zm8=", CBasicAuthObject::Base64Encode("fo"));
    EXPECT_EQ("Zm9v", CBasicAuthObject::Base64Encode("foo"));
    EXPECT_EQ("QWxhZGRpbjpvcGVuIHNlc2FtZQ==", CBasicAuthObject::Base64Encode("Aladdin:open sesame"));

    MyBasicAuthObject a("", "", "", "");
    char buf[4];
    uint32_t len = 0;
    EXPECT_FALSE(a.GetUsername(nullptr, &len));
    EXPECT_EQ(1u, len);
    len = sizeof(buf);
    EXPECT_TRUE(a.GetUsername(buf, &len));
    EXPECT_EQ(0u, len);
}

TEST(SystemProxy, ParsesTheUsualForms) {
    std::string host;
    int port = 0;
    EXPECT_TRUE(ParseProxyServerText("proxy.example:3128", host, port));
    EXPECT_EQ("proxy.example", host);
    EXPECT_EQ(3128, port);
    EXPECT_TRUE(ParseProxyServerText("http://10.0.0.1:8080/", host, port));
    EXPECT_EQ("10.0.0.1", host);
    EXPECT_EQ(8080, port);
    EXPECT_TRUE(ParseProxyServerText("ftp=f:21;http=web:81;https=s:443", host, port));
    EXPECT_EQ("web", host);
    EXPECT_EQ(81, port);
    EXPECT_TRUE(ParseProxyServerText("bare", host, port));
    EXPECT_EQ(80, port);
    host = "kept";
    EXPECT_FALSE(ParseProxyServerText("ftp=f:21", host, port));
    EXPECT_FALSE(ParseProxyServerText("", host, port));
    EXPECT_FALSE(ParseProxyServerText("p:99999", host, port));
    EXPECT_EQ("kept", host);
}

namespace {

const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Sets "ProxyServer" in this test prefix's registry and puts the old state back afterwards.
class ProxyServerValue {
public:
    ProxyServerValue() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            char value[4096];
            DWORD size = sizeof(value) - 1, type = 0;
            if (RegQueryValueExA(key, "ProxyServer", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS) {
                value[size] = 0;
                had_ = true;
                old_ = value;
            }
            RegCloseKey(key);
        }
    }
    ~ProxyServerValue() {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (had_)
            RegSetValueExA(key, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()), static_cast<DWORD>(old_.size() + 1));
        else
            RegDeleteValueA(key, "ProxyServer");
        RegCloseKey(key);
    }
    bool Set(const std::string& text) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        bool ok = RegSetValueExA(key, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }
    bool Remove() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            return true;
        RegDeleteValueA(key, "ProxyServer");
        RegCloseKey(key);
        return true;
    }

private:
    bool had_ = false;
    std::string old_;
};

}  // namespace

TEST(SystemProxy, RegistryValueRoutesTheRequestThroughTheProxy) {
    ScriptedServer proxy;
    ASSERT_TRUE(proxy.Start());
    proxy.AddConnection(Respond(kOk));
    ProxyServerValue value;
    ASSERT_TRUE(value.Set("127.0.0.1:" + std::to_string(proxy.Port())));

    std::string host;
    int port = 0;
    ASSERT_TRUE(ReadSystemProxy(host, port));
    EXPECT_EQ("127.0.0.1", host);
    EXPECT_EQ(proxy.Port(), port);

    CAtlHttpClientT client;
    ASSERT_TRUE(client.SetProxy(nullptr, 0));
    HttpRequestSettings s;
    s.timeoutMs = 3000;
    ASSERT_TRUE(client.Navigate("http://far.example/a.jpg", &s));
    EXPECT_EQ(0u, proxy.Requests()[0].find("GET http://far.example/a.jpg HTTP/1.1\r\n"));

    // Without the value the client stays direct (or on its manual proxy).
    value.Remove();
    CAtlHttpClientT direct;
    EXPECT_FALSE(direct.SetProxy(nullptr, 0));
    EXPECT_EQ("", direct.GetProxyHost());
}

TEST(ConnectionSetup, TheSystemProxyReadForARunServesEveryConnection) {
    ProxyServerValue value;
    ASSERT_TRUE(value.Set("127.0.0.1:4321"));
    ProxyOptions proxy;
    proxy.useMyProxy = true;
    proxy.proxyAddress = "10.0.0.1";
    proxy.proxyPort = 3128;
    proxy.useWindowsProxy = true;
    proxy.ReadSystemProxyOnce();
    value.Remove();
    std::vector<StartingAddress> starts;
    {
        // Read once: the registry is not asked again, and the system proxy wins.
        CAtlHttpClientT client;
        std::vector<MyBasicAuthObject*> objects;
        SetUpHttpConnection("http://far.example/a.jpg", starts, proxy, objects, client);
        EXPECT_EQ("127.0.0.1", client.GetProxyHost());
        EXPECT_EQ(4321, client.GetProxyPort());
    }
    {
        // A run that found none keeps the manual proxy.
        proxy.ReadSystemProxyOnce();
        CAtlHttpClientT client;
        std::vector<MyBasicAuthObject*> objects;
        SetUpHttpConnection("http://far.example/a.jpg", starts, proxy, objects, client);
        EXPECT_EQ("10.0.0.1", client.GetProxyHost());
        EXPECT_EQ(3128, client.GetProxyPort());
    }
}

TEST(ConnectionSetup, ObjectsForMatchingStartAddressesAndTheProxy) {
    std::vector<StartingAddress> starts(3);
    starts[0].Url = "http://Pics.Example/gallery/";
    starts[0].UseAuthorization = true;
    starts[0].UserName = "u";
    starts[1].Url = "http://other.example/";
    starts[1].UseAuthorization = true;
    starts[2].Url = "http://pics.example/free/";
    starts[2].UseAuthorization = false;

    ProxyOptions proxy;
    proxy.useMyProxy = true;
    proxy.useWindowsProxy = false;
    proxy.useProxyAuth = true;
    proxy.proxyAddress = "127.0.0.1";
    proxy.proxyPort = 3129;
    {
        CAtlHttpClientT client;
        std::vector<MyBasicAuthObject*> objects;
        SetUpHttpConnection("http://pics.example/gallery/a.jpg", starts, proxy, objects, client);
        EXPECT_EQ(1u, objects.size());
        EXPECT_EQ("127.0.0.1", client.GetProxyHost());
        EXPECT_EQ(3129, client.GetProxyPort());
        for (auto* o : objects)
            delete o;
    }
    {
        // No start address on this host: one proxy-only object.
        CAtlHttpClientT client;
        std::vector<MyBasicAuthObject*> objects;
        SetUpHttpConnection("http://third.example/a.jpg", starts, proxy, objects, client);
        EXPECT_EQ(1u, objects.size());
        for (auto* o : objects)
            delete o;
    }
    {
        CAtlHttpClientT client;
        std::vector<MyBasicAuthObject*> objects;
        proxy.useProxyAuth = false;
        proxy.useMyProxy = false;
        SetUpHttpConnection("http://third.example/a.jpg", starts, proxy, objects, client);
        EXPECT_TRUE(objects.empty());
        EXPECT_EQ("", client.GetProxyHost());
    }
}
