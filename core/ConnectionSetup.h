#pragma once
// Gives a new worker's HTTP client its proxy and the Basic authorization objects that may
// answer its 401 and 407 challenges.
#include "core/StartingAddress.h"

#include <cstdint>
#include <string>
#include <vector>

class CAtlHttpClientT;
class MyBasicAuthObject;
class ProgramSettings;

struct ProxyOptions {
    bool useMyProxy = false;
    bool useWindowsProxy = false;
    bool useProxyAuth = false;
    std::string proxyUser;
    std::string proxyPassword;
    std::string proxyAddress;
    int32_t proxyPort = 3128;
    // The system proxy as read once for a run; unset: each client reads the registry itself.
    bool systemProxyRead = false;
    bool systemProxyFound = false;
    std::string systemProxyHost;
    int systemProxyPort = 0;

    static ProxyOptions FromSettings(const ProgramSettings& settings);
    // Reads the system proxy now, for every connection set up with these options.
    void ReadSystemProxyOnce();
};

// For url: one object per start address with authorization on the same host (its pair, sent
// to that host only, and the proxy pair), else one proxy-only object when proxy authorization
// is on; all registered under "basic" with the client; then the manual and/or system proxy
// (a readable system proxy wins when both are on). The caller owns the objects in authObjects
// (normally handed on to the worker).
void SetUpHttpConnection(const std::string& url, const std::vector<StartingAddress>& startAddresses,
                         const ProxyOptions& proxy, std::vector<MyBasicAuthObject*>& authObjects,
                         CAtlHttpClientT& client);
