#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/PropertyBag.h"
#include "tests/support/HeldFile.h"
#include "tests/support/PropBagBytes.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::Bytes;
using testsupport::PutU32;

// File bytes built by hand, independent of the bag's own writer.
Bytes Header(int32_t major, int32_t minor, int32_t count)
{
    Bytes b;
    testsupport::PutText(b, "PROPBAG");
    PutU32(b, static_cast<uint32_t>(major));
    PutU32(b, static_cast<uint32_t>(minor));
    PutU32(b, static_cast<uint32_t>(count));
    return b;
}

void PutEntry(Bytes& b, const std::string& name, const Bytes& value, uint32_t claimedLength)
{
    testsupport::PutField(b, name, 64);
    PutU32(b, claimedLength);
    b.insert(b.end(), value.begin(), value.end());
}

void PutEntry(Bytes& b, const std::string& name, const Bytes& value)
{
    PutEntry(b, name, value, static_cast<uint32_t>(value.size()));
}

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(PropertyBag, EmptyBagIsNineteenBytes)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    EXPECT_EQ(-1, bag.versionMajor);
    EXPECT_EQ(-1, bag.versionMinor);
    bag.SetCurrentVersion();
    ASSERT_TRUE(bag.Save(dir.File("empty.bag")));
    Bytes bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("empty.bag"), bytes));
    EXPECT_EQ(Header(2, 0, 0), bytes);
}

TEST(PropertyBag, WritesEntriesSortedByUnsignedName)
{
    testsupport::ScratchDir dir;
    const std::string high = "\xE9t\xE9";
    PropertyBag first, second;
    first.SetCurrentVersion();
    second.SetCurrentVersion();
    first.SetValue("b", "\x01\x02", 2);
    first.SetValue("ab", "x", 1);
    first.SetValue(high, "h", 1);
    first.SetValue("a", nullptr, 0);
    first.SetValue("B", "\x00\xFF\x00", 3);
    second.SetValue("B", "\x00\xFF\x00", 3);
    second.SetValue("a", nullptr, 0);
    second.SetValue(high, "h", 1);
    second.SetValue("ab", "old", 3);
    second.SetValue("ab", "x", 1);
    second.SetValue("b", "\x01\x02", 2);
    ASSERT_TRUE(first.Save(dir.File("one.bag")));
    ASSERT_TRUE(second.Save(dir.File("two.bag")));

    Bytes expected = Header(2, 0, 5);
    PutEntry(expected, "B", Bytes{0, 0xFF, 0});
    PutEntry(expected, "a", Bytes{});
    PutEntry(expected, "ab", Str("x"));
    PutEntry(expected, "b", Bytes{1, 2});
    PutEntry(expected, high, Str("h"));

    Bytes one, two;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("one.bag"), one));
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("two.bag"), two));
    EXPECT_EQ(expected, one);
    EXPECT_EQ(one, two);
    testsupport::RawBag parsed;
    ASSERT_TRUE(testsupport::ParseBag(one, parsed));
    EXPECT_EQ(5u, parsed.values.size());
}

TEST(PropertyBag, LongNamesAreCutToSixtyFourBytes)
{
    testsupport::ScratchDir dir;
    const std::string exact(64, 'N');
    const std::string longer = std::string(64, 'L') + "tail";
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetInt32(exact, 7);
    bag.SetInt32(longer, 9);
    ASSERT_TRUE(bag.Save(dir.File("names.bag")));

    Bytes bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("names.bag"), bytes));
    ASSERT_EQ(19u + 2 * (68 + 4), bytes.size());
    // No terminator inside the 64-byte field: the length follows the name directly.
    EXPECT_EQ('L', bytes[19 + 63]);
    EXPECT_EQ(4u, bytes[19 + 64]);

    PropertyBag back;
    ASSERT_TRUE(back.Load(dir.File("names.bag")));
    int32_t v = 0;
    EXPECT_TRUE(back.GetInt32(exact, v));
    EXPECT_EQ(7, v);
    EXPECT_TRUE(back.GetInt32(std::string(64, 'L'), v));
    EXPECT_EQ(9, v);
    EXPECT_FALSE(back.Has(longer));
}

TEST(PropertyBag, GetValueNeedsTheExactSize)
{
    PropertyBag bag;
    bag.SetValue("Five", "12345", 5);
    int32_t dest = 42;
    EXPECT_FALSE(bag.GetValue("Five", &dest, 4));
    EXPECT_EQ(42, dest);
    EXPECT_FALSE(bag.GetInt32("Five", dest));
    EXPECT_FALSE(bag.GetValue("Missing", &dest, 4));
    uint32_t size = 77;
    EXPECT_FALSE(bag.GetValueSize("Missing", size));
    EXPECT_EQ(77u, size);
    EXPECT_TRUE(bag.GetValueSize("Five", size));
    EXPECT_EQ(5u, size);

    bag.SetValue("Blank", nullptr, 0);
    EXPECT_TRUE(bag.GetValueSize("Blank", size));
    EXPECT_EQ(0u, size);
    std::string text = "keep";
    EXPECT_TRUE(bag.GetString("Blank", text));
    EXPECT_EQ("", text);
}

