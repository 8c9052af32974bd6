#include <gtest/gtest.h>
#include <windows.h>

#include "core/PropertyBag.h"
#include "core/ResumeFile.h"
#include "core/UrlQueue.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// An independent little-endian writer of the stored layout, so that the file's bytes are
// checked against the format itself and not against the code under test.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& U8(uint8_t v) { b.push_back(v); return *this; }
    Bytes& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& Raw(const std::string& s) { b.insert(b.end(), s.begin(), s.end()); return *this; }
    Bytes& Str(const std::string& s) { U32(static_cast<uint32_t>(s.size() + 1)); Raw(s); return U8(0); }
    Bytes& Name(const std::string& s) {
        std::string field = s;
        field.resize(64, '\0');
        return Raw(field);
    }
    Bytes& Value(const std::string& name, const std::vector<uint8_t>& v) {
        Name(name).U32(static_cast<uint32_t>(v.size()));
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
    Bytes& Entry(const std::string& url, const std::string& ref, int32_t level, int32_t retries, uint8_t image,
                 const std::string& ext) {
        return Str(url).Str(ref).U32(static_cast<uint32_t>(level)).U32(static_cast<uint32_t>(retries)).U8(image).Str(ext);
    }
};

std::vector<uint8_t> BagFile(int32_t major, int32_t minor,
                             const std::vector<std::pair<std::string, std::vector<uint8_t>>>& sortedValues) {
    Bytes f;
    f.Raw("PROPBAG").U32(static_cast<uint32_t>(major)).U32(static_cast<uint32_t>(minor));
    f.U32(static_cast<uint32_t>(sortedValues.size()));
    for (const auto& v : sortedValues) f.Value(v.first, v.second);
    return f.b;
}

UrlQueueEntry MakeEntry(const std::string& url, const std::string& ref, int32_t level, int32_t retries, uint8_t image,
                        const std::string& ext) {
    UrlQueueEntry e;
    e.url = url;
    e.referrer = ref;
    e.level = level;
    e.retryCount = retries;
    e.isImage = image;
    e.extension = ext;
    return e;
}

std::vector<uint8_t> GoldenQueueBlob() {
    return Bytes()
        .U32(3)
        .Entry("http://h/a.html", "http://h/", 1, 0, 0, "")  // empty extension: count 1 and a zero
        .Entry("http://h/p.jpg", "http://h/a.html", 2, 1, 1, ".jpg")
        .Entry("http://h/busy.gif", "http://h/", 1, 0, 1, ".gif")  // in progress at the save
        .b;
}

std::vector<uint8_t> GoldenProcessedBlob() {
    return Bytes()
        .U32(2)
        .Str("http://h/A.png").Entry("http://h/A.png", "http://h/", 1, 2, 1, ".png")
        .Str("http://h/a.png").Entry("http://h/a.png", "http://h/", 1, 0, 1, ".png")
        .b;
}

void FillQueue(UrlQueue& q) {
    q.PushBack(MakeEntry("http://h/a.html", "http://h/", 1, 0, 0, ""));
    q.PushBack(MakeEntry("http://h/p.jpg", "http://h/a.html", 2, 1, 1, ".jpg"));
    q.AddInProgress(MakeEntry("http://h/busy.gif", "http://h/", 1, 0, 1, ".gif"));
    // Inserted out of order: the file lists them by byte order ('A' before 'a').
    q.MarkProcessed(MakeEntry("http://h/a.png", "http://h/", 1, 0, 1, ".png"));
    q.MarkProcessed(MakeEntry("http://h/A.png", "http://h/", 1, 2, 1, ".png"));
}

std::vector<uint8_t> I32(int32_t v) { return Bytes().U32(static_cast<uint32_t>(v)).b; }

}  // namespace

