// A working set made by the program's own code (settings, a tree with a folder, two tasks with
// their picture lists, a resume file), one file damaged, locked or of a newer version at a time,
// through the real program's start and close: the file is kept aside byte for byte before
// anything is written over it, the user is told in a real message box, the other files keep
// their bytes, and the program ends normally.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "core/ProgramSettings.h"
#include "core/PropertyBag.h"
#include "core/ResumeFile.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "tests/startup/ProgramRun.h"
#include "tests/support/TestSupport.h"
#include "ui/tasks/TreeFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

void NoReport(const std::string&) {}

TreeFileNode Node(const std::string& name, bool folder, std::vector<TreeFileNode> children = {}) {
    TreeFileNode node;
    node.folder = folder;
    node.name = name;
    node.children = std::move(children);
    return node;
}

class StoredFilesRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileA(startuptest::BuiltProgramPath().c_str(), dir_.File("Brackenfly.exe").c_str(), FALSE));
        SetTaskProgramFolder(dir_.Path());
        MakeWorkingSet();
    }
    void TearDown() override { SetTaskProgramFolder(""); }

    void MakeWorkingSet() {
        {
            ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
            settings.ThreadsAmount = 9;
            settings.ProxyAddress = "proxy.example";
            ASSERT_TRUE(settings.Save());
        }
        SearchLinkTask alpha;
        alpha.TaskName = "Alpha";
        for (int i = 0; i < 3; ++i) {
            ImageRecord r;
            r.imageUrl = "http://h/" + std::to_string(i) + ".jpg";
            r.localPath = "C:\\p\\" + std::to_string(i) + ".jpg";
            r.fileName = std::to_string(i) + ".jpg";
            alpha.DownloadedImages.Append(r);
        }
        ASSERT_TRUE(alpha.Save());
        ASSERT_TRUE(alpha.SaveDownloads());
        SearchLinkTask beta;
        beta.TaskName = "Beta";
        beta.Resume = true;
        ASSERT_TRUE(beta.Save());
        ASSERT_TRUE(beta.SaveDownloads());
        UrlQueue queue;
        UrlQueueEntry next;
        next.url = "http://h/next.html";
        queue.PushBack(next);
        ASSERT_TRUE(SaveResumeFile(beta.GetCacheFilePath(), queue, 5, nullptr));
        ASSERT_TRUE(SaveTreeFile(Tasks("Tree.config"),
                                 {Node("Folder", true, {Node(alpha.TaskFileName, false)}), Node(beta.TaskFileName, false)}));
        for (const std::string& name : StoredFiles()) ASSERT_TRUE(testsupport::ReadFileBytes(name, before_[name])) << name;
    }

    std::string Tasks(const std::string& name) const { return dir_.Path() + "Tasks\\" + name; }
    std::vector<std::string> StoredFiles() const {
        return {dir_.File("Brackenfly.config"), Tasks("Tree.config"),          Tasks("Alpha.task"),
                Tasks("Alpha.task.downloads"),  Tasks("Beta.task"),           Tasks("Beta.task.downloads"),
                Tasks("Beta.task.cache")};
    }

    // Writes bytes over one stored file (the damage of the case).
    void Damage(const std::string& path, const Bytes& bytes) {
        ASSERT_TRUE(testsupport::WriteFileBytes(path, bytes));
        before_[path] = bytes;
    }
    Bytes Original(const std::string& path) { return before_[path]; }

    std::string RunAnsweringOneBox(testsupport::HeldFile* releaseAfterBox = nullptr) {
        return startuptest::RunAnsweringOneBox(dir_.Path(), releaseAfterBox).text;
    }

    // Every stored file but the ones named still holds the bytes it held before the run; the
    // settings file (whose tip counter moves on with each start) still holds the user's values.
    void ExpectOthersUntouched(const std::vector<std::string>& except) {
        for (const std::string& name : StoredFiles()) {
            bool skip = false;
            for (const std::string& e : except) skip = skip || e == name;
            if (skip) continue;
            if (name == dir_.File("Brackenfly.config")) {
                ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
                EXPECT_EQ(9, settings.ThreadsAmount);
                EXPECT_EQ("proxy.example", settings.ProxyAddress);
                continue;
            }
            Bytes now;
            ASSERT_TRUE(testsupport::ReadFileBytes(name, now)) << name;
            EXPECT_EQ(before_[name], now) << name;
        }
    }
    void ExpectKeptAs(const std::string& copy, const Bytes& bytes) {
        Bytes kept;
        ASSERT_TRUE(testsupport::ReadFileBytes(copy, kept)) << copy;
        EXPECT_EQ(bytes, kept) << copy;
    }

    testsupport::ScratchDir dir_;
    std::map<std::string, Bytes> before_;
};

