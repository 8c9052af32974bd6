// URL-template tasks: expansion order, test addresses, the "Templates" and "TaskInfo" blobs, and
// continuing a run from the resume file's values.
#include <memory>

#include <gtest/gtest.h>

#include "core/CharTemplate.h"
#include "core/ConstructLinkTask.h"
#include "core/NumberTemplate.h"
#include "core/PropertyBag.h"
#include "core/StringTemplate.h"
#include "core/TemplateBlobs.h"
#include "tests/support/PropBagBytes.h"

using testsupport::Bytes;

namespace {

// The example task: "{1}" numbers 1 to 3, "{2}" characters 'a' to 'b'.
void MakeExample(ConstructLinkTask& task, const std::string& url = "http://h/p{1}{2}.jpg")
{
    task.StartingAddresses.push_back({url, false, "", ""});
    task.GetTemplates().push_back(new NumberTemplate(1, 3, 1, 0));
    task.GetTemplates().push_back(new CharTemplate('a', 'b'));
}

std::vector<std::string> Drain(ConstructLinkTask& task, size_t limit = 100)
{
    std::vector<std::string> urls;
    std::string url;
    while (urls.size() < limit && task.GetNextGeneratedUrl(url))
        urls.push_back(url);
    return urls;
}

// Independent encoding of one entry header of "Templates"/"TaskInfo": u32 L, name, zero byte.
void PutKind(Bytes& b, const std::string& name)
{
    testsupport::PutU32(b, static_cast<uint32_t>(name.size()));
    testsupport::PutText(b, name);
    b.push_back(0);
}

}  // namespace

TEST(TemplateTask, GeneratesEveryCombinationFirstGeneratorFastest)
{
    ConstructLinkTask task;
    MakeExample(task);
    EXPECT_EQ(Drain(task), (std::vector<std::string>{"http://h/p1a.jpg", "http://h/p2a.jpg", "http://h/p3a.jpg",
                                                    "http://h/p1b.jpg", "http://h/p2b.jpg", "http://h/p3b.jpg"}));
    EXPECT_TRUE(task.IsDone());
    std::string url = "untouched";
    EXPECT_FALSE(task.GetNextGeneratedUrl(url));
    EXPECT_EQ(url, "untouched");

    // Without resume data a run start begins again at the first combination.
    EXPECT_EQ(task.GetStartUrl(), "");
    EXPECT_EQ(Drain(task).size(), 6u);
}

TEST(TemplateTask, PlaceholderRules)
{
    std::vector<TemplateBase*> gens{new NumberTemplate(1, 2, 1, 2)};
    bool done = false;
    std::string out;
    // Only the first "{1}" is replaced; "{2}" has no generator and stays.
    ASSERT_TRUE(ConstructLinkTask::ExpandTemplate(out, "a{1}b{1}c{2}", gens, done));
    EXPECT_EQ(out, "a01b{1}c{2}");
    delete gens[0];

    // A generator's value that holds a later placeholder is searched by the later generator.
    std::vector<TemplateBase*> chain{new StringTemplate({"{2}"}), new StringTemplate({"z"})};
    done = false;
    ASSERT_TRUE(ConstructLinkTask::ExpandTemplate(out, "x{1}", chain, done));
    EXPECT_EQ(out, "xz");
    for (TemplateBase* g : chain)
        delete g;

    // No generators: the text once, then nothing.
    std::vector<TemplateBase*> none;
    done = false;
    ASSERT_TRUE(ConstructLinkTask::ExpandTemplate(out, "http://h/{1}", none, done));
    EXPECT_EQ(out, "http://h/{1}");
    EXPECT_FALSE(ConstructLinkTask::ExpandTemplate(out, "http://h/{1}", none, done));

    ConstructLinkTask empty;  // no start address: nothing to generate
    EXPECT_FALSE(empty.GetNextGeneratedUrl(out));
    EXPECT_EQ(empty.GetDisplayUrl(), "");
}

TEST(TemplateTask, BuildLinksLeavesTheTasksGeneratorsAlone)
{
    ConstructLinkTask task;
    MakeExample(task);
    std::string url;
    task.GetNextGeneratedUrl(url);
    task.GetNextGeneratedUrl(url);  // generator 1 now at 3

    const std::vector<std::string> links =
        ConstructLinkTask::BuildLinks(5, task.StartingAddresses[0].Url, task.GetTemplates());
    EXPECT_EQ(links, (std::vector<std::string>{"http://h/p1a.jpg", "http://h/p2a.jpg", "http://h/p3a.jpg",
                                              "http://h/p1b.jpg", "http://h/p2b.jpg"}));
    EXPECT_TRUE(ConstructLinkTask::BuildLinks(0, "x", task.GetTemplates()).empty());
    EXPECT_EQ(task.GetDisplayUrl(), "http://h/p1a.jpg");
    ASSERT_TRUE(task.GetNextGeneratedUrl(url));
    EXPECT_EQ(url, "http://h/p3a.jpg");
}

