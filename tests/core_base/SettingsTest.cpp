#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/BlobReader.h"
#include "core/InternationalSupport.h"
#include "core/PropertyBag.h"
#include "core/ProgramSettings.h"
#include "core/SafeFileWriter.h"
#include "core/SearchLinkTask.h"
#include "core/SettingsBlobs.h"
#include "core/TaskFileNames.h"
#include "tests/support/HeldFile.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/PropBagBytes.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::Bytes;
using testsupport::PutCounted;
using testsupport::PutU32;

Bytes I32(int32_t v)
{
    Bytes b;
    PutU32(b, static_cast<uint32_t>(v));
    return b;
}

Bytes DefaultFiletypesBlob()
{
    Bytes b;
    PutU32(b, 2);
    PutU32(b, 6);
    for (const char* s : {"Internet Pictures", ".gif", ".jpg", ".jpe", ".jpeg", ".png"})
        PutCounted(b, s);
    PutU32(b, 10);
    for (const char* s : {"Graphics", ".tif", ".tiff", ".psd", ".psp", ".wmf", ".ico", ".bmp", ".cur", ".ani"})
        PutCounted(b, s);
    return b;
}

Bytes DefaultHtmlTagsBlob()
{
    Bytes b;
    PutU32(b, 8);
    PutCounted(b, "a");
    PutU32(b, 1);
    PutCounted(b, "href");
    PutU32(b, 4);
    for (const char* s : {"javascript:", "mailto:", "phone:", "news:"})
        PutCounted(b, s);
    const char* rest[][2] = {{"img", "src"},         {"script", "src"},    {"frame", "src"},
                             {"iframe", "src"},      {"body", "background"}, {"td", "background"},
                             {"table", "background"}};
    for (const auto& r : rest) {
        PutCounted(b, r[0]);
        PutU32(b, 1);
        PutCounted(b, r[1]);
        PutU32(b, 0);
    }
    return b;
}

std::vector<std::string> g_reported;
void Record(const std::string& text) { g_reported.push_back(text); }

void WriteSettingsFile(const std::string& folder, const PropertyBag& bag)
{
    ASSERT_TRUE(bag.Save(folder + "Brackenfly.config"));
}

TEST(ProgramSettings, DefaultsWithoutSettingsFile)
{
    testsupport::ScratchDir dir;
    ProgramSettings s(nullptr, dir.Path(), Record);
    EXPECT_FALSE(s.UseMyProxy);
    EXPECT_TRUE(s.UseWindowsProxy);
    EXPECT_FALSE(s.UseProxyAuth);
    EXPECT_EQ("", s.NameForProxy);
    EXPECT_EQ("", s.ProxyAddress);
    EXPECT_EQ(3128, s.ProxyPort);
    EXPECT_EQ(5, s.SlideShowInterval);
    EXPECT_TRUE(s.ShowLastImage);
    EXPECT_EQ(-1, s.SocketTimeout);
    EXPECT_EQ(5, s.ThreadsAmount);
    EXPECT_EQ(3, s.MaxAttempts);
    EXPECT_TRUE(s.LogFileUse);
    EXPECT_TRUE(s.LogFileClearMode);
    EXPECT_EQ(1048576, s.LogFileMaxSize);
    EXPECT_EQ("English", s.LangName);
    EXPECT_EQ(3, s.SaveCacheIntervale);
    EXPECT_TRUE(s.UseEffects && s.UseEffectsInSlideshowOnly && s.UseRandomEffects);
    EXPECT_EQ(0, s.PauseBetweenConnections);
    EXPECT_TRUE(s.ShowTip);
    EXPECT_EQ(0, s.CurrentTip);
    EXPECT_EQ(2u, s.Filetypes.size());
    EXPECT_EQ(8u, s.HtmlTagsWithUrls.size());
    EXPECT_EQ(dir.Path() + "Images\\", s.GetImagesFolder());
    EXPECT_TRUE(s.EffectFiles.empty());
    EXPECT_TRUE(s.Profiles.empty());
    EXPECT_FALSE(testsupport::FileExists(dir.File("Brackenfly.config")));
}