TEST(ResumeFile, WritesTheExactBytesAndReadsThemBack) {
    testsupport::ScratchDir dir;
    const std::string path = dir.File("Tasks\\Trip.task.cache");
    UrlQueue q;
    FillQueue(q);
    auto saveProgress = [](PropertyBag& bag) { bag.SetString("TaskInfo", "x"); };
    ASSERT_TRUE(SaveResumeFile(path, q, 7, saveProgress));

    const std::vector<uint8_t> expected = BagFile(2, 0, {{"AvailibleUrls", GoldenQueueBlob()},
                                                         {"ImagesDownloadCount", I32(7)},
                                                         {"ProcessedUrls", GoldenProcessedBlob()},
                                                         {"TaskInfo", {'x', 0}}});
    std::vector<uint8_t> actual;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, actual));
    EXPECT_EQ(expected, actual);

    UrlQueue back;
    back.PushBack(MakeEntry("http://old/", "", 0, 0, 0, ""));
    int32_t images = -5;
    std::string info;
    auto loadProgress = [&](PropertyBag& bag) { bag.GetString("TaskInfo", info); };
    EXPECT_EQ(ResumeLoadResult::Loaded, LoadResumeFile(path, back, images, loadProgress));
    EXPECT_EQ(7, images);
    EXPECT_EQ("x", info);
    const std::vector<UrlQueueEntry> queued = back.QueuedEntries();
    ASSERT_EQ(3u, queued.size());  // the address in progress is queued again, at the end
    EXPECT_EQ(MakeEntry("http://h/a.html", "http://h/", 1, 0, 0, ""), queued[0]);
    EXPECT_EQ(MakeEntry("http://h/p.jpg", "http://h/a.html", 2, 1, 1, ".jpg"), queued[1]);
    EXPECT_EQ("http://h/busy.gif", queued[2].url);
    EXPECT_FALSE(back.IsQueued("http://old/"));
    EXPECT_EQ(2u, back.ProcessedCount());
    EXPECT_TRUE(back.IsProcessed("http://h/A.png"));
    EXPECT_TRUE(back.IsProcessed("http://h/a.png"));
}

TEST(ResumeFile, MalformedListsKeepEveryWholeEntryAndAreKeptAside) {
    testsupport::ScratchDir dir;
    const std::string path = dir.File("t.cache");
    const std::vector<uint8_t> good = GoldenProcessedBlob();

    std::vector<uint8_t> inflatedCount = GoldenQueueBlob();
    inflatedCount[0] = 4;  // one entry more than stored
    std::vector<uint8_t> hugeCount = GoldenQueueBlob();
    hugeCount[0] = hugeCount[1] = hugeCount[2] = 0xFF;
    hugeCount[3] = 0x7F;
    std::vector<uint8_t> hugeString = GoldenQueueBlob();
    hugeString[4] = hugeString[5] = hugeString[6] = 0xF0;  // first URL claims ~4 GB
    hugeString[7] = 0xFF;
    std::vector<uint8_t> trailing = GoldenQueueBlob();
    trailing.push_back(0);
    std::vector<uint8_t> cut = GoldenQueueBlob();
    cut.resize(cut.size() - 3);

    testsupport::ScriptedPrompts prompts;
    int round = 0;
    // The entries each damaged list still holds whole, before its fault.
    const std::vector<std::pair<std::vector<uint8_t>, size_t>> cases = {
        {inflatedCount, 3}, {hugeCount, 3}, {hugeString, 0}, {trailing, 3}, {cut, 2}};
    for (const auto& damaged : cases) {
        const std::vector<uint8_t>& bad = damaged.first;
        const std::vector<uint8_t> bytes = BagFile(2, 0, {{"AvailibleUrls", bad}, {"ProcessedUrls", good}});
        ASSERT_TRUE(testsupport::WriteFileBytes(path, bytes));
        UrlQueue q;
        q.PushBack(MakeEntry("http://stale/", "", 0, 0, 0, ""));
        int32_t images = 3;
        EXPECT_EQ(ResumeLoadResult::KeptAside, LoadResumeFile(path, q, images, nullptr));
        const std::vector<UrlQueueEntry> queued = q.QueuedEntries();
        ASSERT_EQ(damaged.second, queued.size()) << round;  // whole entries only, in stored order
        if (queued.size() >= 2) {
            EXPECT_EQ(MakeEntry("http://h/p.jpg", "http://h/a.html", 2, 1, 1, ".jpg"), queued[1]);
        }
        EXPECT_FALSE(q.IsQueued("http://stale/"));
        EXPECT_EQ(2u, q.ProcessedCount());  // the sound list is still read
        EXPECT_EQ(3, images);               // no counter stored: kept
        // Each damaged file gets its own copy; none replaces an earlier one.
        ++round;
        const std::string copy = path + ".damaged" + (round == 1 ? std::string() : "-" + std::to_string(round));
        std::vector<uint8_t> kept;
        ASSERT_TRUE(testsupport::ReadFileBytes(copy, kept)) << copy;
        EXPECT_EQ(bytes, kept);
        ASSERT_EQ(static_cast<size_t>(round), prompts.boxes.size());
        EXPECT_NE(std::string::npos, prompts.boxes.back().text.find(copy));
        // Loading the same bytes again tells nothing new and makes no second copy.
        LoadResumeFile(path, q, images, nullptr);
        EXPECT_EQ(static_cast<size_t>(round), prompts.boxes.size());
    }
    EXPECT_FALSE(testsupport::FileExists(path + ".damaged-6"));

    // A processed list with a deflated count leaves bytes over: damaged, its counted entry kept.
    std::vector<uint8_t> deflated = good;
    deflated[0] = 1;
    std::vector<std::pair<std::string, UrlQueueEntry>> elements{{"x", UrlQueueEntry()}};
    EXPECT_FALSE(DecodeProcessedEntries(deflated, elements));
    ASSERT_EQ(1u, elements.size());
    EXPECT_EQ("http://h/A.png", elements[0].first);
}