TEST_F(StoredFilesRunTest, DamagedPictureListsAreKeptAsideNotReplacedByAnEmptyList) {
    const std::string list = Tasks("Alpha.task.downloads");
    Bytes good = Original(list);
    const size_t blobAt = 7 + 12 + 64 + 4;  // "DownloadedImages" sorts first
    PropertyBag bag;
    ASSERT_TRUE(bag.Load(list));
    std::vector<uint8_t> blob;
    ASSERT_TRUE(bag.GetBlob("DownloadedImages", blob));
    // One flipped bit in the header; a cut after the list; a count that claims two billion
    // records; a negative count; a cut inside the third record; bytes after the last record.
    Bytes flipped = good;
    flipped[3] ^= 0x01;
    Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() - 9));
    Bytes count = good;
    count[blobAt + 3] = 0x7F;
    Bytes negative = good;
    negative[blobAt] = 0xF0;
    negative[blobAt + 1] = negative[blobAt + 2] = negative[blobAt + 3] = 0xFF;
    const Bytes cutInside(good.begin(), good.begin() + static_cast<long>(blobAt + blob.size() - 10));
    std::vector<uint8_t> longer = blob;
    longer.insert(longer.end(), {1, 2, 3, 4});
    bag.SetBlob("DownloadedImages", longer);
    ASSERT_TRUE(bag.Save(list));
    Bytes trailing;
    ASSERT_TRUE(testsupport::ReadFileBytes(list, trailing));
    // The records each damage leaves, written back at close.
    const std::vector<std::pair<Bytes, int>> rounds = {{flipped, 0}, {cut, 3},      {count, 3},
                                                       {negative, 0}, {cutInside, 2}, {trailing, 3}};
    int round = 0;
    for (const auto& damage : rounds) {
        SCOPED_TRACE(++round);
        Damage(list, damage.first);
        const std::string text = RunAnsweringOneBox();
        const std::string copy = list + ".damaged" + (round == 1 ? std::string() : "-" + std::to_string(round));
        EXPECT_NE(std::string::npos, text.find(list)) << text;
        EXPECT_NE(std::string::npos, text.find(copy)) << text;
        ExpectKeptAs(copy, damage.first);
        ExpectOthersUntouched({list});
        SearchLinkTask back;
        ASSERT_TRUE(back.Load("Alpha.task"));
        EXPECT_EQ(damage.second, back.DownloadedImages.GetCount());
    }
}

TEST_F(StoredFilesRunTest, ATaskHeldWhileTheProgramStartsKeepsItsPlaceInTheTree) {
    // The task file, then its picture list, held by another program: the task is left out of
    // the run with a word, and the tree file written at close still has it in its folder.
    for (const std::string& held : {Tasks("Alpha.task"), Tasks("Alpha.task.downloads")}) {
        SCOPED_TRACE(held);
        testsupport::HeldFile holder(held);
        ASSERT_TRUE(holder.Held());
        const std::string text = RunAnsweringOneBox(&holder);
        EXPECT_NE(std::string::npos, text.find(held)) << text;
        ExpectOthersUntouched({});
        EXPECT_FALSE(testsupport::FileExists(held + ".damaged"));
    }
}

TEST_F(StoredFilesRunTest, ADamagedSettingsFileIsKeptAsideBeforeTheRunWritesItsOwn) {
    const std::string path = dir_.File("Brackenfly.config");
    const Bytes good = Original(path);
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    Damage(path, cut);
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(path + ".damaged")) << text;
    ExpectKeptAs(path + ".damaged", cut);
    ExpectOthersUntouched({path});
}