TEST(ProgramSettings, SavedDefaultsMatchGoldenBytes)
{
    testsupport::ScratchDir dir;
    ProgramSettings s(nullptr, dir.Path(), Record);
    ASSERT_TRUE(s.Save());

    const std::map<std::string, Bytes> expected = {
        {"Filetypes", DefaultFiletypesBlob()},
        {"HtmlTagsWithUrls", DefaultHtmlTagsBlob()},
        {"UseMyProxy", {0}},
        {"UseWindowsProxy", {1}},
        {"UseProxyAuth", {0}},
        {"NameForProxy", {0}},
        {"PasswordForProxy", {0}},
        {"ProxyAddress", {0}},
        {"ProxyPort", I32(3128)},
        {"SlideShowInterval", I32(5)},
        {"ShowLastImage", {1}},
        {"SocketTimeout", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"ThreadsAmount", I32(5)},
        {"MaxAttempts", I32(3)},
        {"LogFileUse", {1}},
        {"LogFileClearMode", {1}},
        {"LogFileMaxSize", {0x00, 0x00, 0x10, 0x00}},
        {"FolderForImages", {0}},
        {"LangName", testsupport::TextValue("English")},
        {"SaveCacheIntervale", I32(3)},
        {"UseEffects", {1}},
        {"UseEffectsInSlideshowOnly", {1}},
        {"UseRandomEffects", {1}},
        {"PauseBetweenConnections", I32(0)},
        {"ShowTip", {1}},
        {"CurrentTip", I32(0)},
    };
    // The reader refuses names out of order: the file holds them sorted.
    const testsupport::RawBag saved = testsupport::ReadBag(dir.File("Brackenfly.config"));
    EXPECT_EQ(2, saved.major);
    EXPECT_EQ(0, saved.minor);
    EXPECT_EQ(expected, saved.values);

    ProgramSettings back(nullptr, dir.Path(), Record);
    EXPECT_EQ(s.Filetypes, back.Filetypes);
    EXPECT_EQ(s.HtmlTagsWithUrls, back.HtmlTagsWithUrls);
}

TEST(ProgramSettings, ChangedValuesRoundTrip)
{
    testsupport::ScratchDir dir;
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        s.UseMyProxy = true;
        s.UseWindowsProxy = false;
        s.NameForProxy = "user";
        s.PasswordForProxy = "p\xE4ss";
        s.ProxyAddress = "proxy.local";
        s.ProxyPort = 8080;
        s.SocketTimeout = 12;
        s.ThreadsAmount = 9;
        s.FolderForImages = "D:\\Pics\\";
        s.CurrentTip = 17;
        s.ShowTip = false;
        s.Filetypes = {{"Mine", ".webp"}, {"Empty"}};
        s.HtmlTagsWithUrls = {{"link", {"href", "data-src"}, {"about:"}}};
        ASSERT_TRUE(s.Save());
    }
    ProgramSettings s(nullptr, dir.Path(), Record);
    EXPECT_TRUE(s.UseMyProxy);
    EXPECT_FALSE(s.UseWindowsProxy);
    EXPECT_EQ("user", s.NameForProxy);
    EXPECT_EQ("p\xE4ss", s.PasswordForProxy);
    EXPECT_EQ("proxy.local", s.ProxyAddress);
    EXPECT_EQ(8080, s.ProxyPort);
    EXPECT_EQ(12, s.SocketTimeout);
    EXPECT_EQ(9, s.ThreadsAmount);
    EXPECT_EQ("D:\\Pics\\", s.GetImagesFolder());
    EXPECT_EQ(17, s.CurrentTip);
    EXPECT_FALSE(s.ShowTip);
    EXPECT_EQ((std::vector<FileTypeGroup>{{"Mine", ".webp"}, {"Empty"}}), s.Filetypes);
    ASSERT_EQ(1u, s.HtmlTagsWithUrls.size());
    EXPECT_EQ((std::vector<std::string>{"href", "data-src"}), s.HtmlTagsWithUrls[0].attributes);
    EXPECT_EQ((std::vector<std::string>{"about:"}), s.HtmlTagsWithUrls[0].excludedPrefixes);
}