TEST(ResumeFile, EveryTruncationAndCorruptedByteIsHandled) {
    const std::vector<uint8_t> golden = GoldenQueueBlob();
    std::vector<UrlQueueEntry> whole;
    ASSERT_TRUE(DecodeQueueEntries(golden, whole));
    ASSERT_EQ(3u, whole.size());
    // Where each entry ends in the stored bytes (the count, then the entries one after another).
    std::vector<size_t> ends;
    for (size_t n = 1; n <= whole.size(); ++n)
        ends.push_back(EncodeQueueEntries(std::vector<UrlQueueEntry>(whole.begin(), whole.begin() + long(n))).size());
    std::vector<UrlQueueEntry> entries;
    for (size_t cut = 0; cut < golden.size(); ++cut) {
        const std::vector<uint8_t> part(golden.begin(), golden.begin() + static_cast<long>(cut));
        EXPECT_FALSE(DecodeQueueEntries(part, entries)) << cut;
        // Exactly the entries that end before the cut, as they were stored.
        size_t kept = 0;
        while (kept < ends.size() && ends[kept] <= cut) ++kept;
        ASSERT_EQ(kept, entries.size()) << cut;
        for (size_t i = 0; i < kept; ++i) EXPECT_EQ(whole[i], entries[i]) << cut;
    }
    for (size_t at = 0; at < golden.size(); ++at) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0xFF)}) {
            std::vector<uint8_t> bad = golden;
            bad[at] = value;
            // Read whole (a changed text or number) or up to the fault; never more entries than
            // the bytes can hold.
            DecodeQueueEntries(bad, entries);
            EXPECT_LE(entries.size(), 3u);
        }
    }
    ASSERT_TRUE(DecodeQueueEntries(golden, entries));
    EXPECT_EQ(golden, EncodeQueueEntries(entries));
}

TEST(ResumeFile, TruncatedFileKeepsTheValuesReadCompletely) {
    testsupport::ScratchDir dir;
    testsupport::ScriptedPrompts prompts;
    const std::string path = dir.File("t.cache");
    std::vector<uint8_t> file = BagFile(2, 0, {{"AvailibleUrls", GoldenQueueBlob()},
                                               {"ImagesDownloadCount", I32(9)},
                                               {"ProcessedUrls", GoldenProcessedBlob()}});
    file.resize(file.size() - 10);  // ends inside the processed list
    ASSERT_TRUE(testsupport::WriteFileBytes(path, file));
    UrlQueue q;
    q.MarkProcessed(MakeEntry("http://stale/", "", 0, 0, 0, ""));
    int32_t images = 0;
    LoadResumeFile(path, q, images, nullptr);
    EXPECT_EQ(9, images);
    EXPECT_EQ(3u, q.QueueSize());
    // The processed list's first element ends before the cut; the second does not.
    EXPECT_EQ(1u, q.ProcessedCount());
    EXPECT_TRUE(q.IsProcessed("http://h/A.png"));
    EXPECT_FALSE(q.IsProcessed("http://stale/"));

    // Inflated value length in the bag itself: the load stops there without allocating it, and
    // the entries the bytes that are there hold whole still come back.
    std::vector<uint8_t> inflated = BagFile(2, 0, {{"AvailibleUrls", GoldenQueueBlob()}});
    inflated[19 + 64 + 3] = 0x7F;
    ASSERT_TRUE(testsupport::WriteFileBytes(path, inflated));
    UrlQueue q2;
    q2.PushBack(MakeEntry("http://stale/", "", 0, 0, 0, ""));
    LoadResumeFile(path, q2, images, nullptr);
    EXPECT_EQ(3u, q2.QueueSize());
    EXPECT_FALSE(q2.IsQueued("http://stale/"));
}

