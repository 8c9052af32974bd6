#include "plugin/RegistryScript.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// Splits the script into words: '{' and '}' standing alone, '=', quoted texts ('' inside a
// quoted text is one quote) and bare words. A bare word may start with '{' (a GUID).
class Tokens {
public:
    explicit Tokens(const std::string& text) : text_(text) {}

    bool Next(std::string& token, bool& quoted) {
        quoted = false;
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_];
        if (c == '\'') {
            quoted = true;
            token.clear();
            for (++pos_; pos_ < text_.size(); ++pos_) {
                if (text_[pos_] == '\'') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                        token += '\'';
                        ++pos_;
                        continue;
                    }
                    ++pos_;
                    return true;
                }
                token += text_[pos_];
            }
            return false;  // unterminated
        }
        const bool alone = pos_ + 1 >= text_.size() || std::isspace(static_cast<unsigned char>(text_[pos_ + 1]));
        if (c == '=' || c == '}' || (c == '{' && alone)) {
            token.assign(1, c);
            ++pos_;
            return true;
        }
        const size_t start = pos_;
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) && text_[pos_] != '=' &&
               text_[pos_] != '\'')
            ++pos_;
        token = text_.substr(start, pos_ - start);
        return true;
    }

    bool Peek(std::string& token, bool& quoted) {
        const size_t saved = pos_;
        const bool ok = Next(token, quoted);
        pos_ = saved;
        return ok;
    }

private:
    const std::string& text_;
    size_t pos_ = 0;
};

bool IsWord(const std::string& token, bool quoted, const char* word) {
    return !quoted && _stricmp(token.c_str(), word) == 0;
}

bool RootKeyFor(const std::string& name, HKEY& key) {
    static const struct { const char* name; HKEY key; } kRoots[] = {
        {"HKCR", HKEY_CLASSES_ROOT}, {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCU", HKEY_CURRENT_USER}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKU", HKEY_USERS}, {"HKEY_USERS", HKEY_USERS}};
    for (const auto& root : kRoots)
        if (_stricmp(root.name, name.c_str()) == 0) {
            key = root.key;
            return true;
        }
    return false;
}

// "= s 'text'" or "= d 'number'" after a name; the '=' is already read.
bool ReadValue(Tokens& tokens, RegistryScript::Value& value) {
    std::string type, data;
    bool quoted = false;
    if (!tokens.Next(type, quoted) || quoted) return false;
    if (!tokens.Next(data, quoted)) return false;
    if (_stricmp(type.c_str(), "s") == 0) {
        value.text = data;
        return true;
    }
    if (_stricmp(type.c_str(), "d") == 0) {
        char* end = nullptr;
        const unsigned long number = std::strtoul(data.c_str(), &end, 0);
        if (data.empty() || *end) return false;
        value.isNumber = true;
        value.number = static_cast<DWORD>(number);
        return true;
    }
    return false;  // other types are not used by our scripts
}

const int kMaxDepth = 32;

// Reads entries up to the closing '}' of a block whose '{' is already read.
bool ReadBlock(Tokens& tokens, std::vector<RegistryScript::Key>& keys, RegistryScript::Key* owner, int depth) {
    if (depth > kMaxDepth) return false;
    std::string token;
    bool quoted = false;
    while (tokens.Next(token, quoted)) {
        if (!quoted && token == "}") return true;
        bool noRemove = false, forceRemove = false;
        while (IsWord(token, quoted, "NoRemove") || IsWord(token, quoted, "ForceRemove")) {
            (IsWord(token, quoted, "NoRemove") ? noRemove : forceRemove) = true;
            if (!tokens.Next(token, quoted)) return false;
        }
        if (IsWord(token, quoted, "val")) {
            RegistryScript::Value value;
            std::string equals;
            if (!owner || !tokens.Next(value.name, quoted) || !tokens.Next(equals, quoted) || equals != "=" ||
                !ReadValue(tokens, value))
                return false;
            owner->values.push_back(value);
            continue;
        }
        if (!quoted && (token == "{" || token == "=")) return false;
        RegistryScript::Key key;
        key.name = token;
        key.noRemove = noRemove;
        key.forceRemove = forceRemove;
        std::string next;
        if (tokens.Peek(next, quoted) && !quoted && next == "=") {
            tokens.Next(next, quoted);
            RegistryScript::Value value;
            if (!ReadValue(tokens, value)) return false;
            key.values.push_back(value);
        }
        if (tokens.Peek(next, quoted) && !quoted && next == "{") {
            tokens.Next(next, quoted);
            if (!ReadBlock(tokens, key.children, &key, depth + 1)) return false;
        }
        keys.push_back(key);
    }
    return false;  // no closing '}'
}

