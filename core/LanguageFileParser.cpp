#include "core/LanguageFileParser.h"
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

void LanguageTables::Clear() {
    menus.clear();
    dialogs.clear();
    strings.clear();
    system.clear();
}

namespace {

struct Token {
    uint32_t start;
    uint32_t length;
};

bool IsSeparator(unsigned char c) {
    switch (c) {
    case ' ': case '\t': case '\r': case '\n':
    case '(': case ')': case '*': case ',': case '.': case '/': case ';': case '=':
    case '[': case ']': case '{': case '}':
        return true;
    default:
        return false;
    }
}

// One pass over the bytes. Comments run from "//" to the next CR LF and from "/*" to "*/";
// quotes make separators and comment marks ordinary bytes; quotes stay part of their token.
void Tokenize(const char* data, uint32_t size, std::vector<Token>& tokens) {
    bool inQuotes = false, lineComment = false, blockComment = false;
    bool inToken = false;
    Token current = {0, 0};
    for (uint32_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (i + 1 < size) {
            const char next = data[i + 1];
            if (c == '*' && next == '/') blockComment = false;
            else if (c == '\r' && next == '\n') lineComment = false;
            else if (c == '/' && next == '*') blockComment = true;
            else if (c == '/' && next == '/') lineComment = true;
        }
        if (inQuotes) lineComment = blockComment = false;
        if (c == '"' && !lineComment && !blockComment) inQuotes = !inQuotes;
        if (lineComment || blockComment) continue;
        if (!inQuotes && IsSeparator(static_cast<unsigned char>(c))) {
            if (inToken) tokens.push_back(current);
            inToken = false;
            continue;
        }
        if (!inToken) {
            current.start = i;
            current.length = 0;
            inToken = true;
        }
        ++current.length;
    }
    if (inToken) tokens.push_back(current);
}

class SectionParser {
public:
    SectionParser(const char* data, const std::vector<Token>& tokens, LanguageTables& tables)
        : data_(data), tokens_(tokens), tables_(tables) {}

    int Run() {
        size_t i = 0;
        while (i < tokens_.size()) {
            const Keyword keyword = KeywordOf(tokens_[i]);
            ++i;
            int status = kLangLoaded;
            switch (keyword) {
            case Keyword::Dialog: status = ParseItemSection(i, tables_.dialogs, true); break;
            case Keyword::Menu: status = ParseItemSection(i, tables_.menus, false); break;
            case Keyword::StringTable: status = ParseStringSection(i); break;
            case Keyword::System: status = ParseSystemSection(i); break;
            case Keyword::None: break;  // text outside any section is ignored
            }
            if (status != kLangLoaded) return status;
        }
        return kLangLoaded;
    }

private:
    enum class Keyword { None, Dialog, Menu, StringTable, System };

    bool TokenEquals(const Token& t, const char* word) const {
        const size_t n = std::strlen(word);
        return t.length == n && std::memcmp(data_ + t.start, word, n) == 0;
    }

    Keyword KeywordOf(const Token& t) const {
        if (TokenEquals(t, "DIALOG")) return Keyword::Dialog;
        if (TokenEquals(t, "MENU")) return Keyword::Menu;
        if (TokenEquals(t, "STRINGTABLE")) return Keyword::StringTable;
        if (TokenEquals(t, "SYSTEM")) return Keyword::System;
        return Keyword::None;
    }

    bool IsQuoted(const Token& t) const {
        return t.length >= 2 && data_[t.start] == '"' && data_[t.start + t.length - 1] == '"';
    }

    LanguageText QuotedText(const Token& t) const {
        LanguageText text;
        text.text = data_ + t.start + 1;
        text.length = t.length - 2;
        return text;
    }

    // strtol with base 0 must take the whole token and give 0 or more; "0x" followed by one byte
    // that strtol leaves is also taken.
    bool ParseNumber(const Token& t, uint32_t& value) const {
        if (t.length == 0) return false;
        // Any length: leading zeros may make a valid number long.
        std::string copy;
        try {
            copy.assign(data_ + t.start, t.length);
        } catch (const std::bad_alloc&) {
            return false;
        }
        const char* buffer = copy.c_str();
        char* end = nullptr;
        const long number = std::strtol(buffer, &end, 0);
        if (number < 0) return false;
        const size_t consumed = static_cast<size_t>(end - buffer);
        const bool hexPrefix = t.length >= 2 && buffer[0] == '0' && (buffer[1] == 'x' || buffer[1] == 'X');
        if (consumed != t.length && !(hexPrefix && consumed + 1 == t.length)) return false;
        value = static_cast<uint32_t>(number);
        return true;
    }

    // Pairs run until the next token is a keyword or fewer than two tokens remain.
    bool PairAhead(size_t i) const {
        return i + 1 < tokens_.size() && KeywordOf(tokens_[i]) == Keyword::None;
    }

