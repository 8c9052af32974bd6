#pragma once
// Parser of language files: tokens, then DIALOG / MENU / STRINGTABLE / SYSTEM sections into row
// tables. The tables point into the parsed bytes (which must outlive them); nothing is copied,
// and texts are unescaped only when they are looked up.
#include <cstdint>
#include <string>
#include <vector>

struct LanguageText {
    const char* text = nullptr;  // past the opening quote of a quoted text
    uint32_t length = 0;         // without the quotes
};

struct LanguageRow {
    enum Kind : uint8_t { Header, Entry, Caption };
    Kind kind = Entry;
    uint32_t sectionId = 0;  // Header rows only
    LanguageText source;     // Entry rows
    LanguageText target;     // Entry and Caption rows
};

struct LanguageStringRow {
    uint32_t id = 0;
    LanguageText text;
};

struct LanguageSystemRow {
    LanguageText key;  // the token as written, quotes included if any
    LanguageText value;
};

struct LanguageTables {
    std::vector<LanguageRow> menus;
    std::vector<LanguageRow> dialogs;
    std::vector<LanguageStringRow> strings;
    std::vector<LanguageSystemRow> system;
    void Clear();
};

// Load status codes of a language file.
enum LanguageLoadStatus : int {
    kLangLoaded = 0,
    kLangNotOpened = 1,
    kLangNoTokens = 2,
    kLangMenuTableAlloc = 3,
    kLangDialogTableAlloc = 4,
    kLangStringTableAlloc = 5,
    kLangSystemTableAlloc = 6,
    kLangBadDialog = 7,
    kLangBadMenu = 8,
    kLangBadString = 9,
    kLangBadSystem = 10,
};

// Parses size bytes at data into tables; returns a LanguageLoadStatus. On failure the tables
// are left empty.
int ParseLanguageFile(const char* data, uint32_t size, LanguageTables& tables);

// Unescapes a text: C escapes (\0 ends the text), a backslash before any other byte is dropped,
// then every run of double quotes becomes one. False for an empty text (it has no value).
bool UnescapeLanguageText(const LanguageText& text, std::string& out);