TEST(ProgramSettings, MissizedAndEmptyValues)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetValue("ThreadsAmount", "\x09\x00", 2);
    bag.SetValue("UseWindowsProxy", "\x00\x00", 2);
    bag.SetValue("MaxAttempts", "\x07\x00\x00\x00", 4);
    bag.SetValue("ProxyAddress", "host\0junk", 9);
    Bytes zeroGroups;
    PutU32(zeroGroups, 0);
    bag.SetBlob("Filetypes", zeroGroups);
    WriteSettingsFile(dir.Path(), bag);

    ProgramSettings s(nullptr, dir.Path(), Record);
    EXPECT_EQ(5, s.ThreadsAmount);
    EXPECT_TRUE(s.UseWindowsProxy);
    EXPECT_EQ(7, s.MaxAttempts);
    EXPECT_EQ("host", s.ProxyAddress);
    EXPECT_TRUE(s.Filetypes.empty());
    EXPECT_EQ(8u, s.HtmlTagsWithUrls.size());
}

TEST(ProgramSettings, ALockedSettingsFileIsNeverWrittenOver)
{
    testsupport::ScratchDir dir;
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        s.ThreadsAmount = 9;
        s.ProxyAddress = "mine.local";
        ASSERT_TRUE(s.Save());
    }
    const std::string path = dir.File("Brackenfly.config");
    std::vector<uint8_t> before;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, before));
    // Another program holds the file without sharing it.
    testsupport::HeldFile holder(path);
    ASSERT_TRUE(holder.Held());
    g_reported.clear();
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        EXPECT_TRUE(s.SettingsFileUnreadable());
        EXPECT_EQ(5, s.ThreadsAmount);
        ASSERT_EQ(1u, g_reported.size());
        EXPECT_NE(std::string::npos, g_reported[0].find(path));
        holder.Release();
        // Even once the file is free again, this run's defaults never replace it.
        EXPECT_FALSE(s.Save());
    }
    std::vector<uint8_t> after;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, after));
    EXPECT_EQ(before, after);
    ProgramSettings again(nullptr, dir.Path(), Record);
    EXPECT_FALSE(again.SettingsFileUnreadable());
    EXPECT_EQ(9, again.ThreadsAmount);
    EXPECT_EQ("mine.local", again.ProxyAddress);
}

TEST(ProgramSettings, TheUserIsToldWhichSettingsFileCouldNotBeRead)
{
    testsupport::ScratchDir dir;
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        ASSERT_TRUE(s.Save());
    }
    const std::string path = dir.File("Brackenfly.config");
    testsupport::HeldFile holder(path);
    ASSERT_TRUE(holder.Held());
    {
        // Without a reporter the message goes through the prompts seam, as at the program's start.
        testsupport::ScriptedPrompts prompts;
        ProgramSettings s(nullptr, dir.Path());
        ASSERT_EQ(1u, prompts.boxes.size());
        EXPECT_EQ("Brackenfly", prompts.boxes[0].caption);
        EXPECT_NE(std::string::npos, prompts.boxes[0].text.find(path));
        EXPECT_TRUE(prompts.boxes[0].type & MB_ICONERROR);
    }
    {
        // The real message box, answered by a watcher.
        testsupport::PromptWatcher watcher("Brackenfly", IDOK);
        ProgramSettings s(nullptr, dir.Path());
        EXPECT_TRUE(watcher.Answered());
        EXPECT_NE(std::string::npos, watcher.PromptText().find("cannot be read"));
    }
}

TEST(ProgramSettings, CountsAreClampedToTheDialogRanges)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetInt32("ThreadsAmount", 1000000);
    bag.SetInt32("MaxAttempts", -3);
    bag.SetInt32("SocketTimeout", 0);
    bag.SetInt32("PauseBetweenConnections", -1);
    bag.SetInt32("SaveCacheIntervale", 5000000);
    bag.SetInt32("SlideShowInterval", 0);
    bag.SetInt32("LogFileMaxSize", -5);
    WriteSettingsFile(dir.Path(), bag);
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        EXPECT_EQ(100, s.ThreadsAmount);
        EXPECT_EQ(1, s.MaxAttempts);
        EXPECT_EQ(-1, s.SocketTimeout);
        EXPECT_EQ(0, s.PauseBetweenConnections);
        EXPECT_EQ(1000, s.SaveCacheIntervale);
        EXPECT_EQ(1, s.SlideShowInterval);
        EXPECT_EQ(1048576, s.LogFileMaxSize);
    }
    bag.SetInt32("ThreadsAmount", 0);
    bag.SetInt32("MaxAttempts", 101);
    bag.SetInt32("SocketTimeout", 500);
    bag.SetInt32("LogFileMaxSize", 10);
    WriteSettingsFile(dir.Path(), bag);
    ProgramSettings s(nullptr, dir.Path(), Record);
    EXPECT_EQ(1, s.ThreadsAmount);
    EXPECT_EQ(100, s.MaxAttempts);
    EXPECT_EQ(100, s.SocketTimeout);
    EXPECT_EQ(1024, s.LogFileMaxSize);
}

