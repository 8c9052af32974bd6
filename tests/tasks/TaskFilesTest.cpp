// Task files, ".downloads" files and task file names on a real scratch program folder, checked
// against an independent reader of the file layout.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/ConstructLinkTask.h"
#include "core/ILongOperationProgress.h"
#include "core/NumberTemplate.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "tests/support/HeldFile.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/PropBagBytes.h"

using testsupport::Bytes;
using testsupport::RawBag;
using testsupport::ReadBag;

namespace {

// A scratch folder standing in for the program folder for the length of one test.
class ProgramFolder {
public:
    ProgramFolder() { SetTaskProgramFolder(dir_.Path()); }
    ~ProgramFolder() { SetTaskProgramFolder(""); }
    std::string Tasks(const std::string& name = "") const { return dir_.Path() + "Tasks\\" + name; }
    std::string Path() const { return dir_.Path(); }

private:
    testsupport::ScratchDir dir_;
};

void WriteBag(const std::string& path, const RawBag& bag)
{
    ASSERT_TRUE(testsupport::WriteFileBytes(path, testsupport::BuildBag(bag)));
}

Bytes Switch(bool on, int32_t value)
{
    Bytes b{static_cast<uint8_t>(on ? 1 : 0)};
    testsupport::PutU32(b, static_cast<uint32_t>(value));
    return b;
}

bool IsFile(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

ImageRecord Record(const std::string& page, const std::string& image, const std::string& path,
                   const std::string& name, int32_t size)
{
    ImageRecord r;
    r.pageUrl = page;
    r.imageUrl = image;
    r.localPath = path;
    r.fileName = name;
    r.fileSize = size;
    r.timeLow = 0x11223344;
    r.timeHigh = 0x01D00000;
    return r;
}

class CountingProgress : public ILongOperationProgress {
public:
    void BeginProgress(int r, const char* t) override { range = r; text = t; ++begins; }
    void StepProgress() override { ++steps; }
    void EndProgress() override { ++ends; }
    int range = -1, begins = 0, steps = 0, ends = 0;
    std::string text;
};

}  // namespace

TEST(TaskFile, SiteTaskBytesMatchTheLayout)
{
    ProgramFolder folder;
    SearchLinkTask task;
    task.TaskName = "Trip";
    task.Cookies = "a=1";
    task.StartingAddresses.push_back({std::string(1500, 'u'), true, "user", "pw"});
    task.StartingAddresses.push_back({"http://second/", false, "", ""});
    task.Filetypes = {".jpg", ".png"};
    task.ExcludedUrls = {"ads"};
    task.Levels = 3;
    task.MaximumSize = {true, 5000};
    ASSERT_TRUE(task.Save());
    EXPECT_EQ(task.TaskFileName, "Trip.task");

    const RawBag bag = ReadBag(folder.Tasks("Trip.task"));
    EXPECT_EQ(bag.major, 2);
    EXPECT_EQ(bag.minor, 0);
    EXPECT_EQ(bag.values.at("TaskName"), testsupport::TextValue("Trip"));
    EXPECT_EQ(bag.values.at("TaskNotes"), testsupport::TextValue(""));
    EXPECT_EQ(bag.values.at("Cookies"), testsupport::TextValue("a=1"));
    EXPECT_EQ(bag.values.at("CollectCookies"), Bytes{0});
    EXPECT_EQ(bag.values.at("UseAllFileTypes"), Bytes{1});
    EXPECT_EQ(bag.values.at("MinimumWidth"), Switch(true, 200));
    EXPECT_EQ(bag.values.at("MinimumSize"), Switch(false, 1));
    EXPECT_EQ(bag.values.at("MaximumSize"), Switch(true, 5000));

    Bytes addresses;
    testsupport::PutU32(addresses, 2);
    testsupport::PutField(addresses, std::string(1023, 'u'), 1024);  // 1500 characters cut to 1023
    testsupport::PutU8(addresses, 1);
    testsupport::PutField(addresses, "user", 255);
    testsupport::PutField(addresses, "pw", 255);
    testsupport::PutField(addresses, "http://second/", 1024);
    testsupport::PutU8(addresses, 0);
    testsupport::PutField(addresses, "", 255);
    testsupport::PutField(addresses, "", 255);
    EXPECT_EQ(bag.values.at("StartingAddresses"), addresses);
    EXPECT_EQ(addresses.size(), 4u + 2 * 1535);

    Bytes types;
    testsupport::PutU32(types, 2);
    testsupport::PutField(types, ".jpg", 255);
    testsupport::PutField(types, ".png", 255);
    EXPECT_EQ(bag.values.at("Filetypes"), types);

    Bytes excluded;
    testsupport::PutU32(excluded, 1);
    testsupport::PutField(excluded, "ads", 1024);
    EXPECT_EQ(bag.values.at("ExcludedUrls"), excluded);
    Bytes levels;
    testsupport::PutU32(levels, 3);
    EXPECT_EQ(bag.values.at("Levels"), levels);
    EXPECT_EQ(bag.values.at("DownloadImagesOnlyFromSite"), Bytes{0});
    EXPECT_EQ(bag.values.size(), 24u);

    SearchLinkTask loaded;
    ASSERT_TRUE(loaded.Load("Trip.task"));
    EXPECT_EQ(loaded.StartingAddresses[0].Url, std::string(1023, 'u'));
    EXPECT_TRUE(loaded.StartingAddresses[0].UseAuthorization);
    EXPECT_EQ(loaded.StartingAddresses[0].Password, "pw");
    EXPECT_EQ(loaded.GetStartUrl(), std::string(1023, 'u'));
    EXPECT_EQ(loaded.Filetypes, task.Filetypes);
    EXPECT_EQ(loaded.ExcludedUrls, task.ExcludedUrls);
    EXPECT_EQ(loaded.Levels, 3);
    EXPECT_TRUE(loaded.MaximumSize.enabled);
    EXPECT_EQ(loaded.MaximumSize.value, 5000);
}

TEST(TaskFile, MissingAndMisSizedKeysKeepDefaults)
{
    ProgramFolder folder;
    RawBag bag;
    bag.values["TaskName"] = testsupport::TextValue("Bare");
    bag.values["MinimumHeight"] = Bytes{0, 1, 0, 0};  // 4 bytes, not 5: ignored
    bag.values["ImageSaveType"] = Bytes{2, 0};       // 2 bytes, not 4: ignored
    Bytes none;
    testsupport::PutU32(none, 0);
    bag.values["StartingAddresses"] = none;
    CreateDirectoryA(folder.Tasks().c_str(), nullptr);
    WriteBag(folder.Tasks("Bare.task"), bag);
    WriteBag(folder.Tasks("Bare.task2"), bag);

    SearchLinkTask site;
    ASSERT_TRUE(site.Load("Bare.task"));
    EXPECT_EQ(site.TaskName, "Bare");
    EXPECT_TRUE(site.MinimumWidth.enabled);
    EXPECT_EQ(site.MinimumWidth.value, 200);
    EXPECT_TRUE(site.MinimumHeight.enabled);
    EXPECT_EQ(site.ImageSaveType, 0);
    EXPECT_TRUE(site.StartingAddresses.empty());
    EXPECT_EQ(site.GetStartUrl(), "");
    EXPECT_EQ(site.GetWebAuthorizationUrl(), "");

    ConstructLinkTask templ;
    ASSERT_TRUE(templ.Load("Bare.task2"));
    EXPECT_FALSE(templ.MinimumWidth.enabled);
}

TEST(TaskFile, NewerVersionsAreCopiedAsideAndReadForWhatTheyHold)
{
    ProgramFolder folder;
    testsupport::ScriptedPrompts prompts;
    CreateDirectoryA(folder.Tasks().c_str(), nullptr);
    RawBag newer;
    newer.major = 2;
    newer.minor = 1;
    newer.values["TaskName"] = testsupport::TextValue("New");
    WriteBag(folder.Tasks("New.task"), newer);
    Bytes newerBytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("New.task"), newerBytes));
    SearchLinkTask a;
    EXPECT_TRUE(a.Load("New.task"));
    EXPECT_EQ("New", a.TaskName);
    EXPECT_EQ(TaskOptions::LoadFailure::None, a.GetLoadFailure());
    Bytes kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("New.task.newer"), kept));
    EXPECT_EQ(newerBytes, kept);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_NE(std::string::npos, prompts.boxes[0].text.find(folder.Tasks("New.task")));
    EXPECT_NE(std::string::npos, prompts.boxes[0].text.find("newer version"));
    // The same file loaded again: its copy is there, nothing more to tell.
    SearchLinkTask again;
    EXPECT_TRUE(again.Load("New.task"));
    EXPECT_EQ(1u, prompts.boxes.size());
    EXPECT_FALSE(testsupport::FileExists(folder.Tasks("New.task.newer-2")));

    RawBag ok;
    ok.values["TaskName"] = testsupport::TextValue("Old");
    WriteBag(folder.Tasks("Old.task"), ok);
    RawBag downloads;
    downloads.major = 3;
    WriteBag(folder.Tasks("Old.task.downloads"), downloads);
    SearchLinkTask b;
    EXPECT_TRUE(b.Load("Old.task"));
    EXPECT_TRUE(testsupport::FileExists(folder.Tasks("Old.task.downloads.newer")));
    EXPECT_FALSE(testsupport::FileExists(folder.Tasks("Old.task.newer")));
    EXPECT_EQ(2u, prompts.boxes.size());

    SearchLinkTask missing;
    EXPECT_FALSE(missing.Load("Nothing.task"));
    EXPECT_EQ(TaskOptions::LoadFailure::None, missing.GetLoadFailure());
    EXPECT_EQ("", missing.DescribeLoadFailure());
}