TEST(PropertyBag, LoadsHandBuiltFile)
{
    testsupport::ScratchDir dir;
    Bytes file = Header(3, 7, 4);
    PutEntry(file, "Name", Str(std::string("Trip\0junk", 9)));
    PutEntry(file, "Count", Bytes{0x78, 0x56, 0x34, 0x12});
    PutEntry(file, std::string(64, 'Z'), Str("full field"));
    PutEntry(file, "Count", Bytes{1, 0, 0, 0});
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("hand.bag"), file));

    PropertyBag bag;
    ASSERT_TRUE(bag.Load(dir.File("hand.bag")));
    EXPECT_EQ(3, bag.versionMajor);
    EXPECT_EQ(7, bag.versionMinor);
    EXPECT_TRUE(bag.IsNewerThanCurrent());
    std::string name;
    EXPECT_TRUE(bag.GetString("Name", name));
    EXPECT_EQ("Trip", name);
    int32_t count = 0;
    EXPECT_TRUE(bag.GetInt32("Count", count));
    EXPECT_EQ(1, count) << "a later entry of the same name replaces the earlier";
    EXPECT_TRUE(bag.Has(std::string(64, 'Z')));
    EXPECT_EQ(3u, bag.Count());
}

TEST(PropertyBag, NegativeCountMeansNoEntries)
{
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("neg.bag"), Header(2, 0, -5)));
    PropertyBag bag;
    EXPECT_TRUE(bag.Load(dir.File("neg.bag")));
    EXPECT_EQ(0u, bag.Count());
    EXPECT_FALSE(bag.IsNewerThanCurrent());
}

TEST(PropertyBag, MissingOrForeignFileLeavesBagUnchanged)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    bag.SetInt32("Kept", 5);
    EXPECT_FALSE(bag.Load(dir.File("missing.bag")));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("short.bag"), "PROP"));
    EXPECT_FALSE(bag.Load(dir.File("short.bag")));
    Bytes wrong = Header(2, 0, 0);
    wrong[0] = 'X';
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("wrong.bag"), wrong));
    EXPECT_FALSE(bag.Load(dir.File("wrong.bag")));
    EXPECT_EQ(-1, bag.versionMajor);
    EXPECT_EQ(1u, bag.Count());
}

TEST(PropertyBag, TruncatedFileKeepsWholeEntries)
{
    testsupport::ScratchDir dir;
    Bytes file = Header(2, 0, 3);
    PutEntry(file, "A", Str("first"));
    PutEntry(file, "B", Str("second"));
    PutEntry(file, "C", Str("third value"));
    // Every cut inside the third entry keeps A and B and fails the load.
    const size_t thirdStart = 19 + (68 + 5) + (68 + 6);
    for (size_t cut = thirdStart; cut < file.size(); ++cut) {
        ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("cut.bag"), Bytes(file.begin(), file.begin() + cut)));
        PropertyBag bag;
        EXPECT_FALSE(bag.Load(dir.File("cut.bag"))) << cut;
        EXPECT_EQ(2u, bag.Count()) << cut;
        EXPECT_FALSE(bag.Has("C")) << cut;
    }
    // Cut inside the header: nothing at all.
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("cut.bag"), Bytes(file.begin(), file.begin() + 12)));
    PropertyBag bag;
    EXPECT_FALSE(bag.Load(dir.File("cut.bag")));
    EXPECT_EQ(0u, bag.Count());
}

TEST(PropertyBag, InflatedLengthFailsWithoutAllocating)
{
    testsupport::ScratchDir dir;
    for (uint32_t claimed : {0xFFFFFFF0u, 0x7FFFFFFFu, 0x40000000u, 100u}) {
        Bytes file = Header(2, 0, 2);
        PutEntry(file, "Good", Str("ok"));
        PutEntry(file, "Huge", Str("tiny"), claimed);
        ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("huge.bag"), file));
        PropertyBag bag;
        EXPECT_FALSE(bag.Load(dir.File("huge.bag")));
        EXPECT_TRUE(bag.Has("Good"));
        EXPECT_FALSE(bag.Has("Huge"));
    }
    // A count far beyond the entries present.
    Bytes file = Header(2, 0, 0x7FFFFFFF);
    PutEntry(file, "Only", Str("1"));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("count.bag"), file));
    PropertyBag bag;
    EXPECT_FALSE(bag.Load(dir.File("count.bag")));
    EXPECT_TRUE(bag.Has("Only"));
}

