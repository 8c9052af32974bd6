// The tree file: its blob, and a tree made by the program read back to the same bytes.
#include <algorithm>

#include "core/BlobWriter.h"
#include "core/ConstructLinkTask.h"
#include "core/PropertyBag.h"
#include "tests/support/HeldFile.h"
#include "tests/taskstree/TreeTestSupport.h"
#include "ui/tasks/TreeFile.h"

using treetest::TreeTest;

namespace {
TreeFileNode Folder(const std::string& name, std::vector<TreeFileNode> children) {
    TreeFileNode node;
    node.folder = true;
    node.name = name;
    node.children = std::move(children);
    return node;
}
TreeFileNode Task(const std::string& name) {
    TreeFileNode node;
    node.name = name;
    return node;
}
}  // namespace

TEST(TreeBlob, NestedFoldersRoundTripWithLongNamesCut) {
    const std::string longName(300, 'n');
    std::vector<TreeFileNode> tree = {Folder("Outer", {Folder(longName, {Task("a.task")})}), Task("b.task2")};
    const std::vector<uint8_t> blob = WriteTreeBlob(tree);
    EXPECT_EQ(1024u * 5, blob.size());  // four items and the root
    EXPECT_EQ(2u, blob[0]);
    EXPECT_EQ(1u, blob[4]);             // the first record is a folder
    EXPECT_EQ(0, blob[4 + 255]);        // its name field ends in a zero
    std::vector<TreeFileNode> read;
    ASSERT_TRUE(ReadTreeBlob(blob, read));
    ASSERT_EQ(2u, read.size());
    ASSERT_EQ(1u, read[0].children.size());
    EXPECT_EQ(std::string(254, 'n'), read[0].children[0].name);
    EXPECT_EQ("a.task", read[0].children[0].children.at(0).name);
    EXPECT_FALSE(read[1].folder);
    EXPECT_EQ(blob, WriteTreeBlob(read)) << "what was read writes back the same bytes";
}

TEST(TreeBlob, DamagedBlobsKeepWhatWasReadWhole) {
    std::vector<uint8_t> blob = WriteTreeBlob({Task("a.task"), Folder("F", {Task("b.task"), Task("c.task")})});
    // Cut inside the folder's second child.
    blob.resize(4 + 256 + 256 + 4 + 256 + 100);
    std::vector<TreeFileNode> read;
    EXPECT_FALSE(ReadTreeBlob(blob, read));
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ("a.task", read[0].name);
    ASSERT_EQ(1u, read[1].children.size());
    EXPECT_EQ("b.task", read[1].children[0].name);

    // A count far beyond the bytes left allocates nothing and reads what is there.
    BlobWriter huge;
    huge.WriteU32(0x7FFFFFF0u);
    huge.WriteU8(0);
    huge.WriteFixedString("x.task", 255);
    read.clear();
    ReadTreeBlob(huge.Bytes(), read);
    EXPECT_EQ(1u, read.size());

    // A name with no zero byte is cut to 254 characters.
    BlobWriter unterminated;
    unterminated.WriteU32(1);
    unterminated.WriteU8(0);
    const std::string full(255, 'z');
    unterminated.WriteBytes(full.data(), full.size());
    read.clear();
    EXPECT_TRUE(ReadTreeBlob(unterminated.Bytes(), read));
    EXPECT_EQ(254u, read.at(0).name.size());
}

TEST(TreeBlob, NestingIsCappedAt64Levels) {
    BlobWriter deep;
    for (int level = 0; level < 200; ++level) {
        deep.WriteU32(1);
        deep.WriteU8(1);
        deep.WriteFixedString("d", 255);
    }
    deep.WriteU32(0);
    std::vector<TreeFileNode> read;
    EXPECT_FALSE(ReadTreeBlob(deep.Bytes(), read));
    int depth = 0;
    for (const std::vector<TreeFileNode>* level = &read; !level->empty(); level = &level->front().children) ++depth;
    EXPECT_EQ(kTreeMaxDepth, depth);
}

TEST_F(TreeTest, TreeFileReadsBackByteForByteAndPlacesEachTaskOnce) {
    const std::string a = MakeTaskFile("Alpha");
    const std::string b = MakeTaskFile("Beta");
    MakeTaskFile("Loose");
    ConstructLinkTask templated;
    templated.TaskName = "Numbers";
    ASSERT_TRUE(templated.Save());
    // Beta is named twice; a task whose file is gone is dropped.
    ASSERT_TRUE(SaveTreeFile(TasksFolder() + "Tree.config",
                             {Folder("Outer", {Folder("Inner", {Task(a), Task(b)})}), Task(b), Task("gone.task"),
                              Task(templated.TaskFileName)}));
    CreateFrame();
    HTREEITEM root = tree_->Tree().GetRootItem();
    EXPECT_EQ("Tasks", tree_->Tree().GetItemText(root));
    EXPECT_EQ((std::vector<std::string>{"Outer", "Numbers", "Loose"}), ChildTexts(root));
    HTREEITEM inner = FindItem("Inner");
    ASSERT_TRUE(inner);
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta"}), ChildTexts(inner));
    EXPECT_EQ(TasksTree::kIdle, ImageOf(FindTask("Alpha")));
    EXPECT_EQ(TasksTree::kIdle + 5, ImageOf(FindTask("Numbers")));
    DestroyFrame();

    std::vector<uint8_t> first;
    ASSERT_TRUE(testsupport::ReadFileBytes(TasksFolder() + "Tree.config", first));
    CreateFrame();
    DestroyFrame();
    std::vector<uint8_t> second;
    ASSERT_TRUE(testsupport::ReadFileBytes(TasksFolder() + "Tree.config", second));
    EXPECT_EQ(first, second);
    PropertyBag bag;
    ASSERT_TRUE(bag.Load(TasksFolder() + "Tree.config"));
    uint32_t size = 0;
    ASSERT_TRUE(bag.GetValueSize("TasksTree", size));
    EXPECT_EQ(1024u * 7, size);  // Outer, Inner, Alpha, Beta, Numbers, Loose and the root
}