TEST(TaskFile, ALockedFileFailsTheLoadAndIsNeverWrittenOver)
{
    // Two pictures saved; another program holds ".downloads" open without sharing.
    ProgramFolder folder;
    SearchLinkTask task;
    task.TaskName = "Held";
    ASSERT_TRUE(task.Save());
    for (int i = 0; i < 2; ++i) {
        ImageRecord r;
        r.imageUrl = "http://h/" + std::to_string(i) + ".jpg";
        r.localPath = "C:\\p\\" + std::to_string(i) + ".jpg";
        task.DownloadedImages.Append(r);
    }
    ASSERT_TRUE(task.SaveDownloads());
    const std::string downloads = task.GetDownloadsFilePath();
    std::vector<uint8_t> before;
    ASSERT_TRUE(testsupport::ReadFileBytes(downloads, before));
    testsupport::HeldFile downloadsHeld(downloads);
    ASSERT_TRUE(downloadsHeld.Held());
    SearchLinkTask again;
    EXPECT_FALSE(again.Load(task.TaskFileName));
    EXPECT_EQ(TaskOptions::LoadFailure::Unreadable, again.GetLoadFailure());
    EXPECT_EQ(downloads, again.GetLoadFailurePath());
    EXPECT_NE(std::string::npos, again.DescribeLoadFailure().find(downloads));
    downloadsHeld.Release();
    std::vector<uint8_t> after;
    ASSERT_TRUE(testsupport::ReadFileBytes(downloads, after));
    EXPECT_EQ(before, after);
    SearchLinkTask free;
    ASSERT_TRUE(free.Load(task.TaskFileName));
    EXPECT_EQ(2, free.DownloadedImages.GetCount());

    // The task file itself held: the same.
    testsupport::HeldFile taskHeld(task.GetTaskFilePath());
    ASSERT_TRUE(taskHeld.Held());
    SearchLinkTask third;
    EXPECT_FALSE(third.Load(task.TaskFileName));
    EXPECT_EQ(TaskOptions::LoadFailure::Unreadable, third.GetLoadFailure());
}

