// Language files read from real files on disk: sections, comments, escapes, numbers, failures.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <memory>
#include <string>
#include "core/InternationalSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class LanguageFileTest : public ::testing::Test {
protected:
    // Writes the text as a language file and loads it into a fresh service.
    bool LoadText(const std::string& text, const char* name = "Test.lng") {
        path_ = dir_.File(name);
        lang_.reset();  // a loaded file stays open for reading only: let go of it first
        if (!testsupport::WriteFileText(path_, text)) return false;
        lang_.reset(new CInternationalSupport());
        return lang_->Load(path_.c_str()) != FALSE;
    }
    // A string id that no module string table holds, looked up in the test program itself.
    std::string Str(unsigned id) { return lang_->GetString(id, ::GetModuleHandleA(nullptr)); }

    testsupport::ScratchDir dir_;
    std::string path_;
    std::unique_ptr<CInternationalSupport> lang_;
};

TEST_F(LanguageFileTest, StringTableEntriesByIdFirstOneWins) {
    ASSERT_TRUE(LoadText("STRINGTABLE {\r\n 40001, \"Bereit\"\r\n 0x9C42 \"Hex\"\r\n 011 \"Octal\"\r\n"
                         " 40001 \"Second\"\r\n 40003 \"\"\r\n}\r\n"));
    EXPECT_EQ(0, lang_->GetLoadStatus());
    EXPECT_EQ("Bereit", Str(40001));
    EXPECT_EQ("Hex", Str(0x9C42));
    EXPECT_EQ("Octal", Str(9));
    // An entry with empty text is found and gives "", it never falls back.
    EXPECT_EQ("", Str(40003));
    EXPECT_EQ("", Str(40004));
}

TEST_F(LanguageFileTest, NumberRuleAcceptsHexPrefixWithOneStrayByte) {
    ASSERT_TRUE(LoadText("STRINGTABLE { 0x1G \"one\" 0 \"zero\" }"));
    EXPECT_EQ("zero", Str(0));
    EXPECT_EQ("one", Str(1));
    EXPECT_FALSE(LoadText("STRINGTABLE { 12a \"bad\" }"));
    EXPECT_EQ(9, lang_->GetLoadStatus());
    EXPECT_FALSE(LoadText("STRINGTABLE { -5 \"negative\" }"));
    EXPECT_EQ(9, lang_->GetLoadStatus());
}

TEST_F(LanguageFileTest, LongNumberTokensFollowTheSameRule) {
    // Leading zeros make a long token that is still a valid (octal) number.
    const std::string zeros(100, '0');
    ASSERT_TRUE(LoadText("STRINGTABLE { " + zeros + "42 \"padded\" }"));
    EXPECT_EQ("padded", Str(042));
    EXPECT_FALSE(LoadText("STRINGTABLE { " + zeros + "42x \"bad\" }"));
    EXPECT_EQ(9, lang_->GetLoadStatus());
}

TEST_F(LanguageFileTest, EscapesAndDoubledQuotesUnescapeOnLookup) {
    // 1: \n in the middle; 2: text ending right after an escape; 3: one character;
    // 4: doubled and quadrupled quotes; 5: \0 ends the text; 6: unknown escape keeps the byte;
    // 7: escaped quotes with no separator between them and the closing quote stay one token.
    ASSERT_TRUE(LoadText("STRINGTABLE {\r\n"
                         "1 \"x\\ny\"\r\n"
                         "2 \"a\\\\\"\r\n"
                         "3 \"z\"\r\n"
                         "4 \"say \"\"hi\"\"\"\"!\"\r\n"
                         "5 \"cut\\0rest\"\r\n"
                         "6 \"\\q\\t\\'\\?\"\r\n"
                         "7 \"say \\\"hi\\\"\"\r\n"
                         "}\r\n"));
    EXPECT_EQ("x\ny", Str(1));
    EXPECT_EQ("a\\", Str(2));
    EXPECT_EQ("z", Str(3));
    EXPECT_EQ("say \"hi\"!", Str(4));
    EXPECT_EQ("cut", Str(5));
    EXPECT_EQ("q\t'?", Str(6));
    EXPECT_EQ("say \"hi\"", Str(7));
    // With a separator after the escaped quote the text falls apart into unquoted tokens.
    EXPECT_FALSE(LoadText("STRINGTABLE { 8 \"a \\\"b c\\\"\" }"));
    EXPECT_EQ(9, lang_->GetLoadStatus());
}