TEST(ProgramSettings, DamagedBlobsKeepWholeEntries)
{
    const Bytes full = DefaultFiletypesBlob();
    // Every cut of the blob keeps the groups read whole and never more.
    for (size_t cut = 0; cut < full.size(); ++cut) {
        std::vector<FileTypeGroup> groups = {{"stale"}};
        EXPECT_FALSE(DecodeFileTypeGroups(Bytes(full.begin(), full.begin() + cut), groups)) << cut;
        const size_t firstGroupEnd = 4 + 4 + (4 + 18) + 4 * (4 + 5) + (4 + 6);
        EXPECT_EQ(cut >= firstGroupEnd ? 1u : 0u, groups.size()) << cut;
    }
    std::vector<FileTypeGroup> groups;
    EXPECT_TRUE(DecodeFileTypeGroups(full, groups));
    EXPECT_EQ(2u, groups.size());

    // Claimed counts and lengths far beyond the blob.
    Bytes huge;
    PutU32(huge, 0x7FFFFFFF);
    PutU32(huge, 1);
    PutCounted(huge, "G");
    PutU32(huge, 0x7FFFFFFF);
    PutU32(huge, 0xFFFFFFF0u);
    EXPECT_FALSE(DecodeFileTypeGroups(huge, groups));
    EXPECT_EQ((std::vector<FileTypeGroup>{{"G"}}), groups);

    const Bytes tags = DefaultHtmlTagsBlob();
    std::vector<HtmlTagEntry> entries;
    EXPECT_FALSE(DecodeHtmlTagEntries(Bytes(tags.begin(), tags.end() - 1), entries));
    EXPECT_EQ(7u, entries.size());
    Bytes negative;
    PutU32(negative, 0xFFFFFFFFu);
    EXPECT_FALSE(DecodeHtmlTagEntries(negative, entries)) << "a negative count is damage";
    EXPECT_TRUE(entries.empty());
}

TEST(ProgramSettings, TruncatedSettingsFileKeepsWholeEntries)
{
    testsupport::ScratchDir dir;
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        s.CurrentTip = 4;
        s.FolderForImages = "X:\\";
        s.ThreadsAmount = 8;
        ASSERT_TRUE(s.Save());
    }
    Bytes file;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config"), file));
    // Sorted names: ..., "CurrentTip", "Filetypes", "FolderForImages", ... "ThreadsAmount", ...
    // Cut inside "Filetypes": "CurrentTip" is kept, the later keys keep their defaults.
    size_t pos = 19;
    for (const auto& e : testsupport::ReadBag(dir.File("Brackenfly.config")).values) {
        if (e.first == "Filetypes")
            break;
        pos += 68 + e.second.size();
    }
    file.resize(pos + 68 + 10);
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("Brackenfly.config"), file));
    g_reported.clear();
    ProgramSettings s(nullptr, dir.Path(), Record);
    EXPECT_EQ(4, s.CurrentTip);
    EXPECT_EQ("", s.FolderForImages);
    EXPECT_EQ(5, s.ThreadsAmount);
    EXPECT_EQ(2u, s.Filetypes.size());
    // The cut file is kept aside as it was, and the user told where.
    Bytes kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config.damaged"), kept));
    EXPECT_EQ(file, kept);
    ASSERT_EQ(1u, g_reported.size());
    EXPECT_NE(std::string::npos, g_reported[0].find(dir.File("Brackenfly.config.damaged")));
    EXPECT_FALSE(s.Load());
    EXPECT_EQ(1u, g_reported.size());  // the same bytes are not kept (nor told) twice
    // With the copy in place the program writes what it has over the cut file.
    EXPECT_TRUE(s.Save());
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config.damaged"), kept));
    EXPECT_EQ(file, kept);
    EXPECT_TRUE(s.Load());
}