TEST(TaskFile, TruncatedAndInflatedTaskFilesDoNotHarm)
{
    ProgramFolder folder;
    ConstructLinkTask task;
    task.TaskName = "Cut";
    task.StartingAddresses.push_back({"http://h/{1}.jpg", false, "", ""});
    task.GetTemplates().push_back(new NumberTemplate(1, 5, 1, 0));
    ASSERT_TRUE(task.Save());
    Bytes full;
    ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("Cut.task2"), full));

    // A cut file gives the task with what it holds whole, named after its file at worst; a copy
    // of the cut bytes is kept beside it and the user told.
    testsupport::ScriptedPrompts prompts;
    size_t told = 0;
    for (size_t cut = 0; cut < full.size(); cut += 7) {
        const Bytes part(full.begin(), full.begin() + static_cast<long>(cut));
        ASSERT_TRUE(testsupport::WriteFileBytes(folder.Tasks("Cut.task2"), part));
        ConstructLinkTask t;
        EXPECT_TRUE(t.Load("Cut.task2")) << cut;
        EXPECT_EQ("Cut", t.TaskName) << cut;
        Bytes kept;
        ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("Cut.task2.damaged"), kept)) << cut;
        EXPECT_EQ(part, kept) << cut;
        EXPECT_EQ(++told, prompts.boxes.size()) << cut;
        ASSERT_TRUE(DeleteFileA(folder.Tasks("Cut.task2.damaged").c_str()));
    }

    // Every list count inflated to two billion: lists read as far as their bytes go, and the file
    // is damaged (kept aside, the user told).
    RawBag bag;
    ASSERT_TRUE(testsupport::ParseBag(full, bag));
    for (const char* key : {"StartingAddresses", "Filetypes", "Templates"}) {
        Bytes& v = bag.values[key];
        ASSERT_GE(v.size(), 4u);
        v[0] = v[1] = v[2] = 0xFF;
        v[3] = 0x7F;
    }
    WriteBag(folder.Tasks("Cut.task2"), bag);
    ConstructLinkTask t;
    ASSERT_TRUE(t.Load("Cut.task2"));
    EXPECT_EQ(t.StartingAddresses.size(), 1u);
    EXPECT_TRUE(t.Filetypes.empty());
    EXPECT_EQ(t.GetTemplates().size(), 1u);
    EXPECT_EQ(++told, prompts.boxes.size());

    // So is each list whose count is negative or which has bytes after its last entry.
    const std::string damaged = folder.Tasks("Cut.task2.damaged");
    for (const char* key : {"StartingAddresses", "Filetypes", "Templates"}) {
        for (bool negative : {true, false}) {
            ASSERT_TRUE(DeleteFileA(damaged.c_str()));
            RawBag one;
            ASSERT_TRUE(testsupport::ParseBag(full, one));
            Bytes& v = one.values[key];
            if (negative) {
                v[0] = 0xF0;
                v[1] = v[2] = v[3] = 0xFF;
            } else {
                v.push_back(9);
            }
            WriteBag(folder.Tasks("Cut.task2"), one);
            ConstructLinkTask u;
            ASSERT_TRUE(u.Load("Cut.task2")) << key;
            EXPECT_TRUE(testsupport::FileExists(damaged)) << key << negative;
            EXPECT_EQ(++told, prompts.boxes.size()) << key << negative;
        }
    }
}