TEST_F(LanguageFileTest, TextOf1023CharactersIsReturnedAnd1024IsEmpty) {
    const std::string t1023(1023, 'a'), t1024(1024, 'b');
    ASSERT_TRUE(LoadText("STRINGTABLE { 1 \"" + t1023 + "\" 2 \"" + t1024 + "\" }"));
    EXPECT_EQ(t1023, Str(1));
    EXPECT_EQ("", Str(2));
}

TEST_F(LanguageFileTest, CommentsAndSeparators) {
    // A line comment ends only at CR LF: with LF-only line ends it swallows the rest of the file.
    // (The lost ids are ones the program's own string table lacks: it would answer for them.)
    ASSERT_TRUE(LoadText("// header\r\nSTRINGTABLE /* block\r\n 1 \"no\" */ { 1 \"yes\" // two\n 2 \"lost\"\n 40012 \"lost\"\r\n 4 \"kept\" }"));
    EXPECT_EQ("yes", Str(1));
    EXPECT_EQ("", Str(2));
    EXPECT_EQ("", Str(40012));
    EXPECT_EQ("kept", Str(4));
    // Separators and comment marks inside quotes are ordinary text.
    ASSERT_TRUE(LoadText("STRINGTABLE{5=\"a, b; c/*d*/ // e {f}\";}"));
    EXPECT_EQ("a, b; c/*d*/ // e {f}", Str(5));
}

TEST_F(LanguageFileTest, SystemValuesByExactKeyToken) {
    ASSERT_TRUE(LoadText("SYSTEM { Font \"Arial\" \"Quoted Key\" \"v\\tw\" }"));
    EXPECT_STREQ("Arial", lang_->GetSystemValue("Font"));
    EXPECT_STREQ("v\tw", lang_->GetSystemValue("\"Quoted Key\""));
    EXPECT_STREQ("", lang_->GetSystemValue("font"));
    EXPECT_FALSE(LoadText("SYSTEM { Font Arial }"));
    EXPECT_EQ(10, lang_->GetLoadStatus());
    EXPECT_STREQ("", lang_->GetSystemValue("Font"));
}

TEST_F(LanguageFileTest, OneBadPairDiscardsTheWholeFile) {
    // 40011: an id the program's own string table leaves empty.
    const std::string good = "STRINGTABLE { 40011 \"one\" }\r\n";
    EXPECT_FALSE(LoadText(good + "DIALOG 100 { \"OK\" Fine }"));
    EXPECT_EQ(7, lang_->GetLoadStatus());
    EXPECT_EQ("", Str(40011));
    EXPECT_FALSE(LoadText(good + "MENU 128 { \"&File\" \"&Datei\" BEGIN END }"));
    EXPECT_EQ(8, lang_->GetLoadStatus());
    EXPECT_FALSE(LoadText(good + "STRINGTABLE { 2 unquoted }"));
    EXPECT_EQ(9, lang_->GetLoadStatus());
    EXPECT_FALSE(LoadText(good + "DIALOG 5 { CAPTION Options }"));
    EXPECT_EQ(7, lang_->GetLoadStatus());
}

TEST_F(LanguageFileTest, FilesWithoutContentOrMissingFail) {
    EXPECT_FALSE(LoadText(""));
    EXPECT_EQ(1, lang_->GetLoadStatus());
    EXPECT_FALSE(LoadText(" \r\n// only a comment\r\n{ } ;"));
    EXPECT_EQ(2, lang_->GetLoadStatus());
    CInternationalSupport missing(dir_.File("Nope.lng").c_str());
    EXPECT_EQ(1, missing.GetLoadStatus());
    CInternationalSupport unloaded;
    EXPECT_EQ(1, unloaded.GetLoadStatus());
    EXPECT_FALSE(unloaded.Load(nullptr));
}

