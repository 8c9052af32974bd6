#include "core/ConnectionSetup.h"

#include "core/BasicAuthObject.h"
#include "core/CAtlHttpClientT.h"
#include "core/ProgramSettings.h"
#include "core/StringHelpers.h"
#include "core/SystemProxy.h"
#include "core/UrlParts.h"

ProxyOptions ProxyOptions::FromSettings(const ProgramSettings& settings) {
    ProxyOptions o;
    o.useMyProxy = settings.UseMyProxy;
    o.useWindowsProxy = settings.UseWindowsProxy;
    o.useProxyAuth = settings.UseProxyAuth;
    o.proxyUser = settings.NameForProxy;
    o.proxyPassword = settings.PasswordForProxy;
    o.proxyAddress = settings.ProxyAddress;
    o.proxyPort = settings.ProxyPort;
    return o;
}

void ProxyOptions::ReadSystemProxyOnce() {
    systemProxyHost.clear();
    systemProxyPort = 0;
    systemProxyFound = ReadSystemProxy(systemProxyHost, systemProxyPort);
    systemProxyRead = true;
}

void SetUpHttpConnection(const std::string& url, const std::vector<StartingAddress>& startAddresses,
                         const ProxyOptions& proxy, std::vector<MyBasicAuthObject*>& authObjects,
                         CAtlHttpClientT& client) {
    // The proxy pair only goes out when proxy authorization is switched on.
    const std::string proxyUser = proxy.useProxyAuth ? proxy.proxyUser : std::string();
    const std::string proxyPassword = proxy.useProxyAuth ? proxy.proxyPassword : std::string();

    UrlParts target;
    if (target.Parse(url)) {
        for (const StartingAddress& a : startAddresses) {
            if (!a.UseAuthorization)
                continue;
            UrlParts start;
            if (!start.Parse(a.Url) || start.HostName().empty() || !EqualsNoCase(start.HostName(), target.HostName()))
                continue;
            MyBasicAuthObject* object = new MyBasicAuthObject(a.UserName, a.Password, proxyUser, proxyPassword);
            object->RestrictToHost(start.HostName());
            authObjects.push_back(object);
        }
    }
    if (authObjects.empty() && proxy.useProxyAuth && (proxy.useMyProxy || proxy.useWindowsProxy))
        authObjects.push_back(new MyBasicAuthObject(std::string(), std::string(), proxyUser, proxyPassword));
    for (MyBasicAuthObject* object : authObjects)
        client.AddAuthObj("basic", object, object);

    if (proxy.useMyProxy && !proxy.proxyAddress.empty())
        client.SetProxy(proxy.proxyAddress.c_str(), proxy.proxyPort);
    if (proxy.useWindowsProxy && !proxy.systemProxyRead)
        client.SetProxy(nullptr, 0);
    else if (proxy.useWindowsProxy && proxy.systemProxyFound)
        client.SetProxy(proxy.systemProxyHost.c_str(), proxy.systemProxyPort);
}