HRESULT FromWin32(LONG error) {
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}

}  // namespace

RegistryScript::RegistryScript(std::map<std::string, std::string> replacements)
    : replacements_(std::move(replacements)) {}

std::string RegistryScript::Expand(const std::string& script) const {
    std::string out;
    out.reserve(script.size());
    for (size_t i = 0; i < script.size(); ++i) {
        if (script[i] == '%') {
            const size_t end = script.find('%', i + 1);
            if (end != std::string::npos) {
                const auto found = replacements_.find(script.substr(i, end - i + 1));
                if (found != replacements_.end()) {
                    out += found->second;
                    i = end;
                    continue;
                }
            }
        }
        out += script[i];
    }
    return out;
}

bool RegistryScript::Parse(const std::string& script, std::vector<Root>& roots) const {
    const std::string text = Expand(script);
    Tokens tokens(text);
    std::string token, open;
    bool quoted = false;
    roots.clear();
    while (tokens.Next(token, quoted)) {
        Root root;
        if (quoted || !RootKeyFor(token, root.key)) return false;
        if (!tokens.Next(open, quoted) || quoted || open != "{") return false;
        if (!ReadBlock(tokens, root.children, nullptr, 0)) return false;
        roots.push_back(root);
    }
    return !roots.empty();
}

HRESULT RegistryScript::Register(const std::string& script) {
    std::vector<Root> roots;
    if (!Parse(script, roots)) return E_INVALIDARG;
    for (const Root& root : roots)
        for (const Key& key : root.children) {
            const HRESULT hr = RegisterKey(root.key, key);
            if (FAILED(hr)) return hr;
        }
    return S_OK;
}

HRESULT RegistryScript::Unregister(const std::string& script) {
    std::vector<Root> roots;
    if (!Parse(script, roots)) return E_INVALIDARG;
    for (const Root& root : roots)
        for (const Key& key : root.children) {
            const HRESULT hr = UnregisterKey(root.key, key);
            if (FAILED(hr)) return hr;
        }
    return S_OK;
}

HRESULT RegistryScript::RegisterKey(HKEY parent, const Key& key) {
    if (key.forceRemove) RegDeleteTreeA(parent, key.name.c_str());
    HKEY handle = nullptr;
    HRESULT hr = FromWin32(RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                           &handle, nullptr));
    for (size_t i = 0; SUCCEEDED(hr) && i < key.values.size(); ++i) {
        const Value& value = key.values[i];
        const char* name = value.name.empty() ? nullptr : value.name.c_str();
        if (value.isNumber)
            hr = FromWin32(RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number),
                                          sizeof(value.number)));
        else
            hr = FromWin32(RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                                          static_cast<DWORD>(value.text.size() + 1)));
    }
    for (size_t i = 0; SUCCEEDED(hr) && i < key.children.size(); ++i) hr = RegisterKey(handle, key.children[i]);
    if (handle) RegCloseKey(handle);
    return hr;
}

HRESULT RegistryScript::UnregisterKey(HKEY parent, const Key& key) {
    if (key.forceRemove) {
        const LONG error = RegDeleteTreeA(parent, key.name.c_str());
        if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND) RegDeleteKeyA(parent, key.name.c_str());
        return S_OK;
    }
    HKEY handle = nullptr;
    if (RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &handle) != ERROR_SUCCESS)
        return S_OK;  // nothing there to remove
    HRESULT hr = S_OK;
    for (const Key& child : key.children) {
        hr = UnregisterKey(handle, child);
        if (FAILED(hr)) break;
    }
    // Named values the script wrote go; the default value goes with the key.
    for (const Value& value : key.values)
        if (!value.name.empty()) RegDeleteValueA(handle, value.name.c_str());
    RegCloseKey(handle);
    // A key that still has subkeys (written by someone else) stays.
    if (SUCCEEDED(hr) && !key.noRemove) RegDeleteKeyA(parent, key.name.c_str());
    return hr;
}