TEST(DownloadsFile, RecordBytesBothLayoutsAndResumeFlag)
{
    ProgramFolder folder;
    SearchLinkTask task;
    task.TaskName = "Pics";
    ASSERT_TRUE(task.Save());
    task.DownloadedImages.Append(Record(std::string(10, 'p'), std::string(20, 'i'), std::string(30, 'l'), "n.jpg", 77));
    task.DownloadedImages.Append(Record("", "", "", "", 0));
    task.DownloadedImages.GetAt(1).flag = 1;
    task.Resume = true;
    ASSERT_TRUE(task.SaveDownloads());

    const RawBag bag = ReadBag(folder.Tasks("Pics.task.downloads"));
    EXPECT_EQ(bag.major, 2);
    EXPECT_EQ(bag.values.at("Resume"), Bytes{1});
    Bytes golden;
    testsupport::PutU32(golden, 2);
    testsupport::PutCounted(golden, std::string(10, 'p'));
    testsupport::PutCounted(golden, std::string(20, 'i'));
    testsupport::PutCounted(golden, std::string(30, 'l'));
    testsupport::PutCounted(golden, "n.jpg");
    for (uint32_t v : {77u, 0x11223344u, 0x01D00000u})
        testsupport::PutU32(golden, v);
    golden.push_back(0);
    for (int i = 0; i < 4; ++i)
        testsupport::PutCounted(golden, "");
    for (uint32_t v : {0u, 0x11223344u, 0x01D00000u})
        testsupport::PutU32(golden, v);
    golden.push_back(1);
    EXPECT_EQ(golden.size(), 135u);
    EXPECT_EQ(bag.values.at("DownloadedImages"), golden);

    SearchLinkTask loaded;
    ASSERT_TRUE(loaded.Load("Pics.task"));
    EXPECT_TRUE(loaded.Resume);
    ASSERT_EQ(loaded.DownloadedImages.GetCount(), 2);
    EXPECT_EQ(loaded.DownloadedImages.GetAt(0).fileName, "n.jpg");
    EXPECT_EQ(loaded.DownloadedImages.GetAt(0).flag, 0);
    EXPECT_EQ(loaded.DownloadedImages.GetAt(1).flag, 1);

    // A version 1.0 file has no flag byte; its records count as already seen.
    RawBag old;
    old.major = 1;
    old.minor = 0;
    Bytes oldBlob;
    testsupport::PutU32(oldBlob, 1);
    for (const char* s : {"pg", "im", "C:\\x\\a.gif", "a.gif"})
        testsupport::PutCounted(oldBlob, s);
    for (uint32_t v : {5u, 6u, 7u})
        testsupport::PutU32(oldBlob, v);
    old.values["DownloadedImages"] = oldBlob;
    WriteBag(folder.Tasks("Pics.task.downloads"), old);
    SearchLinkTask fromOld;
    ASSERT_TRUE(fromOld.Load("Pics.task"));
    ASSERT_EQ(fromOld.DownloadedImages.GetCount(), 1);
    EXPECT_EQ(fromOld.DownloadedImages.GetAt(0).localPath, "C:\\x\\a.gif");
    EXPECT_EQ(fromOld.DownloadedImages.GetAt(0).timeHigh, 7u);
    EXPECT_EQ(fromOld.DownloadedImages.GetAt(0).flag, 1);
    EXPECT_FALSE(fromOld.Resume);
}