TEST_F(TreeTest, DamagedAndNewerFilesAreKeptAsideAndTheirTasksStay) {
    MakeTaskFile("Good");
    testsupport::WriteFileText(TasksFolder() + "Broken.task2", "not a task file");
    // A task file of a newer version.
    PropertyBag newer;
    newer.versionMajor = 3;
    newer.versionMinor = 0;
    newer.SetString("TaskName", "Future");
    ASSERT_TRUE(newer.Save(TasksFolder() + "Future.task"));
    std::vector<uint8_t> before;
    testsupport::ReadFileBytes(TasksFolder() + "Future.task", before);
    // A tree file of a newer version.
    PropertyBag newerTree;
    newerTree.versionMajor = 2;
    newerTree.versionMinor = 1;
    ASSERT_TRUE(newerTree.Save(TasksFolder() + "Tree.config"));
    std::vector<uint8_t> treeBefore;
    testsupport::ReadFileBytes(TasksFolder() + "Tree.config", treeBefore);

    testsupport::ScriptedPrompts prompts;
    CreateFrame();
    // Each file told once, by name; every task is in the tree (the broken one under its file's name).
    EXPECT_EQ(3u, tree_->Tasks().size());
    std::vector<std::string> names = ChildTexts(tree_->Tree().GetRootItem());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Broken", "Future", "Good"}), names);
    ASSERT_EQ(3u, prompts.boxes.size());
    std::string told;
    for (const auto& box : prompts.boxes) told += box.text + "\n";
    for (const char* copy : {"Future.task.newer", "Broken.task2.damaged", "Tree.config.newer"})
        EXPECT_NE(std::string::npos, told.find(TasksFolder() + copy)) << told;
    DestroyFrame();
    std::vector<uint8_t> after;
    testsupport::ReadFileBytes(TasksFolder() + "Future.task", after);
    EXPECT_EQ(before, after);
    testsupport::ReadFileBytes(TasksFolder() + "Future.task.newer", after);
    EXPECT_EQ(before, after);
    testsupport::ReadFileBytes(TasksFolder() + "Tree.config.newer", after);
    EXPECT_EQ(treeBefore, after);
    testsupport::ReadFileBytes(TasksFolder() + "Broken.task2.damaged", after);
    EXPECT_EQ("not a task file", std::string(after.begin(), after.end()));
    // The next start finds nothing new to tell.
    CreateFrame();
    EXPECT_EQ(3u, prompts.boxes.size());
    EXPECT_EQ(3u, tree_->Tasks().size());
    DestroyFrame();
}

TEST_F(TreeTest, ATreeFileHeldAtStartIsToldInARealBoxAndNotWrittenFlat) {
    const std::string a = MakeTaskFile("Alpha");
    MakeTaskFile("Beta");
    const std::string treeFile = TasksFolder() + "Tree.config";
    ASSERT_TRUE(SaveTreeFile(treeFile, {Folder("Kept", {Task(a)})}));
    std::vector<uint8_t> before;
    ASSERT_TRUE(testsupport::ReadFileBytes(treeFile, before));
    testsupport::HeldFile holder(treeFile);
    ASSERT_TRUE(holder.Held());
    {
        testsupport::PromptWatcher watcher("Warning", IDOK, 60000);
        CreateFrame();
        // The watcher reads window titles, which this thread must answer while it looks.
        for (DWORD begin = ::GetTickCount(); !watcher.Answered() && ::GetTickCount() - begin < 60000;) Pump(50);
        EXPECT_TRUE(watcher.Answered());
        EXPECT_NE(std::string::npos, watcher.PromptText().find(treeFile));
    }
    holder.Release();
    // This run sees every task at the root; the folders stay in the file for the next one.
    EXPECT_EQ(2u, ChildTexts(tree_->Tree().GetRootItem()).size());
    DestroyFrame();
    std::vector<uint8_t> after;
    ASSERT_TRUE(testsupport::ReadFileBytes(treeFile, after));
    EXPECT_EQ(before, after);
    CreateFrame();
    EXPECT_TRUE(FindItem("Kept"));
    DestroyFrame();
}