    int ParseItemSection(size_t& i, std::vector<LanguageRow>& table, bool isDialog) {
        const int badPair = isDialog ? kLangBadDialog : kLangBadMenu;
        if (i >= tokens_.size()) return kLangLoaded;  // keyword as the last token: nothing to read
        LanguageRow header;
        header.kind = LanguageRow::Header;
        uint32_t id = 0;
        if (!ParseNumber(tokens_[i], id)) id = 0;
        header.sectionId = id;
        ++i;
        if (!Append(table, header)) return badPair;
        while (PairAhead(i)) {
            const Token& first = tokens_[i];
            const Token& second = tokens_[i + 1];
            LanguageRow row;
            if (isDialog && first.length >= 7 && std::memcmp(data_ + first.start, "CAPTION", 7) == 0) {
                if (!IsQuoted(second)) return badPair;
                row.kind = LanguageRow::Caption;
                row.target = QuotedText(second);
            } else {
                if (!IsQuoted(first) || !IsQuoted(second)) return badPair;
                row.kind = LanguageRow::Entry;
                row.source = QuotedText(first);
                row.target = QuotedText(second);
            }
            if (!Append(table, row)) return badPair;
            i += 2;
        }
        return kLangLoaded;
    }

    int ParseStringSection(size_t& i) {
        while (PairAhead(i)) {
            LanguageStringRow row;
            if (!ParseNumber(tokens_[i], row.id) || !IsQuoted(tokens_[i + 1])) return kLangBadString;
            row.text = QuotedText(tokens_[i + 1]);
            if (!Append(tables_.strings, row)) return kLangBadString;
            i += 2;
        }
        return kLangLoaded;
    }

    int ParseSystemSection(size_t& i) {
        while (PairAhead(i)) {
            if (!IsQuoted(tokens_[i + 1])) return kLangBadSystem;
            LanguageSystemRow row;
            row.key.text = data_ + tokens_[i].start;
            row.key.length = tokens_[i].length;
            row.value = QuotedText(tokens_[i + 1]);
            if (!Append(tables_.system, row)) return kLangBadSystem;
            i += 2;
        }
        return kLangLoaded;
    }

    template <class Row>
    static bool Append(std::vector<Row>& table, const Row& row) {
        try {
            table.push_back(row);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

    const char* data_;
    const std::vector<Token>& tokens_;
    LanguageTables& tables_;
};

}  // namespace

int ParseLanguageFile(const char* data, uint32_t size, LanguageTables& tables) {
    tables.Clear();
    if (!data || size == 0) return kLangNotOpened;
    std::vector<Token> tokens;
    try {
        tokens.reserve(512);
        Tokenize(data, size, tokens);
    } catch (const std::bad_alloc&) {
        return kLangNoTokens;
    }
    if (tokens.empty()) return kLangNoTokens;

    // Every table starts with room for a few hundred rows and grows as needed.
    try { tables.menus.reserve(256); } catch (const std::bad_alloc&) { tables = LanguageTables(); return kLangMenuTableAlloc; }
    try { tables.dialogs.reserve(256); } catch (const std::bad_alloc&) { tables = LanguageTables(); return kLangDialogTableAlloc; }
    try { tables.strings.reserve(341); } catch (const std::bad_alloc&) { tables = LanguageTables(); return kLangStringTableAlloc; }
    try { tables.system.reserve(256); } catch (const std::bad_alloc&) { tables = LanguageTables(); return kLangSystemTableAlloc; }

    const int status = SectionParser(data, tokens, tables).Run();
    if (status != kLangLoaded) {
        tables = LanguageTables();  // one bad entry discards the whole file
    }
    return status;
}

bool UnescapeLanguageText(const LanguageText& text, std::string& out) {
    out.clear();
    if (!text.text || text.length == 0) return false;
    std::string raw;
    raw.reserve(text.length);
    const char* p = text.text;
    const uint32_t n = text.length;
    for (uint32_t i = 0; i < n; ++i) {
        if (p[i] != '\\' || i + 1 >= n) {
            raw.push_back(p[i]);
            continue;
        }
        const char e = p[++i];
        char c;
        switch (e) {
        case 'a': c = '\a'; break;
        case 'b': c = '\b'; break;
        case 'f': c = '\f'; break;
        case 'n': c = '\n'; break;
        case 'r': c = '\r'; break;
        case 't': c = '\t'; break;
        case 'v': c = '\v'; break;
        case '0': c = '\0'; break;
        default: c = e; break;  // \" \' \? \\ and any other byte: the byte itself
        }
        if (c == '\0') break;  // the text ends here
        raw.push_back(c);
    }
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '"' && i > 0 && raw[i - 1] == '"') continue;
        out.push_back(raw[i]);
    }
    return true;
}
