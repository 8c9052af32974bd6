#pragma once
// Basic authorization for the HTTP client: answers a 401 (server) or 407 (proxy) challenge by
// navigating again with an "Authorization" or "Proxy-Authorization" header line.
#include "core/HttpRequestSettings.h"

#include <cstdint>
#include <string>

class CAtlHttpClientT;

// Where an authorization object gets its user name and password. Lengths count characters;
// see MyBasicAuthObject for the buffer protocol.
class IAuthInfo {
public:
    virtual bool GetPassword(char* buffer, uint32_t* length) = 0;
    virtual bool GetUsername(char* buffer, uint32_t* length) = 0;
    virtual bool GetDomain(char* buffer, uint32_t* length) = 0;

protected:
    ~IAuthInfo() {}
};

class CBasicAuthObject {
public:
    static constexpr size_t kMaxChallenge = 1024;
    static constexpr size_t kMaxRealm = 1024;
    static constexpr uint32_t kCredentialBuffer = 512;

    CBasicAuthObject();
    virtual ~CBasicAuthObject();
    // Answers the challenge text ("Basic realm=\"x\""); true when the retried request and its
    // status processing succeeded.
    virtual bool Authenticate(const char* challenge, bool proxy);
    virtual void Init(CAtlHttpClientT* client, IAuthInfo* info);

    const std::string& GetRealm() const { return realm_; }

    // Parses the realm of a challenge; false for a malformed one. Empty realm when absent.
    static bool ParseRealm(const std::string& challenge, std::string& realm);
    static std::string Base64Encode(const std::string& bytes);

protected:
    CAtlHttpClientT* client_;
    IAuthInfo* info_;
    std::string realm_;
    bool proxy_;
    int32_t causeStatus_;
    HttpRequestSettings settings_;
};

// The program's Basic authorization object: a server pair (user name, password) and a proxy
// pair; each challenge is answered with the pair for its kind.
class MyBasicAuthObject : public CBasicAuthObject, public IAuthInfo {
public:
    MyBasicAuthObject(const std::string& user, const std::string& password, const std::string& proxyUser,
                      const std::string& proxyPassword);
    ~MyBasicAuthObject() override;

    // Server credentials go only to this host (case ignored); empty: any host.
    void RestrictToHost(const std::string& host) { serverHost_ = host; }

    bool Authenticate(const char* challenge, bool proxy) override;

    // Copy the current value with its NUL when *length >= value length + 1 (then *length is
    // the value length); otherwise *length becomes value length + 1 and the result is false.
    bool GetPassword(char* buffer, uint32_t* length) override;
    bool GetUsername(char* buffer, uint32_t* length) override;
    bool GetDomain(char* buffer, uint32_t* length) override;

private:
    std::string user_;
    std::string password_;
    std::string proxyUser_;
    std::string proxyPassword_;
    std::string currentUser_;
    std::string currentPassword_;
    std::string serverHost_;
};