TEST(DownloadsFile, TruncatedAndInflatedFilesKeepWholeRecordsOnly)
{
    ProgramFolder folder;
    SearchLinkTask task;
    task.TaskName = "T";
    ASSERT_TRUE(task.Save());
    for (int i = 0; i < 3; ++i)
        task.DownloadedImages.Append(Record("page", "img" + std::to_string(i), "C:\\p\\" + std::to_string(i), "n", i));
    ASSERT_TRUE(task.SaveDownloads());
    Bytes full;
    ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("T.task.downloads"), full));

    testsupport::ScriptedPrompts prompts;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<long>(cut));
        ASSERT_TRUE(testsupport::WriteFileBytes(folder.Tasks("T.task.downloads"), part));
        SearchLinkTask t;
        ASSERT_TRUE(t.Load("T.task")) << cut;  // a damaged picture list does not lose the task
        ASSERT_LE(t.DownloadedImages.GetCount(), 3);
        for (int i = 0; i < t.DownloadedImages.GetCount(); ++i)
            EXPECT_EQ(t.DownloadedImages.GetAt(i).imageUrl, "img" + std::to_string(i)) << cut;
        // Never saved over before its bytes are kept aside.
        Bytes kept;
        ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("T.task.downloads.damaged"), kept)) << cut;
        EXPECT_EQ(part, kept) << cut;
        ASSERT_TRUE(DeleteFileA(folder.Tasks("T.task.downloads.damaged").c_str()));
    }
    EXPECT_EQ(full.size(), prompts.boxes.size());

    // Record count and one string length inflated.
    RawBag bag;
    ASSERT_TRUE(testsupport::ParseBag(full, bag));
    Bytes& blob = bag.values["DownloadedImages"];
    blob[0] = 0xFF;
    blob[1] = 0xFF;
    blob[2] = 0xFF;
    blob[3] = 0x7F;
    WriteBag(folder.Tasks("T.task.downloads"), bag);
    SearchLinkTask a;
    ASSERT_TRUE(a.Load("T.task"));
    EXPECT_EQ(a.DownloadedImages.GetCount(), 3);

    blob[0] = 3;
    blob[1] = blob[2] = blob[3] = 0;
    blob[4] = blob[5] = blob[6] = blob[7] = 0xFF;  // first string claims 4 GB
    WriteBag(folder.Tasks("T.task.downloads"), bag);
    SearchLinkTask b;
    ASSERT_TRUE(b.Load("T.task"));
    EXPECT_EQ(b.DownloadedImages.GetCount(), 0);
}

