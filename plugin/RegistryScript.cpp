#include "plugin/RegistryScript.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

typedef std::map<std::string, std::string> Replacements;

// The word with each %NAME% the caller gave replaced by its text.
std::string Expand(const std::string& word, const Replacements& replacements) {
    std::string out;
    out.reserve(word.size());
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '%') {
            const size_t end = word.find('%', i + 1);
            if (end != std::string::npos) {
                const auto found = replacements.find(word.substr(i, end - i + 1));
                if (found != replacements.end()) {
                    out += found->second;
                    i = end;
                    continue;
                }
            }
        }
        out += word[i];
    }
    return out;
}

// Splits the script into words: '{' and '}' standing alone, '=', quoted texts ('' inside a
// quoted text is one quote) and bare words. A bare word may start with '{' (a GUID).
// Replacements are made in each word after it was split off, and a word that took one counts as
// quoted: a replaced text (a folder name with an apostrophe or a brace) is always plain text and
// never changes how the script reads.
class Tokens {
public:
    Tokens(const std::string& text, const Replacements& replacements) : text_(text), replacements_(replacements) {}

    bool Next(std::string& token, bool& quoted) {
        if (!NextRaw(token, quoted)) return false;
        if (token.find('%') != std::string::npos) {
            const std::string expanded = Expand(token, replacements_);
            if (expanded != token) {
                token = expanded;
                quoted = true;
            }
        }
        return true;
    }

    bool Peek(std::string& token, bool& quoted) {
        const size_t saved = pos_;
        const bool ok = Next(token, quoted);
        pos_ = saved;
        return ok;
    }

private:
    bool NextRaw(std::string& token, bool& quoted) {
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

    const std::string& text_;
    const Replacements& replacements_;
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

bool RegistryScript::Parse(const std::string& script, std::vector<Root>& roots) const {
    Tokens tokens(script, replacements_);
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
    // Everything that can go goes; the first real failure is the answer.
    HRESULT first = S_OK;
    for (const Root& root : roots)
        for (const Key& key : root.children) {
            const HRESULT hr = UnregisterKey(root.key, key);
            if (SUCCEEDED(first) && FAILED(hr)) first = hr;
        }
    return first;
}

namespace {

// A failure, unless it says the thing was not there: what was never there is already removed.
HRESULT UnlessMissing(LONG error) {
    return error == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(error);
}

}  // namespace

HRESULT RegistryScript::RegisterKey(HKEY parent, const Key& key) {
    HRESULT hr = key.forceRemove ? UnlessMissing(RegDeleteTreeA(parent, key.name.c_str())) : S_OK;
    HKEY handle = nullptr;
    if (SUCCEEDED(hr))
        hr = FromWin32(RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
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
    // The tree goes with the key itself.
    if (key.forceRemove) return UnlessMissing(RegDeleteTreeA(parent, key.name.c_str()));
    HKEY handle = nullptr;
    const LONG opened = RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &handle);
    // Only a key that does not exist is already removed; one we may not open is a failure.
    if (opened != ERROR_SUCCESS) return UnlessMissing(opened);
    HRESULT first = S_OK;
    for (const Key& child : key.children) {
        const HRESULT hr = UnregisterKey(handle, child);
        if (SUCCEEDED(first) && FAILED(hr)) first = hr;
    }
    // Named values the script wrote go; the default value goes with the key.
    for (const Value& value : key.values) {
        if (value.name.empty()) continue;
        const HRESULT hr = UnlessMissing(RegDeleteValueA(handle, value.name.c_str()));
        if (SUCCEEDED(first) && FAILED(hr)) first = hr;
    }
    DWORD subkeys = 0;
    const LONG queried =
        RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
    RegCloseKey(handle);
    if (FAILED(first) || key.noRemove) return first;
    if (queried != ERROR_SUCCESS) return FromWin32(queried);
    // A key that still has subkeys written by someone else stays.
    if (subkeys > 0) return S_OK;
    return UnlessMissing(RegDeleteKeyA(parent, key.name.c_str()));
}