TEST(ResumeFile, NewerVersionIsCopiedAsideAndMissingFileEmptiesTheQueue) {
    testsupport::ScratchDir dir;
    testsupport::ScriptedPrompts prompts;
    const std::string path = dir.File("t.cache");
    const std::vector<uint8_t> newer = BagFile(2, 1, {{"AvailibleUrls", GoldenQueueBlob()}});
    ASSERT_TRUE(testsupport::WriteFileBytes(path, newer));
    UrlQueue q;
    q.PushBack(MakeEntry("http://kept/", "", 0, 0, 0, ""));
    int32_t images = 4;
    bool hookCalled = false;
    auto hook = [&](PropertyBag&) { hookCalled = true; };
    // What this version understands of it is read; a copy stays for the newer version.
    EXPECT_EQ(ResumeLoadResult::KeptAside, LoadResumeFile(path, q, images, hook));
    EXPECT_TRUE(hookCalled);
    EXPECT_EQ(3u, q.QueueSize());
    std::vector<uint8_t> kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(path + ".newer", kept));
    EXPECT_EQ(newer, kept);
    ASSERT_EQ(1u, prompts.boxes.size());
    EXPECT_NE(std::string::npos, prompts.boxes[0].text.find("newer version"));
    ASSERT_TRUE(::DeleteFileA(path.c_str()) != 0);

    hookCalled = false;
    q.MarkProcessed(MakeEntry("http://done/", "", 0, 0, 0, ""));
    EXPECT_EQ(ResumeLoadResult::Missing, LoadResumeFile(path, q, images, hook));
    EXPECT_TRUE(hookCalled);
    EXPECT_EQ(0u, q.QueueSize());
    EXPECT_EQ(0u, q.ProcessedCount());
    EXPECT_EQ(4, images);
}

TEST(ResumeFile, StoredAddressesAreCanonicalisedAgainOnLoad) {
    testsupport::ScratchDir dir;
    const std::string path = dir.File("t.cache");
    const std::vector<uint8_t> queueBlob = Bytes()
                                               .U32(3)
                                               .Entry("HTTP://H/a b\r\nX: y", "", 1, 0, 0, "")
                                               .Entry("javascript:alert(1)", "", 1, 0, 0, "")
                                               .Entry("http://h/ok.html", "", 1, 0, 0, ".html")
                                               .b;
    const std::vector<uint8_t> processedBlob =
        Bytes().U32(2).Str("HTTP://H/x/../done.html").Entry("", "", 0, 0, 0, "").Str("").Entry("", "", 0, 0, 0, "").b;
    ASSERT_TRUE(testsupport::WriteFileBytes(path, BagFile(2, 0, {{"AvailibleUrls", queueBlob}, {"ProcessedUrls", processedBlob}})));
    UrlQueue q;
    int32_t images = 0;
    LoadResumeFile(path, q, images, nullptr);
    const std::vector<UrlQueueEntry> queued = q.QueuedEntries();
    ASSERT_EQ(2u, queued.size());
    EXPECT_EQ("http://h/a%20b%0D%0AX:%20y", queued[0].url);
    EXPECT_EQ("http://h/ok.html", queued[1].url);
    EXPECT_EQ(1u, q.ProcessedCount());
    EXPECT_TRUE(q.IsProcessed("http://h/done.html"));
}