TEST(DownloadsFile, SaveReportsTheWriterAndKeepsTheOldFileOnFailure)
{
    ProgramFolder folder;
    SearchLinkTask task;
    EXPECT_FALSE(task.SaveDownloads());  // no file name yet
    task.TaskName = "Busy";
    ASSERT_TRUE(task.Save());
    task.DownloadedImages.Append(Record("a", "b", "c", "d", 1));
    ASSERT_TRUE(task.SaveDownloads());
    Bytes before;
    ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("Busy.task.downloads"), before));

    // Hold the file open without sharing: the replacement cannot take place.
    testsupport::HeldFile lock(folder.Tasks("Busy.task.downloads"));
    ASSERT_TRUE(lock.Held());
    task.DownloadedImages.Append(Record("e", "f", "g", "h", 2));
    EXPECT_FALSE(task.SaveDownloads());
    lock.Release();
    Bytes after;
    ASSERT_TRUE(testsupport::ReadFileBytes(folder.Tasks("Busy.task.downloads"), after));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(task.SaveDownloads());
}

TEST(TaskNames, UniqueNamesSkipFilesFoldersAndSideFiles)
{
    ProgramFolder folder;
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        SearchLinkTask t;
        t.TaskName = "Trip";
        ASSERT_TRUE(t.Save());
        names.push_back(t.TaskFileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Trip.task", "Trip1.task", "Trip2.task"}));

    ConstructLinkTask other;  // other extension, other namespace
    other.TaskName = "Trip";
    ASSERT_TRUE(other.Save());
    EXPECT_EQ(other.TaskFileName, "Trip.task2");

    ASSERT_TRUE(CreateDirectoryA(folder.Tasks("Dir.task").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFileText(folder.Tasks("Dir1.task.downloads"), "left over"));
    SearchLinkTask t;
    t.TaskName = "Dir";
    ASSERT_TRUE(t.Save());
    EXPECT_EQ(t.TaskFileName, "Dir2.task");
    EXPECT_TRUE(IsFile(folder.Tasks("Dir2.task")));
}

TEST(TaskNames, HostileNamesStayInsideTheTasksFolder)
{
    ProgramFolder folder;
    const std::vector<std::string> hostile = {"..\\..\\evil", "a/b:c*d?e\"f<g>h|i", "CON", "nul.txt", "com1",
                                              "LPT9 ", "COM\xB2", "..", ".", "", "trailing. . ", "tab\there",
                                              std::string(300, 'x')};
    for (const std::string& name : hostile) {
        SearchLinkTask t;
        t.TaskName = name;
        ASSERT_TRUE(t.Save()) << name;
        EXPECT_TRUE(IsSafeFileName(t.TaskFileName)) << t.TaskFileName;
        EXPECT_TRUE(IsFile(folder.Tasks(t.TaskFileName))) << t.TaskFileName;
        SearchLinkTask back;
        ASSERT_TRUE(back.Load(t.TaskFileName));
        EXPECT_EQ(back.TaskName, name);  // the display name itself is kept
    }
    EXPECT_EQ(MakeSafeFileNameBase("CON"), "_CON");
    EXPECT_EQ(MakeSafeFileNameBase("LPT\xB3"), "_LPT\xB3");
    EXPECT_FALSE(IsSafeFileName("com\xB9.task"));
    EXPECT_EQ(MakeSafeFileNameBase("a\\b"), "a_b");
    EXPECT_FALSE(testsupport::FileExists(folder.Path() + "evil.task"));

    // Names coming from elsewhere (the tree file) that would leave the folder are refused.
    ASSERT_TRUE(testsupport::WriteFileBytes(folder.Path() + "outside.task", testsupport::BuildBag(RawBag())));
    SearchLinkTask t;
    EXPECT_FALSE(t.Load("..\\outside.task"));
    EXPECT_FALSE(t.Load("C:\\outside.task"));
    EXPECT_FALSE(t.Load("aux.task"));

    SearchLinkTask profile;
    EXPECT_FALSE(profile.SaveProfile("..\\up"));
    EXPECT_FALSE(profile.SaveProfile("PRN"));
    EXPECT_FALSE(profile.LoadProfile("..\\x.profile"));
}

TEST(Profiles, SaveLoadAndMatch)
{
    ProgramFolder folder;
    SearchLinkTask source;
    source.Levels = 4;
    source.PageLinksLocation = 2;
    source.UseAllFileTypes = false;
    source.Filetypes = {".gif"};
    source.MinimumSize = {true, 12};
    source.DownloadImagesOnlyFromSite = true;
    source.ExcludedUrls = {"not in profiles"};
    source.ScanningType = 1;
    ASSERT_TRUE(source.SaveProfile("Fast"));

    const RawBag bag = ReadBag(folder.Path() + "Profiles\\Fast.profile");
    EXPECT_EQ(bag.values.size(), 10u);
    EXPECT_EQ(bag.values.count("ExcludedUrls"), 0u);
    EXPECT_EQ(bag.values.count("ScanningType"), 0u);
    EXPECT_EQ(bag.values.at("MinimumSize"), Switch(true, 12));

    SearchLinkTask loaded;
    ASSERT_TRUE(loaded.LoadProfile("Fast.profile"));
    EXPECT_EQ(loaded.Levels, 4);
    EXPECT_EQ(loaded.Filetypes, source.Filetypes);
    EXPECT_TRUE(loaded.ExcludedUrls.empty());
    EXPECT_FALSE(loaded.MatchesProfile(source));  // the scanning type differs
    source.ScanningType = 0;
    EXPECT_TRUE(loaded.MatchesProfile(source));
    loaded.MaximumSize.value = 999;  // compared even while switched off
    EXPECT_FALSE(loaded.MatchesProfile(source));
    EXPECT_FALSE(loaded.LoadProfile("Missing.profile"));
}

TEST(LocateImages, RelinksMovedFilesOfTheSameSize)
{
    ProgramFolder folder;
    const std::string moved = folder.Path() + "moved\\";
    ASSERT_TRUE(CreateDirectoryA(moved.c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFileText(moved + "a.jpg", "12345"));
    ASSERT_TRUE(testsupport::WriteFileText(moved + "b.jpg", "123456"));
    ASSERT_TRUE(testsupport::WriteFileText(folder.Path() + "here.jpg", "1"));

    SearchLinkTask task;
    task.DownloadedImages.Append(Record("", "", folder.Path() + "gone\\a.jpg", "a.jpg", 5));
    task.DownloadedImages.Append(Record("", "", folder.Path() + "gone\\b.jpg", "b.jpg", 5));  // size differs by one
    task.DownloadedImages.Append(Record("", "", folder.Path() + "here.jpg", "a.jpg", 5));     // still in place
    task.DownloadedImages.Append(Record("", "", folder.Path() + "gone\\x", "..\\here.jpg", 1));

    CountingProgress progress;
    task.LocateImages(folder.Path() + "moved", &progress);
    EXPECT_EQ(task.DownloadedImages.GetAt(0).localPath, moved + "a.jpg");
    EXPECT_EQ(task.DownloadedImages.GetAt(1).localPath, folder.Path() + "gone\\b.jpg");
    EXPECT_EQ(task.DownloadedImages.GetAt(2).localPath, folder.Path() + "here.jpg");
    EXPECT_EQ(task.DownloadedImages.GetAt(3).localPath, folder.Path() + "gone\\x");
    EXPECT_EQ(progress.range, 4);
    EXPECT_EQ(progress.text, "Locate images");
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.steps, 4);
    EXPECT_EQ(progress.ends, 1);
}

TEST(ImageRecordList, RemoveAtShiftsLaterRecords)
{
    ImageRecordList list;
    for (const char* u : {"a", "b", "c"})
        list.Append(Record("", u, u, u, 0));
    list.RemoveAt(0);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetAt(0).imageUrl, "b");
    list.RemoveAt(5);
    EXPECT_EQ(list.GetCount(), 2);
    ImageRecordList copy;
    copy.Assign(list);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.FindByImageUrl("c"), 1);
    EXPECT_EQ(copy.FindByLocalPath("a"), -1);
}