TEST_F(LanguageFileTest, TruncatedAndOddEndingsNeverReadPastTheFile) {
    // Keyword as the last token, a lone keyword, an unterminated quote, a dangling pair half,
    // a lone quote at the very end.
    EXPECT_TRUE(LoadText("STRINGTABLE { 1 \"one\" } DIALOG"));
    EXPECT_EQ("one", Str(1));
    EXPECT_TRUE(LoadText("MENU"));
    EXPECT_TRUE(LoadText("STRINGTABLE { 1 \"one\" 2"));
    EXPECT_EQ("one", Str(1));
    EXPECT_FALSE(LoadText("STRINGTABLE { 1 \"one\" 2 \"unterminated"));
    EXPECT_EQ(9, lang_->GetLoadStatus());
    EXPECT_FALSE(LoadText("SYSTEM { k \""));
    EXPECT_EQ(10, lang_->GetLoadStatus());
    // Every prefix of a valid file either loads or fails cleanly.
    const std::string full = "DIALOG 7 { CAPTION \"Titel\" \"OK\" \"Gut\" }\r\nMENU 9 { \"&File\" \"&Datei\" }\r\n"
                             "STRINGTABLE { 1 \"a\\\"b\" } SYSTEM { K \"V\" } /* end */";
    for (size_t n = 1; n <= full.size(); ++n) {
        const bool loaded = LoadText(full.substr(0, n), "Prefix.lng");
        EXPECT_EQ(loaded, lang_->GetLoadStatus() == 0) << n;
    }
}

TEST_F(LanguageFileTest, ReadOnlyFileLoads) {
    const std::string path = dir_.File("RO.lng");
    ASSERT_TRUE(testsupport::WriteFileText(path, "STRINGTABLE { 7 \"sieben\" }"));
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        CInternationalSupport lang(path.c_str());
        EXPECT_EQ(0, lang.GetLoadStatus());
        EXPECT_STREQ("sieben", lang.GetString(7, ::GetModuleHandleA(nullptr)));
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Another program reading the file and sharing it for reading only: no write access to be
    // had, yet the file loads.
    HANDLE reader = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    HANDLE writable = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, writable);
    if (writable != INVALID_HANDLE_VALUE) ::CloseHandle(writable);
    {
        CInternationalSupport lang(path.c_str());
        EXPECT_EQ(0, lang.GetLoadStatus());
        EXPECT_STREQ("sieben", lang.GetString(7, ::GetModuleHandleA(nullptr)));
    }
    ::CloseHandle(reader);
}

TEST_F(LanguageFileTest, LoadedFileStaysReadableByOthers) {
    ASSERT_TRUE(LoadText("STRINGTABLE { 7 \"sieben\" }"));
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(testsupport::ReadFileBytes(path_, bytes));
    EXPECT_EQ("sieben", Str(7));
}

TEST_F(LanguageFileTest, MultiStringBecomesAFilterList) {
    ASSERT_TRUE(LoadText("STRINGTABLE { 190 \"Alle Dateien (*.*)|*.*|\" }"));
    const char* list = lang_->GetMultiString(190);
    EXPECT_STREQ("Alle Dateien (*.*)", list);
    EXPECT_STREQ("*.*", list + std::strlen(list) + 1);
    EXPECT_EQ('\0', list[std::strlen(list) + 1 + 4]);
}

}  // namespace

namespace {

TEST_F(LanguageFileTest, MultiStringShowsNoTailOfAnEarlierText) {
    // A translation without the closing '|', looked up right after a longer text: what followed
    // the earlier text's end must not turn into further entries of the list.
    ASSERT_TRUE(LoadText("STRINGTABLE { 5 \"a long text that fills the buffer well past the list\" "
                         "190 \"Bilder|*.jpg\" }"));
    EXPECT_EQ("a long text that fills the buffer well past the list", Str(5));
    const char* list = lang_->GetMultiString(190);
    EXPECT_STREQ("Bilder", list);
    EXPECT_STREQ("*.jpg", list + 7);
    EXPECT_EQ('\0', list[7 + 6]);
}

}  // namespace