TEST(TemplateTask, KindDifferencesFromTheBase)
{
    ConstructLinkTask task;
    EXPECT_FALSE(task.MinimumWidth.enabled);
    EXPECT_EQ(task.MinimumWidth.value, 200);
    EXPECT_FALSE(task.MinimumHeight.enabled);
    EXPECT_EQ(task.GetTreeIconIndex(2), 7);
    EXPECT_STREQ(task.GetFileExtension(), ".task2");
    EXPECT_FALSE(task.AbortOnRepeatedFailures());
    task.StartingAddresses.push_back({"http://start/", false, "", ""});
    task.WebAuthUrl = "http://login/";
    EXPECT_EQ(task.GetWebAuthorizationUrl(), "http://login/");

    std::vector<std::string> found{"http://a/x.JPG", "http://a/page.html", "http://a/y.png?z=1", "http://a/noext"};
    task.FilterFoundLinks(found);
    EXPECT_EQ(found, (std::vector<std::string>{"http://a/x.JPG", "http://a/y.png?z=1"}));
}

TEST(TemplateBlobs, TemplatesBlobBytesAndNameLengthWithoutTheZero)
{
    ConstructLinkTask task;
    MakeExample(task);
    task.GetTemplates().push_back(new StringTemplate({"k"}));
    PropertyBag bag;
    task.SaveOwnKeys(bag);

    Bytes golden;
    testsupport::PutU32(golden, 3);
    PutKind(golden, "NumberTemplate");
    for (uint32_t v : {1u, 3u, 1u, 0u})
        testsupport::PutU32(golden, v);
    PutKind(golden, "CharTemplate");
    golden.insert(golden.end(), {'a', 'b'});
    PutKind(golden, "StringTemplate");
    testsupport::PutU32(golden, 1);
    testsupport::PutCounted(golden, "k");

    std::vector<uint8_t> stored;
    ASSERT_TRUE(bag.GetBlob("Templates", stored));
    EXPECT_EQ(stored, golden);
    EXPECT_EQ(testsupport::GetU32(golden, 4), 14u);  // "NumberTemplate" has 14 characters

    ConstructLinkTask loaded;
    loaded.LoadOwnKeys(bag);
    ASSERT_EQ(loaded.GetTemplates().size(), 3u);
    EXPECT_EQ(loaded.GetTemplates()[2]->GetDisplayText(), "Strings (k, ...)");
}

TEST(TemplateBlobs, UnknownKindBlanksTemplatesAndKeepsWhatCameBefore)
{
    Bytes blob;
    testsupport::PutU32(blob, 2);
    PutKind(blob, "CharTemplate");
    blob.insert(blob.end(), {'x', 'y'});
    PutKind(blob, "GhostTemplate");
    PropertyBag bag;
    bag.SetBlob("Templates", blob);
    ConstructLinkTask task;
    task.LoadOwnKeys(bag);
    ASSERT_EQ(task.GetTemplates().size(), 1u);
    EXPECT_EQ(task.GetTemplates()[0]->GetValueText(), "x");
    uint32_t size = 99;
    ASSERT_TRUE(bag.GetValueSize("Templates", size));
    EXPECT_EQ(size, 0u);
}

TEST(TemplateBlobs, TruncatedAndInflatedBlobsNeverReadPastTheEnd)
{
    Bytes blob;
    testsupport::PutU32(blob, 2);
    PutKind(blob, "NumberTemplate");
    for (uint32_t v : {1u, 9u, 1u, 0u})
        testsupport::PutU32(blob, v);
    PutKind(blob, "StringTemplate");
    testsupport::PutU32(blob, 2);
    testsupport::PutCounted(blob, "s1");
    testsupport::PutCounted(blob, "s2");

    for (size_t cut = 0; cut <= blob.size(); ++cut) {
        // A copy of exactly cut bytes, so a read past the end would leave the allocation.
        std::unique_ptr<uint8_t[]> part(new uint8_t[cut + 1]);
        std::copy(blob.begin(), blob.begin() + static_cast<long>(cut), part.get());
        std::vector<TemplateBase*> gens;
        const bool ok = DecodeTemplateDefinitions(part.get(), cut, gens);
        EXPECT_EQ(ok, cut == blob.size()) << cut;
        EXPECT_LE(gens.size(), 2u);
        for (TemplateBase* g : gens)
            delete g;
    }

    // Inflated counts and name lengths: nothing huge is allocated, reading stops.
    Bytes inflated = blob;
    inflated[0] = inflated[1] = inflated[2] = 0xFF;
    inflated[3] = 0x7F;
    std::vector<TemplateBase*> gens;
    EXPECT_FALSE(DecodeTemplateDefinitions(inflated.data(), inflated.size(), gens));
    EXPECT_EQ(gens.size(), 2u);
    for (TemplateBase* g : gens)
        delete g;
    gens.clear();

    Bytes hugeName;
    testsupport::PutU32(hugeName, 1);
    testsupport::PutU32(hugeName, 0xFFFFFFFF);  // L + 1 wraps to 0 in 32 bits
    testsupport::PutText(hugeName, "NumberTemplate");
    EXPECT_FALSE(DecodeTemplateDefinitions(hugeName.data(), hugeName.size(), gens));
    EXPECT_TRUE(gens.empty());
}