TEST(TaskFile, TemplateTaskBytesHoldTheBaseKeysAndItsOwnTwo)
{
    ProgramFolder folder;
    ConstructLinkTask task;
    task.TaskName = "Gen";
    task.StartingAddresses.push_back({"http://h/p{1}.jpg", false, "", ""});
    task.WebAuthUrl = "http://h/login";
    task.GetTemplates().push_back(new NumberTemplate(1, 10, 3, 3));
    ASSERT_TRUE(task.Save());
    EXPECT_EQ(task.TaskFileName, "Gen.task2");

    const RawBag bag = ReadBag(folder.Tasks("Gen.task2"));
    std::vector<std::string> names;
    for (const auto& value : bag.values)
        names.push_back(value.first);
    // The base's fourteen keys and the template task's two; none of the site-scanning task's.
    EXPECT_EQ(names, (std::vector<std::string>{"CollectCookies", "Cookies", "Filetypes", "ImageSaveType",
                                               "MaximumSize", "MinimumHeight", "MinimumSize", "MinimumWidth",
                                               "SaveFolder", "ScanningType", "StartingAddresses", "TaskName",
                                               "TaskNotes", "Templates", "UseAllFileTypes", "WebAuthUrl"}));
    EXPECT_EQ(bag.values.at("MinimumWidth"), Switch(false, 200));
    EXPECT_EQ(bag.values.at("MinimumHeight"), Switch(false, 200));
    EXPECT_EQ(bag.values.at("ScanningType"), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(bag.values.at("WebAuthUrl"), testsupport::TextValue("http://h/login"));
    Bytes templates;
    testsupport::PutU32(templates, 1);
    testsupport::PutU32(templates, 14);  // the kind name's length, its zero byte not counted
    testsupport::PutText(templates, "NumberTemplate");
    testsupport::PutU8(templates, 0);
    for (uint32_t v : {1u, 10u, 3u, 3u})
        testsupport::PutU32(templates, v);
    EXPECT_EQ(bag.values.at("Templates"), templates);
    Bytes none;
    testsupport::PutU32(none, 0);
    EXPECT_EQ(bag.values.at("Filetypes"), none);

    ConstructLinkTask loaded;
    ASSERT_TRUE(loaded.Load("Gen.task2"));
    EXPECT_EQ(loaded.WebAuthUrl, "http://h/login");
    ASSERT_EQ(loaded.GetTemplates().size(), 1u);
    EXPECT_EQ(loaded.GetDisplayUrl(), "http://h/p001.jpg");
    EXPECT_FALSE(loaded.MinimumWidth.enabled);
}