TEST(PropertyBag, SaveCreatesMissingFolders)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetString("K", "v");
    ASSERT_TRUE(bag.Save(dir.Path() + "Tasks\\Sub\\x.task"));
    PropertyBag back;
    ASSERT_TRUE(back.Load(dir.Path() + "Tasks\\Sub\\x.task"));
    std::string v;
    EXPECT_TRUE(back.GetString("K", v));
    EXPECT_EQ("v", v);
}

// Names of every file in a folder, so a test can see that no temporary file was left behind.
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string n = found.cFileName;
        if (n != "." && n != "..")
            names.push_back(n);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

TEST(PropertyBag, FailedSaveKeepsThePreviousFile)
{
    testsupport::ScratchDir dir;
    const std::string path = dir.File("settings.bag");
    PropertyBag old;
    old.SetCurrentVersion();
    old.SetString("Value", "old");
    ASSERT_TRUE(old.Save(path));
    Bytes before;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, before));

    // Another program holds the file open without sharing it.
    testsupport::HeldFile lock(path);
    ASSERT_TRUE(lock.Held());
    PropertyBag fresh;
    fresh.SetCurrentVersion();
    fresh.SetString("Value", std::string(5000, 'n'));
    EXPECT_FALSE(fresh.Save(path));
    lock.Release();

    Bytes after;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, after));
    EXPECT_EQ(before, after);
    EXPECT_EQ(std::vector<std::string>{"settings.bag"}, FilesIn(dir.Path()));

    // A read-only file is not replaced either.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(fresh.Save(path));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(testsupport::ReadFileBytes(path, after));
    EXPECT_EQ(before, after);
    EXPECT_EQ(std::vector<std::string>{"settings.bag"}, FilesIn(dir.Path()));

    // Once free again, the save goes through.
    EXPECT_TRUE(fresh.Save(path));
    PropertyBag back;
    ASSERT_TRUE(back.Load(path));
    std::string v;
    EXPECT_TRUE(back.GetString("Value", v));
    EXPECT_EQ(5000u, v.size());
}

TEST(PropertyBag, SaveIntoImpossibleFolderFails)
{
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("plainfile"), "x"));
    PropertyBag bag;
    bag.SetCurrentVersion();
    EXPECT_FALSE(bag.Save(dir.Path() + "plainfile\\sub\\x.bag"));
}

}  // namespace

TEST(PropertyBag, LoadTellsAMissingFileFromOneThatCannotBeRead)
{
    testsupport::ScratchDir dir;
    PropertyBag bag;
    EXPECT_EQ(PropertyBag::LoadStatus::Missing, bag.LoadWithStatus(dir.File("none.bag")));
    EXPECT_EQ(PropertyBag::LoadStatus::Missing, bag.LoadWithStatus(dir.File("no folder\\none.bag")));
    CreateDirectoryA(dir.File("folder.bag").c_str(), nullptr);
    EXPECT_EQ(PropertyBag::LoadStatus::Missing, bag.LoadWithStatus(dir.File("folder.bag")));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("foreign.bag"), "not a bag at all"));
    EXPECT_EQ(PropertyBag::LoadStatus::Foreign, bag.LoadWithStatus(dir.File("foreign.bag")));

    PropertyBag saved;
    saved.SetCurrentVersion();
    saved.SetString("A", "alpha");
    saved.SetString("B", "beta");
    const std::string path = dir.File("good.bag");
    ASSERT_TRUE(saved.Save(path));
    EXPECT_EQ(PropertyBag::LoadStatus::Loaded, bag.LoadWithStatus(path));

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, bytes));
    bytes.resize(bytes.size() - 2);
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("short.bag"), bytes));
    PropertyBag cut;
    EXPECT_EQ(PropertyBag::LoadStatus::Short, cut.LoadWithStatus(dir.File("short.bag")));
    EXPECT_TRUE(cut.Has("A"));

    // A count one short of the entries stored leaves the last one unread: the load says so.
    ASSERT_TRUE(testsupport::ReadFileBytes(path, bytes));
    bytes[15] = 1;
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("count.bag"), bytes));
    PropertyBag lower;
    EXPECT_EQ(PropertyBag::LoadStatus::Trailing, lower.LoadWithStatus(dir.File("count.bag")));
    EXPECT_TRUE(lower.Has("A"));
    EXPECT_FALSE(lower.Has("B"));

    // Held by another program without sharing: there, but out of reach; the bag stays as it was.
    testsupport::HeldFile holder(path);
    ASSERT_TRUE(holder.Held());
    PropertyBag locked;
    EXPECT_EQ(PropertyBag::LoadStatus::Unreadable, locked.LoadWithStatus(path));
    EXPECT_FALSE(locked.Load(path));
    EXPECT_EQ(0u, locked.Count());
}