TEST(ProgramSettings, ForeignFileIsKeptAsideAndIgnored)
{
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("Brackenfly.config"), "[Settings]\r\nThreads=9\r\n"));
    g_reported.clear();
    ProgramSettings s(nullptr, dir.Path(), Record);
    s.ThreadsAmount = 11;
    EXPECT_FALSE(s.Load());
    EXPECT_EQ(11, s.ThreadsAmount);
    EXPECT_EQ(1u, g_reported.size());
    Bytes kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config.damaged"), kept));
    EXPECT_EQ("[Settings]\r\nThreads=9\r\n", std::string(kept.begin(), kept.end()));
}

TEST(ProgramSettings, NewerFileIsCopiedAsideBeforeThisVersionWritesItsOwn)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    bag.versionMajor = 2;
    bag.versionMinor = 5;
    bag.SetInt32("ThreadsAmount", 9);
    bag.SetString("KeyOfTheFuture", "x");
    WriteSettingsFile(dir.Path(), bag);
    Bytes before;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config"), before));
    g_reported.clear();
    ProgramSettings s(nullptr, dir.Path(), Record);
    EXPECT_EQ(9, s.ThreadsAmount);
    ASSERT_EQ(1u, g_reported.size());
    EXPECT_NE(std::string::npos, g_reported[0].find("newer version"));
    ASSERT_TRUE(s.Save());
    Bytes kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config.newer"), kept));
    EXPECT_EQ(before, kept);
}

TEST(ProgramSettings, EffectsFolderIsListed)
{
    testsupport::ScratchDir dir;
    ASSERT_TRUE(CreateDirectoryA(dir.File("Effects").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("Effects\\wipe.bmp"), "x"));
    ASSERT_TRUE(CreateDirectoryA(dir.File("Effects\\sub").c_str(), nullptr));
    ProgramSettings s(nullptr, dir.Path(), Record);
    std::vector<std::string> files = s.EffectFiles;
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::string>{dir.File("Effects\\sub"), dir.File("Effects\\wipe.bmp")}), files);
}

TEST(ProgramSettings, FailedLanguageFileIsToldAndTheChoiceKept)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetString("LangName", "english");
    bag.SetInt32("ThreadsAmount", 7);
    WriteSettingsFile(dir.Path(), bag);
    Bytes before;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config"), before));

    g_reported.clear();
    ProgramSettings s(nullptr, dir.Path(), Record);
    // Lower-case "english" is not "English": its file was tried, and it is missing.
    ASSERT_EQ(1u, g_reported.size());
    EXPECT_EQ("Error when loading 'english' language file. Default language is English.", g_reported[0]);
    // English serves the run (no file was loaded); the stored choice is not written over.
    EXPECT_EQ("english", s.LangName);
    Bytes after;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("Brackenfly.config"), after));
    EXPECT_EQ(before, after);
}

TEST(ProgramSettings, ChosenLanguageFileIsLoaded)
{
    testsupport::ScratchDir dir;
    ASSERT_TRUE(CreateDirectoryA(dir.File("Langs").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("Langs\\Deutsch.lng"), "STRINGTABLE\r\n{\r\n  57345 \"Bereit\"\r\n}\r\n"));
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetString("LangName", "Deutsch");
    WriteSettingsFile(dir.Path(), bag);

    g_reported.clear();
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        EXPECT_TRUE(g_reported.empty());
        EXPECT_EQ("Deutsch", s.LangName);
        EXPECT_STREQ("Bereit", g_InternationalSupport.GetString(57345, GetModuleHandleA(nullptr)));
    }
    // Let go of the mapped file so the scratch folder can be removed.
    g_InternationalSupport.Load(nullptr);
}

TEST(ProgramSettings, ProfilesAreListedByName)
{
    testsupport::ScratchDir dir;
    const std::string previousFolder = GetTaskProgramFolder();
    SetTaskProgramFolder(dir.Path());
    {
        SearchLinkTask fast;
        fast.Levels = 2;
        fast.UseAllFileTypes = false;
        fast.Filetypes = {".jpg"};
        ASSERT_TRUE(fast.SaveProfile("Fast"));
        SearchLinkTask deep;
        deep.Levels = 9;
        ASSERT_TRUE(deep.SaveProfile("Deep Scan"));
    }
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("Profiles\\Broken.profile"), "not a bag"));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("Profiles\\notes.txt"), "x"));
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        ASSERT_EQ(2u, s.Profiles.size());
        ASSERT_EQ(1u, s.Profiles.count("Fast"));
        ASSERT_EQ(1u, s.Profiles.count("Deep Scan"));
        EXPECT_EQ(2, s.Profiles["Fast"]->Levels);
        EXPECT_FALSE(s.Profiles["Fast"]->UseAllFileTypes);
        EXPECT_EQ(std::vector<std::string>{".jpg"}, s.Profiles["Fast"]->Filetypes);
        EXPECT_EQ(9, s.Profiles["Deep Scan"]->Levels);
    }
    SetTaskProgramFolder(previousFolder);
}

