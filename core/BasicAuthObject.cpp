#include "core/BasicAuthObject.h"

#include "core/CAtlHttpClientT.h"
#include "core/StringHelpers.h"

#include <cstring>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

CBasicAuthObject::CBasicAuthObject() : client_(nullptr), info_(nullptr), proxy_(false), causeStatus_(0) {}

CBasicAuthObject::~CBasicAuthObject() {}

void CBasicAuthObject::Init(CAtlHttpClientT* client, IAuthInfo* info) {
    client_ = client;
    info_ = info;
}

std::string CBasicAuthObject::Base64Encode(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        uint32_t v = (static_cast<uint8_t>(bytes[i]) << 16) | (static_cast<uint8_t>(bytes[i + 1]) << 8) |
                     static_cast<uint8_t>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest) {
        uint32_t v = static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << 16;
        if (rest == 2)
            v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

bool CBasicAuthObject::ParseRealm(const std::string& text, std::string& realm) {
    realm.clear();
    size_t p = text.size() < 5 ? text.size() : 5;  // past the scheme word "Basic"
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    if (text.size() - p < 5 || !EqualsNoCase(text.substr(p, 5), "realm"))
        return true;  // no realm: answered all the same
    p += 5;
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    if (p >= text.size() || text[p] != '=')
        return false;
    ++p;
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    bool quoted = p < text.size() && text[p] == '"';
    if (quoted)
        ++p;
    std::string raw;
    while (p < text.size()) {
        char c = text[p];
        if (quoted && c == '"') {
            ++p;
            break;
        }
        // An unquoted realm runs to the end (or to a further parameter) and may hold blanks.
        if (!quoted && c == ',')
            break;
        if (c == '\\' && p + 1 < text.size()) {
            raw += text[p + 1];
            p += 2;
            continue;
        }
        raw += c;
        ++p;
    }
    if (!quoted)
        while (!raw.empty() && IsSpace(raw.back()))
            raw.pop_back();
    if (raw.size() >= kMaxRealm)
        return false;
    // After the value only further parameters may follow (", charset=...").
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    if (p < text.size() && text[p] != ',')
        return false;

    std::string decoded;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%') {
            if (i + 2 >= raw.size())
                return false;  // '%' needs two characters after it
            int hi = HexDigitValue(raw[i + 1]), lo = HexDigitValue(raw[i + 2]);
            if (hi >= 0 && lo >= 0) {
                decoded += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        decoded += raw[i];
    }
    realm = decoded;
    return true;
}

bool CBasicAuthObject::Authenticate(const char* challenge, bool proxy) {
    if (!client_ || !info_ || !challenge)
        return false;
    std::string text(challenge);
    if (text.size() > kMaxChallenge)
        return false;
    if (!ParseRealm(text, realm_))
        return false;
    proxy_ = proxy;

    char user[kCredentialBuffer];
    char password[kCredentialBuffer];
    uint32_t userLength = kCredentialBuffer;
    uint32_t passwordLength = kCredentialBuffer;
    if (!info_->GetUsername(user, &userLength) || !info_->GetPassword(password, &passwordLength))
        return false;
    std::string pair = std::string(user, userLength) + ":" + std::string(password, passwordLength);
    std::string line = std::string(proxy ? "Proxy-Authorization" : "Authorization") + ": Basic " + Base64Encode(pair) + "\r\n";

    uint32_t callerFlags = client_->GetProcessFlags();
    client_->Close();
    const HttpRequestSettings* current = client_->GetCurrentSettings();
    settings_ = current ? *current : HttpRequestSettings();
    settings_.extraHeaders += line;
    settings_.flags &= ~static_cast<uint32_t>(HttpRequestSettings::kProcessStatus);
    causeStatus_ = client_->GetStatus();
    std::string url = client_->GetCurrentUrlText();
    if (url.empty() || url.size() > CAtlHttpClientT::kMaxUrlText)
        return false;
    if (!client_->Navigate(url.c_str(), &settings_))
        return false;

    int32_t status = client_->GetStatus();
    // A proxy that let us through may be followed by the server's own challenge: that one is
    // still ours to answer, with the server pair.
    if (!(causeStatus_ == 407 && status == 401) && (status == 401 || status == 407))
        client_->MarkAuthObjectUsed("basic");
    return client_->ProcessStatus(callerFlags);
}

MyBasicAuthObject::MyBasicAuthObject(const std::string& user, const std::string& password, const std::string& proxyUser,
                                     const std::string& proxyPassword)
    : user_(user), password_(password), proxyUser_(proxyUser), proxyPassword_(proxyPassword) {}

MyBasicAuthObject::~MyBasicAuthObject() {}

bool MyBasicAuthObject::Authenticate(const char* challenge, bool proxy) {
    if (!proxy && !serverHost_.empty() && client_ && !EqualsNoCase(client_->GetCurrentHost(), serverHost_))
        return false;
    currentUser_ = proxy ? proxyUser_ : user_;
    currentPassword_ = proxy ? proxyPassword_ : password_;
    return CBasicAuthObject::Authenticate(challenge, proxy);
}

bool MyBasicAuthObject::GetPassword(char* buffer, uint32_t* length) {
    return length && CopyOutText(currentPassword_, buffer, length);
}

bool MyBasicAuthObject::GetUsername(char* buffer, uint32_t* length) {
    return length && CopyOutText(currentUser_, buffer, length);
}

bool MyBasicAuthObject::GetDomain(char*, uint32_t*) {
    return true;
}