TEST_F(StoredFilesRunTest, ANewerSettingsFileIsCopiedAsideWithTheKeysThisVersionDoesNotKnow) {
    const std::string path = dir_.File("Brackenfly.config");
    PropertyBag newer;
    ASSERT_TRUE(newer.Load(path));
    newer.versionMajor = 2;
    newer.versionMinor = 3;
    newer.SetString("AKeyOfTheFuture", "kept");
    ASSERT_TRUE(newer.Save(path));
    Bytes newerBytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, newerBytes));
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find("newer version")) << text;
    ExpectKeptAs(path + ".newer", newerBytes);
    // This version wrote its own file, with what it understood of the newer one.
    PropertyBag written;
    ASSERT_TRUE(written.Load(path));
    EXPECT_FALSE(written.IsNewerThanCurrent());
    int32_t threads = 0;
    EXPECT_TRUE(written.GetInt32("ThreadsAmount", threads));
    EXPECT_EQ(9, threads);
    ExpectOthersUntouched({path});
}

TEST_F(StoredFilesRunTest, ATreeFileHeldWhileTheProgramStartsKeepsItsFolders) {
    const std::string tree = Tasks("Tree.config");
    testsupport::HeldFile holder(tree);
    ASSERT_TRUE(holder.Held());
    // Let go as soon as the program has spoken: the close must still not write a flat tree.
    const std::string text = RunAnsweringOneBox(&holder);
    EXPECT_NE(std::string::npos, text.find(tree)) << text;
    ExpectOthersUntouched({});
    EXPECT_FALSE(testsupport::FileExists(tree + ".damaged"));
}

TEST_F(StoredFilesRunTest, DamagedOrNewerTreeFilesAreKeptAsideWithTheFoldersReadWhole) {
    const std::string tree = Tasks("Tree.config");
    const Bytes good = Original(tree);
    // The folder's count of children claims two billion: the folder and its task read whole stay.
    Bytes cut = good;
    const size_t folderCountAt = 7 + 12 + 64 + 4 + 4 + 256;
    cut[folderCountAt] = cut[folderCountAt + 1] = cut[folderCountAt + 2] = 0xFF;
    cut[folderCountAt + 3] = 0x7F;
    // The folder's count made negative; bytes other than the padding's zeros after the records.
    Bytes negative = good;
    negative[folderCountAt] = 0xF0;
    negative[folderCountAt + 1] = negative[folderCountAt + 2] = negative[folderCountAt + 3] = 0xFF;
    Bytes trailing = good;
    trailing[trailing.size() - 100] = 'x';
    int round = 0;
    std::string text;
    for (const Bytes& damaged : {cut, negative, trailing}) {
        SCOPED_TRACE(++round);
        const std::string copy = tree + ".damaged" + (round == 1 ? std::string() : "-" + std::to_string(round));
        Damage(tree, damaged);
        text = RunAnsweringOneBox();
        EXPECT_NE(std::string::npos, text.find(copy)) << text;
        ExpectKeptAs(copy, damaged);
        ExpectOthersUntouched({tree});
        // The folder read whole is still in the tree the program wrote.
        std::vector<TreeFileNode> nodes;
        ASSERT_EQ(TreeFileStatus::Loaded, LoadTreeFile(tree, nodes));
        ASSERT_FALSE(nodes.empty());
        EXPECT_TRUE(nodes[0].folder);
        EXPECT_EQ("Folder", nodes[0].name);
        // Only the negative count lost the folder's task, to the root.
        if (round == 2) {
            EXPECT_TRUE(nodes[0].children.empty());
        } else {
            ASSERT_FALSE(nodes[0].children.empty());
            EXPECT_EQ("Alpha.task", nodes[0].children[0].name);
        }
    }

    PropertyBag newer;
    ASSERT_TRUE(newer.Load(tree));
    newer.versionMajor = 3;
    ASSERT_TRUE(newer.Save(tree));
    Bytes newerBytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(tree, newerBytes));
    text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(tree + ".newer")) << text;
    ExpectKeptAs(tree + ".newer", newerBytes);
    ExpectKeptAs(tree + ".damaged", cut);
}

TEST_F(StoredFilesRunTest, ADamagedTaskFileKeepsTheTaskAndItsPictures) {
    const std::string task = Tasks("Alpha.task");
    const Bytes good = Original(task);
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() - 5));
    Damage(task, cut);
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(task + ".damaged")) << text;
    ExpectKeptAs(task + ".damaged", cut);
    // The task stayed in its folder with its pictures: the close wrote both back as they were.
    ExpectOthersUntouched({task});
    Bytes now;
    ASSERT_TRUE(testsupport::ReadFileBytes(task, now));
    EXPECT_EQ(cut, now);  // nothing wrote over it in this run
}

}  // namespace