TEST(ProgramSettings, ProfilesAreLoadedFromTheFolderTheyAreListedIn)
{
    // The settings' folder holds a profile; the task model points elsewhere, where a profile of
    // the same name says something else. The listed file is the one loaded.
    testsupport::ScratchDir dir, elsewhere;
    const std::string previousFolder = GetTaskProgramFolder();
    SetTaskProgramFolder(dir.Path());
    {
        SearchLinkTask mine;
        mine.Levels = 4;
        ASSERT_TRUE(mine.SaveProfile("Mine"));
    }
    SetTaskProgramFolder(elsewhere.Path());
    {
        SearchLinkTask other;
        other.Levels = 7;
        ASSERT_TRUE(other.SaveProfile("Mine"));
        ASSERT_TRUE(other.SaveProfile("OnlyElsewhere"));
    }
    {
        ProgramSettings s(nullptr, dir.Path(), Record);
        ASSERT_EQ(1u, s.Profiles.size());
        ASSERT_EQ(1u, s.Profiles.count("Mine"));
        EXPECT_EQ(4, s.Profiles["Mine"]->Levels);
    }
    SetTaskProgramFolder(previousFolder);
}

TEST(SafeFileWriter, UncommittedWriteLeavesTargetAlone)
{
    testsupport::ScratchDir dir;
    const std::string path = dir.File("t.bin");
    ASSERT_TRUE(testsupport::WriteFileText(path, "old"));
    {
        SafeFileWriter w(path);
        ASSERT_TRUE(w.Open());
        EXPECT_TRUE(w.Write("new content", 11));
    }
    Bytes b;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, b));
    EXPECT_EQ(Bytes({'o', 'l', 'd'}), b);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir.Path() + "*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, h) << "temporary file left behind";
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);

    SafeFileWriter w(path);
    ASSERT_TRUE(w.Open());
    EXPECT_TRUE(w.WriteU32(0x01020304u));
    EXPECT_TRUE(w.Commit());
    ASSERT_TRUE(testsupport::ReadFileBytes(path, b));
    EXPECT_EQ(Bytes({4, 3, 2, 1}), b);
}

TEST(BlobReader, NeverReadsPastTheEnd)
{
    const uint8_t data[] = {3, 0, 0, 0, 'a', 'b', 0, 9};
    BlobReader r(data, sizeof(data));
    std::string s = "x";
    EXPECT_TRUE(r.ReadCountedString(s));
    EXPECT_EQ("ab", s);
    uint32_t v = 5;
    EXPECT_FALSE(r.ReadU32(v));
    EXPECT_EQ(5u, v);
    EXPECT_TRUE(r.Failed());
    uint8_t b = 0;
    EXPECT_FALSE(r.ReadU8(b)) << "reads after a failure fail too";

    const uint8_t fixed[] = {'a', 'b', 'c', 'd'};
    BlobReader f(fixed, sizeof(fixed));
    EXPECT_TRUE(f.ReadFixedString(s, 4));
    EXPECT_EQ("abcd", s);

    const uint8_t counted[] = {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    BlobReader c(counted, sizeof(counted));
    uint32_t count = 0;
    EXPECT_TRUE(c.ReadCount(count, 4));
    EXPECT_EQ(3u, count) << "two items fit, plus one to meet the end";

    // A negative count is no count: the reader fails instead of reading an empty list.
    const uint8_t negative[] = {0xF0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    BlobReader n(negative, sizeof(negative));
    count = 7;
    EXPECT_FALSE(n.ReadCount(count, 4));
    EXPECT_EQ(0u, count);
    EXPECT_TRUE(n.Failed());
}

}  // namespace