TEST(TemplateResume, TaskInfoBytesAndRestore)
{
    ConstructLinkTask task;
    MakeExample(task);
    std::string url;
    for (int i = 0; i < 4; ++i)
        task.GetNextGeneratedUrl(url);  // next combination: 2b
    PropertyBag cache;
    task.SaveProgress(cache);

    Bytes golden;
    testsupport::PutU32(golden, 2);
    PutKind(golden, "NumberTemplate");
    testsupport::PutU32(golden, 2);
    PutKind(golden, "CharTemplate");
    golden.push_back('b');
    std::vector<uint8_t> stored;
    ASSERT_TRUE(cache.GetBlob("TaskInfo", stored));
    EXPECT_EQ(stored, golden);

    // A fresh object (the program was restarted) continues after the resume file is read.
    ConstructLinkTask again;
    MakeExample(again);
    again.LoadProgress(cache);
    EXPECT_EQ(again.GetStartUrl(), "");
    EXPECT_EQ(Drain(again), (std::vector<std::string>{"http://h/p2b.jpg", "http://h/p3b.jpg"}));

    // A finished sequence that is started again begins from the first combination.
    PropertyBag finished;
    again.SaveProgress(finished);
    again.LoadProgress(finished);
    again.GetStartUrl();
    EXPECT_EQ(Drain(again).size(), 6u);

    // Stopped after the last combination was handed out (its links still queued): a fresh
    // object that reads the resume file generates nothing more while the queue drains.
    ConstructLinkTask exhausted;
    MakeExample(exhausted);
    Drain(exhausted);
    PropertyBag stoppedAtEnd;
    exhausted.SaveProgress(stoppedAtEnd);
    bool doneFlag = false;
    EXPECT_TRUE(stoppedAtEnd.GetFlag("TaskInfoDone", doneFlag));
    EXPECT_TRUE(doneFlag);
    ConstructLinkTask resumed;
    MakeExample(resumed);
    resumed.LoadProgress(stoppedAtEnd);
    EXPECT_FALSE(resumed.GetNextGeneratedUrl(url));
    // A resume file without the flag (older files) still continues its sequence.
    PropertyBag older;
    older.SetBlob("TaskInfo", golden);
    ConstructLinkTask fromOlder;
    MakeExample(fromOlder);
    fromOlder.LoadProgress(older);
    EXPECT_EQ(fromOlder.GetStartUrl(), "");
    EXPECT_EQ(Drain(fromOlder).size(), 2u);

    // A restart resets whatever was restored.
    ConstructLinkTask restarted;
    MakeExample(restarted);
    restarted.LoadProgress(cache);
    restarted.Reset();
    restarted.GetStartUrl();
    EXPECT_EQ(Drain(restarted).size(), 6u);
}

TEST(TemplateResume, DisagreeingTaskInfoRestoresNothingAndIsBlanked)
{
    Bytes wrongKind;
    testsupport::PutU32(wrongKind, 2);
    PutKind(wrongKind, "CharTemplate");  // the task's first generator is a number
    wrongKind.push_back('b');
    PutKind(wrongKind, "CharTemplate");
    wrongKind.push_back('b');

    ConstructLinkTask task;
    MakeExample(task);
    PropertyBag bag;
    bag.SetBlob("TaskInfo", wrongKind);
    task.LoadProgress(bag);
    uint32_t size = 99;
    ASSERT_TRUE(bag.GetValueSize("TaskInfo", size));
    EXPECT_EQ(size, 0u);
    task.GetStartUrl();
    EXPECT_EQ(Drain(task).front(), "http://h/p1a.jpg");

    // More stored entries than generators: blanked too.
    Bytes tooMany;
    testsupport::PutU32(tooMany, 3);
    PutKind(tooMany, "NumberTemplate");
    testsupport::PutU32(tooMany, 2);
    PutKind(tooMany, "CharTemplate");
    tooMany.push_back('a');
    PutKind(tooMany, "CharTemplate");
    tooMany.push_back('a');
    ConstructLinkTask other;
    MakeExample(other);
    PropertyBag bag2;
    bag2.SetBlob("TaskInfo", tooMany);
    other.LoadProgress(bag2);
    ASSERT_TRUE(bag2.GetValueSize("TaskInfo", size));
    EXPECT_EQ(size, 0u);

    // Truncated at every length: no crash, never reported as a full restore.
    ConstructLinkTask full;
    MakeExample(full);
    PropertyBag saved;
    full.SaveProgress(saved);
    std::vector<uint8_t> bytes;
    saved.GetBlob("TaskInfo", bytes);
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        std::vector<TemplateBase*>& gens = full.GetTemplates();
        bool mismatch = false;
        EXPECT_FALSE(DecodeTemplateValues(bytes.data(), cut, gens, mismatch)) << cut;
    }
}
